// Command lines of a launch: the playlist file, the choice of template and its expansion. The tag
// expansion and the subtitle search work on the core object's paths and are its members
// (TVexamo::ExpandTags, TVexamo::FindSubtitle); they are defined in CommandLines.cpp with the rest.
#pragma once

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
};

// Prepares one launch of `player`: writes the groups of files to ProgramFolder + "VexamoList" +
// the player's playlist extension (deleted first), resets and fills vexamo.Files, chooses the
// playlist, single-file or subtitle template and expands it. `kind` is the MediaKinds index of
// the extension the user chose. Nothing is started.
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

}  // namespace vexamo
