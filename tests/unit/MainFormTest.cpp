// The tray agent's hidden main window, driven as the window binding drives it.
#include <gtest/gtest.h>

#include "agent/Init.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"
#include "support/WindowFakes.h"
#include "ui/About.h"
#include "ui/Settings.h"
#include "ui/main.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace {

using FakeHost = test::FakeMainFormHost;

constexpr std::uintptr_t IconOn = 11, IconOff = 22;

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake.AddFolder("C:\\Vexamo");
        fake.AddDrive("C:\\", DriveKind::Fixed);
        fake.AddDrive("D:\\", DriveKind::CdRom);
        fake.AddDrive("E:\\", DriveKind::CdRom);
        fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 1);
        ExeName = "C:\\Vexamo\\Vexamo.exe";
    }
    void TearDown() override {
        Globals.Reset();
    }
    // A user who has chosen an installed player.
    void Installed(const std::string& settings = "[Main]\r\nStatus=On\r\n") {
        fake.AddFile("C:\\Vexamo\\Vexamo.ini", settings);
        fake.AddFile("C:\\Vexamo\\Selection.ini", "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3\r\n");
        fake.AddFile("C:\\Vexamo\\Players.ini", "[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n");
        fake.AddFile("C:\\Winamp\\winamp.exe");
    }
    TMainForm& Start() {
        Globals.MainForm = std::make_unique<TMainForm>(host.Binding());
        Globals.MainForm->ImgTray = IconOn;
        Globals.MainForm->ImgTrayDIsabled = IconOff;
        started = Globals.MainForm->Start();
        return *Globals.MainForm;
    }
    std::string Tip() const { return fake.TrayState.Tip; }
    const TMenuItem& Item(TMainForm::Item i) const { return Globals.MainForm->PopUpSysTray.Items[i]; }

    FakePlatform fake;
    test::FakeWindows windows;
    FakeHost host;
    bool started = false;
};

// A tray agent for windows tested on their own.
class NullTray : public TrayAgent {
public:
    void AddTrayIcon() override {}
    void RemoveTrayIcon() override {}
    bool UpdateStatus(Caller) override { return false; }
    void ShowAbout() override {}
    void ShowOptions(Caller) override {}
    void ExitAgent() override {}
    void SetTrayTip(const std::string&) override {}
    void Notify(const std::string&) override {}
    void EnableMonitoringItem(bool) override {}
    void HoldDeviceChanges() override {}
    void ReleaseDeviceChanges() override {}
};

}  // namespace

// --- start-up ---------------------------------------------------------------------------------

TEST_F(MainFormTest, AutoRunOnStartsWithoutDialogs) {
    Installed();
    Start();
    EXPECT_TRUE(fake.Messages.empty());
    EXPECT_EQ(ProgramFolder, "C:\\Vexamo\\");
    EXPECT_EQ(Globals.Vexamo->CdDrivesText, "D:\\ E:\\");
    EXPECT_TRUE(fake.TrayIconShown);
}

TEST_F(MainFormTest, AutoRunOffAnsweredYesStoresOneAndInforms) {
    fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 0);
    fake.Answer(MsgResult::Yes);
    Installed();
    Start();
    ASSERT_EQ(fake.Messages.size(), 2u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[0].Buttons, MsgButtons::YesNo);
    EXPECT_EQ(fake.Messages[0].Text, CdromAutoRunQuestion);
    EXPECT_EQ(fake.Messages[1].Kind, MsgKind::Information);
    EXPECT_EQ(fake.Messages[1].Text, CdromAutoRunChanged);
    EXPECT_EQ(fake.RegReadInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue), 1u);
    EXPECT_TRUE(fake.TrayIconShown);
}

TEST_F(MainFormTest, AutoRunOffAnsweredNoWarnsAndStoresNothing) {
    fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 0);
    Installed();
    Start();
    ASSERT_EQ(fake.Messages.size(), 2u);
    EXPECT_EQ(fake.Messages[1].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[1].Text, CdromAutoRunDeclined);
    EXPECT_EQ(fake.RegReadInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue), 0u);
}

TEST_F(MainFormTest, AutoRunWriteWithoutEffectWarnsAndStartUpGoesOn) {
    fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 0);
    fake.IgnoreRegWrites(RegRoot::LocalMachine, CdromServiceKey);
    fake.Answer(MsgResult::Yes);
    Installed();
    Start();
    ASSERT_EQ(fake.Messages.size(), 2u);
    EXPECT_EQ(fake.Messages[1].Text, CdromAutoRunFailed);
    EXPECT_TRUE(fake.TrayIconShown);
}

