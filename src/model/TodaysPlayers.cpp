#include "model/TodaysPlayers.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace vexamo {

namespace {

constexpr RegRoot HKCU = RegRoot::CurrentUser;
constexpr RegRoot HKLM = RegRoot::LocalMachine;
constexpr RegView Native = RegView::Native;
constexpr RegView Wow32 = RegView::Wow32;

RegistryPlace At(RegRoot root, RegView view, const std::string& key, const std::string& value) {
    return RegistryPlace{root, view, key, value, PlaceHolds::Program, {}};
}
RegistryPlace InFolder(RegRoot root, RegView view, const std::string& key, const std::string& value,
                       const std::string& file) {
    return RegistryPlace{root, view, key, value, PlaceHolds::Folder, file};
}

const std::string Uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

}  // namespace

// Rows in DiscKind order: DVD-Video, Blu-ray, Video CD, Super Video CD, audio CD.
const std::array<TodaysPlayer, 5> TodaysPlayers = {{
    // VLC media player.
    {{
         // VLC's NSIS installer (videolan/vlc extras/package/win32/NSIS/vlc.win32.nsi.in): the program as the
         // unnamed value; the 64-bit installer writes the 64-bit view (SetRegView 64), a 32-bit one WOW6432Node.
         At(HKLM, Native, "SOFTWARE\\VideoLAN\\VLC", ""),
         At(HKLM, Wow32, "SOFTWARE\\VideoLAN\\VLC", ""),
         // VLC's MSI (extras/package/win32/msi/product.wxs) writes only the folder, as InstallDir.
         InFolder(HKLM, Native, "SOFTWARE\\VideoLAN\\VLC", "InstallDir", "vlc.exe"),
         InFolder(HKLM, Wow32, "SOFTWARE\\VideoLAN\\VLC", "InstallDir", "vlc.exe"),
     },
     // App Paths\vlc.exe: written by the same NSIS installer (not by old ones).
     {"vlc.exe"},
     // VLC reads an .m3u8 as UTF-8 by its extension (modules/demux/playlist/m3u.c), so any name
     // of a disc reaches it whole.
     ".m3u8",
     "[FILE]",
     "[PLAYLIST]",
     // --sub-file (src/libvlc-module.c, "sub-file"; vlc(1)).
     "[FILE] --sub-file=[SUBTITLE]",
     "",
     // VLC's own AutoPlay commands in its NSIS installer: dvd:///%1, bluray:///%1, vcd:///%1 (VCD and SVCD), cdda:///%1.
     {"dvd:///[DISC]", "bluray:///[DISC]", "vcd:///[DISC]", "vcd:///[DISC]", "cdda:///[DISC]"}},

    // MPC-HC.
    {{
         // The player writes its path at every start (clsid2/mpc-hc src/mpc-hc/mplayerc.cpp, InitInstance,
         // HKCU\Software\MPC-HC\MPC-HC ExePath); its installer too after a reset (distrib/mpc-hc_setup.iss).
         At(HKCU, Native, "Software\\MPC-HC\\MPC-HC", "ExePath"),
         // The installer's uninstaller deletes a machine-wide ExePath (mpc-hc_setup.iss), so older builds wrote one.
         At(HKLM, Native, "SOFTWARE\\MPC-HC\\MPC-HC", "ExePath"),
         At(HKLM, Wow32, "SOFTWARE\\MPC-HC\\MPC-HC", "ExePath"),
         // Inno Setup's uninstall entries of mpc-hc_setup.iss (AppId, x64 and x86), machine-wide or per user.
         InFolder(HKLM, Native, Uninstall + "{2ACBF1FA-F5C3-4B19-A774-B22A31F231B9}_is1", "InstallLocation", "mpc-hc64.exe"),
         InFolder(HKLM, Wow32, Uninstall + "{2624B969-7135-4EB1-B0F6-2D8C397B45F7}_is1", "InstallLocation", "mpc-hc.exe"),
         InFolder(HKCU, Native, Uninstall + "{2ACBF1FA-F5C3-4B19-A774-B22A31F231B9}_is1", "InstallLocation", "mpc-hc64.exe"),
         InFolder(HKCU, Native, Uninstall + "{2624B969-7135-4EB1-B0F6-2D8C397B45F7}_is1", "InstallLocation", "mpc-hc.exe"),
     },
     // Program names of mpc-hc_setup.iss (mpchc_exe); its installer writes no App Paths entry.
     {"mpc-hc64.exe", "mpc-hc.exe"},
     // m3u among the playlist formats of src/mpc-hc/MediaFormats.cpp.
     ".m3u",
     "[FILE]",
     "[PLAYLIST]",
     // "/sub <file>" of the usage text (IDS_USAGE, mplayerc.cpp) and CAppSettings::ParseCommandLine.
     "[FILE] /sub [SUBTITLE]",
     "",
     // Its AutoPlay verbs "%1 /dvd" and "%1 /cd" (src/mpc-hc/FileAssoc.cpp), /cd also for (S)VCD (usage
     // text); a Blu-ray opens by its index.bdmv, a format MediaFormats.cpp plays (no menus).
     {"[DISC] /dvd", "[DISC]BDMV\\index.bdmv", "[DISC] /cd", "[DISC] /cd", "[DISC] /cd"}},

    // MPC-BE.
    {{
         // Its installer's ExePath (Aleksoid1978/MPC-BE distrib/mpc-be_setup.iss, CurStepChanged), 64-bit
         // view for the x64 installer, WOW6432Node for the x86 one.
         At(HKLM, Native, "SOFTWARE\\MPC-BE", "ExePath"),
         At(HKLM, Wow32, "SOFTWARE\\MPC-BE", "ExePath"),
         // Inno Setup's uninstall entries of mpc-be_setup.iss (AppId, x64 and x86), machine-wide or per user.
         InFolder(HKLM, Native, Uninstall + "{FE09AF6D-78B2-4093-B012-FCDAF78693CE}_is1", "InstallLocation", "mpc-be64.exe"),
         InFolder(HKLM, Wow32, Uninstall + "{903D098F-DD50-4342-AD23-DA868FCA3126}_is1", "InstallLocation", "mpc-be.exe"),
         InFolder(HKCU, Native, Uninstall + "{FE09AF6D-78B2-4093-B012-FCDAF78693CE}_is1", "InstallLocation", "mpc-be64.exe"),
         InFolder(HKCU, Native, Uninstall + "{903D098F-DD50-4342-AD23-DA868FCA3126}_is1", "InstallLocation", "mpc-be.exe"),
     },
     // Program names of mpc-be_setup.iss (mpcbe_exe); its installer writes no App Paths entry.
     {"mpc-be64.exe", "mpc-be.exe"},
     // m3u among the playlist formats of src/apps/mplayerc/MediaFormats.cpp.
     ".m3u",
     "[FILE]",
     "[PLAYLIST]",
     // "/sub <file>" (src/apps/mplayerc/AppSettings.cpp, ParseCommandLine).
     "[FILE] /sub [SUBTITLE]",
     "",
     // Its AutoPlay verbs (src/apps/mplayerc/PPageFormats.cpp): "%1 /dvd", "%1" for Blu-ray, "%1 /cd";
     // /cd also for (S)VCD as in MPC-HC, whose switches it keeps.
     {"[DISC] /dvd", "[DISC]", "[DISC] /cd", "[DISC] /cd", "[DISC] /cd"}},

    // mpv.
    {{
         // "mpv --register" (mpv-player/mpv osdep/w32_register.c) writes App Paths\mpv.exe under HKLM for an
         // administrator, else HKCU, and Uninstall\mpv InstallLocation; mpv-install.bat (rossy/mpv-install)
         // the HKLM App Paths entry. The App Paths are searched below.
         InFolder(HKCU, Native, Uninstall + "mpv", "InstallLocation", "mpv.exe"),
         InFolder(HKLM, Native, Uninstall + "mpv", "InstallLocation", "mpv.exe"),
     },
     {"mpv.exe"},
     // m3u among the playlist formats mpv reads (demux/demux_playlist.c).
     ".m3u",
     "[FILE]",
     "[PLAYLIST]",
     // --sub-file (mpv manual, OPTIONS, Subtitles).
     "--sub-file=[SUBTITLE] [FILE]",
     "",
     // mpv manual, PROTOCOLS and "Disc Devices": dvd://, bd:// and cdda:// with --dvd-device, --bluray-device
     // and --cdrom-device; no menus. It has no protocol for (S)VCD.
     {"dvd:// --dvd-device=[DISC]", "bd:// --bluray-device=[DISC]", "", "", "cdda:// --cdrom-device=[DISC]"}},

    // PotPlayer. Its installer and help are not public: these entries are those other programs that
    // start PotPlayer read (Yoooi0/MultiFunPlayer PotPlayerMediaSource.cs, GetInstallationPath), unconfirmed.
    {{
         At(HKCU, Native, "Software\\DAUM\\PotPlayer64", "ProgramPath"),
         At(HKLM, Native, "SOFTWARE\\DAUM\\PotPlayer64", "ProgramPath"),
         At(HKCU, Native, "Software\\DAUM\\PotPlayer", "ProgramPath"),
         At(HKLM, Native, "SOFTWARE\\DAUM\\PotPlayer", "ProgramPath"),
         At(HKLM, Wow32, "SOFTWARE\\DAUM\\PotPlayer", "ProgramPath"),
     },
     {"PotPlayerMini64.exe", "PotPlayerMini.exe"},
     ".m3u",
     "[FILE]",
     "[PLAYLIST]",
     // "/sub=<file>" of its built-in help as commonly quoted; unconfirmed.
     "[FILE] /sub=[SUBTITLE]",
     // It opens any disc from its drive root (its "Open DVD/Blu-ray/CD"); unconfirmed.
     "[DISC]",
     {}},
}};

