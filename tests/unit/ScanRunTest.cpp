// The disc scan and play run of the configuration window, over the fake platform: what it finds,
// which player it picks, what it shows while searching and how it ends.
#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "model/User.h"
#include "model/VexaCfg.h"
#include "platform/Utf8.h"
#include "scan/Notices.h"
#include "scan/Splash.h"
#include "scan/fileMonitor.h"
#include "support/FakePlatform.h"
#include "support/ScanHosts.h"
#include "support/WindowFakes.h"
#include "ui/main.h"

using namespace vexamo;
using namespace vexamo::test;

namespace {

const std::string Folder = "C:\\Vexamo\\";
const std::string Movies = "C:\\Movies\\movies.exe";
const std::string Music = "C:\\Music\\music.exe";

class ScanRun : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramFolder = Folder;
        fake.AddFolder("C:\\Vexamo");
        fake.AddDrive("C:\\", DriveKind::Fixed);
        fake.AddDrive("D:\\", DriveKind::CdRom, "HOLIDAY");
        fake.AddDrive("E:\\", DriveKind::CdRom);
        fake.AddFile(Movies);
        fake.AddFile(Music);
        fake.AddFile(Folder + "Players.ini", "[Movies]\r\nexe=" + Movies + "\r\next=.m3u\r\n[Music]\r\nexe=" + Music +
                                                 "\r\next=.m3u\r\n[Other]\r\nexe=" + Music + "\r\n");
        windows.chooser = &chooser;
        windows.progress = &progress;
        Globals.Vexamo = std::make_unique<TVexamo>();
        Globals.Vexamo->CdDrives = {"D:\\", "E:\\"};
    }
    void TearDown() override { Globals.Reset(); }

    // The monitoring list: "Name=prompt=ext;ext" per player, in order.
    void Select(const std::vector<std::tuple<std::string, bool, std::string>>& players,
                const std::string& settings = "") {
        std::string text;
        for (const auto& [name, prompt, exts] : players)
            text += "[" + name + "]\r\nName=" + name + "\r\nPrompt=" + (prompt ? "Yes" : "No") + "\r\nExt=" + exts +
                    "\r\n";
        fake.AddFile(Folder + "Selection.ini", text);
        fake.AddFile(Folder + "Vexamo.ini", "[Main]\r\nStatus=On\r\n" + settings);
    }
    TfrmMain& Open(bool visible) {
        Globals.frmMain = std::make_unique<TfrmMain>(agent, FakeFrmMainHostFactory(log));
        Globals.frmMain->FormCreate();
        if (visible) Globals.frmMain->Show();
        return *Globals.frmMain;
    }
    std::string Panel() const { return Globals.frmMain->stStatus.Panels[TfrmMain::PanelMessage].Text; }
    std::string Played() const { return fake.Started.empty() ? "<none>" : fake.Started.back().Parameters; }

    FakePlatform fake;
    test::FakeWindows windows;
    FakeTrayAgent agent;
    FrmMainHostLog log;
    FakeMonitorHost chooser;
    FakeScaningHost progress;
};

}  // namespace

// --- how a run ends -------------------------------------------------------------------------------

TEST_F(ScanRun, FinishTableByOnPlayClosePlayerStartedAndVisibility) {
    struct Row {
        bool onPlayClose, play, visible;
        const char* expected;  // "saved", "open" or "exit"
    };
    const Row rows[] = {
        {false, true, false, "saved"}, {false, true, true, "saved"},   {false, false, false, "saved"},
        {false, false, true, "open"},  {true, false, false, "saved"},  {true, false, true, "saved"},
        {true, true, false, "exit"},   {true, true, true, "exit"},
    };
    fake.AddFile("D:\\a.avi");
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("OnPlayClose ") + (row.onPlayClose ? "on" : "off") + (row.play ? ", played" : "") +
                     (row.visible ? ", visible" : ", hidden"));
        fake.DeleteFile(Folder + "Vexamo.ini");
        fake.DeleteFile(Folder + "Selection.ini");
        Select({{"Movies", true, ".avi"}}, row.onPlayClose ? "[Monitor]\r\nOnPlayClose=1\r\n" : "");
        agent.exits = 0;
        chooser.user = [&](TfrmMonitor& f) {
            f.lstFileTypes.ItemIndex = 0;
            f.lstFileTypesMouseDown();
            row.play ? f.mnuSelectedClick() : f.btCancelClick();
        };
        TfrmMain& frm = Open(row.visible);
        frm.ScanDisc(row.visible ? Caller::ConfigWindow : Caller::MainForm);
        EXPECT_EQ(Globals.PlayerStarted, row.play);
        const std::string outcome = agent.exits ? "exit" : Globals.frmMain ? "open" : "saved";
        EXPECT_EQ(outcome, row.expected);
        if (outcome == "saved") {
            EXPECT_EQ(Globals.SelectedPlayers, nullptr);
        }
        EXPECT_EQ(Globals.frmMonitor, nullptr);
        Globals.frmMain.reset();
    }
}