TEST_F(MainFormTest, AutoRunKeyWithoutValueCountsAsDisabled) {
    FakePlatform bare;  // a fresh machine whose Cdrom key has no AutoRun value
    bare.AddFolder("C:\\Vexamo");
    bare.AddDrive("D:\\", DriveKind::CdRom, "DISC");
    bare.AddRegKey(RegRoot::LocalMachine, CdromServiceKey);
    bare.Answer(MsgResult::Yes);
    ASSERT_NO_THROW(Start());
    ASSERT_EQ(bare.Messages.size(), 2u);
    EXPECT_EQ(bare.Messages[0].Text, CdromAutoRunQuestion);
    EXPECT_EQ(bare.Messages[1].Text, CdromAutoRunChanged);
    EXPECT_EQ(bare.RegReadInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue), 1u);
    EXPECT_FALSE(Globals.MainForm->Terminated);
}

TEST_F(MainFormTest, NoCdDriveShowsErrorAndTerminates) {
    FakePlatform noCd;
    noCd.AddFolder("C:\\Vexamo");
    noCd.AddDrive("C:\\", DriveKind::Fixed);
    noCd.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 1);
    Start();
    ASSERT_EQ(noCd.Messages.size(), 1u);
    EXPECT_EQ(noCd.Messages[0].Kind, MsgKind::Error);
    EXPECT_EQ(noCd.Messages[0].Text, "CD/DVD Rom not present! Vexamo cannot load...");
    EXPECT_TRUE(Globals.MainForm->Terminated);
    EXPECT_EQ(host.terminated, 1);
    EXPECT_TRUE(noCd.TrayCalls.empty());
}

TEST_F(MainFormTest, FirstRunOpensTheConfigurationWindowWithStatusItemDisabled) {
    fake.AddFile("C:\\Vexamo\\Vexamo.ini", "[Main]\r\nStatus=On\r\n");
    Start();
    EXPECT_TRUE(started);
    // The configuration window loads the settings; with nobody in its list it switches monitoring
    // off and shows that status, and being on screen it keeps the icon out of the tray.
    EXPECT_EQ(Globals.Vexamo->Status, 1);
    EXPECT_FALSE(fake.TrayIconShown);
    EXPECT_EQ(windows.configWindows, 1);
    ASSERT_TRUE(Globals.frmMain);
    EXPECT_TRUE(Globals.frmMain->Visible);
    EXPECT_FALSE(Item(TMainForm::mnuStatus).Enabled);
    EXPECT_EQ(Item(TMainForm::mnuStatus).Caption, "Set Monitoring &On");
}

TEST_F(MainFormTest, OnlyATestRunLogsWhereItsStartWentAndInOneLine) {
    struct TestRun {
        explicit TestRun(bool on) { Globals.DebugRun = on; }
        ~TestRun() { Globals.DebugRun = false; }
    };
    Installed();
    const std::string log = "C:\\Vexamo\\Vexamo.log";
    {
        TestRun ordinary(false);
        Globals.Trace.Begin("entry");  // as the program entry does
        ASSERT_TRUE(Start().IconInTray());
        EXPECT_FALSE(fake.FileExists(log)) << "an ordinary start writes no log";
    }
    Globals.Reset();
    {
        TestRun traced(true);
        Globals.Trace.Begin("entry");
        ASSERT_TRUE(Start().IconInTray());
        const std::string line = fake.Content(log).value_or("");
        EXPECT_EQ(line.find("\r\n"), line.size() - 2) << line;
        size_t at = line.find("Trace: entry +0.0 ms");
        for (const char* step : {", autorun checked +", ", drives +", ", settings +", ", players checked +",
                                 ", status and tray icon +", " ms = "}) {
            const size_t next = line.find(step, at);
            ASSERT_NE(next, std::string::npos) << step << " after " << at << " in " << line;
            at = next;
        }
        EXPECT_EQ(Globals.Trace.Take(), "") << "the trace was taken with the start";
    }
    Globals.Reset();
    fake.DeleteFile(log);
    fake.DeleteFile("C:\\Vexamo\\Selection.ini");
    {
        TestRun traced(true);
        Globals.Trace.Begin("entry");
        Start();
        ASSERT_NE(Globals.frmMain, nullptr);
        EXPECT_NE(fake.Content(log).value_or("").find(", drives +"), std::string::npos);
        EXPECT_NE(fake.Content(log).value_or("").find(" ms, configuration window +"), std::string::npos)
            << "the first start's window is part of its start-up";
    }
}

TEST_F(MainFormTest, StartUpErrorWithNothingOnScreenEndsTheAgent) {
    windows.failWindows = true;  // first run, and the configuration window cannot be made
    Start();
    EXPECT_FALSE(started);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Text, "no window");
}

