// The installer and uninstaller as a user and Windows' "Apps" list use them: a silent install
// into the per-user programs folder, an upgrade over a running agent, the uninstall string
// Windows would run, and the pages of an interactive install.
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/AgentE2E.h"

using namespace e2e;

namespace {

constexpr DWORD SetupTimeoutMs = 60000;
const std::string UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vexamo";
const std::string RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string AutoPlayKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

std::string DefaultInstallDir() {
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
    return std::string(path) + "\\Programs\\Vexamo\\";
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::size_t FileSize(const std::string& path) { return ReadFile(path).value_or("").size(); }

// Whether a program has neither a symbol table nor debug sections: the linker gives sections with
// long names, as all of .debug_* are, a "/<offset>" name into the symbol table's strings.
bool Stripped(const std::string& path) {
    const std::string pe = ReadFile(path).value_or("");
    if (pe.size() < 0x40) return false;
    const auto byte = [&](std::size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(pe[at])); };
    const auto u16 = [&](std::size_t at) { return byte(at) | byte(at + 1) << 8; };
    const auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    const std::size_t header = u32(0x3C) + 4;  // after the "PE\0\0" signature
    if (header + 20 > pe.size()) return false;
    const unsigned sections = u16(header + 2), symbolTable = u32(header + 8), symbols = u32(header + 12);
    const std::size_t first = header + 20 + u16(header + 16);
    for (unsigned i = 0; i < sections && first + (i + 1) * 40 <= pe.size(); ++i) {
        const std::string name = pe.substr(first + i * 40, 8);
        if (name[0] == '/' || name.rfind(".debug", 0) == 0) return false;
    }
    return symbolTable == 0 && symbols == 0;
}

HWND FindAgent() { return FindWindowA("TMainForm", "Mini Vexamo"); }

// Runs the installer silently; it must end within the time with exit code 0.
void InstallSilently(const std::string& params = "") {
    ASSERT_FALSE(InstallerExe().empty()) << "the build made no installer (is makensis installed?)";
    Process setup = Process::Start(InstallerExe(), "/S" + (params.empty() ? "" : " " + params));
    DWORD code = 1;
    ASSERT_TRUE(setup.WaitExit(SetupTimeoutMs, &code)) << "the installer did not finish";
    ASSERT_EQ(code, 0u);
}

// Runs the quiet uninstall string as Windows' "Apps" list would, and waits until the uninstaller
// (which continues from a copy of itself in TEMP) has removed its entry.
void UninstallQuietly(const std::string& extra = "") {
    const std::string cmd = RegReadString(HKEY_CURRENT_USER, UninstallKey, "QuietUninstallString").value_or("");
    ASSERT_EQ(cmd.substr(0, 1), "\"");
    const std::size_t close = cmd.find('"', 1);
    ASSERT_NE(close, std::string::npos);
    std::string params = cmd.substr(close + 1);
    params.erase(0, params.find_first_not_of(' '));
    Process uninstall = Process::Start(cmd.substr(1, close - 1), params + extra);
    ASSERT_TRUE(uninstall.WaitExit(SetupTimeoutMs));
    ASSERT_TRUE(WaitUntil([] { return !RegReadString(HKEY_CURRENT_USER, UninstallKey, "DisplayName"); },
                          SetupTimeoutMs))
        << "the uninstall entry stayed";
}

// A selection of the stand-in player in an installed folder, so the agent starts straight into
// the tray instead of its first-run window.
void ChooseStandIn(const std::string& installDir, const ProgramFolder& players) {
    const std::string player = players.InstallStandIn();
    WriteFile(installDir + "Players.ini", "[Winamp]\r\nexe=" + player + "\r\nindex=3\r\n");
    WriteFile(installDir + "Selection.ini", "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3\r\n");
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 1);
}

// Waits until a page of the wizard shows the text.
HWND WaitForPage(HWND wizard, const std::string& text) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindDescendant(wizard, text)) != nullptr; }, SetupTimeoutMs, 100);
    return found;
}

