#include "model/PlayersCfg.h"

#include <algorithm>

#include "model/TodaysPlayers.h"
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

    Flags = std::make_unique<TPlayerFlags>();
    Name = name;
    Index = static_cast<std::int32_t>(row + 1);
    if (row >= FirstTodaysPlayer) {
        const TodaysPlayer& today = TodaysPlayers[row - FirstTodaysPlayer];
        Exe = FindTodaysPlayer(today);
        PlaylistExt = today.PlaylistExt;
        Flags->Single = today.Single;
        Flags->Playlist = today.Playlist;
        Flags->Subtitles = today.Subtitles;
        Flags->Disc = today.Disc;
        Flags->DiscByKind = today.DiscByKind;
        return;
    }

    std::string command = ReadRegString(RegRoot::CurrentUser, DefaultPlayers[row].RegistryKey, "");
    if (command.empty()) command = ReadRegString(RegRoot::LocalMachine, DefaultPlayers[row].RegistryKey, "");

    Exe = CommandToPath(command);
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
    LoadFromSection(ReadIniSection(iniPath, section), section);
}

void TPlayer::LoadFromSection(const IniSection& values, const std::string& section) {
    Flags = std::make_unique<TPlayerFlags>();
    Name = section;
    Exe = values.String("exe");
    Index = values.Integer("index", 0);
    Icon = values.String("icon");
    PlaylistExt = values.String("ext");
    // A key written empty means "the player has no such command line"; only a missing key
    // falls back to the usual one.
    Flags->Single = values.String("single", CommandTags[1]);
    Flags->Playlist = values.String("playlist", CommandTags[2]);
    Flags->Subtitles = values.String("subtitles", CommandTags[1] + " " + CommandTags[3]);
    Flags->Disc = values.String("disc");
    for (size_t k = 0; k < DiscKindKeys.size(); ++k) Flags->DiscByKind[k] = values.Optional(DiscKindKeys[k]);
}

namespace {

bool MadeByDiscovery(const IniSection& values) { return values.String(FoundByKey) == FoundByAutoPlay; }

// A handler's player as the catalogue keeps it: its discs, and single files for the media-files
// events; it shows the picture of players the user added.
void LoadHandler(TPlayer& player, const AutoPlayPlayer& handler, const std::string& name) {
    player.Flags = std::make_unique<TPlayerFlags>();
    player.Name = name;
    player.Exe = handler.Exe;
    player.Index = 0;
    player.Icon.clear();
    player.PlaylistExt = handler.Files ? PlaylistExts[0] : std::string();
    player.Flags->Single = handler.Files ? CommandTags[1] : std::string();
    player.Flags->Playlist = handler.Files ? CommandTags[2] : std::string();
    player.Flags->Subtitles.clear();
    for (size_t k = 0; k < DiscKindKeys.size(); ++k)
        if (handler.DiscByKind[k]) player.Flags->DiscByKind[k] = handler.DiscByKind[k];
}

// The AutoPlay players that are no default player and no player of the user's: each gets a name
// of its own, and a section when it has none yet. Sections of earlier discoveries whose program
// is gone go, as those of default players do.
void DiscoverHandlerPlayers(const std::string& iniPath, const std::vector<AutoPlayPlayer>& handlers,
                            const std::vector<bool>& taken) {
    // The file is read once; a section this run rewrites is read again after the write.
    const IniFile file = ReadIniFile(iniPath);
    const StringList sections = file.Sections();
    std::vector<IniSection> values;
    values.reserve(sections.size());
    for (const std::string& s : sections) values.push_back(file.Section(s));
    const auto reread = [&](const std::string& name) {
        for (size_t i = 0; i < sections.size(); ++i)
            if (SameText(sections[i], name)) values[i] = ReadIniSection(iniPath, sections[i]);
    };
    auto nameTaken = [&](const std::string& name, const StringList& given) {
        const auto same = [&](const std::string& s) { return SameText(s, name); };
        if (std::any_of(given.begin(), given.end(), same)) return true;
        if (std::any_of(DefaultPlayerNames.begin(), DefaultPlayerNames.end(), same)) return true;
        // A section of the user's keeps its name; one an earlier discovery wrote is this one's.
        for (size_t i = 0; i < sections.size(); ++i)
            if (same(sections[i]) && !MadeByDiscovery(values[i])) return true;
        return false;
    };
    StringList given;
    TPlayer player;
    for (size_t i = 0; i < handlers.size(); ++i) {
        const AutoPlayPlayer& handler = handlers[i];
        if (taken[i]) continue;
        // The user has this program as a player of their own already.
        if (std::any_of(values.begin(), values.end(), [&](const IniSection& v) {
                return !MadeByDiscovery(v) && SameText(v.String("exe"), handler.Exe);
            }))
            continue;
        const std::string base = SafePlayerName(handler.Provider, handler.Exe);
        std::string name = base;
        // An earlier discovery's section of this program keeps its name, so the user's selection
        // of it stays valid.
        for (size_t s = 0; s < sections.size(); ++s)
            if (MadeByDiscovery(values[s]) && SameText(values[s].String("exe"), handler.Exe) &&
                !nameTaken(sections[s], given))
                name = sections[s];
        for (int n = 2; nameTaken(name, given); ++n) {
            const std::string suffix = " (" + std::to_string(n) + ")";
            name = base.substr(0, PlayerNameLimit - suffix.size()) + suffix;
            while (name.find("  ") != std::string::npos) name.erase(name.find("  "), 1);
        }
        given.push_back(name);
        const bool exists = IniSectionExists(iniPath, name);
        // Never over a section the user may have changed; one whose program went is replaced.
        if (exists && Sys().FileExists(ReadIniString(iniPath, name, "exe"))) continue;
        if (exists) EraseIniSection(iniPath, name);
        LoadHandler(player, handler, name);
        player.SaveToIni(iniPath, true);
        WriteIniString(iniPath, name, FoundByKey, FoundByAutoPlay);
        reread(name);
    }
    for (size_t s = 0; s < sections.size(); ++s) {
        const std::string& section = sections[s];
        if (!MadeByDiscovery(values[s])) continue;
        if (std::any_of(given.begin(), given.end(), [&](const std::string& g) { return SameText(g, section); })) continue;
        if (!Sys().FileExists(values[s].String("exe"))) EraseIniSection(iniPath, section);
    }
}

}  // namespace

