// The options window and the about box on the real Windows API, opened from the tray: what they
// show, what OK writes to the registry and Vexamo.ini, that Cancel writes nothing, and how they
// look at 96 and 144 DPI. ThreeCd... groups choose two of three drives and scan a disc.
#include "e2e/AgentE2E.h"

#include <shellapi.h>

#include <dbt.h>
#include <gtest/gtest.h>

#include "e2e/Controls.h"
#include "ui/About_res.h"
#include "ui/Settings_res.h"
#include "ui/main_res.h"

using namespace e2e;

namespace {

constexpr int SettingsItem = 5;  // "&Settings..." in the tray menu
constexpr int AboutItem = 7;     // "About..."
constexpr const char* MachineRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* PolicyKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

HWND OpenFromTray(const Agent& agent, int item, const std::string& caption) {
    PostMessageA(agent.Main, WM_COMMAND, TrayMenuCommand(item), 0);
    return WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, caption);
}

void Click(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// Confirms the message box the agent shows, returning its text.
std::string ConfirmMessage(const Agent& agent, const std::string& caption) {
    HWND box = WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, caption);
    if (!box) return "<no message box>";
    const std::string text = ReadDialog(box).Message;
    ClickButton(box, "OK");
    WaitUntil([&] { return !IsWindow(box); }, AgentTimeoutMs);
    return text;
}

bool Gone(HWND window) {
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, AgentTimeoutMs);
}

}  // namespace

TEST(Options, ShowsTheCdDriveAndRunOnStartupWritesAndRemovesTheRunValue) {
    RegDeleteValue(HKEY_LOCAL_MACHINE, MachineRunKey, "Vexamo");
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));

    HWND dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr) << "no options window";
    Screenshot("options-96dpi");
    const HWND drives = GetDlgItem(dialog, IDC_OPTIONS_SETTINGS_CBDRIVES);
    EXPECT_EQ(ListBoxItems(drives), std::vector<std::string>{"D:\\"});
    EXPECT_TRUE(CheckListTicked(drives, 0));
    EXPECT_TRUE(Checked(dialog, IDC_OPTIONS_SETTINGS_DRIVESUSER));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_OPTIONS_LBLSUBTITLES)), "(*.sub*.srt*.ssa*.ass*.vtt)");
    EXPECT_FALSE(TrayHasIcon(agent.Main)) << "the icon is away while the window is open";
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 526);
    EXPECT_EQ(client.bottom, 400);

    ASSERT_FALSE(Checked(dialog, IDC_OPTIONS_SETTINGS_STARTUP));
    Click(dialog, IDC_OPTIONS_SETTINGS_STARTUP);
    PressButtonId(dialog, IDOK);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, MachineRunKey, "Vexamo").value_or("<none>"), "\"" + agent.Exe + "\"");
    EXPECT_NE(agent.Folder.Read("Vexamo.ini").value_or("").find("AutoStart=1"), std::string::npos);
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs)) << "the icon is back";

    dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Checked(dialog, IDC_OPTIONS_SETTINGS_STARTUP));
    Click(dialog, IDC_OPTIONS_SETTINGS_STARTUP);
    PressButtonId(dialog, IDOK);
    EXPECT_EQ(ConfirmMessage(agent, "Information"), "'Vexamo' was removed from the registry succesfully...");
    ASSERT_TRUE(Gone(dialog));
    EXPECT_FALSE(RegReadString(HKEY_LOCAL_MACHINE, MachineRunKey, "Vexamo").has_value());
}

TEST(Options, AutoPlayBoxWritesThePolicyAndCancelWritesNothing) {
    RegDeleteValue(HKEY_CURRENT_USER, PolicyKey, "NoDriveTypeAutoRun");
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));

    HWND dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_OPTIONS_SETTINGS_CDAUTORUN);
    PressButtonId(dialog, IDOK);
    EXPECT_NE(ConfirmMessage(agent, "Information").find("XP AutoPlay feature Disabled !"), std::string::npos);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, PolicyKey, "NoDriveTypeAutoRun").value_or(0), 181u);

    const std::string before = agent.Folder.Read("Vexamo.ini").value_or("");
    dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_OPTIONS_SETTINGS_CDAUTORUN);
    Click(dialog, IDC_OPTIONS_SETTINGS_STARTUP);
    Click(dialog, IDC_OPTIONS_SETTINGS_DRIVESALL);
    Click(dialog, IDC_OPTIONS_BTNONE);
    PressButtonId(dialog, IDCANCEL);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(WaitForDialog(agent.Proc.Id(), 500), nullptr) << "Cancel showed a message";
    EXPECT_EQ(agent.Folder.Read("Vexamo.ini").value_or(""), before);
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, PolicyKey, "NoDriveTypeAutoRun").value_or(0), 181u);
    EXPECT_FALSE(RegReadString(HKEY_LOCAL_MACHINE, MachineRunKey, "Vexamo").has_value());
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
}