// The events of "How to Register a Handler for a Device Event" (Microsoft Learn) that play media;
// key names compare without regard to case (VLC writes PlayBlurayOnArrival).
const std::array<AutoPlayEvent, 7> AutoPlayEvents = {{
    {"PlayDVDMovieOnArrival", DiscKind::DvdVideo},
    {"PlayBluRayOnArrival", DiscKind::BluRay},
    {"PlayVideoCDMovieOnArrival", DiscKind::VideoCd},
    {"PlaySuperVideoCDMovieOnArrival", DiscKind::SuperVideoCd},
    {"PlayCDAudioOnArrival", DiscKind::AudioCd},
    {"PlayVideoFilesOnArrival", DiscKind::None},
    {"PlayMusicFilesOnArrival", DiscKind::None},
}};

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && Blank(text[b])) ++b;
    while (e > b && Blank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

bool EndsWithExe(const std::string& path) {
    return path.size() >= 4 && SameText(path.substr(path.size() - 4), ".exe");
}

}  // namespace

std::string ExpandedText(const RegText& text) { return text.Expand ? Sys().ExpandEnvironment(text.Value) : text.Value; }

SplitCommand SplitProgram(const std::string& command) {
    const std::string text = Trimmed(command);
    if (text.empty()) return {};
    if (text.front() == '"') {
        const size_t close = text.find('"', 1);
        if (close == std::string::npos) return {text.substr(1), ""};
        return {text.substr(1, close - 1), Trimmed(text.substr(close + 1))};
    }
    // Unquoted, the path may hold blanks: as CreateProcess does, each blank is tried as its end,
    // the shortest first, with and without ".exe".
    for (size_t end = 0; end <= text.size(); ++end) {
        if (end < text.size() && !Blank(text[end])) continue;
        const std::string candidate = text.substr(0, end);
        const std::string rest = end < text.size() ? Trimmed(text.substr(end)) : std::string();
        if (Sys().FileExists(candidate)) return {candidate, rest};
        if (!EndsWithExe(candidate) && Sys().FileExists(candidate + ".exe")) return {candidate + ".exe", rest};
    }
    const size_t blank = text.find_first_of(" \t");
    if (blank == std::string::npos) return {text, ""};
    return {text.substr(0, blank), Trimmed(text.substr(blank))};
}

