// The player catalogue: Players.ini, the built-in default players and their discovery through
// the registry.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "model/general.h"

namespace vexamo {

inline const std::array<std::string, 4> MediaKinds = {"AUDIO", "VIDEO", "PLAYER", "ALL"};
inline const std::array<std::string, 7> DefaultPlayerNames = {
    "BsPlayer", "MicroDVD", "Winamp", "Windows Media Player Win9x", "Windows Media Player",
    "Core Media Player", "Radlight"};
inline const std::array<std::string, 3> PlaylistExts = {".m3u", ".lst", ".bsl"};
inline const std::array<std::string, 3> SubtitleExts = {".sub", ".srt", ".ssa"};
inline const std::array<std::string, 4> CommandTags = {"[PLAYER]", "[FILE]", "[PLAYLIST]", "[SUBTITLE]"};
inline const std::array<std::string, 12> KnownExtensions = {
    ".mp3", ".wav", ".asx", ".cda", ".ogg", ".wma", ".wmv", ".avi", ".divx", ".mov", ".mpg", ".mpeg"};

struct ExtensionKind {
    std::string Ext;   // without the dot
    std::string Kind;  // a MediaKinds word
};
extern const std::array<ExtensionKind, 12> ExtensionKinds;

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
};

// The executable path within a shell command as the registry holds it.
std::string CommandToPath(const std::string& command);

// Brings Players.ini in line with the installed default players.
void DiscoverDefaultPlayers(const std::string& iniPath);
// Deletes Players.ini and discovers again.
void ResetPlayers(const std::string& iniPath);

// Kind (index in MediaKinds) of a known extension with its dot, or -1.
int KindOfExtension(const std::string& ext);
int KnownIndexOf(const std::string& ext);

}  // namespace vexamo
