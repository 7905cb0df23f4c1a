#include "model/CommandLines.h"

#include <array>

#include "platform/Errors.h"

namespace vexamo {

std::string QuotedArgument(const std::string& path) {
    // Windows' command-line rule: backslashes before a quote escape it, so "D:\" would reach the
    // player as D:" . Doubled, a trailing backslash arrives as itself and the quote ends the path.
    const size_t trailing = path.size() - (path.find_last_not_of('\\') + 1);
    return '"' + path + std::string(trailing, '\\') + '"';
}

std::string TVexamo::ExpandTags(const std::string& templ) const {
    // One pass over the template: a path put in for one tag is never searched for another, so a
    // file named "x[SUBTITLE].avi" reaches the player as itself.
    const std::array<std::pair<const std::string*, const std::string*>, 4> tags = {{
        {&CommandTags[1], &Files->FileName},
        {&CommandTags[2], &Files->PlaylistName},
        {&CommandTags[3], &Files->SubtitleName},
        {&CommandTags[4], &Files->DiscName},
    }};
    std::string out;
    out.reserve(templ.size());
    size_t at = 0;
    while (at < templ.size()) {
        bool replaced = false;
        if (templ[at] == '[') {
            for (const auto& [tag, value] : tags) {
                if (templ.compare(at, tag->size(), *tag) == 0) {
                    out += QuotedArgument(*value);
                    at += tag->size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += templ[at++];
    }
    return out;
}

std::string TVexamo::FindSubtitle() const {
    const std::string& fileName = Files->FileName;
    const std::string own = ExtractFileName(fileName);
    // Only the extension is removed: a dot in a folder name is no extension.
    const size_t dot = own.rfind('.');
    const std::string base = dot == std::string::npos ? own : own.substr(0, dot);
    const StringList& folders = Settings->Subtitles.Folders;

    StringList found;
    for (const std::string& folder : folders) {
        found = FindFilesExcept(folder + base + "*", own);
        if (!found.empty()) return found.front();
    }
    // The last folder (the user's subtitle folder when one is set) is not searched by extension.
    for (const std::string& ext : SubtitleExts) {
        for (size_t i = 0; i + 1 < folders.size(); ++i) {
            found = FindFiles(folders[i] + "*" + ext);
            if (!found.empty()) return found.front();
        }
    }
    return {};
}

namespace {

std::string FirstLine(const std::string& text) { return text.substr(0, text.find_first_of("\r\n")); }

}  // namespace

TLaunch ComposeLaunch(TVexamo& vexamo, const TPlayer& player, const std::vector<StringList>& groups, int kind) {
    const std::string playlist = ProgramFolder + PlaylistBaseName + player.PlaylistExt;
    vexamo.Files = std::make_unique<TMonitoredFiles>();
    TMonitoredFiles& files = *vexamo.Files;

    // A playlist that outlives its delete would have the new files appended to an earlier disc's.
    if (!Sys().DeleteFile(playlist) && Sys().FileExists(playlist)) throw InOutError("Unable to write to " + playlist);
    int written = 0;
    for (const StringList& group : groups) written += AppendLinesToFile(group, playlist);

    const TPlayerFlags& flags = *player.Flags;
    const std::string* templ = nullptr;
    if (written > 1 && !flags.Playlist.empty()) {
        files.PlaylistName = playlist;
        templ = &flags.Playlist;
    } else {
        files.FileName = FirstLine(Sys().ReadTextFile(playlist).value_or(""));
        templ = &flags.Single;
        const TOptSubtitles& subtitles = vexamo.Settings->Subtitles;
        // Without a file there is no name to match, and the search by name would take any file
        // of the disc for a subtitle.
        if (kind == 1 && (subtitles.Auto || !subtitles.Path.empty()) && !flags.Subtitles.empty() &&
            !files.FileName.empty()) {
            vexamo.SubtitleFound = vexamo.FindSubtitle();
            if (!vexamo.SubtitleFound.empty()) {
                files.SubtitleName = vexamo.SubtitleFound;
                templ = &flags.Subtitles;
            }
        }
    }
    TLaunch launch;
    launch.Exe = player.Exe;
    launch.Parameters = vexamo.ExpandTags(*templ);
    launch.Files = written;
    for (const StringList& group : groups)
        if (launch.FirstFile.empty() && !group.empty()) launch.FirstFile = group.front();
    return launch;
}

TLaunch ComposeLaunch(TVexamo& vexamo, const TPlayer& player, const StringList& files, int kind) {
    return ComposeLaunch(vexamo, player, std::vector<StringList>{files}, kind);
}

TLaunch ComposeDiscLaunch(TVexamo& vexamo, const TPlayer& player, const std::string& root, DiscKind kind) {
    vexamo.Files = std::make_unique<TMonitoredFiles>();
    vexamo.Files->DiscName = root;
    TLaunch launch;
    launch.Exe = player.Exe;
    launch.Parameters = vexamo.ExpandTags(player.Flags->DiscTemplate(kind));
    launch.Disc = kind;
    launch.DiscRoot = root;
    return launch;
}

}  // namespace vexamo