namespace {

// The program a place names, whether or not it exists; empty when the place has no value.
std::string ProgramAt(const RegistryPlace& place) {
    const std::optional<RegText> value = Sys().RegReadText(place.Root, place.View, place.Key, place.Value);
    if (!value) return {};
    const std::string text = Trimmed(ExpandedText(*value));
    if (text.empty()) return {};
    if (place.Holds == PlaceHolds::Program) return SplitProgram(text).Program;
    const bool quoted = text.size() >= 2 && text.front() == '"' && text.back() == '"';
    std::string folder = quoted ? text.substr(1, text.size() - 2) : text;
    if (folder.empty()) return {};
    if (folder.back() != '\\') folder += '\\';
    return folder + place.File;
}

// Where Windows' App Paths find a program: the user's own entry first, as the shell takes it.
std::vector<RegistryPlace> AppPathPlaces(const std::string& file) {
    return {At(HKCU, Native, AppPathsKey + file, ""), At(HKLM, Native, AppPathsKey + file, ""),
            At(HKLM, Wow32, AppPathsKey + file, "")};
}

bool ControlFree(const std::string& text) {
    return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < ' '; });
}

}  // namespace

std::string FindTodaysPlayer(const TodaysPlayer& player) {
    std::vector<RegistryPlace> places = player.Places;
    for (const std::string& file : player.AppPaths)
        for (const RegistryPlace& place : AppPathPlaces(file)) places.push_back(place);
    for (const RegistryPlace& place : places) {
        const std::string program = ProgramAt(place);
        // A path no settings file line could hold is no program either.
        if (!program.empty() && ControlFree(program) && Sys().FileExists(program)) return program;
    }
    return {};
}

