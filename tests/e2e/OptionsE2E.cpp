// The options window and the about box on the real Windows API, opened from the tray: what they
// show, what OK writes to the registry and Vexamo.ini, that Cancel writes nothing, and how they
// look at 96 and 144 DPI.
#include "e2e/AgentE2E.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include "ui/About_res.h"
#include "ui/OptionsDialogs.h"
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
    // The list's own strings do not cross processes under Wine; the shown text does.
    const HWND drives = GetDlgItem(dialog, IDC_OPT_DRIVES);
    EXPECT_EQ(SendMessageA(drives, CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(WindowText(drives), "D:\\");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_OPT_SUBS_EXTS)), "(*.sub*.srt*.ssa)");
    EXPECT_FALSE(TrayHasIcon(agent.Main)) << "the icon is away while the window is open";
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 526);
    EXPECT_EQ(client.bottom, 400);

    ASSERT_FALSE(Checked(dialog, IDC_OPT_STARTUP));
    Click(dialog, IDC_OPT_STARTUP);
    PressButtonId(dialog, IDOK);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, MachineRunKey, "Vexamo").value_or("<none>"), "\"" + agent.Exe + "\"");
    EXPECT_NE(agent.Folder.Read("Vexamo.ini").value_or("").find("AutoStart=1"), std::string::npos);
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs)) << "the icon is back";

    dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(Checked(dialog, IDC_OPT_STARTUP));
    Click(dialog, IDC_OPT_STARTUP);
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
    Click(dialog, IDC_OPT_CDAUTORUN);
    PressButtonId(dialog, IDOK);
    EXPECT_NE(ConfirmMessage(agent, "Information").find("XP AutoPlay feature Disabled !"), std::string::npos);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, PolicyKey, "NoDriveTypeAutoRun").value_or(0), 181u);

    const std::string before = agent.Folder.Read("Vexamo.ini").value_or("");
    dialog = OpenFromTray(agent, SettingsItem, "Vexamo Settings");
    ASSERT_NE(dialog, nullptr);
    Click(dialog, IDC_OPT_CDAUTORUN);
    Click(dialog, IDC_OPT_STARTUP);
    Click(dialog, IDC_OPT_DRIVES_ALL);
    Click(dialog, IDC_OPT_NONE);
    PressButtonId(dialog, IDCANCEL);
    ASSERT_TRUE(Gone(dialog));
    EXPECT_EQ(WaitForDialog(agent.Proc.Id(), 500), nullptr) << "Cancel showed a message";
    EXPECT_EQ(agent.Folder.Read("Vexamo.ini").value_or(""), before);
    EXPECT_EQ(RegReadDword(HKEY_CURRENT_USER, PolicyKey, "NoDriveTypeAutoRun").value_or(0), 181u);
    EXPECT_FALSE(RegReadString(HKEY_LOCAL_MACHINE, MachineRunKey, "Vexamo").has_value());
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
}

TEST(Options, FromTheConfigurationWindowTheIconStaysAwayUntilThatWindowCloses) {
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    PostMessageA(agent.Main, TrayCallback, 0, WM_LBUTTONDBLCLK);
    const HWND config = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return !TrayHasIcon(agent.Main); }, AgentTimeoutMs));

    PressButtonId(config, IDC_BTSETTINGS);
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