TEST_F(MainFormTest, NoActionOnDeviceOrTrayMessagesBeforeStartUpIsDone) {
    // Messages reach the hidden window while the start-up boxes are on screen, before the core
    // object exists; and after a refused start nothing may put an icon up.
    fake.SetDisc("D:\\", "FILMS");
    Installed();
    Globals.MainForm = std::make_unique<TMainForm>(host.Binding());
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    Globals.MainForm->WMTrayNotify(TrayDoubleClick);
    Globals.MainForm->TaskbarCreated();
    EXPECT_TRUE(fake.TrayCalls.empty());
    EXPECT_EQ(windows.configWindows, 0);

    FakePlatform noCd;
    noCd.AddFolder("C:\\Vexamo");
    noCd.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 1);
    Start();
    EXPECT_FALSE(started);
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    Globals.MainForm->WMDeviceChange(DeviceRemoveComplete);
    EXPECT_TRUE(noCd.TrayCalls.empty());
}

TEST_F(MainFormTest, DisabledMenuItemDoesNothingWhateverTheOpenMenuShowed) {
    Installed();
    Start();
    ASSERT_FALSE(Item(TMainForm::mnuSPlay).Enabled);  // no disc
    const int refreshes = host.menuRefreshes;
    Globals.MainForm->ItemClick(TMainForm::mnuSPlay);
    EXPECT_EQ(windows.configWindows, 0);
    // A refresh while the menu is open tells the binding, which re-enables the open menu's items.
    fake.SetDisc("D:\\", "FILMS");
    Globals.MainForm->UpdateStatus(Caller::MainForm);
    EXPECT_GT(host.menuRefreshes, refreshes);
    EXPECT_TRUE(Item(TMainForm::mnuSPlay).Enabled);
}

TEST_F(MainFormTest, StatusItemPictureFollowsTheStatusBeforeAnyRefresh) {
    Installed("[Main]\r\nStatus=On\r\n");
    fake.DeleteFile("C:\\Winamp\\winamp.exe");  // the player check fails: the window opens
    Start();
    // With no usable player the window switches monitoring off; the picture follows.
    EXPECT_EQ(Globals.Vexamo->Status, 1);
    EXPECT_EQ(Globals.MainForm->TrayMenuItem(TMainForm::mnuStatus).ImageIndex, 1);
    // Whatever changes the status next, the picture shows it without waiting for a refresh.
    Globals.Vexamo->Status = 0;
    EXPECT_EQ(Globals.MainForm->TrayMenuItem(TMainForm::mnuStatus).ImageIndex, 4);
}

TEST_F(MainFormTest, FailedMonitoringToggleKeepsTheStatus) {
    Installed("[Main]\r\nStatus=On\r\n");
    Start();
    fake.SetReadOnly("C:\\Vexamo\\Vexamo.ini");
    EXPECT_THROW(Globals.MainForm->mnuStatusClick(), IniFileError);
    EXPECT_EQ(Globals.Vexamo->Status, 0);
    EXPECT_EQ(Item(TMainForm::mnuStatus).Caption, "Set Monitoring O&ff");
    EXPECT_EQ(Tip(), "Vexamo: Ready (No CD on Monitored Drives)");
}

TEST_F(MainFormTest, NoSelectedPlayerInstalledOpensConfigurationWindow) {
    Installed();
    fake.DeleteFile("C:\\Winamp\\winamp.exe");
    Start();
    ASSERT_EQ(fake.Messages.size(), 1u);
    ASSERT_TRUE(Globals.frmMain);
    EXPECT_TRUE(Globals.frmMain->Visible);
    EXPECT_FALSE(Item(TMainForm::mnuStatus).Enabled);
    // The window found no usable player, switched monitoring off and showed that status.
    EXPECT_EQ(Item(TMainForm::mnuStatus).Caption, "Set Monitoring &On");
    EXPECT_FALSE(fake.TrayIconShown);
}

// --- status -----------------------------------------------------------------------------------