// Presses the wizard's button (by its caption without '&') once it is enabled.
bool Press(HWND wizard, const std::string& caption) {
    for (HWND button : Children(wizard, "Button")) {
        std::string text = WindowText(button);
        text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
        if (text == caption && IsWindowEnabled(button)) {
            PostMessageA(wizard, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(Installer, SilentInstallUpgradeOverRunningAgentAndUninstall) {
    const std::string dir = DefaultInstallDir();
    ASSERT_NO_FATAL_FAILURE(InstallSilently());

    // Installed per user where Windows keeps per-user programs, with its uninstaller.
    ASSERT_TRUE(Exists(dir + "Vexamo.exe")) << dir;
    EXPECT_TRUE(Exists(dir + "Uninstall.exe"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, UninstallKey, "DisplayName").value_or(""), "Vexamo");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, UninstallKey, "DisplayVersion").value_or(""), "1.0.0.0");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, UninstallKey, "Publisher").value_or(""), "Vexamo");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, UninstallKey, "DisplayIcon").value_or(""), dir + "Vexamo.exe,0");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, UninstallKey, "UninstallString").value_or(""),
              "\"" + dir + "Uninstall.exe\"");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, UninstallKey, "QuietUninstallString").value_or(""),
              "\"" + dir + "Uninstall.exe\" /S");
    // "Apps" shows the size in KB: what the two programs take.
    const DWORD sizeKb = RegReadDword(HKEY_CURRENT_USER, UninstallKey, "EstimatedSize").value_or(0);
    const std::size_t programsKb = (FileSize(dir + "Vexamo.exe") + FileSize(dir + "Uninstall.exe")) / 1024;
    EXPECT_NEAR(sizeKb, programsKb, 4.0);
    EXPECT_TRUE(Stripped(dir + "Vexamo.exe")) << "the installed program carries symbols or debug information";
    // Start at logon: the same Run value as the program's own switch, and its setting ticked.
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, RunKey, "Vexamo").value_or(""), "\"" + dir + "Vexamo.exe\"");
    EXPECT_NE(ReadFile(dir + "Vexamo.ini").value_or("").find("AutoStart=1"), std::string::npos);

    // The installed agent starts into the tray.
    ProgramFolder players;
    ChooseStandIn(dir, players);
    WriteFile(dir + "Vexamo.ini",
              "[Main]\r\nStatus=On\r\n[Windows]\r\nAutoStart=1\r\n[Subtitles]\r\nPath=C:\\Subs\\\r\n");
    Process agent = Process::Start(dir + "Vexamo.exe");
    const HWND main = WaitForWindow(agent.Id(), "TMainForm", "Mini Vexamo", AgentTimeoutMs);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(main); }, AgentTimeoutMs));
    const std::string selection = ReadFile(dir + "Selection.ini").value_or("");

    // Installing again ends the running agent first, keeps the user's files and starts the agent
    // again.
    ASSERT_NO_FATAL_FAILURE(InstallSilently());
    EXPECT_TRUE(agent.WaitExit(1000)) << "the running agent was not ended";
    const std::string settings = ReadFile(dir + "Vexamo.ini").value_or("");
    EXPECT_NE(settings.find("Path=C:\\Subs\\"), std::string::npos) << settings;
    EXPECT_NE(settings.find("Status=On"), std::string::npos) << settings;
    EXPECT_EQ(ReadFile(dir + "Selection.ini").value_or(""), selection);
    ASSERT_TRUE(WaitUntil([&] { return FindAgent() != nullptr && FindAgent() != main; }, AgentTimeoutMs))
        << "the agent was not started again";
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(FindAgent()); }, AgentTimeoutMs));

    // Windows' CD AutoPlay, switched off by the program's option, comes back.
    WritePrivateProfileStringA("Windows", "AutoCD", "1", (dir + "Vexamo.ini").c_str());
    RegWriteDword(HKEY_CURRENT_USER, AutoPlayKey, "NoDriveTypeAutoRun", 181);
    // What the program wrote beside itself goes with it.
    WriteFile(dir + "VexamoList.m3u", "D:\\Music\\Track01.mp3\r\n");
    WriteFile(dir + "Vexamo.log", "07-12-26 14:05:31:Division by zero\r\n");
    ASSERT_NO_FATAL_FAILURE(UninstallQuietly());
    EXPECT_TRUE(WaitUntil([&] { return !Exists(dir); }, SetupTimeoutMs)) << "the folder stayed: " << dir;
    EXPECT_EQ(FindAgent(), nullptr) << "the agent still runs";
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, RunKey, "Vexamo"));
    // The agent's own switch also wrote the machine-wide value, which Wine lets any user do.
    EXPECT_FALSE(RegReadString(HKEY_LOCAL_MACHINE, RunKey, "Vexamo"));
    EXPECT_FALSE(RegReadDword(HKEY_CURRENT_USER, AutoPlayKey, "NoDriveTypeAutoRun"));
}