TEST(Options, AutoPlayOverAnAdministratorsPolicyGivesItBack) {
    const auto policy = [] { return RegReadDword(HKEY_CURRENT_USER, PolicyKey, "NoDriveTypeAutoRun").value_or(0); };
    const auto copy = [](const Agent& agent) {
        char text[32] = {};
        GetPrivateProfileStringA("Windows", "AutoCDOriginal", "<none>", text, sizeof text,
                                 (agent.Folder / "Vexamo.ini").c_str());
        return std::string(text);
    };
    // 0xFF already has the CD-ROM bit; 0x91 has not, so the switch sets it.
    for (DWORD admins : {0xFFu, 0x91u}) {
        RegWriteDword(HKEY_CURRENT_USER, PolicyKey, "NoDriveTypeAutoRun", admins);
        Agent agent;
        agent.Start();
        ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));

        HWND dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
        ASSERT_NE(dialog, nullptr);
        Click(dialog, IDC_OPTIONS_SETTINGS_CDAUTORUN);
        PressButtonId(dialog, IDOK);
        EXPECT_NE(ConfirmMessage(agent, "Information").find("XP AutoPlay feature Disabled !"), std::string::npos);
        ASSERT_TRUE(Gone(dialog));
        EXPECT_EQ(policy(), admins | 0x20);
        char stored[16];
        wsprintfA(stored, "0x%08X", static_cast<unsigned>(admins));
        EXPECT_EQ(copy(agent), stored);

        // The tray's settings command loads the settings again, which applies the switch again.
        dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
        ASSERT_NE(dialog, nullptr);
        ASSERT_TRUE(Checked(dialog, IDC_OPTIONS_SETTINGS_CDAUTORUN));
        Click(dialog, IDC_OPTIONS_SETTINGS_CDAUTORUN);
        PressButtonId(dialog, IDOK);
        EXPECT_NE(ConfirmMessage(agent, "Information").find("XP AutoPlay feature Restored !"), std::string::npos);
        ASSERT_TRUE(Gone(dialog));
        EXPECT_EQ(policy(), admins) << "the administrator's value is not back";
        EXPECT_EQ(copy(agent), "");
    }
    RegDeleteValue(HKEY_CURRENT_USER, PolicyKey, "NoDriveTypeAutoRun");
}

TEST(Options, FromTheConfigurationWindowTheIconStaysAwayUntilThatWindowCloses) {
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    PostMessageA(agent.Main, TrayCallback, 0, WM_LBUTTONDBLCLK);
    const HWND config = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !TrayHasIcon(agent.Main); }, AgentTimeoutMs));

    PressButtonId(config, IDC_MAIN_BTSETTINGS);
    const HWND dialog = WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), config) << "modal over the window that opened it";
    PressButtonId(dialog, IDOK);
    ASSERT_TRUE(Gone(dialog));
    Sleep(500);
    EXPECT_FALSE(TrayHasIcon(agent.Main)) << "the configuration window is still on screen";

    PostMessageA(config, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
}

TEST(Options, AboutBoxShowsTheVersionOnlyOnceAndOkClosesIt) {
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));

    HWND about = OpenFromTray(agent, AboutItem, "About");
    ASSERT_NE(about, nullptr) << "no about box";
    Screenshot("about-96dpi");
    EXPECT_EQ(WindowText(GetDlgItem(about, IDC_ABOUT_LBLVERSION)), "V.1.0.0.0");
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 460);
    EXPECT_EQ(client.bottom, 214);

    PostMessageA(agent.Main, WM_COMMAND, TrayMenuCommand(AboutItem), 0);
    Sleep(1000);
    int boxes = 0;
    for (HWND w : TopLevelWindows(agent.Proc.Id()))
        if (ClassName(w) == "#32770" && WindowText(w) == "About" && IsWindowVisible(w)) ++boxes;
    EXPECT_EQ(boxes, 1) << "a second \"About...\" opened another box";

    ASSERT_TRUE(ClickButton(about, "OK"));
    EXPECT_TRUE(Gone(about));
    EXPECT_TRUE(agent.Proc.Running());
}

TEST(Options, BothWindowsAt144Dpi) {
    RegWriteDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", 144);
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));

    HWND dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr);
    Screenshot("options-144dpi");
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 526 * 3 / 2);
    PressButtonId(dialog, IDCANCEL);
    ASSERT_TRUE(Gone(dialog));

    HWND about = OpenFromTray(agent, AboutItem, "About");
    ASSERT_NE(about, nullptr);
    Screenshot("about-144dpi");
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 460 * 3 / 2);
    ClickButton(about, "OK");
    EXPECT_TRUE(Gone(about));
    RegWriteDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", 96);
}

// --- two of three drives -------------------------------------------------------------------------