TEST_F(ScanRun, PlayerThatDoesNotAskPlaysEverythingWithoutTheChooser) {
    fake.AddFile("D:\\Film\\b.avi");
    fake.AddFile("D:\\a.avi");
    fake.AddFile("D:\\c.mpg");
    Select({{"Movies", false, ".mpg;.avi"}});
    Open(false).ScanDisc(Caller::MainForm);
    EXPECT_EQ(chooser.shown, 0);
    EXPECT_EQ(fake.Content(Folder + "VexamoList.m3u"), "D:\\c.mpg\r\nD:\\a.avi\r\nD:\\Film\\b.avi\r\n");
    EXPECT_EQ(Played(), "\"C:\\Vexamo\\VexamoList.m3u\"");
    EXPECT_EQ(Globals.frmMain, nullptr) << "saved and closed";
    EXPECT_TRUE(fake.Content(Folder + "Vexamo.ini")->find("[Monitor]") != std::string::npos);
}

// --- which player ---------------------------------------------------------------------------------

TEST_F(ScanRun, PriorityPlayerWithFilesWinsEvenSecondWithoutFilesIsIgnored) {
    fake.AddFile("D:\\song.mp3");
    fake.AddFile("D:\\film.avi");
    Select({{"Movies", false, ".avi"}, {"Music", false, ".mp3"}},
           "[Priority]\r\nUser=1\r\nChoice=1\r\nPlayer=Music\r\n");
    Open(false).ScanDisc(Caller::MainForm);
    ASSERT_EQ(fake.Started.size(), 1u);
    EXPECT_EQ(fake.Started[0].File, Music);
    EXPECT_EQ(Globals.Vexamo->FoundPairs, (StringList{".avi", "Movies", ".mp3", "Music"}));

    fake.DeleteFile("D:\\song.mp3");
    Open(false).ScanDisc(Caller::MainForm);
    ASSERT_EQ(fake.Started.size(), 2u);
    EXPECT_EQ(fake.Started[1].File, Movies) << "the priority player had nothing on this disc";

    // Without the choice switched on the named player is no priority.
    fake.AddFile("D:\\song.mp3");
    fake.AddFile(Folder + "Vexamo.ini", "[Main]\r\nStatus=On\r\n[Priority]\r\nChoice=0\r\nPlayer=Music\r\n");
    Open(false).ScanDisc(Caller::MainForm);
    EXPECT_EQ(fake.Started.back().File, Movies);
}

// --- what the run shows ---------------------------------------------------------------------------

TEST_F(ScanRun, StatusTextsLabelAndVarious) {
    fake.AddFile("D:\\a.avi");
    Select({{"Movies", true, ".avi"}});
    std::vector<std::string> painted;
    log.onRepaint = [&] { painted.push_back(Panel()); };
    TfrmMain& frm = Open(true);
    chooser.user = [&](TfrmMonitor& f) {
        EXPECT_EQ(f.lblCDLabel.Caption, "HOLIDAY");
        EXPECT_EQ(f.lblDevice.Caption, "D:\\");
        EXPECT_FALSE(agent.iconInTray);
    };
    frm.ScanDisc(Caller::ConfigWindow);
    ASSERT_FALSE(painted.empty());
    EXPECT_EQ(painted.front(), "Scaning CD: Please Wait...");
    EXPECT_EQ(Panel(), "Label: HOLIDAY");
    EXPECT_EQ(Globals.Vexamo->DiscLabel, "HOLIDAY");

    // Media on both drives, one of them without a label.
    fake.SetDisc("E:\\", "");
    fake.AddFile("E:\\b.avi");
    chooser.user = [&](TfrmMonitor& f) { EXPECT_EQ(f.lblDevice.Caption, "D:\\,E:\\"); };
    frm.ScanDisc(Caller::ConfigWindow);
    EXPECT_EQ(Panel(), "Label: [Various]");

    fake.DeleteFile("D:\\a.avi");
    chooser.user = nullptr;
    frm.ScanDisc(Caller::ConfigWindow);
    EXPECT_EQ(Panel(), "Label: ");
}