// --- AutoPlay handlers -----------------------------------------------------------------------

namespace {

constexpr size_t TemplateLimit = 1024;

bool DrivePlaceholder(char c) { return c == '1' || c == 'L' || c == 'l' || c == 'V' || c == 'v'; }
bool OtherPlaceholder(char c) {
    return (c >= '0' && c <= '9') || c == '*' || std::strchr("DdHhIiSsWwUu", c) != nullptr;
}

// The placeholders of a stretch without quotes; `drive` tells whether one stood for the drive.
std::string Placeholders(const std::string& text, bool& drive) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            const char c = text[i + 1];
            if (c == '%') {
                out += '%';
                ++i;
                continue;
            }
            if (DrivePlaceholder(c)) {
                out += CommandTags[4];
                drive = true;
                ++i;
                continue;
            }
            if (OtherPlaceholder(c)) {
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

std::optional<std::string> DiscTemplateOfArguments(const std::string& arguments) {
    if (!ControlFree(arguments)) return std::nullopt;
    std::string out;
    size_t at = 0;
    while (at < arguments.size()) {
        bool drive = false;
        if (arguments[at] != '"') {
            const size_t quote = std::min(arguments.find('"', at), arguments.size());
            out += Placeholders(arguments.substr(at, quote - at), drive);
            at = quote;
            continue;
        }
        // A quoted stretch (mpv-install.bat leaves the last one open on purpose).
        const size_t close = arguments.find('"', at + 1);
        const size_t end = close == std::string::npos ? arguments.size() : close;
        const std::string inside = Placeholders(arguments.substr(at + 1, end - at - 1), drive);
        if (drive) {
            // The tag is quoted where it is put in; quotes around it here would pair with its own
            // and cut the argument. Without blanks the stretch needs no quotes of its own.
            if (inside.find_first_of(" \t") != std::string::npos) return std::nullopt;
            out += inside;
        } else {
            out += '"' + inside + (close == std::string::npos ? "" : "\"");
        }
        at = close == std::string::npos ? arguments.size() : close + 1;
    }
    out = Trimmed(out);
    if (out.size() > TemplateLimit) return std::nullopt;
    return out;
}

std::string SafePlayerName(const std::string& provider, const std::string& exe) {
    std::string name = provider;
    if (Trimmed(name).empty() || name.front() == '@') {
        // An indirect string names a resource of another program's file: the program's own name
        // says more than its resource path would.
        const std::string file = ExtractFileName(exe);
        const size_t dot = file.rfind('.');
        name = dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
    }
    std::string safe;
    for (char c : name) {
        const bool bad = static_cast<unsigned char>(c) < ' ' || c == '[' || c == ']' || c == '=' || c == ';';
        const char put = bad ? ' ' : c;
        // Runs of blanks become one: a name is read back as it was written.
        if (Blank(put) && (safe.empty() || Blank(safe.back()))) continue;
        safe += Blank(put) ? ' ' : put;
    }
    if (safe.size() > PlayerNameLimit) safe.resize(PlayerNameLimit);
    safe = Trimmed(safe);
    // Quotes at either end would be taken off by the profile read.
    while (!safe.empty() && (safe.front() == '"' || safe.front() == '\'')) safe = Trimmed(safe.substr(1));
    while (!safe.empty() && (safe.back() == '"' || safe.back() == '\'')) safe = Trimmed(safe.substr(0, safe.size() - 1));
    return safe.empty() ? "AutoPlay player" : safe;
}

namespace {

struct RootView {
    RegRoot Root;
    RegView View;
};
// The user's registrations first, as Windows' merged view of the classes gives them precedence.
const std::array<RootView, 3> RootViews = {{{HKCU, Native}, {HKLM, Native}, {HKLM, Wow32}}};

std::string ReadValue(RegRoot root, RegView view, const std::string& key, const std::string& name) {
    const std::optional<RegText> text = Sys().RegReadText(root, view, key, name);
    return text ? ExpandedText(*text) : std::string();
}

// The command of a verb of a ProgID, as HKEY_CLASSES_ROOT merges the user's and the machine's.
std::string VerbCommand(const std::string& progId, const std::string& verb) {
    const std::string key = "SOFTWARE\\Classes\\" + progId + "\\shell\\" + verb + "\\command";
    for (const RootView& rv : RootViews) {
        const std::string command = ReadValue(rv.Root, rv.View, key, "");
        if (!command.empty()) return command;
    }
    return {};
}

bool WindowsHost(const std::string& program) {
    const std::string file = ExtractFileName(program);
    return SameText(file, "rundll32.exe") || SameText(file, "explorer.exe") || SameText(file, "rundll32") ||
           SameText(file, "explorer");
}

struct Handler {
    std::string Provider, Exe, Template;
};

// A handler's definition: under the root that lists it, else under the other one.
std::optional<Handler> ReadHandler(const RootView& listing, const std::string& name) {
    const std::string key = AutoPlayHandlersKey + "\\Handlers\\" + name;
    std::vector<RootView> order{listing};
    for (const RootView& rv : RootViews)
        if (rv.Root != listing.Root || rv.View != listing.View) order.push_back(rv);
    for (const RootView& rv : order) {
        const std::string progId = ReadValue(rv.Root, rv.View, key, "InvokeProgID");
        const std::string verb = ReadValue(rv.Root, rv.View, key, "InvokeVerb");
        // A handler through a COM object (ProgID or CLSID instead) names no program to start.
        if (progId.empty() || verb.empty()) continue;
        const std::string command = VerbCommand(progId, verb);
        if (command.empty() || !ControlFree(command)) return std::nullopt;
        const SplitCommand split = SplitProgram(command);
        if (split.Program.empty() || WindowsHost(split.Program) || !Sys().FileExists(split.Program))
            return std::nullopt;
        const std::optional<std::string> templ = DiscTemplateOfArguments(split.Arguments);
        if (!templ) return std::nullopt;
        return Handler{ReadValue(rv.Root, rv.View, key, "Provider"), split.Program, *templ};
    }
    return std::nullopt;
}

}  // namespace

std::vector<AutoPlayPlayer> ReadAutoPlayHandlers() {
    std::vector<AutoPlayPlayer> players;
    for (const AutoPlayEvent& event : AutoPlayEvents) {
        StringList seen;
        for (const RootView& rv : RootViews) {
            for (const std::string& name :
                 Sys().RegValueNames(rv.Root, rv.View, AutoPlayHandlersKey + "\\EventHandlers\\" + event.Name)) {
                // The same registration seen through both views, or under both roots, counts once.
                const auto same = [&](const std::string& s) { return SameText(s, name); };
                if (name.empty() || std::any_of(seen.begin(), seen.end(), same)) continue;
                seen.push_back(name);
                const std::optional<Handler> handler = ReadHandler(rv, name);
                if (!handler) continue;
                auto at = std::find_if(players.begin(), players.end(), [&](const AutoPlayPlayer& p) {
                    return p.Provider == handler->Provider && SameText(p.Exe, handler->Exe);
                });
                if (at == players.end()) {
                    players.push_back(AutoPlayPlayer{handler->Provider, handler->Exe, {}, false});
                    at = players.end() - 1;
                }
                if (event.Disc == DiscKind::None) {
                    at->Files = true;
                } else {
                    auto& disc = at->DiscByKind[static_cast<size_t>(event.Disc)];
                    if (!disc) disc = handler->Template;
                }
            }
        }
    }
    return players;
}

}  // namespace vexamo
