// The players and extensions window on the real agent: what a first start shows, adding a player
// with the mouse, "Exit" and its question, and the close box. HiDpi groups run at 144 DPI.
#include <gtest/gtest.h>

#include "e2e/AgentE2E.h"
#include "e2e/Controls.h"
#include "ui/main_res.h"

using namespace e2e;

namespace {

// Where the default-player discovery finds two of the default players' commands.
const char* const WinampKey = "Software\\Classes\\Directory\\shell\\Winamp.Play\\command";
const char* const BsPlayerKey = "Software\\Classes\\BSP.inif\\shell\\open\\command";

// A first start on a machine where the stand-in player is installed as Winamp (and, with
// `second`, a copy of it as BsPlayer).
struct ConfigAgent : Agent {
    explicit ConfigAgent(bool second = false) : Agent(true) {
        Winamp = Folder.InstallStandIn("Winamp");
        RegWriteString(HKEY_CURRENT_USER, WinampKey, "", "\"" + Winamp + "\" \"%1\"");
        if (second) {
            BsPlayer = Folder.InstallStandIn("BsPlayer");
            RegWriteString(HKEY_CURRENT_USER, BsPlayerKey, "", "\"" + BsPlayer + "\" \"%1\"");
        } else {
            RegDeleteValue(HKEY_CURRENT_USER, BsPlayerKey, "");
        }
    }
    HWND Open() {
        Start();
        Window = WaitForWindow(Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
        EXPECT_NE(Window, nullptr) << "the configuration window did not show";
        return Window;
    }
    HWND Item(int id) const { return GetDlgItem(Window, id); }
    std::vector<std::string> Names(int list) const {
        std::vector<std::string> names;
        for (const auto& row : ListViewRows(Item(list))) names.push_back(row.size() > 1 ? row[1] : "");
        return names;
    }
    int RowOf(int list, const std::string& name) const {
        const auto names = Names(list);
        for (size_t i = 0; i < names.size(); ++i)
            if (names[i] == name) return static_cast<int>(i);
        return -1;
    }
    // Clicks an extension item of a check list.
    void Tick(int list, const std::string& ext) {
        const auto items = ListBoxItems(Item(list));
        for (size_t i = 0; i < items.size(); ++i)
            if (items[i] == ext) ClickAt(Centre(ListBoxItemRect(Item(list), static_cast<int>(i))));
    }
    // Chooses a player with the mouse, ticks its extensions and presses "Add to Vexamo".
    void AddPlayer(const std::string& name, const std::vector<std::string>& audio,
                   const std::vector<std::string>& video) {
        const int row = RowOf(IDC_MAIN_LSTPLAYERS, name);
        ASSERT_GT(row, 0) << name << " is not offered";
        ClickAt(Centre(ListViewRowRect(Item(IDC_MAIN_LSTPLAYERS), row)));
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Item(IDC_MAIN_CHKEXTSAUDIO)) != FALSE; }, AgentTimeoutMs));
        for (const std::string& ext : audio) Tick(IDC_MAIN_CHKEXTSAUDIO, ext);
        for (const std::string& ext : video) Tick(IDC_MAIN_CHKEXTSVIDEO, ext);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(Item(IDC_MAIN_BTADD)) != FALSE; }, AgentTimeoutMs));
        RECT button{};
        GetWindowRect(Item(IDC_MAIN_BTADD), &button);
        ClickAt(Centre(button));
        ASSERT_TRUE(WaitUntil([&] { return RowOf(IDC_MAIN_LSTLOADEDPLAYERS, name) >= 0; }, AgentTimeoutMs));
    }

    std::string Winamp, BsPlayer;
    HWND Window = nullptr;
};

bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void ExpectFirstStart(ConfigAgent& agent) {
    EXPECT_EQ(agent.Names(IDC_MAIN_LSTPLAYERS), (std::vector<std::string>{"(Add new Player)", "Winamp"}));
    EXPECT_EQ(ListBoxItems(agent.Item(IDC_MAIN_CHKEXTSAUDIO)),
              (std::vector<std::string>{".mp3", ".wav", ".asx", ".cda", ".ogg", ".wma", ".wmv", ".flac", ".m4a",
                                        ".aac", ".opus", ".ape", ".wv", ".mka"}));
    EXPECT_EQ(ListBoxItems(agent.Item(IDC_MAIN_CHKEXTSVIDEO)),
              (std::vector<std::string>{".avi", ".divx", ".mov", ".mpg", ".mpeg", ".mp4", ".m4v", ".mkv", ".webm",
                                        ".ts", ".m2ts", ".mts", ".vob", ".3gp", ".flv"}));
    EXPECT_FALSE(IsWindowEnabled(agent.Item(IDC_MAIN_CHKEXTSAUDIO)));
    EXPECT_FALSE(IsWindowEnabled(agent.Item(IDC_MAIN_BTADD)));
    EXPECT_EQ(WindowText(agent.Item(IDC_MAIN_BTADD)), "&Add to Vexamo");
    EXPECT_EQ(WindowText(agent.Item(IDC_MAIN_CHKPROMPT)), "Yes, Prompt this Player");
    EXPECT_EQ(WindowText(agent.Item(IDC_MAIN_BTSCANNOW)), "Scan &Now");
    EXPECT_EQ(WindowText(agent.Item(IDC_MAIN_BTEXIT)), "E&xit");
    EXPECT_EQ(WindowText(agent.Item(IDC_MAIN_LBLABOUT)), "About Us...");
    EXPECT_TRUE(agent.Names(IDC_MAIN_LSTLOADEDPLAYERS).empty());
    EXPECT_FALSE(IsWindowEnabled(agent.Item(IDC_MAIN_RDMONITORON)));
    EXPECT_TRUE(Checked(agent.Item(IDC_MAIN_RDMONITOROFF)));
    EXPECT_TRUE(Checked(agent.Item(IDC_MAIN_RDNOPLAYERPRIORITY)));
    EXPECT_EQ(StatusPanel(agent.Item(IDC_MAIN_STSTATUS), 1), "Not Ready");
    EXPECT_EQ(StatusPanel(agent.Item(IDC_MAIN_STSTATUS), 3), "V.1.0.0.0");
    EXPECT_FALSE(TrayHasIcon(agent.Main));
}

}  // namespace

TEST(ConfigWindow, FirstStartShowsTheControlsAndTheInstalledPlayer) {
    ConfigAgent agent;
    ASSERT_NE(agent.Open(), nullptr);
    EXPECT_EQ(GetForegroundWindow(), agent.Window);
    ExpectFirstStart(agent);
    const std::string players = agent.Folder.Read("Players.ini").value_or("");
    EXPECT_EQ(players.find("[Winamp]\r\nexe=" + agent.Winamp + "\r\nindex=3\r\n"), 0u) << players;
    EXPECT_EQ(players.find("\n["), std::string::npos) << "only the installed default player: " << players;
    EXPECT_FALSE(agent.Folder.Exists("Selection.ini"));
    Screenshot("config-first-start");
}

TEST(ConfigWindow, AddingPlayersWithTheMouseWritesTheSelection) {
    ConfigAgent agent(true);
    ASSERT_NE(agent.Open(), nullptr);
    agent.AddPlayer("Winamp", {".mp3"}, {".avi"});
    EXPECT_EQ(agent.Folder.Read("Selection.ini").value_or(""),
              "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3;.avi\r\n");
    const auto rows = ListViewRows(agent.Item(IDC_MAIN_LSTLOADEDPLAYERS));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"", "Winamp", "AUDIO/VIDEO", ".mp3.avi"}));
    EXPECT_FALSE(ListViewChecked(agent.Item(IDC_MAIN_LSTLOADEDPLAYERS), 0));
    EXPECT_EQ(agent.RowOf(IDC_MAIN_LSTPLAYERS, "Winamp"), -1);
    EXPECT_TRUE(IsWindowEnabled(agent.Item(IDC_MAIN_RDMONITORON)));

    agent.AddPlayer("BsPlayer", {".wav", ".ogg"}, {".mpg"});
    EXPECT_EQ(agent.Folder.Read("Selection.ini").value_or(""),
              "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3;.avi\r\n"
              "[BsPlayer]\r\nName=BsPlayer\r\nPrompt=No\r\nExt=.wav;.ogg;.mpg\r\n");
    EXPECT_TRUE(IsWindowEnabled(agent.Item(IDC_MAIN_RDPLAYERPRIORITY)));
    Screenshot("config-two-players");
}