TEST_F(MainFormTest, StatusRows) {
    struct Row {
        const char* settings;
        bool disc;
        const char* tip;
        const char* caption;
        bool scanEnabled;
        std::uintptr_t icon;
        bool result;
    } rows[] = {
        {"[Main]\r\nStatus=Off\r\n", true, "Vexamo: Not Ready", "Set Monitoring &On", false, IconOff, false},
        {"[Main]\r\nStatus=On\r\n", true, "Vexamo: Ready (CD Detected)", "Set Monitoring O&ff", true, IconOn, true},
        {"[Main]\r\nStatus=On\r\n", false, "Vexamo: Ready (No CD on Monitored Drives)", "Set Monitoring O&ff", false,
         IconOn, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tip);
        fake.SetDisc("D:\\", row.disc ? std::optional<std::string>("FILMS") : std::nullopt);
        Installed(row.settings);
        Start();
        fake.TrayCalls.clear();
        EXPECT_EQ(Globals.MainForm->UpdateStatus(Caller::MainForm), row.result);
        // Each call is a round trip to the taskbar: the icon asked for (already there), then one
        // update with the tip and the picture together.
        ASSERT_EQ(fake.TrayCalls.size(), 2u);
        EXPECT_EQ(fake.TrayCalls[1].Action, NotifyAction::Modify);
        EXPECT_EQ(Tip(), row.tip);
        EXPECT_EQ(Item(TMainForm::mnuStatus).Caption, row.caption);
        EXPECT_TRUE(Item(TMainForm::mnuStatus).Enabled);
        EXPECT_EQ(Item(TMainForm::mnuSPlay).Enabled, row.scanEnabled);
        EXPECT_EQ(fake.TrayState.Icon, row.icon);
        EXPECT_EQ(fake.TrayState.Flags, 7u);
        EXPECT_EQ(fake.TrayState.CallbackMessage, 1025u);
        EXPECT_EQ(fake.TrayState.Wnd, 0x1234u);
        TearDown();
    }
}

TEST_F(MainFormTest, AStartPutsTheIconInTheTrayInOneCallWithItsTipAndPicture) {
    fake.SetDisc("D:\\", "FILMS");
    Installed("[Main]\r\nStatus=On\r\n");
    fake.TrayCalls.clear();
    Start();
    ASSERT_EQ(fake.TrayCalls.size(), 1u);
    EXPECT_EQ(fake.TrayCalls[0].Action, NotifyAction::Add);
    EXPECT_EQ(std::string(fake.TrayCalls[0].Data.Tip), "Vexamo: Ready (CD Detected)");
    EXPECT_EQ(fake.TrayCalls[0].Data.Icon, IconOn);
    // An icon a window took away comes back the same way.
    Globals.MainForm->RemoveTrayIcon();
    fake.TrayCalls.clear();
    Globals.MainForm->UpdateStatus(Caller::MainForm);
    ASSERT_EQ(fake.TrayCalls.size(), 1u);
    EXPECT_EQ(std::string(fake.TrayState.Tip), "Vexamo: Ready (CD Detected)");
}

TEST_F(MainFormTest, DiscOnlyInUnmonitoredDrive) {
    fake.SetDisc("E:\\", "OTHER");
    Installed("[Main]\r\nStatus=On\r\n[Monitor]\r\nDrives=D:\\\r\n");
    Start();
    EXPECT_EQ(Globals.StatusSuffix, " (No CD on Monitored Drives)");
    EXPECT_FALSE(Item(TMainForm::mnuSPlay).Enabled);
}

TEST_F(MainFormTest, ConfigurationWindowGetsStatusBarAndScanButton) {
    fake.SetDisc("E:\\", "OTHER");
    Installed("[Main]\r\nStatus=On\r\n[Monitor]\r\nDrives=E:\\\r\nScanAll=0\r\n");
    Start();
    Globals.MainForm->MnuOpenClick();
    ASSERT_TRUE(Globals.frmMain);
    Globals.frmMain->FormActivate();
    EXPECT_FALSE(fake.TrayIconShown);
    Globals.Vexamo->DiscLabel = "OTHER";
    EXPECT_TRUE(Globals.MainForm->UpdateStatus(Caller::ConfigWindow));
    EXPECT_EQ(Globals.frmMain->stStatus.Panels[0].Text, "Device(s): E:\\");
    EXPECT_EQ(Globals.frmMain->stStatus.Panels[1].Text, "Ready (CD Detected)");
    EXPECT_EQ(Globals.frmMain->stStatus.Panels[2].Text, "Label: OTHER");
    EXPECT_TRUE(Globals.frmMain->btScanNow.Enabled);
    EXPECT_FALSE(fake.TrayIconShown);  // the visible window stands in for the icon

    Globals.Vexamo->Settings->Monitor.ScanAll = true;
    fake.SetDisc("E:\\", std::nullopt);
    EXPECT_FALSE(Globals.MainForm->UpdateStatus(Caller::MainForm));
    EXPECT_EQ(Globals.frmMain->stStatus.Panels[0].Text, "Device(s): D:\\ E:\\");
    EXPECT_EQ(Globals.frmMain->stStatus.Panels[2].Text, "");
    EXPECT_FALSE(Globals.frmMain->btScanNow.Enabled);

    Globals.frmMain->Close();
    EXPECT_FALSE(Globals.frmMain);
    EXPECT_TRUE(fake.TrayIconShown);
    EXPECT_EQ(windows.frm.destroyed, 1);
}

