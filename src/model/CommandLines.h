// Command lines of a launch: the playlist file, the choice of template and its expansion. The tag
// expansion and the subtitle search work on the core object's paths and are its members
// (TVexamo::ExpandTags, TVexamo::FindSubtitle); they are defined in CommandLines.cpp with the rest.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/PlayersCfg.h"
#include "model/VexaCfg.h"

namespace vexamo {

// What to start for one launch: the player's executable and its expanded parameters, and what it
// plays: the files of its playlist (the first of them), or the disc at a drive root.
struct TLaunch {
    std::string Exe;
    std::string Parameters;
    int Files = 0;
    std::string FirstFile;
    DiscKind Disc = DiscKind::None;
    std::string DiscRoot;
    // Files the launch was meant to play that it does not, because the player's playlist format
    // cannot hold their names: the user is told (LeftOutText).
    StringList LeftOut;
};

// The encoding a playlist format is read in. An .m3u8 is UTF-8 by definition (RFC 8216, 4: "files
// whose names end in .m3u8 ... are encoded in UTF-8"); the players that read the older formats
// read them in the machine's legacy code page, which is what they were always written in.
enum class PlaylistEncoding { Legacy, Utf8 };
PlaylistEncoding PlaylistEncodingOf(const std::string& playlistExt);
// A path as a line of such a playlist, or nothing when the encoding cannot hold its name: such a
// line would name a file that is not there.
std::optional<std::string> PlaylistLine(const std::string& path, PlaylistEncoding encoding);

// Prepares one launch of `player`: writes the groups of files to ProgramFolder + "VexamoList" +
// the player's playlist extension (deleted first), resets and fills vexamo.Files, chooses the
// playlist, single-file or subtitle template and expands it. `kind` is the MediaKinds index of
// the extension the user chose. Nothing is started.
// A file whose name the playlist's encoding cannot hold stays out of the playlist. Should that
// leave the playlist one file or none, the first file plays alone through the single template,
// whose command line carries any name. Either way, what is then not played is in LeftOut.
TLaunch ComposeLaunch(TVexamo& vexamo, const TPlayer& player, const std::vector<StringList>& groups, int kind);
TLaunch ComposeLaunch(TVexamo& vexamo, const TPlayer& player, const StringList& files, int kind);
// Prepares the launch of a whole disc through the player's template for its kind; no playlist is
// written.
TLaunch ComposeDiscLaunch(TVexamo& vexamo, const TPlayer& player, const std::string& root, DiscKind kind);

// The tracks of an audio CD as Windows shows them (Track01.cda ...).
inline const std::string AudioTrackExtension = ".cda";

// A path as one command-line argument, in double quotes, arriving whole through Windows' parsing
// rules also when it ends in a backslash (a drive root).
std::string QuotedArgument(const std::string& path);

inline const std::string PlaylistBaseName = "VexamoList";
inline const std::string Utf8PlaylistExt = ".m3u8";

// What the user is told about files a launch left out (TLaunch::LeftOut).
std::string LeftOutText(const TPlayer& player, const StringList& leftOut);

}  // namespace vexamo
