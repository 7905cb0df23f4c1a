#include "model/PlayersCfg.h"

#include <algorithm>

#include "platform/Errors.h"

namespace vexamo {

const std::array<ExtensionKind, 29> ExtensionKinds = {{
    {"mp3", "AUDIO"},  {"wav", "AUDIO"},  {"asx", "AUDIO"},  {"cda", "AUDIO"},  {"ogg", "AUDIO"},
    {"wma", "AUDIO"},  {"wmv", "AUDIO"},  {"avi", "VIDEO"},  {"divx", "VIDEO"}, {"mov", "VIDEO"},
    {"mpg", "VIDEO"},  {"mpeg", "VIDEO"}, {"mp4", "VIDEO"},  {"m4v", "VIDEO"},  {"mkv", "VIDEO"},
    {"webm", "VIDEO"}, {"ts", "VIDEO"},   {"m2ts", "VIDEO"}, {"mts", "VIDEO"},  {"vob", "VIDEO"},
    {"3gp", "VIDEO"},  {"flv", "VIDEO"},  {"flac", "AUDIO"}, {"m4a", "AUDIO"},  {"aac", "AUDIO"},
    {"opus", "AUDIO"}, {"ape", "AUDIO"},  {"wv", "AUDIO"},   {"mka", "AUDIO"},
}};

const std::array<DefaultPlayer, 7> DefaultPlayers = {{
    {"BsPlayer", "\\SOFTWARE\\Classes\\BSP.inif\\shell\\open\\command", ".bsl"},
    {"MicroDVD", "\\SOFTWARE\\Classes\\microdvd.file\\shell\\open\\command", ".lst"},
    {"Winamp", "\\SOFTWARE\\Classes\\Directory\\shell\\Winamp.Play\\command", ".m3u"},
    {"Windows Media Player Win9x", "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Mplayer2.exe", ".m3u"},
    {"Windows Media Player", "\\SOFTWARE\\Classes\\Applications\\wmplayer.exe\\shell\\play\\command", ".m3u"},
    {"Core Media Player", "\\SOFTWARE\\Classes\\Applications\\CorePlayer.exe\\shell\\play\\command", ".m3u"},
    {"Radlight", "\\SOFTWARE\\Classes\\RadLightFile\\Shell\\Play\\Command", ".m3u"},
}};

const std::array<DefaultCommandLine, 7> DefaultCommandLines = {{
    {"[FILE]", "[PLAYLIST]", "[FILE] [SUBTITLE]"},
    {"[FILE]", "[PLAYLIST]", "/QUICKINI /V:[FILE] /S:[SUBTITLE]"},
    {"[FILE]", "[PLAYLIST]", ""},
    {"[FILE]", "[PLAYLIST]", ""},
    {"[FILE]", "[PLAYLIST]", ""},
    {"[FILE]", "[PLAYLIST]", "[FILE] [SUBTITLE]"},
    {"[FILE]", "[PLAYLIST]", "[FILE] [SUBTITLE]"},
}};

int KnownIndexOf(const std::string& ext) {
    auto at = std::find(KnownExtensions.begin(), KnownExtensions.end(), ext);
    return at == KnownExtensions.end() ? -1 : static_cast<int>(at - KnownExtensions.begin());
}

DiscKind DiscKindOf(const std::string& word) {
    auto at = std::find(DiscKindNames.begin(), DiscKindNames.end(), word);
    return at == DiscKindNames.end() ? DiscKind::None : static_cast<DiscKind>(at - DiscKindNames.begin());
}

int KindOfExtension(const std::string& ext) {
    int row = KnownIndexOf(ext);
    if (row < 0) return -1;
    auto kind = std::find(MediaKinds.begin(), MediaKinds.end(), ExtensionKinds[row].Kind);
    return static_cast<int>(kind - MediaKinds.begin());
}

std::string CommandToPath(const std::string& command) {
    // The cut is measured on the command as read, quotes and all, but applied to the unquoted
    // text: for a quoted executable the cut then falls beyond the end and the whole path stays.
    const size_t lastDot = command.rfind('.');
    const size_t keep = (lastDot == std::string::npos ? 0 : lastDot + 1) + 3;

    std::string text;
    if (!command.empty() && command.front() == '"') {
        for (size_t i = 1; i < command.size(); ++i) {
            if (command[i] == '"') {
                if (i + 1 < command.size() && command[i + 1] == '"') {
                    text += '"';
                    ++i;
                    continue;
                }
                break;
            }
            text += command[i];
        }
    } else {
        text = command;
    }
    return text.substr(0, std::min(keep, text.size()));
}

void TPlayer::LoadDefault(const std::string& name) {
    auto at = std::find(DefaultPlayerNames.begin(), DefaultPlayerNames.end(), name);
    if (at == DefaultPlayerNames.end()) throw Error("\"" + name + "\" is not a default player");
    const size_t row = static_cast<size_t>(at - DefaultPlayerNames.begin());

    std::string command = ReadRegString(RegRoot::CurrentUser, DefaultPlayers[row].RegistryKey, "");
    if (command.empty()) command = ReadRegString(RegRoot::LocalMachine, DefaultPlayers[row].RegistryKey, "");

    Flags = std::make_unique<TPlayerFlags>();
    Name = name;
    Exe = CommandToPath(command);
    Index = static_cast<std::int32_t>(row + 1);
    PlaylistExt = DefaultPlayers[row].PlaylistExt;
    Flags->Single = DefaultCommandLines[row].Single;
    Flags->Playlist = DefaultCommandLines[row].Playlist;
    Flags->Subtitles = DefaultCommandLines[row].Subtitles;
}

void TPlayer::SaveToIni(const std::string& iniPath, bool overwrite) const {
    if (!overwrite && IniSectionExists(iniPath, Name)) return;
    WriteIniString(iniPath, Name, "exe", Exe);
    WriteIniInteger(iniPath, Name, "index", Index);
    WriteIniString(iniPath, Name, "icon", Icon);
    WriteIniString(iniPath, Name, "ext", PlaylistExt);
    WriteIniString(iniPath, Name, "single", Flags->Single);
    WriteIniString(iniPath, Name, "playlist", Flags->Playlist);
    WriteIniString(iniPath, Name, "subtitles", Flags->Subtitles);
    // Written only for a player that takes discs, so a catalogue without discs reads as it always did.
    if (!Flags->Disc.empty()) WriteIniString(iniPath, Name, "disc", Flags->Disc);
    for (size_t k = 0; k < DiscKindKeys.size(); ++k)
        if (Flags->DiscByKind[k]) WriteIniString(iniPath, Name, DiscKindKeys[k], *Flags->DiscByKind[k]);
}

void TPlayer::LoadFromIni(const std::string& iniPath, const std::string& section) {
    Flags = std::make_unique<TPlayerFlags>();
    Name = section;
    Exe = ReadIniString(iniPath, section, "exe");
    Index = ReadIniInteger(iniPath, section, "index", 0);
    Icon = ReadIniString(iniPath, section, "icon");
    PlaylistExt = ReadIniString(iniPath, section, "ext");
    // A key written empty means "the player has no such command line"; only a missing key
    // falls back to the usual one.
    Flags->Single = ReadIniString(iniPath, section, "single", CommandTags[1]);
    Flags->Playlist = ReadIniString(iniPath, section, "playlist", CommandTags[2]);
    Flags->Subtitles = ReadIniString(iniPath, section, "subtitles", CommandTags[1] + " " + CommandTags[3]);
    Flags->Disc = ReadIniString(iniPath, section, "disc");
    for (size_t k = 0; k < DiscKindKeys.size(); ++k) Flags->DiscByKind[k] = ReadIniOptional(iniPath, section, DiscKindKeys[k]);
}

void DiscoverDefaultPlayers(const std::string& iniPath) {
    TPlayer player;
    for (const std::string& name : DefaultPlayerNames) {
        player.LoadDefault(name);
        if (Sys().FileExists(player.Exe)) {
            player.SaveToIni(iniPath, false);
        } else if (IniSectionExists(iniPath, name) && !Sys().FileExists(ReadIniString(iniPath, name, "exe"))) {
            // Only a section whose own program is missing as well goes: one the user pointed at
            // an installed program by hand stays, whatever the registry says. Nothing is written
            // when there is nothing to erase, so a catalogue that cannot be written still lists.
            EraseIniSection(iniPath, name);
        }
    }
}

void ResetPlayers(const std::string& iniPath) {
    Sys().DeleteFile(iniPath);
    DiscoverDefaultPlayers(iniPath);
}

}  // namespace vexamo