TEST_F(MainFormTest, MonitoringToggleWritesOnlyTheStatus) {
    fake.SetDisc("D:\\", "FILMS");
    const std::string settings = "[Main]\r\nStatus=On\r\n[Monitor]\r\nScanAll=1\r\n[SubTitles]\r\nPath=C:\\S\\\r\n";
    Installed(settings);
    Start();
    Globals.Vexamo->Settings->Monitor.ScanAll = false;  // unsaved in memory: must not reach the file
    Globals.MainForm->mnuStatusClick();
    EXPECT_EQ(Globals.Vexamo->Status, 1);
    EXPECT_EQ(*fake.Content("C:\\Vexamo\\Vexamo.ini"),
              "[Main]\r\nStatus=Off\r\n[Monitor]\r\nScanAll=1\r\n[SubTitles]\r\nPath=C:\\S\\\r\n");
    EXPECT_EQ(Tip(), "Vexamo: Not Ready");
    EXPECT_EQ(fake.TrayState.Icon, IconOff);
    EXPECT_FALSE(Item(TMainForm::mnuSPlay).Enabled);
    EXPECT_EQ(Globals.MainForm->TrayMenuItem(TMainForm::mnuStatus).ImageIndex, 1);
    Globals.MainForm->ItemClick(TMainForm::mnuStatus);
    EXPECT_EQ(Globals.Vexamo->Status, 0);
    EXPECT_EQ(Globals.MainForm->TrayMenuItem(TMainForm::mnuStatus).ImageIndex, 4);
    EXPECT_TRUE(Item(TMainForm::mnuSPlay).Enabled);
}

TEST_F(MainFormTest, ArrivalOfAnyDeviceReexaminesMonitoredDrives) {
    Installed();
    Start();
    EXPECT_FALSE(Item(TMainForm::mnuSPlay).Enabled);
    fake.SetDisc("E:\\", "NEW");
    fake.AddFile("E:\\song.mp3");
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    EXPECT_TRUE(Item(TMainForm::mnuSPlay).Enabled);
    EXPECT_EQ(Tip(), "Vexamo: Ready (CD Detected)");
    // A scan run took a hidden configuration window, played the disc and ended the window,
    // giving the icon back.
    EXPECT_EQ(windows.configWindows, 1);
    ASSERT_EQ(fake.Started.size(), 1u);
    EXPECT_EQ(fake.Started[0].Parameters, "\"E:\\song.mp3\"");
    EXPECT_FALSE(Globals.frmMain);
    EXPECT_TRUE(fake.TrayIconShown);

    fake.SetDisc("E:\\", std::nullopt);
    Globals.MainForm->WMDeviceChange(DeviceRemoveComplete);
    EXPECT_EQ(Tip(), "Vexamo: Ready (No CD on Monitored Drives)");
    EXPECT_EQ(windows.configWindows, 1);

    Globals.MainForm->WMDeviceChange(7);  // DBT_DEVNODES_CHANGED: nothing at all
    EXPECT_EQ(windows.configWindows, 1);
}

TEST_F(MainFormTest, ArrivalWhileMonitoringOffOnlyRefreshes) {
    Installed("[Main]\r\nStatus=Off\r\n");
    Start();
    fake.SetDisc("D:\\", "FILMS");
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    EXPECT_EQ(Tip(), "Vexamo: Not Ready");
    EXPECT_FALSE(Item(TMainForm::mnuSPlay).Enabled);
    EXPECT_EQ(windows.configWindows, 0);
}

// --- tray ---------------------------------------------------------------------------------------

TEST_F(MainFormTest, TrayMouseMessages) {
    Installed();
    Start();
    Globals.MainForm->WMTrayNotify(512);  // mouse move
    EXPECT_EQ(host.popups + windows.configWindows, 0);
    Globals.MainForm->WMTrayNotify(TrayRightButton);
    EXPECT_EQ(host.popups, 1);
    Globals.MainForm->WMTrayNotify(TrayDoubleClick);
    ASSERT_TRUE(Globals.frmMain);
    EXPECT_TRUE(Globals.frmMain->Visible);
    EXPECT_EQ(windows.frm.shown, 1);
}

TEST_F(MainFormTest, MenuHasItsItemsAndExitClosesRemovingTheIcon) {
    Installed();
    Start();
    const char* captions[] = {"&Scan/Play CD", "-", "Set Monitoring O&ff", "-", "O&pen", "&Settings...", "-",
                              "About...", "-", "E&xit"};
    const int pictures[] = {0, -1, 4, -1, -1, 2, -1, -1, -1, 3};
    for (int i = 0; i < TMainForm::ItemCount; ++i) {
        EXPECT_EQ(Globals.MainForm->PopUpSysTray.Items[i].Caption, captions[i]);
        EXPECT_EQ(Globals.MainForm->TrayMenuItem(static_cast<TMainForm::Item>(i)).ImageIndex, pictures[i]);
    }
    Globals.MainForm->ItemClick(TMainForm::mnuExit);
    EXPECT_EQ(host.closeRequests, 1);
    Globals.MainForm->FormClose();
    Globals.MainForm->FormDestroy();
    EXPECT_FALSE(fake.TrayIconShown);
}

