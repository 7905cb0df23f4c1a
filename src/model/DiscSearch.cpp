#include "model/DiscSearch.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "model/User.h"

namespace vexamo {

namespace {

char Fold(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Folded(std::string s) {
    for (char& c : s) c = Fold(c);
    return s;
}

// One pattern of a walk. The usual "*.ext" is only a comparison of the name's end; anything else
// goes through the general match, so that the walk finds exactly what FindFiles would.
struct NamePattern {
    std::string Pattern;  // folded: the match ignores case anyway, so ".AVI" and ".avi" are one
    bool SuffixOnly = false;
    std::string Suffix;

    explicit NamePattern(std::string pattern) : Pattern(Folded(std::move(pattern))) {
        SuffixOnly = !Pattern.empty() && Pattern[0] == '*' && Pattern.find_first_of("*?", 1) == std::string::npos;
        if (SuffixOnly) Suffix = Pattern.substr(1);
    }

    bool Matches(const std::string& name) const {
        if (!SuffixOnly) return MatchesMask(Pattern, name);
        if (name.size() < Suffix.size()) return false;
        // From the end: most names differ from an extension in their last character.
        const char* tail = name.data() + (name.size() - Suffix.size());
        for (size_t i = Suffix.size(); i-- > 0;)
            if (Fold(tail[i]) != Suffix[i]) return false;
        return true;
    }
};

// One walk from one start folder, collecting the files of all its patterns.
struct Walk {
    std::string Folder;
    std::vector<NamePattern> Patterns;
    std::vector<StringList> Found;  // by pattern
    std::vector<int> Uses;          // by pattern: how many (player, extension, root) still take its files

    size_t PatternIndex(const std::string& pattern) {
        const std::string folded = Folded(pattern);
        for (size_t i = 0; i < Patterns.size(); ++i)
            if (Patterns[i].Pattern == folded) return i;
        Patterns.emplace_back(pattern);
        return Patterns.size() - 1;
    }
};

struct Source {
    size_t Walk = 0, Pattern = 0;
    bool Searched = false;  // an empty pattern matches nothing and is not walked for
};

const DirEntry* FindEntry(const std::vector<DirEntry>& entries, const std::string& name, bool directory) {
    for (const DirEntry& e : entries)
        if (e.Directory == directory && SameText(e.Name, name)) return &e;
    return nullptr;
}

// The folder `name` at the root, listed; nullopt when there is none.
std::optional<std::vector<DirEntry>> ListSub(const std::string& root, const std::vector<DirEntry>& top,
                                             const std::string& name, std::string& path) {
    const DirEntry* folder = FindEntry(top, name, true);
    if (!folder) return std::nullopt;
    path = root + folder->Name + "\\";
    return Sys().ListFolder(path + "*");
}

bool HoldsFileEndingIn(const std::vector<DirEntry>& entries, const std::string& ext) {
    return std::any_of(entries.begin(), entries.end(), [&](const DirEntry& e) {
        return !e.Directory && e.Name.size() > ext.size() && SameText(e.Name.substr(e.Name.size() - ext.size()), ext);
    });
}

}  // namespace

DiscStructure RecogniseDisc(const std::string& root) { return RecogniseDisc(root, Sys().ListFolder(root + "*")); }

DiscStructure RecogniseDisc(const std::string& root, const std::vector<DirEntry>& top) {
    DiscStructure disc;
    std::string path;
    auto folder = [&](const std::string& name) { return ListSub(root, top, name, path); };
    // Each kind by the file or files its players open it by; the folders named with it belong to it.
    struct Rule {
        DiscKind Kind;
        const char* Folder;
        const char* File;       // a file that must be in the folder, or null
        const char* Ext;        // or files of this extension
        std::vector<const char*> Belonging;  // further root folders of the structure
    };
    static const Rule rules[] = {
        {DiscKind::DvdVideo, "VIDEO_TS", "VIDEO_TS.IFO", nullptr, {"AUDIO_TS"}},
        {DiscKind::BluRay, "BDMV", "index.bdmv", nullptr, {"CERTIFICATE"}},
        {DiscKind::VideoCd, "VCD", "INFO.VCD", nullptr, {"MPEGAV", "SEGMENT", "EXT", "CDI", "KARAOKE"}},
        {DiscKind::VideoCd, "MPEGAV", nullptr, ".DAT", {"VCD", "SEGMENT", "EXT", "CDI", "KARAOKE"}},
        {DiscKind::SuperVideoCd, "SVCD", "INFO.SVD", nullptr, {"MPEG2", "SEGMENT", "EXT", "CDI"}},
        {DiscKind::SuperVideoCd, "MPEG2", nullptr, ".MPG", {"SVCD", "SEGMENT", "EXT", "CDI"}},
    };
    for (const Rule& rule : rules) {
        const auto entries = folder(rule.Folder);
        if (!entries) continue;
        const bool holds = rule.File ? FindEntry(*entries, rule.File, false) != nullptr
                                     : HoldsFileEndingIn(*entries, rule.Ext);
        if (!holds) continue;
        disc.Kind = rule.Kind;
        disc.Folders.push_back(path);
        for (const char* other : rule.Belonging)
            if (const DirEntry* e = FindEntry(top, other, true)) disc.Folders.push_back(root + e->Name + "\\");
        return disc;
    }
    return disc;
}

DiscSearchResult SearchDiscs(const StringList& roots, const std::vector<SearchPlayer>& players,
                             const DiscSearchProgress& progress) {
    // Where each (player, extension, root) would have searched: the folder and the pattern of its
    // mask, split as FindFiles splits it. Roots that give the same folder share one walk.
    std::vector<Walk> walks;
    std::vector<std::vector<std::vector<Source>>> sources(players.size());
    for (size_t p = 0; p < players.size(); ++p) {
        for (const std::string& ext : players[p].Extensions) {
            std::vector<Source>& perRoot = sources[p].emplace_back();
            for (const std::string& root : roots) {
                std::string folder, pattern;
                SplitMask(root + "*" + ext, folder, pattern);
                Source s;
                // A disc kind is no pattern: it is found by the disc's structure.
                s.Searched = !pattern.empty() && DiscKindOf(ext) == DiscKind::None;
                if (s.Searched) {
                    auto at = std::find_if(walks.begin(), walks.end(),
                                           [&](const Walk& w) { return w.Folder == folder; });
                    if (at == walks.end()) {
                        walks.emplace_back().Folder = folder;
                        at = walks.end() - 1;
                    }
                    s.Walk = static_cast<size_t>(at - walks.begin());
                    s.Pattern = at->PatternIndex(pattern);
                    at->Uses.resize(at->Patterns.size());
                    ++at->Uses[s.Pattern];
                }
                perRoot.push_back(s);
            }
        }
    }

    // A disc played as a whole is recognised before its files are searched, from the listing of its
    // root the walk makes anyway; the files of its structure are the disc's own and are not offered
    // again as loose files.
    std::vector<std::optional<DiscStructure>> discs(roots.size());
    auto rootIndex = [&](const std::string& folder) {
        for (size_t r = 0; r < roots.size(); ++r)
            if (SameText(roots[r], folder)) return static_cast<int>(r);
        return -1;
    };
    auto inStructure = [&](const std::string& folder) {
        for (const auto& disc : discs)
            if (disc)
                for (const std::string& f : disc->Folders)
                    if (SameText(f, folder)) return true;
        return false;
    };

    int listed = 0;
    for (Walk& walk : walks) {
        walk.Found.assign(walk.Patterns.size(), {});
        WalkFolders(
            walk.Folder,
            [&](const std::string& folder, const std::vector<DirEntry>& entries) {
                const int r = rootIndex(folder);
                if (r >= 0 && !discs[r]) discs[r] = RecogniseDisc(roots[r], entries);
                for (const DirEntry& e : entries) {
                    if (!IsSearchedFile(e)) continue;
                    for (size_t i = 0; i < walk.Patterns.size(); ++i)
                        if (walk.Patterns[i].Matches(e.Name)) walk.Found[i].push_back(folder + e.Name);
                }
                if (progress.Folder) progress.Folder(folder, ++listed);
            },
            inStructure);
    }
    const bool discKinds = std::any_of(players.begin(), players.end(), [](const SearchPlayer& p) {
        return std::any_of(p.Extensions.begin(), p.Extensions.end(),
                           [](const std::string& x) { return DiscKindOf(x) != DiscKind::None; });
    });
    for (size_t r = 0; r < roots.size() && discKinds; ++r)
        if (!discs[r]) discs[r] = RecogniseDisc(roots[r]);

    DiscSearchResult result;
    result.Files.resize(players.size());
    auto addDrive = [&](const std::string& root) {
        auto at = std::lower_bound(result.MediaDrives.begin(), result.MediaDrives.end(), root, LessText);
        if (at == result.MediaDrives.end() || LessText(root, *at)) result.MediaDrives.insert(at, root);
    };
    for (size_t p = 0; p < players.size(); ++p) {
        if (progress.Player) progress.Player(p);
        const SearchPlayer& player = players[p];
        for (size_t x = 0; x < player.Extensions.size(); ++x) {
            StringList& files = result.Files[p].emplace_back();
            const DiscKind kind = DiscKindOf(player.Extensions[x]);
            for (size_t r = 0; r < roots.size() && kind != DiscKind::None; ++r) {
                if (!discs[r] || discs[r]->Kind != kind) continue;
                files.push_back(roots[r]);
                addDrive(roots[r]);
            }
            for (size_t r = 0; r < roots.size() && kind == DiscKind::None; ++r) {
                const Source& s = sources[p][x][r];
                if (!s.Searched) continue;
                Walk& walk = walks[s.Walk];
                StringList& found = walk.Found[s.Pattern];
                if (found.empty()) continue;
                // Usually a pattern serves one pair on one drive: its list is handed over, not copied.
                if (--walk.Uses[s.Pattern] == 0 && files.empty()) {
                    files = std::move(found);
                    found.clear();
                } else {
                    files.insert(files.end(), found.begin(), found.end());
                }
                addDrive(roots[r]);
            }
            if (!files.empty()) {
                result.FoundPairs.push_back(player.Extensions[x]);
                result.FoundPairs.push_back(player.Name);
            }
        }
    }
    return result;
}

StringList CollectDiscFiles(const StringList& roots, TSelectedPlayer& selection, StringList& foundPairs,
                            const DiscSearchProgress& progress) {
    std::vector<SearchPlayer> players;
    for (const auto& user : selection.Players) {
        SearchPlayer& p = players.emplace_back();
        p.Name = user->Player->Name;
        for (const TExtension& e : user->Extensions) p.Extensions.push_back(e.Ext);
    }
    DiscSearchResult found = SearchDiscs(roots, players, progress);
    for (size_t p = 0; p < selection.Players.size(); ++p) {
        std::vector<TExtension>& extensions = selection.Players[p]->Extensions;
        for (size_t x = 0; x < extensions.size(); ++x) {
            extensions[x].Found.reset();
            if (found.Files[p][x].empty()) continue;
            extensions[x].Found = std::make_unique<TPlaylist>();
            extensions[x].Found->Files = std::move(found.Files[p][x]);
        }
    }
    foundPairs = std::move(found.FoundPairs);
    return std::move(found.MediaDrives);
}

}  // namespace vexamo
