// The disc scan and play run against the real agent: a disc arrives (the driver sends the device
// change Windows would), the agent searches the disc, writes its playlist and starts the
// stand-in player, or shows the chooser when the player asks first.
#include "e2e/AgentE2E.h"

#include <commctrl.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {

namespace {

const std::string PlayerName = "Stand-In Player";

// An agent whose selection is the stand-in player with the given extensions and prompt flag.
struct ScanAgent : Agent {
    std::string Player;
    ScanAgent(const std::string& ext, bool prompt, const std::string& settings = "[Main]\r\nStatus=On\r\n",
              const std::string& playerKeys = "")
        : Agent(false, settings) {
        Player = Folder.InstallStandIn();
        Folder.Write("Players.ini",
                     "[" + PlayerName + "]\r\nexe=" + Player + "\r\nindex=0\r\next=.m3u\r\n" + playerKeys);
        Folder.Write("Selection.ini", "[" + PlayerName + "]\r\nName=" + PlayerName + "\r\nPrompt=" +
                                          (prompt ? "Yes" : "No") + "\r\nExt=" + ext + "\r\n");
    }
    void Arrive() { SendDeviceChange(Main, DBT_DEVICEARRIVAL, 'D', 1000); }
    std::vector<std::string> Starts(size_t count) {
        WaitUntil([&] { return StandInLog(Player).size() >= count; }, AgentTimeoutMs);
        return StandInLog(Player);
    }
};

// The part of a logged command line after the program itself.
std::string Parameters(const std::string& line) {
    size_t at = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
    while (at < line.size() && line[at] == ' ') ++at;
    return at < line.size() ? line.substr(at) : std::string();
}

HWND WaitForChooser(const Agent& agent) { return WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, "File Monitor"); }

// The open popup menus of the process, newest last.
std::vector<HWND> Menus(const Agent& agent) {
    std::vector<HWND> out;
    for (HWND w : TopLevelWindows(agent.Proc.Id()))
        if (ClassName(w) == "#32768" && IsWindowVisible(w)) out.push_back(w);
    return out;
}

// Selects the first row from the keyboard and asks for its menu with Enter.
HWND OpenRowMenu(const Agent& agent, HWND chooser) {
    const std::vector<HWND> lists = Children(chooser, "SysListView32");
    if (lists.empty()) return nullptr;
    PostMessageA(lists[0], WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(lists[0], WM_KEYUP, VK_DOWN, 0xC0000001);
    WaitUntil([&] { return SendMessageA(lists[0], LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == 0; },
              AgentTimeoutMs);
    PostMessageA(chooser, WM_COMMAND, IDOK, 0);
    HWND menu = nullptr;
    WaitUntil([&] {
        const auto menus = Menus(agent);
        menu = menus.empty() ? nullptr : menus.back();
        return menu != nullptr;
    }, AgentTimeoutMs);
    return menu;
}

}  // namespace

TEST(Scan, ArrivalPlaysTwoVideosThroughThePlaylistRootFirst) {
    Disc({"Movies\\b.avi", "a.avi", "notes.txt"});
    ScanAgent agent(".avi", false);
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    agent.Arrive();
    const auto starts = agent.Starts(1);
    ASSERT_EQ(starts.size(), 1u);
    const std::string playlist = agent.Folder / "VexamoList.m3u";
    EXPECT_EQ(Parameters(starts[0]), "\"" + playlist + "\"");
    EXPECT_EQ(agent.Folder.Read("VexamoList.m3u").value_or(""), "D:\\a.avi\r\nD:\\Movies\\b.avi\r\n");
    EXPECT_TRUE(agent.Proc.Running());
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs)) << "the icon comes back";
}

TEST(Scan, ALoneMovieGetsItsSubtitleAndOnPlayCloseEndsTheAgent) {
    Disc({"Film\\war film.avi", "Film\\war film.srt"});
    ScanAgent agent(".avi", false, "[Main]\r\nStatus=On\r\n[Monitor]\r\nOnPlayClose=1\r\n");
    agent.Start();
    agent.Arrive();
    const auto starts = agent.Starts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(Parameters(starts[0]), "\"D:\\Film\\war film.avi\" \"D:\\Film\\war film.srt\"");
    DWORD code = 1;
    EXPECT_TRUE(agent.Proc.WaitExit(AgentTimeoutMs, &code)) << "the agent ends after starting the player";
    EXPECT_EQ(code, 0u);
}