TEST_F(MainFormTest, TaskbarRestartBringsTheIconBackOnlyIfItWasThere) {
    Installed();
    Start();
    fake.TrayIconShown = false;  // Explorer restarted: every icon is gone
    Globals.MainForm->TaskbarCreated();
    EXPECT_TRUE(fake.TrayIconShown);

    Globals.MainForm->RemoveTrayIcon();  // e.g. while the configuration window is on screen
    Globals.MainForm->TaskbarCreated();
    EXPECT_FALSE(fake.TrayIconShown);
}

TEST(TrayTip, LongTipIsCutWithEllipsisInsideTheField) {
    EXPECT_EQ(FitTrayTip("Vexamo: Ready"), "Vexamo: Ready");
    const std::string exact(63, 'x');
    EXPECT_EQ(FitTrayTip(exact), exact);
    const std::string longTip = "Vexamo: Ready [No files associated with current Players Found !]";
    const std::string fitted = FitTrayTip(longTip);
    EXPECT_EQ(fitted.size(), 63u);
    EXPECT_EQ(fitted, longTip.substr(0, 60) + "...");

    FakePlatform fake;
    FakeHost host;
    TMainForm form(host.Binding());
    form.TrayIconData.Tip[63] = 'Z';  // the byte after the visible characters stays a terminator
    form.SetTrayTip(std::string(200, 'y'));
    EXPECT_EQ(std::string(form.TrayIconData.Tip).size(), 63u);
    EXPECT_EQ(form.TrayIconData.Tip[63], '\0');
}

TEST(MenuAccessKeys, UniqueKeyRunsSharedKeySelectsInTurn) {
    std::vector<std::string> captions = {"&Scan/Play CD", "", "Set Monitoring O&ff", "", "O&pen", "&Settings...",
                                         "", "About...", "", "E&xit", "Fish && &Chips"};
    std::vector<bool> enabled = {false, false, true, false, true, true, false, true, false, true, true};
    auto key = [&](char c, int selected = -1) {
        const MenuKeyAnswer a = MenuAccessKey(captions, enabled, c, selected);
        return std::make_pair(a.Index, a.Execute);
    };
    EXPECT_EQ(key('x'), std::make_pair(9, true));
    EXPECT_EQ(key('X'), std::make_pair(9, true));
    EXPECT_EQ(key('f'), std::make_pair(2, true));
    // "S" is both the disabled scan item and settings: the enabled one runs.
    EXPECT_EQ(key('s'), std::make_pair(5, true));
    EXPECT_EQ(key('a').first, -1);  // "About..." has no access key
    EXPECT_EQ(key('c'), std::make_pair(10, true));  // "&&" is a plain ampersand

    // With both enabled, "S" only selects, moving on with each press and wrapping round.
    enabled[0] = true;
    EXPECT_EQ(key('s'), std::make_pair(0, false));
    EXPECT_EQ(key('s', 0), std::make_pair(5, false));
    EXPECT_EQ(key('s', 5), std::make_pair(0, false));
}