namespace {

const std::string PlayerName = "Stand-In Player";

// An agent whose selection is the stand-in player for films, without a drive setting of its own.
struct FilmAgent : Agent {
    std::string Player;
    FilmAgent() {
        Player = Folder.InstallStandIn();
        Folder.Write("Players.ini", "[" + PlayerName + "]\r\nexe=" + Player + "\r\nindex=0\r\next=.m3u\r\n");
        Folder.Write("Selection.ini", "[" + PlayerName + "]\r\nName=" + PlayerName + "\r\nPrompt=No\r\nExt=.avi\r\n");
    }
};

}  // namespace

TEST(ThreeCdOptions, TwoOfThreeDrivesChosenLeaveADiscInTheThirdUnscanned) {
    WriteFile(CdRomFolder('F') + "third.avi", "media");
    FilmAgent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));

    HWND dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr);
    const HWND drives = GetDlgItem(dialog, IDC_OPTIONS_SETTINGS_CBDRIVES);
    ASSERT_EQ(ListBoxItems(drives), (std::vector<std::string>{"D:\\", "E:\\", "F:\\"}));
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(CheckListTicked(drives, i)) << "without a setting every drive is monitored";
    ASSERT_TRUE(Checked(dialog, IDC_OPTIONS_SETTINGS_DRIVESUSER));
    // Every drive shows whole, without scrolling.
    RECT list{};
    GetClientRect(drives, &list);
    MapWindowPoints(drives, nullptr, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_LE(ListBoxItemRect(drives, 2).bottom, list.bottom);

    // The mouse clears F:; the keyboard reaches the list by its access key and ticks with Space.
    ClickAt(Centre(ListBoxItemRect(drives, 2)));
    EXPECT_FALSE(CheckListTicked(drives, 2));
    SetForegroundWindow(dialog);
    PressKey('D', true);
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui);
    EXPECT_EQ(gui.hwndFocus, drives) << "Alt+D did not reach the drive list";
    PressKey(VK_HOME);
    PressKey(VK_SPACE);
    EXPECT_FALSE(CheckListTicked(drives, 0)) << "Alt+D, Home and Space did not clear D:";
    Screenshot("options-two-of-three-96dpi");
    PressKey(VK_SPACE);
    EXPECT_TRUE(CheckListTicked(drives, 0));
    EXPECT_TRUE(CheckListTicked(drives, 1));
    EXPECT_FALSE(CheckListTicked(drives, 2));
    PressKey(VK_RETURN);
    ASSERT_TRUE(Gone(dialog)) << "Enter did not press OK";
    char stored[64] = {};
    GetPrivateProfileStringA("Monitor", "Drives", "", stored, sizeof stored, (agent.Folder / "Vexamo.ini").c_str());
    EXPECT_STREQ(stored, "D:\\ E:\\");

    // A disc arrives in F:: the agent scans the monitored drives only, and finds nothing to play.
    ASSERT_TRUE(SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'F'));
    Sleep(2000);
    EXPECT_TRUE(StandInLog(agent.Player).empty()) << "the film on F: was played";
    EXPECT_TRUE(agent.Proc.Running());

    // A film on E:, a chosen drive, is played alone.
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    WriteFile(CdRomFolder('E') + "second.avi", "media");
    ASSERT_TRUE(SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'E'));
    ASSERT_TRUE(WaitUntil([&] { return !StandInLog(agent.Player).empty(); }, AgentTimeoutMs));
    const std::vector<std::string> starts = StandInLog(agent.Player);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].find("E:\\second.avi"), std::string::npos) << starts[0];
    EXPECT_EQ(starts[0].find("F:\\"), std::string::npos) << starts[0];
}

TEST(ThreeCdOptions, TheDriveListAt144Dpi) {
    RegWriteDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", 144);
    FilmAgent agent;
    agent.Folder.Write("Vexamo.ini", "[Main]\r\nStatus=On\r\n[Monitor]\r\nDrives=D:\\ F:\\\r\n");
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    HWND dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr);
    const HWND drives = GetDlgItem(dialog, IDC_OPTIONS_SETTINGS_CBDRIVES);
    EXPECT_TRUE(CheckListTicked(drives, 0));
    EXPECT_FALSE(CheckListTicked(drives, 1));
    EXPECT_TRUE(CheckListTicked(drives, 2));
    RECT list{};
    GetClientRect(drives, &list);
    MapWindowPoints(drives, nullptr, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_LE(ListBoxItemRect(drives, 2).bottom, list.bottom);
    Screenshot("options-two-of-three-144dpi");
    // "All CD/DVD Drives" greys the list out.
    Click(dialog, IDC_OPTIONS_SETTINGS_DRIVESALL);
    EXPECT_FALSE(IsWindowEnabled(drives));
    Screenshot("options-all-drives-144dpi");
    PressButtonId(dialog, IDCANCEL);
    ASSERT_TRUE(Gone(dialog));
    RegWriteDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", 96);
}