TEST(Scan, NothingFoundLeavesTheAgentRunning) {
    Disc({"readme.txt", "Music\\song.wav"});
    ScanAgent agent(".avi;.mp3", false);
    agent.Start();
    agent.Arrive();
    Sleep(1500);
    EXPECT_TRUE(agent.Proc.Running());
    EXPECT_TRUE(TrayHasIcon(agent.Main));
    EXPECT_TRUE(StandInLog(agent.Player).empty());
    EXPECT_EQ(WaitForDialog(agent.Proc.Id(), 300), nullptr);
}

TEST(Scan, PromptingPlayerShowsTheChooserAndPlaysTheChosenRow) {
    Disc({"x.mp3", "Sub\\y.mp3", "clip.avi"});
    ScanAgent agent(".avi;.mp3", true);
    agent.Start();
    agent.Arrive();
    const HWND chooser = WaitForChooser(agent);
    ASSERT_NE(chooser, nullptr) << "no File Monitor";
    const DialogContent content = ReadDialog(chooser);
    auto shows = [&](const std::string& text) {
        return std::find(content.Texts.begin(), content.Texts.end(), text) != content.Texts.end();
    };
    EXPECT_TRUE(shows("D:\\")) << "the drive";
    EXPECT_TRUE(shows("VEXAMO_DEMO")) << "the disc label";
    EXPECT_FALSE(TrayHasIcon(agent.Main)) << "no tray icon while the chooser is in use";
    Screenshot("chooser");

    const HWND menu = OpenRowMenu(agent, chooser);
    ASSERT_NE(menu, nullptr) << "no menu for the row";
    PostMessageA(menu, WM_CHAR, 'p', 0);  // "Enqueue && &Play"
    ASSERT_TRUE(WaitUntil([&] { return Menus(agent).size() >= 2; }, AgentTimeoutMs)) << "no submenu";
    Screenshot("chooser-menu");
    PostMessageA(Menus(agent).back(), WM_CHAR, 's', 0);  // "&Selected"
    const auto starts = agent.Starts(1);
    ASSERT_EQ(starts.size(), 1u);
    // The first row is the player's first extension with files: .avi, one file.
    EXPECT_EQ(Parameters(starts[0]), "\"D:\\clip.avi\"");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }, AgentTimeoutMs));
    EXPECT_TRUE(agent.Proc.Running());
}

TEST(Scan, AMouseClickOnARowOpensItsMenu) {
    Disc({"b.mp3", "Sub\\a.mp3"});
    ScanAgent agent(".mp3", true);
    agent.Start();
    agent.Arrive();
    const HWND chooser = WaitForChooser(agent);
    ASSERT_NE(chooser, nullptr);
    const std::vector<HWND> lists = Children(chooser, "SysListView32");
    ASSERT_EQ(lists.size(), 1u);
    // Below the header, within the first (55-pixel) row.
    const LPARAM at = MAKELPARAM(120, 50);
    PostMessageA(lists[0], WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(lists[0], WM_LBUTTONUP, 0, at);
    ASSERT_TRUE(WaitUntil([&] { return !Menus(agent).empty(); }, AgentTimeoutMs)) << "no menu after the click";
    PostMessageA(Menus(agent).back(), WM_CHAR, 'p', 0);
    ASSERT_TRUE(WaitUntil([&] { return Menus(agent).size() >= 2; }, AgentTimeoutMs));
    PostMessageA(Menus(agent).back(), WM_CHAR, 'a', 0);  // "&All"
    const auto starts = agent.Starts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(Parameters(starts[0]), "\"" + agent.Folder / "VexamoList.m3u" + "\"");
    EXPECT_EQ(agent.Folder.Read("VexamoList.m3u").value_or(""), "D:\\b.mp3\r\nD:\\Sub\\a.mp3\r\n");
}

TEST(Scan, AnotherArrivalLeavesTheShownChooserAndCancelPlaysNothing) {
    Disc({"x.mp3"});
    ScanAgent agent(".mp3", true);
    agent.Start();
    agent.Arrive();
    const HWND chooser = WaitForChooser(agent);
    ASSERT_NE(chooser, nullptr);
    // A second disc while the user chooses: the handler returns at once and the chooser stays.
    EXPECT_TRUE(SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'D', 5000));
    EXPECT_TRUE(IsWindowVisible(chooser));
    int choosers = 0;
    for (HWND w : TopLevelWindows(agent.Proc.Id()))
        if (WindowText(w) == "File Monitor" && IsWindowVisible(w)) ++choosers;
    EXPECT_EQ(choosers, 1);
    EXPECT_TRUE(ClickButton(chooser, "Cancel"));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }, AgentTimeoutMs));
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    EXPECT_TRUE(StandInLog(agent.Player).empty());
    EXPECT_TRUE(agent.Proc.Running());
}