TEST_F(ScanRun, TheWindowTakesNoInputWhileTheChooserWaitsAndTakesItAgainAfterwards) {
    fake.AddFile("D:\\a.avi");
    Select({{"Movies", true, ".avi"}});
    TfrmMain& frm = Open(true);
    std::vector<bool> painted;
    log.onRepaint = [&] { painted.push_back(frm.Enabled); };
    chooser.user = [&](TfrmMonitor&) {
        EXPECT_FALSE(frm.Enabled) << "the run waiting for the chooser must not be started again from under it";
        ASSERT_FALSE(painted.empty());
        EXPECT_FALSE(painted.back()) << "and the real window shows it before the chooser waits";
    };
    frm.ScanDisc(Caller::ConfigWindow);
    EXPECT_EQ(chooser.shown, 1);
    EXPECT_TRUE(frm.Enabled);
    EXPECT_TRUE(painted.back());

    // A chooser that fails to show gives the window back all the same.
    chooser.user = [](TfrmMonitor&) { throw Error("no chooser"); };
    frm.ScanDisc(Caller::ConfigWindow);
    EXPECT_TRUE(frm.Enabled);
}

TEST_F(ScanRun, NothingFoundOnAVisibleWindowOrInTheTip) {
    fake.AddFile("D:\\notes.txt");
    fake.AddFile("D:\\film.avix");  // not an .avi
    Select({{"Movies", false, ".avi"}});
    TfrmMain& frm = Open(true);
    frm.ScanDisc(Caller::ConfigWindow);
    EXPECT_EQ(Panel(), "No files associated with current Players Found !");
    EXPECT_TRUE(agent.tips.empty());
    EXPECT_EQ(Globals.frmMain.get(), &frm);

    Globals.frmMain.reset();
    TfrmMain& hidden = Open(false);
    hidden.ScanDisc(Caller::MainForm);
    ASSERT_EQ(agent.tips.size(), 1u);
    EXPECT_EQ(agent.tips[0], "Ready [No files associated with current Players Found !]");
    EXPECT_EQ(Globals.frmMain.get(), &hidden) << "the hidden window stays for the next arrival";
    EXPECT_TRUE(fake.Started.empty());
    EXPECT_EQ(Globals.frmMonitor, nullptr);
}

TEST_F(ScanRun, ProgressWindowFromTheTrayBarInTheVisibleWindow) {
    fake.AddFile("D:\\A\\a.avi");
    fake.AddFile("D:\\B\\b.mp3");
    Select({{"Movies", true, ".avi"}, {"Music", true, ".mp3"}, {"Other", true, ".ogg"}});
    Open(false).ScanDisc(Caller::MainForm);
    EXPECT_EQ(progress.shown, 1);
    ASSERT_FALSE(progress.positions.empty());
    EXPECT_EQ(progress.positions.back(), 75);
    EXPECT_EQ(progress.released, 1);
    EXPECT_EQ(Globals.frmScaning, nullptr);

    TfrmMain& frm = Open(true);
    std::vector<int> bar;
    log.onRepaint = [&] { bar.push_back(frm.ProgBar.Visible ? frm.ProgBar.Position : -1); };
    frm.ScanDisc(Caller::ConfigWindow);
    EXPECT_EQ(progress.shown, 1) << "no progress window over a visible configuration window";
    EXPECT_FALSE(frm.ProgBar.Visible);
    EXPECT_EQ(std::count(bar.begin(), bar.end(), 75), 1);
}

// --- a second disc while the chooser is on screen --------------------------------------------------