TEST(MenuNumbers, ItemsAreNumberedDepthFirstAndAccessKeysSkipWhatCannotBeChosen) {
    TPopupMenu menu;
    auto item = [](const char* caption, bool enabled = true) {
        TMenuItem i;
        i.Caption = caption;
        i.Enabled = enabled;
        return i;
    };
    TMenuItem play = item("&Play");
    play.Items = {item("&One"), item("&All")};
    menu.Items = {item("&Open"), play, item("-"), item("&Close", false), item("&Quit")};
    const std::vector<std::pair<int, TMenuPlace>> numbers = {
        {0, {0, -1}}, {1, {1, -1}}, {2, {1, 0}}, {3, {1, 1}}, {4, {2, -1}}, {5, {3, -1}}, {6, {4, -1}}};
    for (const auto& [number, place] : numbers) {
        EXPECT_EQ(menu.NumberOf(place), number);
        EXPECT_EQ(menu.PlaceOf(number), place);
    }
    EXPECT_EQ(menu.PlaceOf(7).Item, -1);
    EXPECT_EQ(menu.PlaceOf(-1).Item, -1);
    EXPECT_EQ(menu.NumberOf({1, 2}), -1);
    EXPECT_EQ(menu.NumberOf({9, -1}), -1);
    EXPECT_EQ(menu.NumberOfCommand(TPopupMenu::CommandOf(3)), 3);
    for (unsigned none : {TPopupMenu::CommandOf(7), TPopupMenu::FirstCommand - 1, 0u})
        EXPECT_EQ(menu.NumberOfCommand(none), -1) << none;

    EXPECT_EQ(menu.AccessKey('q', -1).Index, 4);
    EXPECT_EQ(menu.AccessKey('c', -1).Index, -1) << "a disabled item has no key";
    menu.Items[4].Visible = false;
    EXPECT_EQ(menu.AccessKey('q', -1).Index, -1);

    // A shown menu holds only the visible items: its keys answer by place in what it shows.
    menu.Items[4].Visible = true;
    menu.Items[0].Visible = false;
    EXPECT_EQ(menu.Shown(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(menu.ShownAccessKey('q', -1).Index, 3);
    EXPECT_EQ(menu.ShownAccessKey('o', -1).Index, -1) << "a hidden item has no key";
    EXPECT_EQ(menu.ShownAccessKey('p', -1).Index, 0);
}

TEST_F(MainFormTest, TrayMenuCommandsRunTheNumberedItemUnlessItCannotBeChosen) {
    Installed();
    Start();
    const TPopupMenu& menu = Globals.MainForm->PopUpSysTray;
    Globals.MainForm->TrayMenuCommand(menu.NumberOf({TMainForm::mnuSPlay}));  // no disc: disabled
    for (int nothing : {menu.NumberOf({TMainForm::N1}), -1, static_cast<int>(TMainForm::ItemCount)})
        Globals.MainForm->TrayMenuCommand(nothing);
    EXPECT_EQ(windows.configWindows, 0);
    Globals.MainForm->TrayMenuCommand(menu.NumberOf({TMainForm::MnuOpen}));
    EXPECT_EQ(windows.configWindows, 1);
    EXPECT_TRUE(Globals.frmMain && Globals.frmMain->Visible);
}

TEST_F(MainFormTest, TrayMenuKeyAnswersFromTheLiveStates) {
    fake.SetDisc("D:\\", "FILMS");
    Installed();
    Start();
    EXPECT_FALSE(Globals.MainForm->TrayMenu().AccessKey('s', -1).Execute);  // scan and settings share "S"
    fake.SetDisc("D:\\", std::nullopt);
    Globals.MainForm->WMDeviceChange(DeviceRemoveComplete);
    const MenuKeyAnswer settings = Globals.MainForm->TrayMenu().AccessKey('s', -1);
    EXPECT_EQ(settings.Index, TMainForm::mnuSettings);
    EXPECT_TRUE(settings.Execute);
}

// --- unhandled errors ---------------------------------------------------------------------------

TEST(ErrorLog, LineFormatAndAppendThenBox) {
    FakePlatform fake;
    fake.AddFolder("C:\\Vexamo");
    ExeName = "C:\\Vexamo\\Vexamo.exe";
    fake.Clock = LocalTime{2026, 12, 7, 14, 5, 31};
    EXPECT_EQ(ErrorLogLine("Division by zero"), "07-12-26 14:05:31:Division by zero");

    fake.AddFile("C:\\Vexamo\\Vexamo.log", "old line\r\n");
    NullTray tray;
    TfrmMain form(tray, nullptr);
    form.AppEventsException("Unable to write to C:\\Vexamo\\Vexamo.ini");
    EXPECT_EQ(*fake.Content("C:\\Vexamo\\Vexamo.log"),
              "old line\r\n07-12-26 14:05:31:Unable to write to C:\\Vexamo\\Vexamo.ini\r\n");
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Error);
    EXPECT_EQ(fake.Messages[0].Caption, "Vexamo");
}

TEST(ErrorLog, UnwritableLogStillShowsTheError) {
    FakePlatform fake;
    fake.AddFolder("C:\\Vexamo");
    fake.SetReadOnly("C:\\Vexamo");
    ExeName = "C:\\Vexamo\\Vexamo.exe";
    NullTray tray;
    TfrmMain form(tray, nullptr);
    ASSERT_NO_THROW(form.AppEventsException("Boom"));
    EXPECT_FALSE(fake.FileExists("C:\\Vexamo\\Vexamo.log"));
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Text, "Boom");
}

TEST(ErrorLog, OnlyLoggedWhileAConfigurationWindowExists) {
    FakePlatform fake;
    fake.AddFolder("C:\\Vexamo");
    ExeName = "C:\\Vexamo\\Vexamo.exe";
    HandleException(Error("first"));
    EXPECT_FALSE(fake.FileExists("C:\\Vexamo\\Vexamo.log"));
    NullTray tray;
    Globals.frmMain = std::make_unique<TfrmMain>(tray, nullptr);
    HandleException(Error("second"));
    Globals.frmMain.reset();
    EXPECT_EQ(fake.Content("C:\\Vexamo\\Vexamo.log"), "07-12-26 14:05:31:second\r\n");
    EXPECT_EQ(fake.Messages.size(), 2u);
}