TEST(Scan, ScanNowOnTheVisibleWindowPlaysAndClosesIt) {
    Disc({"Music\\song.mp3"});
    ScanAgent agent(".mp3", false);
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    PostMessageA(agent.Main, TrayCallback, 0, WM_LBUTTONDBLCLK);  // "O&pen"
    const HWND config = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    ASSERT_NE(config, nullptr) << "no configuration window";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(config) != FALSE; }, AgentTimeoutMs));
    ASSERT_TRUE(ClickButton(config, "Scan Now"));
    const auto starts = agent.Starts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(Parameters(starts[0]), "\"D:\\Music\\song.mp3\"");
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(config) || !IsWindowVisible(config); }, AgentTimeoutMs))
        << "a run that played saves and closes the window";
    EXPECT_TRUE(agent.Proc.Running());
}

TEST(Scan, TrayScanShowsTheProgressWindow) {
    // Enough folders that the search takes a moment under Wine.
    std::vector<std::string> files;
    for (int f = 0; f < 800; ++f) files.push_back("F" + std::to_string(f / 40) + "\\G" + std::to_string(f) + "\\t.wav");
    files.push_back("x.mp3");
    Disc(files);
    ScanAgent agent(".mp3;.ogg;.wma;.avi;.mpg;.mov", true);
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    PostMessageA(agent.Main, WM_COMMAND, TrayMenuCommand(0), 0);  // "&Scan/Play CD"
    HWND progress = nullptr;
    WaitUntil([&] {
        for (HWND w : TopLevelWindows(agent.Proc.Id()))
            if (ClassName(w) == "TfrmScaning" && IsWindowVisible(w)) progress = w;
        return progress != nullptr;
    }, AgentTimeoutMs, 5);
    ASSERT_NE(progress, nullptr) << "no progress window";
    // The bar answers between two paints of the window (the search looks at its queue then): two
    // answers mean a whole paint has reached the screen.
    const std::vector<HWND> bars = Children(progress, PROGRESS_CLASSA);
    ASSERT_EQ(bars.size(), 1u);
    for (int i = 0; i < 2; ++i) SendWithin(bars[0], PBM_GETPOS, 0, 0, 2000);
    // Holds the agent where it is, so that the window can be looked at before the search ends.
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(progress, nullptr));
    ASSERT_NE(thread, nullptr);
    SuspendThread(thread);
    RECT r{};
    GetClientRect(progress, &r);
    const LONG exStyle = GetWindowLongA(progress, GWL_EXSTYLE);
    Screenshot("progress");
    ResumeThread(thread);
    CloseHandle(thread);
    EXPECT_EQ(r.right, 127);
    EXPECT_EQ(r.bottom, 97);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    const HWND chooser = WaitForChooser(agent);
    ASSERT_NE(chooser, nullptr);
    EXPECT_FALSE(IsWindowVisible(progress)) << "the progress window is gone when the chooser shows";
    ClickButton(chooser, "Cancel");
}

}  // namespace e2e

