// The scan of a disc of 10,000 files in 1,000 folders for 12 (player, extension) pairs, in the
// ways it can be done, shared by the native benchmark (ScanBench.cpp) and the Windows timing
// program (win32/ScanBench.cpp). Only the platform seam is used: the disc may be the fake, a real
// folder, or a drive under Windows.
#pragma once

#include <string>
#include <vector>

#include "model/DiscSearch.h"
#include "model/PlayersCfg.h"
#include "model/general.h"

namespace vexamo::bench {

constexpr int ScanTopFolders = 10;
constexpr int ScanSubFolders = 99;  // 10 + 10 * 99 = 1,000 folders
constexpr int ScanFilesPerFolder = 10;

// Calls back with every folder (relative, backslash-separated, ending in a backslash) and every
// file: the twelve known extensions and two others, spread evenly.
template <typename Folder, typename File>
void GenerateScanDisc(Folder folder, File file) {
    static const char* others[] = {".jpg", ".txt"};
    int n = 0;
    auto files = [&](const std::string& at) {
        for (int f = 0; f < ScanFilesPerFolder; ++f, ++n) {
            const int known = static_cast<int>(KnownExtensions.size());
            const int kind = n % (known + 2);
            const std::string ext = kind < known ? KnownExtensions[kind] : others[kind - known];
            file(at + "track " + std::to_string(f) + ext);
        }
    };
    for (int t = 0; t < ScanTopFolders; ++t) {
        const std::string top = "Disc " + std::to_string(t) + "\\";
        folder(top);
        files(top);
        for (int s = 0; s < ScanSubFolders; ++s) {
            const std::string sub = top + "Chapter [" + std::to_string(s) + "]\\";
            folder(sub);
            files(sub);
        }
    }
}

// Four players with three extensions each: every known extension once, 12 pairs.
inline std::vector<SearchPlayer> ScanPlayers() {
    std::vector<SearchPlayer> players;
    for (size_t i = 0; i < KnownExtensions.size(); ++i) {
        if (i % 3 == 0) players.push_back({"Player " + std::to_string(i / 3), {}});
        players.back().Extensions.push_back(KnownExtensions[i]);
    }
    return players;
}

// The search as it first was: per pair, each folder listed with the mask and again with "*".
inline void TwoListingSearch(const std::string& folder, const std::string& pattern, StringList& out) {
    for (const DirEntry& e : Sys().ListFolder(folder + pattern))
        if (IsSearchedFile(e)) out.push_back(folder + e.Name);
    for (const DirEntry& e : Sys().ListFolder(folder + "*"))
        if (IsSearchedFolder(e)) TwoListingSearch(folder + e.Name + "\\", pattern, out);
}

// Each returns the number of files found (the bare walk: of entries listed).
inline size_t PerPairTwoListings(const StringList& roots, const std::vector<SearchPlayer>& players) {
    size_t n = 0;
    for (const SearchPlayer& p : players)
        for (const std::string& ext : p.Extensions)
            for (const std::string& root : roots) {
                StringList found;
                TwoListingSearch(root, "*" + ext, found);
                n += found.size();
            }
    return n;
}

inline size_t PerPair(const StringList& roots, const std::vector<SearchPlayer>& players) {
    size_t n = 0;
    for (const SearchPlayer& p : players)
        for (const std::string& ext : p.Extensions)
            for (const std::string& root : roots) n += FindFiles(root + "*" + ext).size();
    return n;
}

inline size_t SingleWalk(const StringList& roots, const std::vector<SearchPlayer>& players) {
    size_t n = 0;
    for (const auto& player : SearchDiscs(roots, players).Files)
        for (const StringList& files : player) n += files.size();
    return n;
}

inline size_t BareWalk(const StringList& roots) {
    size_t n = 0;
    for (const std::string& root : roots)
        WalkFolders(root, [&](const std::string&, const std::vector<DirEntry>& entries) { n += entries.size(); });
    return n;
}

// Whether the single walk gives every pair exactly the files, in the order, that both per-pair
// searches give it: on a real drive the platform's own order and matching are in play.
inline bool ScansAgree(const StringList& roots, const std::vector<SearchPlayer>& players) {
    const DiscSearchResult walk = SearchDiscs(roots, players);
    for (size_t p = 0; p < players.size(); ++p)
        for (size_t x = 0; x < players[p].Extensions.size(); ++x) {
            StringList one, two;
            for (const std::string& root : roots) {
                const StringList found = FindFiles(root + "*" + players[p].Extensions[x]);
                one.insert(one.end(), found.begin(), found.end());
                TwoListingSearch(root, "*" + players[p].Extensions[x], two);
            }
            if (walk.Files[p][x] != one || one != two) return false;
        }
    return true;
}

}  // namespace vexamo::bench