// --- the word from the tray ----------------------------------------------------------------------

TEST_F(MainFormTest, AScanADiscArrivalStartedEndsWithABalloonAndOnlySuch) {
    Installed();
    Start();
    fake.SetDisc("E:\\", "MY_DISC");
    fake.AddFile("E:\\song.mp3");
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    ASSERT_EQ(fake.Balloons.size(), 1u);
    EXPECT_EQ(fake.Balloons[0].Title, "Vexamo");
    EXPECT_EQ(fake.Balloons[0].Text, "Playing song.mp3 from E:\\ (MY_DISC) with Winamp");
    EXPECT_TRUE(fake.TrayIconShown) << "shown over the icon that came back";

    // Started by hand from the tray menu: no balloon.
    Globals.MainForm->ItemClick(TMainForm::mnuSPlay);
    EXPECT_EQ(fake.Started.size(), 2u);
    EXPECT_EQ(fake.Balloons.size(), 1u);

    // Nothing for the players on the disc.
    fake.DeleteFile("E:\\song.mp3");
    fake.AddFile("E:\\notes.txt");
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    ASSERT_EQ(fake.Balloons.size(), 2u);
    EXPECT_EQ(fake.Balloons[1].Text,
              "Nothing on E:\\ (MY_DISC) for your players: give its file types to a player in the configuration window");

    // The player's program is gone: nothing started, and the tray says why.
    fake.AddFile("E:\\song.mp3");
    fake.DeleteFile("C:\\Winamp\\winamp.exe");
    fake.ShellResult = 2;
    Globals.DebugRun = true;
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    Globals.DebugRun = false;
    ASSERT_EQ(fake.Balloons.size(), 3u);
    EXPECT_EQ(fake.Balloons[2].Text, "Winamp could not be started: C:\\Winamp\\winamp.exe is missing");
    EXPECT_FALSE(Globals.PlayerStarted);
    EXPECT_NE(fake.Content("C:\\Vexamo\\Vexamo.log").value_or("").find(
                  ":Notice: Winamp could not be started: C:\\Winamp\\winamp.exe is missing\r\n"),
              std::string::npos)
        << "a debug run logs what it tells";
}

TEST_F(MainFormTest, ARunOnAHiddenWindowMakesNoRealWindowUntilOneIsShown) {
    Installed();
    Start();
    fake.SetDisc("D:\\", "FILMS");
    fake.AddFile("D:\\song.mp3");
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    Globals.MainForm->ItemClick(TMainForm::mnuSPlay);
    EXPECT_EQ(fake.Started.size(), 2u);
    // Nothing found: the hidden window stays for the next arrival, still without a real one.
    fake.DeleteFile("D:\\song.mp3");
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    ASSERT_TRUE(Globals.frmMain);
    EXPECT_EQ(windows.configWindows, 3);
    EXPECT_EQ(windows.frm.made, 0);
    EXPECT_EQ(Globals.frmMain->stStatus.Panels[TfrmMain::PanelStatus].Text, "Ready (CD Detected)");

    // Opened, the window is made once and shows what the status gave it.
    Globals.MainForm->ItemClick(TMainForm::MnuOpen);
    EXPECT_EQ(windows.frm.made, 1);
    EXPECT_EQ(windows.frm.shown, 1);
    EXPECT_FALSE(fake.TrayIconShown);
    Globals.frmMain->Close();
    EXPECT_EQ(windows.frm.destroyed, 1);
    EXPECT_TRUE(fake.TrayIconShown);
}

TEST_F(MainFormTest, NoBalloonWhenSwitchedOffAndAClickOnOneOpensTheConfigurationWindow) {
    Installed("[Main]\r\nStatus=On\r\n[Monitor]\r\nNotify=0\r\n");
    Start();
    fake.SetDisc("D:\\", "FILMS");
    fake.AddFile("D:\\song.mp3");
    Globals.MainForm->WMDeviceChange(DeviceArrival);
    EXPECT_EQ(fake.Started.size(), 1u);
    EXPECT_TRUE(fake.Balloons.empty());
    EXPECT_TRUE(fake.Content("C:\\Vexamo\\Vexamo.log").value_or("").empty());

    Globals.MainForm->WMTrayNotify(TrayBalloonClick);
    ASSERT_TRUE(Globals.frmMain);
    EXPECT_TRUE(Globals.frmMain->Visible);
}