namespace e2e {

TEST(Scan, ADvdVideoDiscPlaysAsADiscWithItsDriveRootWhole) {
    Disc({"VIDEO_TS\\VIDEO_TS.IFO", "VIDEO_TS\\VTS_01_0.IFO", "VIDEO_TS\\VTS_01_1.VOB", "VIDEO_TS\\VTS_01_0.BUP"});
    // The quoted drive root is where Windows' argument rule would eat the closing quote.
    ScanAgent agent("DVD-Video;.vob", false, "[Main]\r\nStatus=On\r\n", "disc=--dvd [DISC]\r\n");
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    agent.Arrive();
    ASSERT_EQ(agent.Starts(1).size(), 1u);
    const auto args = StandInArguments(agent.Player);
    ASSERT_EQ(args.size(), 1u);
    EXPECT_EQ(args[0], (std::vector<std::string>{"--dvd", "D:\\"}));
    EXPECT_FALSE(agent.Folder.Read("VexamoList.m3u")) << "the structure's files are never a playlist";
}

TEST(Scan, TodaysFilesOfADataDiscPlayThroughThePlaylist) {
    Disc({"Films\\b.mkv", "a.mp4", "song.flac"});
    ScanAgent agent(".mkv;.mp4", false);
    agent.Start();
    agent.Arrive();
    const auto starts = agent.Starts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(StandInArguments(agent.Player).at(0), (std::vector<std::string>{agent.Folder / "VexamoList.m3u"}));
    // In the order of the player's extensions; the .flac is not its business.
    EXPECT_EQ(agent.Folder.Read("VexamoList.m3u").value_or(""), "D:\\Films\\b.mkv\r\nD:\\a.mp4\r\n");
}

// A DVD-Video disc and a loose film beside it: the disc is a row of its own, with its picture.
void ChooseTheDisc(const std::string& shot) {
    Disc({"VIDEO_TS\\VIDEO_TS.IFO", "VIDEO_TS\\VTS_01_1.VOB", "Extras\\making of.mkv"});
    ScanAgent agent("DVD-Video;.mkv", true, "[Main]\r\nStatus=On\r\n", "disc=--dvd [DISC]\r\n");
    agent.Start();
    agent.Arrive();
    const HWND chooser = WaitForChooser(agent);
    ASSERT_NE(chooser, nullptr) << "no File Monitor";
    const std::vector<HWND> lists = Children(chooser, "SysListView32");
    ASSERT_FALSE(lists.empty());
    EXPECT_EQ(SendMessageA(lists[0], LVM_GETITEMCOUNT, 0, 0), 2) << "the disc and the loose film";
    Screenshot(shot);
    const HWND menu = OpenRowMenu(agent, chooser);
    ASSERT_NE(menu, nullptr) << "no menu for the row";
    PostMessageA(menu, WM_CHAR, 'p', 0);  // "Enqueue && &Play"
    ASSERT_TRUE(WaitUntil([&] { return Menus(agent).size() >= 2; }, AgentTimeoutMs)) << "no submenu";
    PostMessageA(Menus(agent).back(), WM_CHAR, 's', 0);  // "&Selected"
    ASSERT_EQ(agent.Starts(1).size(), 1u);
    EXPECT_EQ(StandInArguments(agent.Player).at(0), (std::vector<std::string>{"--dvd", "D:\\"}));
}

TEST(Scan, TheChooserOffersADvdAsARowOfItsOwnAndPlaysItAsADisc) { ChooseTheDisc("chooser-dvd"); }
TEST(HiDpiChooser, TheDiscRowAt144Dpi) { ChooseTheDisc("chooser-dvd-144dpi"); }

// A USB stick or memory card (G:, removable) beside the CD-ROM drive D:.
TEST(UsbStick, PlaysOnlyWithTheSwitchOn) {
    Disc({}, 'D');
    Disc({"Clips\\trip.mp4"}, 'G');
    {
        ScanAgent agent(".mp4", false);
        agent.Start();
        ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
        SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'G', 1000);
        Sleep(1500);
        EXPECT_TRUE(StandInLog(agent.Player).empty()) << "without the switch a stick is not the agent's business";
    }
    ScanAgent agent(".mp4", false, "[Main]\r\nStatus=On\r\n[Monitor]\r\nRemovable=1\r\n");
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'G', 1000);
    ASSERT_EQ(agent.Starts(1).size(), 1u);
    EXPECT_EQ(StandInArguments(agent.Player).at(0), (std::vector<std::string>{"G:\\Clips\\trip.mp4"}));
}

}  // namespace e2e
