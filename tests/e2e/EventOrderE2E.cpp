// Events in unusual orders against the real agent: a disc that arrives while the configuration
// window waits for one of its modal dialogs, and an automatic play that fails. Either way the
// agent goes on, alone, and its icon comes back.
#include "e2e/AgentE2E.h"
#include "e2e/Controls.h"
#include "ui/main_res.h"

#include <dbt.h>

#include <gtest/gtest.h>

namespace e2e {

namespace {

// A user who gave ".avi" to the stand-in (as "Winamp", playing at once) and has a second player.
struct EventAgent : Agent {
    std::string Player;
    EventAgent() : Agent(true, "") {
        Player = Folder.InstallStandIn("Winamp");
        const std::string other = Folder.InstallStandIn("Other");
        Folder.Write("Players.ini", "[Winamp]\r\nexe=" + Player + "\r\nindex=3\r\next=.m3u\r\n[Other]\r\nexe=" +
                                        other + "\r\nindex=0\r\n");
        Folder.Write("Selection.ini", "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.avi\r\n");
        Folder.Write("Vexamo.ini", "[Main]\r\nStatus=On\r\n");
        WriteFile(CdRomFolder('D') + "film.avi", "media");
    }
    // The configuration window, opened as a double click on the icon opens it.
    HWND OpenConfig() {
        SendWithin(Main, TrayCallback, 0, WM_LBUTTONDBLCLK, AgentTimeoutMs);
        return WaitForWindow(Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    }
    size_t Plays() const { return StandInLog(Player).size(); }
    int Agents() const {
        int n = 0;
        for (HWND w : TopLevelWindows(0))
            if (ClassName(w) == "TMainForm" && WindowText(w) == "Mini Vexamo") ++n;
        return n;
    }
};

int RowOf(HWND list, const std::string& name) {
    const auto rows = ListViewRows(list);
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].size() > 1 && rows[i][1] == name) return static_cast<int>(i);
    return -1;
}

// Opens a row's context menu with the right button and picks an item from the keyboard.
void PickFromRowMenu(const Agent& agent, HWND list, int row, int downs) {
    ClickAt(Centre(ListViewRowRect(list, row)));
    ClickAt(Centre(ListViewRowRect(list, row)), true);
    const HWND menu = WaitForWindow(agent.Proc.Id(), "#32768", "", AgentTimeoutMs, true);
    ASSERT_NE(menu, nullptr) << "no context menu";
    for (int i = 0; i < downs; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
}

}  // namespace

TEST(EventOrder, DiscArrivingUnderTheConfigurationWindowsDialogsPlaysOnceEachCloses) {
    EventAgent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));

    struct Case {
        const char* name;
        std::function<HWND(HWND config)> open;  // opens the dialog, returns it
        std::function<void(HWND dialog)> close;
    };
    const Case cases[] = {
        {"command lines",
         [&](HWND config) {
             PickFromRowMenu(agent, GetDlgItem(config, IDC_MAIN_LSTLOADEDPLAYERS), 0, 3);  // "&View Command Lines"
             return WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, "Information");
         },
         [](HWND dialog) { PressButtonId(dialog, IDOK); }},
        {"player wizard",
         [&](HWND config) {
             ClickAt(Centre(ListViewRowRect(GetDlgItem(config, IDC_MAIN_LSTPLAYERS), 0)));  // "(Add new Player)"
             return WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, "Player Wizard");
         },
         [](HWND dialog) { PressButtonId(dialog, IDCANCEL); }},
        {"delete confirmation",
         [&](HWND config) {
             const HWND list = GetDlgItem(config, IDC_MAIN_LSTPLAYERS);
             PickFromRowMenu(agent, list, RowOf(list, "Other"), 2);  // "Delete"
             return WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, "Confirm");
         },
         [](HWND dialog) { ClickButton(dialog, "Yes"); }},
    };
    size_t plays = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HWND config = agent.OpenConfig();
        ASSERT_NE(config, nullptr) << "the configuration window did not open";
        const HWND dialog = c.open(config);
        ASSERT_NE(dialog, nullptr) << "the dialog did not open";
        ASSERT_TRUE(SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'D', AgentTimeoutMs))
            << "the arrival must not wait for the dialog";
        Sleep(1000);
        EXPECT_EQ(agent.Plays(), plays) << "nothing plays while the dialog is open";
        EXPECT_TRUE(IsWindowVisible(config));
        Screenshot(std::string("event-order-") + c.name);
        c.close(dialog);
        ASSERT_TRUE(WaitUntil([&] { return agent.Plays() == plays + 1; }, AgentTimeoutMs)) << "no play afterwards";
        ++plays;
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(config); }, AgentTimeoutMs)) << "the window went with the play";
        EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs)) << "the icon is back";
        EXPECT_TRUE(agent.Proc.Running());
        EXPECT_EQ(agent.Agents(), 1);
    }
    EXPECT_EQ(agent.Folder.Read("Players.ini").value_or("").find("[Other]"), std::string::npos)
        << "the confirmed delete was carried out";
}

TEST(EventOrder, FailedAutomaticPlayShowsTheErrorThenTheIconIsBack) {
    EventAgent agent;
    // The program folder cannot take a new playlist: the one there may not be replaced.
    agent.Folder.Write("VexamoList.m3u", "old\r\n");
    SetFileAttributesA((agent.Folder / "VexamoList.m3u").c_str(), FILE_ATTRIBUTE_READONLY);
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    // The handler waits in the error box, which the test closes: the send only gives up waiting.
    SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'D', 1000);
    const HWND error = WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, "Vexamo");
    ASSERT_NE(error, nullptr) << "no error shown";
    EXPECT_EQ(ReadDialog(error).Message, "Unable to write to " + (agent.Folder / "VexamoList.m3u"));
    Screenshot("event-order-failed-play");
    PressButtonId(error, IDOK);
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs)) << "the icon is back";
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND w : TopLevelWindows(agent.Proc.Id()))
            if (ClassName(w) == "TfrmMain" || WindowText(w) == "File Monitor") return false;
        return true;
    }, AgentTimeoutMs)) << "no hidden window is left";
    EXPECT_EQ(agent.Plays(), 0u);
    EXPECT_TRUE(agent.Proc.Running());
    EXPECT_NE(agent.Folder.Read("Vexamo.log").value_or("").find(":Unable to write to "), std::string::npos)
        << "the error is logged too";
}

}  // namespace e2e