TEST(Installer, ChosenFolderAndSettingsKeptOnRequest) {
    ProgramFolder target("Chosen Folder");
    const std::string dir = target.Path();
    target.Write("Notes.txt", "the user's own file");
    // Another copy's Run value is not this installation's to take away.
    RegWriteString(HKEY_LOCAL_MACHINE, RunKey, "Vexamo", "\"C:\\Other\\Vexamo.exe\"");

    std::string noSlash = dir;
    noSlash.pop_back();
    ASSERT_NO_FATAL_FAILURE(InstallSilently("/D=" + noSlash));
    ASSERT_TRUE(Exists(dir + "Vexamo.exe"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, UninstallKey, "InstallLocation").value_or(""), noSlash);
    // The user switched the start at logon off (as the options window does) and removed the
    // shortcut: an upgrade leaves both as they are.
    RegDeleteValue(HKEY_CURRENT_USER, RunKey, "Vexamo");
    WritePrivateProfileStringA("Windows", "AutoStart", "0", (dir + "Vexamo.ini").c_str());
    char programs[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    const std::string shortcut = std::string(programs) + "\\Vexamo.lnk";
    ASSERT_TRUE(Exists(shortcut));
    DeleteFileA(shortcut.c_str());
    ASSERT_NO_FATAL_FAILURE(InstallSilently("/D=" + noSlash));
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, RunKey, "Vexamo"));
    EXPECT_NE(target.Read("Vexamo.ini").value_or("").find("AutoStart=0"), std::string::npos);
    EXPECT_FALSE(Exists(shortcut));

    target.Write("Players.ini", "[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n");
    target.Write("Selection.ini", "[Winamp]\r\nExt=.mp3\r\n");
    // The AutoPlay option set the CD-ROM bit in an administrator's policy and kept what it found.
    WritePrivateProfileStringA("Windows", "AutoCD", "1", (dir + "Vexamo.ini").c_str());
    WritePrivateProfileStringA("Windows", "AutoCDOriginal", "0x00000091", (dir + "Vexamo.ini").c_str());
    RegWriteDword(HKEY_CURRENT_USER, AutoPlayKey, "NoDriveTypeAutoRun", 0xB1);

    ASSERT_NO_FATAL_FAILURE(UninstallQuietly(" /KEEPSETTINGS"));
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, AutoPlayKey, "NoDriveTypeAutoRun").value_or(0), 0x91u)
        << "the administrator's policy is not back";
    EXPECT_TRUE(WaitUntil([&] { return !target.Exists("Uninstall.exe"); }, SetupTimeoutMs));
    EXPECT_FALSE(target.Exists("Vexamo.exe"));
    for (const char* kept : {"Vexamo.ini", "Players.ini", "Selection.ini", "Notes.txt"})
        EXPECT_TRUE(target.Exists(kept)) << kept;
    EXPECT_NE(target.Read("Vexamo.ini").value_or("").find("AutoCDOriginal=\r\n"), std::string::npos)
        << "the kept settings still hold a copy of a policy that is back";
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, RunKey, "Vexamo"));
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, RunKey, "Vexamo").value_or(""), "\"C:\\Other\\Vexamo.exe\"");
    RegDeleteValue(HKEY_LOCAL_MACHINE, RunKey, "Vexamo");
    RegDeleteValue(HKEY_CURRENT_USER, AutoPlayKey, "NoDriveTypeAutoRun");
}

