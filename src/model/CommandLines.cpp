#include "model/CommandLines.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "platform/Errors.h"
#include "platform/Utf8.h"

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

PlaylistEncoding PlaylistEncodingOf(const std::string& playlistExt) {
    return SameText(playlistExt, Utf8PlaylistExt) ? PlaylistEncoding::Utf8 : PlaylistEncoding::Legacy;
}

std::optional<std::string> PlaylistLine(const std::string& path, PlaylistEncoding encoding) {
    // A lone surrogate kept from a UTF-16 name is no UTF-8, and no legacy code page has it either.
    if (encoding == PlaylistEncoding::Utf8) return IsValidUtf8(path) ? std::optional<std::string>(path) : std::nullopt;
    return Sys().ToLegacyText(path);
}

std::string LeftOutText(const TPlayer& player, const StringList& leftOut) {
    constexpr size_t shown = 10;
    std::string names;
    for (size_t i = 0; i < leftOut.size() && i < shown; ++i) names += leftOut[i] + "\r";
    if (leftOut.size() > shown) names += "... and " + std::to_string(leftOut.size() - shown) + " more\r";
    return "Some names on the disc have characters that " + player.Name + "'s playlists (" + player.PlaylistExt +
           ") cannot hold. These files were not played:\r\r" + names +
           "\rPlay them one at a time with \"Choose File...\", or give " + player.Name +
           " the playlist format " + Utf8PlaylistExt + " in the Player Wizard if it reads that format.";
}

TLaunch ComposeLaunch(TVexamo& vexamo, const TPlayer& player, const std::vector<StringList>& groups, int kind) {
    const std::string playlist = ProgramFolder + PlaylistBaseName + player.PlaylistExt;
    vexamo.Files = std::make_unique<TMonitoredFiles>();
    TMonitoredFiles& files = *vexamo.Files;

    // A playlist that outlives its delete would have the new files appended to an earlier disc's.
    if (!Sys().DeleteFile(playlist) && Sys().FileExists(playlist)) throw InOutError("Unable to write to " + playlist);
    const PlaylistEncoding encoding = PlaylistEncodingOf(player.PlaylistExt);
    StringList all, listed, unlisted, lines;
    for (const StringList& group : groups) {
        for (const std::string& file : group) {
            all.push_back(file);
            if (std::optional<std::string> line = PlaylistLine(file, encoding)) {
                lines.push_back(*line);
                listed.push_back(file);
            } else {
                unlisted.push_back(file);
            }
        }
    }
    if (!groups.empty()) AppendLinesToFile(lines, playlist);

    const TPlayerFlags& flags = *player.Flags;
    const std::string* templ = nullptr;
    TLaunch launch;
    launch.Exe = player.Exe;
    if (listed.size() > 1 && !flags.Playlist.empty()) {
        files.PlaylistName = playlist;
        templ = &flags.Playlist;
        launch.LeftOut = unlisted;
    } else {
        files.FileName = all.empty() ? std::string() : all.front();
        // Without a playlist template only the first file ever played; others are left out
        // only where their names kept them out of the playlist.
        if (!flags.Playlist.empty() && !unlisted.empty())
            std::copy_if(all.begin() + 1, all.end(), std::back_inserter(launch.LeftOut),
                         [&](const std::string& f) { return f != files.FileName; });
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
    launch.Parameters = vexamo.ExpandTags(*templ);
    // What the tray's word names: what actually plays, not what the disc held.
    const bool playlisted = !files.PlaylistName.empty();
    launch.Files = playlisted ? static_cast<int>(listed.size()) : files.FileName.empty() ? 0 : 1;
    launch.FirstFile = playlisted ? listed.front() : files.FileName;
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
