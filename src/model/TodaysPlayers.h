// The players of today that the catalogue finds by itself: the five named default players (rows
// 8 to 12 of the default players), looked for where their own installers leave them, and every
// player that registered an AutoPlay handler for discs or media files with Windows.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/PlayersCfg.h"

namespace vexamo {

// What a registry value that tells where a player is holds: the program itself (perhaps quoted,
// perhaps with arguments after it) or the folder it was installed to.
enum class PlaceHolds { Program, Folder };

struct RegistryPlace {
    RegRoot Root;
    RegView View;
    std::string Key;
    std::string Value;  // empty: the key's unnamed value
    PlaceHolds Holds = PlaceHolds::Program;
    std::string File;   // for a folder: the program's file in it
};

struct TodaysPlayer {
    // Where its installers write it, in the order they are searched; the first place that names
    // an existing file wins.
    std::vector<RegistryPlace> Places;
    // Its program's names under Windows' App Paths, searched after its own places.
    std::vector<std::string> AppPaths;
    std::string PlaylistExt;
    std::string Single, Playlist, Subtitles;
    std::string Disc;
    std::array<std::optional<std::string>, 5> DiscByKind;
};

// The rows of DefaultPlayerNames from this one on are today's players, in TodaysPlayers.
constexpr size_t FirstTodaysPlayer = 7;
extern const std::array<TodaysPlayer, 5> TodaysPlayers;

// Windows' App Paths key; a program's entry is a subkey named after its file.
inline const std::string AppPathsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

// The program of a registry value or shell command, with the arguments after it: a quoted path,
// or an unquoted one that may hold blanks (the shortest existing one is taken, as Windows starts
// it). A REG_EXPAND_SZ value is expanded first.
struct SplitCommand {
    std::string Program;
    std::string Arguments;
};
SplitCommand SplitProgram(const std::string& command);
std::string ExpandedText(const RegText& text);

// The installed program of one of today's players, or empty when no place names an existing file.
std::string FindTodaysPlayer(const TodaysPlayer& player);

// --- AutoPlay handlers -----------------------------------------------------------------------

inline const std::string AutoPlayHandlersKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers";

// An AutoPlay event a player may handle, and the kind of disc it plays (None: the disc's media
// files, played one by one).
struct AutoPlayEvent {
    std::string Name;
    DiscKind Disc;
};
extern const std::array<AutoPlayEvent, 7> AutoPlayEvents;

// The handlers of one program under one Provider, taken together.
struct AutoPlayPlayer {
    std::string Provider;
    std::string Exe;
    std::array<std::optional<std::string>, 5> DiscByKind;  // by DiscKind: the disc template of each event's kind
    bool Files = false;                                    // it handles the media-files events
};

// Every handler of the events in HKCU and HKLM whose command names an existing program that is
// not a Windows host (rundll32, explorer), grouped by provider and program, in the order found.
std::vector<AutoPlayPlayer> ReadAutoPlayHandlers();

// A handler command's arguments as a disc template: the drive placeholders (%1, %L, %V) become
// [DISC], which brings its own quotes, so quotes the registration put around them go; other
// placeholders stand for nothing here. Nothing when the result could not reach the player whole
// or could break a settings file.
std::optional<std::string> DiscTemplateOfArguments(const std::string& arguments);

// A Provider as a player's name that every settings file keeps: no characters a section name or
// a line of an INI file cannot hold, no blanks at the ends, at most PlayerNameLimit characters.
// An empty (or indirect, "@file,-id") Provider gives the program's own name.
constexpr size_t PlayerNameLimit = 40;
std::string SafePlayerName(const std::string& provider, const std::string& exe);

// Players.ini key marking a section the discovery of AutoPlay handlers wrote; the player wizard
// writes sections without it, so a section edited there is the user's from then on.
inline const std::string FoundByKey = "found";
inline const std::string FoundByAutoPlay = "AutoPlay";

}  // namespace vexamo