TEST_F(ScanRun, ArrivalWhileTheChooserIsShownLeavesItAndItsRunAlone) {
    fake.AddFile("D:\\a.avi");
    Select({{"Movies", true, ".avi"}});
    TfrmMain& frm = Open(false);
    chooser.user = [&](TfrmMonitor& shown) {
        fake.AddFile("E:\\b.avi");
        fake.SetDisc("E:\\", "SECOND");
        frm.ScanDisc(Caller::MainForm);  // what the arrival handler calls
        EXPECT_EQ(Globals.frmMonitor.get(), &shown);
        EXPECT_EQ(chooser.shown, 1);
        shown.lstFileTypes.ItemIndex = 0;
        shown.lstFileTypesMouseDown();
        shown.mnuSelectedClick();
    };
    frm.ScanDisc(Caller::MainForm);
    EXPECT_EQ(Played(), "\"D:\\a.avi\"");
    EXPECT_EQ(Globals.frmMain, nullptr);
}

TEST_F(ScanRun, FailedAutomaticPlayShowsTheErrorAndLeavesTheAgentIdle) {
    fake.AddFile("D:\\a.avi");
    Select({{"Movies", false, ".avi"}});
    Open(false);
    fake.SetReadOnly("C:\\Vexamo");
    Globals.frmMain->ScanDisc(Caller::MainForm);
    EXPECT_TRUE(fake.Started.empty());
    EXPECT_FALSE(Globals.PlayerStarted);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Error);
    EXPECT_EQ(fake.Messages[0].Text, "Unable to write to C:\\Vexamo\\VexamoList.m3u");
    // Idle again: no chooser or hidden window left, the icon back in the tray, nothing held.
    EXPECT_EQ(Globals.frmMonitor, nullptr);
    EXPECT_EQ(Globals.frmMain, nullptr);
    EXPECT_EQ(chooser.released, 1);
    EXPECT_TRUE(agent.iconInTray);
    EXPECT_EQ(agent.holds, 0);

    fake.SetReadOnly("C:\\Vexamo", false);
    Open(false).ScanDisc(Caller::MainForm);
    EXPECT_EQ(Played(), "\"D:\\a.avi\"");
}

TEST_F(ScanRun, VisibleWindowStaysAfterAFailedPlayWithoutItsChooser) {
    fake.AddFile("D:\\a.avi");
    Select({{"Movies", false, ".avi"}});
    TfrmMain& frm = Open(true);
    fake.SetReadOnly("C:\\Vexamo");
    frm.btScanNowClick();
    EXPECT_EQ(Globals.frmMain.get(), &frm);
    EXPECT_EQ(Globals.frmMonitor, nullptr);
    EXPECT_EQ(fake.Messages.size(), 1u);
    EXPECT_FALSE(agent.iconInTray) << "the window on screen keeps the icon away";
}

TEST_F(ScanRun, FailedSettingsWriteAfterAPlayStillEndsTheRun) {
    fake.AddFile("D:\\a.avi");
    Select({{"Movies", false, ".avi"}});
    Open(false);
    fake.SetReadOnly(Folder + "Vexamo.ini");
    Globals.frmMain->ScanDisc(Caller::MainForm);
    EXPECT_EQ(Played(), "\"D:\\a.avi\"");
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Text, "Unable to write to C:\\Vexamo\\Vexamo.ini");
    EXPECT_EQ(Globals.frmMain, nullptr);
    EXPECT_EQ(Globals.SelectedPlayers, nullptr);
    EXPECT_TRUE(agent.iconInTray);
}

TEST_F(ScanRun, OddNamesOnTheDiscReachThePlayerAsThemselves) {
    const std::string odd = "D:\\A & B; 100%\\x[SUBTITLE]y caf\xC3\xA9.avi";
    fake.AddFile(odd);
    fake.AddFile("D:\\A & B; 100%\\x[SUBTITLE]y caf\xC3\xA9.srt");
    Select({{"Movies", false, ".avi"}});
    Open(false).ScanDisc(Caller::MainForm);
    // The .m3u is written in the legacy code page its players read; the command line is UTF-8.
    EXPECT_EQ(fake.Content(Folder + "VexamoList.m3u"), "D:\\A & B; 100%\\x[SUBTITLE]y caf\xE9.avi\r\n");
    EXPECT_EQ(Played(), "\"" + odd + "\" \"D:\\A & B; 100%\\x[SUBTITLE]y caf\xC3\xA9.srt\"");
}

