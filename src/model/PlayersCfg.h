// The player catalogue: Players.ini, the built-in default players and their discovery through
// the registry.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "model/general.h"

namespace vexamo {

inline const std::array<std::string, 4> MediaKinds = {"AUDIO", "VIDEO", "PLAYER", "ALL"};
// The first seven have a row in DefaultPlayers and DefaultCommandLines each; the players of today
// after them are described in TodaysPlayers (TodaysPlayers.h).
inline const std::array<std::string, 12> DefaultPlayerNames = {
    "BsPlayer", "MicroDVD", "Winamp", "Windows Media Player Win9x", "Windows Media Player",
    "Core Media Player", "Radlight", "VLC media player", "MPC-HC", "MPC-BE", "mpv", "PotPlayer"};
// The wizard's playlist formats; .m3u8 (UTF-8) follows the three the program always offered.
inline const std::array<std::string, 4> PlaylistExts = {".m3u", ".lst", ".bsl", ".m3u8"};
// Searched in this order; the formats of today follow the three the program always knew.
inline const std::array<std::string, 5> SubtitleExts = {".sub", ".srt", ".ssa", ".ass", ".vtt"};
inline const std::array<std::string, 5> CommandTags = {"[PLAYER]", "[FILE]", "[PLAYLIST]", "[SUBTITLE]", "[DISC]"};
// Stored lists refer to these by position: rows are only ever added at the end.
inline const std::array<std::string, 29> KnownExtensions = {
    ".mp3",  ".wav", ".asx",  ".cda", ".ogg", ".wma", ".wmv", ".avi",  ".divx", ".mov",
    ".mpg",  ".mpeg", ".mp4", ".m4v", ".mkv", ".webm", ".ts", ".m2ts", ".mts",  ".vob",
    ".3gp",  ".flv", ".flac", ".m4a", ".aac", ".opus", ".ape", ".wv",  ".mka"};

struct ExtensionKind {
    std::string Ext;   // without the dot
    std::string Kind;  // a MediaKinds word
};
extern const std::array<ExtensionKind, 29> ExtensionKinds;

// Discs that are played as a whole, by their structure rather than their files. A player is given
// a kind in its Selection.ini Ext list by these words, which no extension can be (no dot).
// An audio CD is played as a whole too, but it is found by its tracks (.cda), not given as a kind.
enum class DiscKind { None = -1, DvdVideo = 0, BluRay = 1, VideoCd = 2, SuperVideoCd = 3, AudioCd = 4 };
inline const std::array<std::string, 4> DiscKindNames = {"DVD-Video", "Blu-ray", "Video CD", "Super Video CD"};
// Players.ini keys of the forms a player wants one kind of disc in, when it differs from its disc
// template (by DiscKind).
inline const std::array<std::string, 5> DiscKindKeys = {"disc.dvd", "disc.bluray", "disc.vcd", "disc.svcd",
                                                        "disc.cd"};
// The kind a word of an Ext list names, exactly as written; None for anything else.
DiscKind DiscKindOf(const std::string& word);

struct DefaultPlayer {
    std::string Name;
    std::string RegistryKey;
    std::string PlaylistExt;
};
extern const std::array<DefaultPlayer, 7> DefaultPlayers;

struct DefaultCommandLine {
    std::string Single;
    std::string Playlist;
    std::string Subtitles;
};
extern const std::array<DefaultCommandLine, 7> DefaultCommandLines;

struct TPlayerFlags {
    std::string Single = "[FILE]";
    std::string Subtitles = "[FILE] [SUBTITLE]";
    std::string Playlist = "[PLAYLIST]";
    // Parameters to play a whole disc, [DISC] standing for its drive root; empty = the player
    // takes no discs (also for a catalogue written before discs were known).
    std::string Disc;
    // A kind's own form (VLC wants dvd:///[DISC] but bluray:///[DISC]); none: the disc template.
    // Present but empty: the player does not take that kind.
    std::array<std::optional<std::string>, 5> DiscByKind;

    const std::string& DiscTemplate(DiscKind kind) const {
        const auto& own = DiscByKind.at(static_cast<size_t>(kind));
        return own ? *own : Disc;
    }
};

struct TPlaylist {
    StringList Files;
};

class TPlayer {
public:
    std::string Name;
    std::string Exe;
    std::string Icon;
    std::int32_t Index = 0;
    std::string PlaylistExt;
    std::unique_ptr<TPlayerFlags> Flags = std::make_unique<TPlayerFlags>();

    void LoadDefault(const std::string& name);
    void SaveToIni(const std::string& iniPath, bool overwrite) const;
    void LoadFromIni(const std::string& iniPath, const std::string& section);
    // The same from a section already read.
    void LoadFromSection(const IniSection& values, const std::string& section);
};

// The executable path within a shell command as the registry holds it.
std::string CommandToPath(const std::string& command);

// Brings Players.ini in line with the installed default players and the players registered as
// AutoPlay handlers. A handler of the same program as a default player adds the discs that player
// has no template for to one of today's players, and nothing to the first seven.
void DiscoverDefaultPlayers(const std::string& iniPath);
// Deletes Players.ini and discovers again.
void ResetPlayers(const std::string& iniPath);

// Kind (index in MediaKinds) of a known extension with its dot, or -1.
int KindOfExtension(const std::string& ext);
int KnownIndexOf(const std::string& ext);

}  // namespace vexamo