TEST(ConfigWindow, ExitAsksFirst) {
    ConfigAgent agent;
    ASSERT_NE(agent.Open(), nullptr);
    for (const char* answer : {"No", "Yes"}) {
        PostMessageA(agent.Item(IDC_MAIN_BTEXIT), BM_CLICK, 0, 0);
        const HWND box = WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, "Confirm");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(ReadDialog(box).Message, "Are you sure ?");
        if (std::string(answer) == "No") Screenshot("config-exit-question");
        ASSERT_TRUE(ClickButton(box, answer));
        if (std::string(answer) == "No") {
            EXPECT_FALSE(agent.Proc.WaitExit(1000)) << "No ended the agent";
            EXPECT_TRUE(IsWindowVisible(agent.Window));
        }
    }
    DWORD code = 1;
    EXPECT_TRUE(agent.Proc.WaitExit(AgentTimeoutMs, &code)) << "Yes did not end the agent";
}

TEST(ConfigWindow, CloseBoxSavesTheSettingsAndBringsTheIconBack) {
    ConfigAgent agent;
    ASSERT_NE(agent.Open(), nullptr);
    EXPECT_FALSE(TrayHasIcon(agent.Main));
    PostMessageA(agent.Window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(agent.Window); }, AgentTimeoutMs));
    const std::string settings = agent.Folder.Read("Vexamo.ini").value_or("");
    EXPECT_NE(settings.find("Status=Off"), std::string::npos) << settings;
    EXPECT_NE(settings.find("[Priority]"), std::string::npos) << settings;
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    EXPECT_TRUE(agent.Proc.Running());
}

TEST(ConfigWindow, KeyboardAccessKeysAndEscape) {
    ConfigAgent agent;
    ASSERT_NE(agent.Open(), nullptr);
    // Alt+X is "E&xit": its question comes up; No keeps everything.
    PostMessageA(agent.Item(IDC_MAIN_LSTPLAYERS), WM_SYSCHAR, 'x', 1 << 29);
    const HWND box = WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, "Confirm");
    ASSERT_NE(box, nullptr) << "Alt+X did not reach Exit";
    ASSERT_TRUE(ClickButton(box, "No"));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, AgentTimeoutMs));
    // Escape does what the close box does.
    PostMessageA(agent.Item(IDC_MAIN_LSTPLAYERS), WM_KEYDOWN, VK_ESCAPE, 1);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(agent.Window); }, AgentTimeoutMs));
    EXPECT_TRUE(agent.Folder.Exists("Vexamo.ini"));
    EXPECT_TRUE(agent.Proc.Running());
}

TEST(HiDpiConfigWindow, FirstStartAndTwoPlayers) {
    ConfigAgent agent(true);
    ASSERT_NE(agent.Open(), nullptr);
    Screenshot("config-first-start-144dpi");
    agent.AddPlayer("Winamp", {".mp3"}, {".avi"});
    agent.AddPlayer("BsPlayer", {".wav"}, {".mpg"});
    Screenshot("config-two-players-144dpi");
    RECT window{};
    GetWindowRect(agent.Window, &window);
    EXPECT_GT(window.right - window.left, 900) << "the window did not grow with the DPI";
}