void DiscoverDefaultPlayers(const std::string& iniPath) {
    const std::vector<AutoPlayPlayer> handlers = ReadAutoPlayHandlers();
    std::vector<bool> taken(handlers.size(), false);
    // Read once for every row: a row writes or erases only its own player's section.
    const IniFile file = ReadIniFile(iniPath);
    TPlayer player;
    for (size_t row = 0; row < DefaultPlayerNames.size(); ++row) {
        const std::string& name = DefaultPlayerNames[row];
        const IniSection section = file.Section(name);
        player.LoadDefault(name);
        if (Sys().FileExists(player.Exe)) {
            for (size_t i = 0; i < handlers.size(); ++i) {
                if (!SameText(handlers[i].Exe, player.Exe)) continue;
                // The same program is this player: its own templates stand, the handler's fill in
                // the discs it has none for. The first seven stay as their tables make them.
                taken[i] = true;
                if (row < FirstTodaysPlayer) continue;
                for (size_t k = 0; k < DiscKindKeys.size(); ++k)
                    if (handlers[i].DiscByKind[k] && player.Flags->DiscTemplate(static_cast<DiscKind>(k)).empty())
                        player.Flags->DiscByKind[k] = handlers[i].DiscByKind[k];
            }
            if (!section.Exists()) player.SaveToIni(iniPath, true);
        } else if (section.Exists() && !Sys().FileExists(section.String("exe"))) {
            // Only a section whose own program is missing as well goes: one the user pointed at
            // an installed program by hand stays, whatever the registry says. Nothing is written
            // when there is nothing to erase, so a catalogue that cannot be written still lists.
            EraseIniSection(iniPath, name);
        }
    }
    DiscoverHandlerPlayers(iniPath, handlers, taken);
}

void ResetPlayers(const std::string& iniPath) {
    Sys().DeleteFile(iniPath);
    DiscoverDefaultPlayers(iniPath);
}

}  // namespace vexamo