// --- the word from the tray -------------------------------------------------------------------------

TEST(Notices, WhatPlaysWhereAndWithWhichPlayer) {
    TLaunch files;
    files.Files = 12;
    files.FirstFile = "D:\\a.mkv";
    EXPECT_EQ(PlayingNotice("VLC media player", files, {"D:\\"}, "MY_DISC"),
              "Playing 12 files from D:\\ (MY_DISC) with VLC media player");
    EXPECT_EQ(PlayingNotice("mpv", files, {"D:\\"}, ""), "Playing 12 files from D:\\ with mpv");
    EXPECT_EQ(PlayingNotice("mpv", files, {"D:\\", "E:\\", "F:\\"}, "[Various]"),
              "Playing 12 files from D:\\, E:\\ and F:\\ with mpv");
    TLaunch disc;
    disc.Disc = DiscKind::DvdVideo;
    disc.DiscRoot = "D:\\";
    EXPECT_EQ(PlayingNotice("MPC-HC", disc, {"D:\\"}, "FILM"), "Playing the DVD in D:\\ with MPC-HC");
    disc.Disc = DiscKind::AudioCd;
    EXPECT_EQ(PlayingNotice("MPC-HC", disc, {"D:\\"}, ""), "Playing the audio CD in D:\\ with MPC-HC");
    EXPECT_EQ(NotStartedNotice("mpv", "C:\\mpv\\mpv.exe", 5, false),
              "mpv could not be started: Windows answered error 5 for C:\\mpv\\mpv.exe");
    const std::string longName(400, 'x');
    const std::string cut = NotStartedNotice(longName, "C:\\p.exe", 2, true);
    EXPECT_EQ(cut.size(), BalloonTextSize - 1);
    EXPECT_EQ(cut.substr(cut.size() - 3), "...");
    // A name in another script is cut between its characters, never inside one.
    std::string film = "a";  // so that a cut by bytes would land inside a character
    for (int i = 0; i < 200; ++i) film += "\xD0\xA4";  // Ф
    const std::string cyrillic = NotStartedNotice(film, "C:\\p.exe", 2, true);
    EXPECT_TRUE(IsValidUtf8(cyrillic)) << cyrillic;
    EXPECT_LE(cyrillic.size(), BalloonTextSize - 1);
}

TEST_F(ScanRun, APlayerThatCannotStartPlaysNothingAndAVisibleWindowSaysWhy) {
    fake.AddFile("D:\\a.avi");
    fake.AddFile("D:\\b.avi");
    Select({{"Movies", false, ".avi"}});
    fake.ShellResult = 2;
    TfrmMain& frm = Open(true);
    fake.DeleteFile(Movies);  // gone since the window loaded the selection
    frm.ScanDisc(Caller::ConfigWindow);
    EXPECT_FALSE(Globals.PlayerStarted);
    ASSERT_EQ(Globals.frmMain.get(), &frm) << "the window stays, as after a run that played nothing";
    EXPECT_EQ(Panel(), "Movies could not be started: C:\\Movies\\movies.exe is missing");
    EXPECT_TRUE(agent.notices.empty()) << "a scan started by hand";
    Globals.frmMain.reset();

    // With "Close Vexamo" after a play, a start that did not happen leaves the agent running.
    fake.DeleteFile(Folder + "Vexamo.ini");
    fake.AddFile(Folder + "Vexamo.ini", "[Main]\r\nStatus=On\r\n[Monitor]\r\nOnPlayClose=1\r\n");
    fake.AddFile(Movies);
    Open(false);
    fake.DeleteFile(Movies);
    Globals.frmMain->ScanDisc(Caller::MainForm, true);
    EXPECT_EQ(agent.exits, 0);
    EXPECT_EQ(agent.notices, StringList{"Movies could not be started: C:\\Movies\\movies.exe is missing"});

    // Started by an arrival, hidden: the tray tells what plays once the run is over.
    fake.AddFile(Movies);
    fake.ShellResult = 42;
    Open(false).ScanDisc(Caller::MainForm, true);
    EXPECT_EQ(agent.exits, 1);
    EXPECT_EQ(agent.notices.back(), "Playing 2 files from D:\\ (HOLIDAY) with Movies");
}