TEST(Installer, PagesOfAnInteractiveInstallAndUninstall) {
    ASSERT_FALSE(InstallerExe().empty());
    const std::string dir = DefaultInstallDir();
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 1);
    Process setup = Process::Start(InstallerExe());
    const HWND wizard = WaitForWindow(setup.Id(), "#32770", "Vexamo Setup", SetupTimeoutMs, true);
    ASSERT_NE(wizard, nullptr);

    ASSERT_NE(WaitForPage(wizard, "Setup will install Vexamo"), nullptr);
    ScreenshotWindow("installer-1-welcome", wizard);
    ASSERT_TRUE(Press(wizard, "Next >"));
    const HWND folder = WaitForPage(wizard, "Destination Folder");
    ASSERT_NE(folder, nullptr);
    std::string shownDir = dir;
    shownDir.pop_back();
    EXPECT_NE(FindDescendant(wizard, shownDir), nullptr) << "the folder page does not offer " << shownDir;
    ScreenshotWindow("installer-2-folder", wizard);
    ASSERT_TRUE(Press(wizard, "Next >"));
    ASSERT_NE(WaitForPage(wizard, "Check the components"), nullptr);
    ScreenshotWindow("installer-3-options", wizard);
    ASSERT_TRUE(Press(wizard, "Install"));
    const HWND run = WaitForPage(wizard, "Start Vexamo now");
    ASSERT_NE(run, nullptr);
    EXPECT_EQ(SendMessageA(run, BM_GETCHECK, 0, 0), BST_CHECKED);
    ScreenshotWindow("installer-4-finish", wizard);
    ASSERT_TRUE(Press(wizard, "Finish"));
    ASSERT_TRUE(setup.WaitExit(SetupTimeoutMs));

    // A first start: no player chosen yet, so the agent opens its configuration window.
    ASSERT_TRUE(WaitUntil([] { return FindAgent() != nullptr; }, AgentTimeoutMs)) << "the agent did not start";
    EXPECT_TRUE(Exists(dir + "Vexamo.exe"));

    Process uninstall = Process::Start(dir + "Uninstall.exe");
    HWND unwizard = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND w : TopLevelWindows(0))
                if (ClassName(w) == "#32770" && WindowText(w).rfind("Vexamo Uninstall", 0) == 0 &&
                    IsWindowVisible(w)) unwizard = w;
            return unwizard != nullptr;
        },
        SetupTimeoutMs))
        << [] {
               Screenshot("uninstaller-missing");
               std::string shown;
               for (HWND w : TopLevelWindows(0))
                   if (IsWindowVisible(w)) shown += ClassName(w) + " \"" + WindowText(w) + "\"; ";
               return shown;
           }();
    ASSERT_NE(WaitForPage(unwizard, "Uninstalling from"), nullptr);
    ScreenshotWindow("uninstaller-1-confirm", unwizard);
    ASSERT_TRUE(Press(unwizard, "Next >"));
    ASSERT_NE(WaitForPage(unwizard, "Untick \"Settings\""), nullptr);
    ScreenshotWindow("uninstaller-2-options", unwizard);
    ASSERT_TRUE(Press(unwizard, "Uninstall"));
    ASSERT_TRUE(WaitUntil([&] { return Press(unwizard, "Close"); }, SetupTimeoutMs, 200));
    EXPECT_TRUE(WaitUntil([&] { return !Exists(dir); }, SetupTimeoutMs)) << "the folder stayed: " << dir;
    EXPECT_EQ(FindAgent(), nullptr);
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, UninstallKey, "DisplayName"));
}
