// The options window and the about box, opened through the tray agent and driven as a user would.
#include <gtest/gtest.h>

#include <functional>

#include "agent/Init.h"
#include "support/FakePlatform.h"
#include "support/WindowFakes.h"
#include "ui/About.h"
#include "ui/Settings.h"
#include "ui/main.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace {

const std::string Ini = "C:\\Vexamo\\Vexamo.ini";
const std::string QuotedExe = "\"C:\\Vexamo\\Vexamo.exe\"";

// The real window's part: runs what the user does while the window is shown.
class FakeOptionsHost : public FrmOptionsHost {
public:
    int ShowModal(TFrmOptions& form) override {
        ++shown;
        result = ModalCancel;
        if (user) user(form);
        return result;
    }
    void Close(TFrmOptions&, int modalResult) override { result = modalResult; }
    std::optional<std::string> ChooseFolder(const std::string& t, const std::string& pre) override {
        title = t;
        preselected = pre;
        return folder;
    }
    std::function<void(TFrmOptions&)> user;
    std::optional<std::string> folder;
    std::string title, preselected;
    int shown = 0, result = 0;
};

// The agent's window, the windows it opens and what their users do.
struct AgentHost {
    AgentHost() {
        windows.options = &options;
        windows.about = &about;
    }
    test::FakeWindows windows;
    test::FakeMainFormHost main;
    test::FrmMainHostLog& frm = windows.frm;
    FakeOptionsHost options;
    test::FakeAboutHost about;
};

class Options : public ::testing::Test {
protected:
    void SetUp() override {
        fake.AddFolder("C:\\Vexamo");
        fake.AddDrive("C:\\", DriveKind::Fixed);
        fake.AddDrive("D:\\", DriveKind::CdRom);
        fake.AddDrive("E:\\", DriveKind::CdRom);
        fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 1);
        fake.AddRegKey(RegRoot::LocalMachine, RunKey);
        ExeName = "C:\\Vexamo\\Vexamo.exe";
        fake.AddFile("C:\\Vexamo\\Selection.ini", "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3\r\n");
        fake.AddFile("C:\\Vexamo\\Players.ini", "[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n");
        fake.AddFile("C:\\Winamp\\winamp.exe");
    }
    void TearDown() override { Globals.Reset(); }

    TMainForm& Start(const std::string& settings = "[Main]\r\nStatus=On\r\n") {
        fake.AddFile(Ini, settings);
        Globals.MainForm = std::make_unique<TMainForm>(host.main.Binding());
        EXPECT_TRUE(Globals.MainForm->Start());
        fake.Messages.clear();
        return *Globals.MainForm;
    }
    // "&Settings..." from the tray menu, the user doing `user` in the window.
    void FromTray(std::function<void(TFrmOptions&)> user) {
        host.options.user = std::move(user);
        Globals.MainForm->ItemClick(TMainForm::mnuSettings);
    }
    std::string IniText() const { return fake.Content(Ini).value_or(""); }
    std::string Value(const std::string& section, const std::string& key) {
        return fake.IniReadString(Ini, section, key, "<none>");
    }
    const TSettings& Settings() const { return *Globals.Vexamo->Settings; }

    FakePlatform fake;
    AgentHost host;
};

}  // namespace

// --- what the window shows ---------------------------------------------------------------------

TEST_F(Options, ShowsTheSettingsAndTheMachinesDrives) {
    Start("[Main]\r\nStatus=On\r\n[Monitor]\r\nDrives=E:\\\r\nOnPlayClose=1\r\n[Windows]\r\nAutoCD=1\r\n"
          "[SubTitles]\r\nAuto=0\r\nPath=C:\\Subs\\\r\n");
    FromTray([](TFrmOptions& f) {
        EXPECT_EQ(f.Caption, "Vexamo Settings");
        EXPECT_EQ(f.lblSubtitles.Caption, "(*.sub*.srt*.ssa)");
        EXPECT_EQ(f.Settings_cbDrives.Items, (StringList{"D:\\", "E:\\"}));
        EXPECT_EQ(f.Settings_cbDrives.Text, "E:\\");
        EXPECT_TRUE(f.Settings_DrivesUser.Checked && !f.Settings_DrivesAll.Checked);
        EXPECT_TRUE(f.Settings_cbDrives.Enabled);
        EXPECT_TRUE(f.rdOnPlayClose.Checked && !f.rdOnPlayMin.Checked);
        EXPECT_TRUE(f.Settings_CDAutorun.Checked && f.Settings_CDAutorun.Enabled);
        EXPECT_FALSE(f.Settings_UseSubs.Checked);
        EXPECT_EQ(f.Settings_SubsPath.Caption, "C:\\Subs\\");
        EXPECT_EQ(f.rdMonitorOn.Hint, "Select this option to start 'Vexamo' READY to monitor Drives ");
        EXPECT_EQ(f.btNone.Hint, "Set ");
        f.Settings_DrivesAllClick();
        EXPECT_FALSE(f.Settings_cbDrives.Enabled);
        f.Settings_DrivesUserClick();
        EXPECT_TRUE(f.Settings_cbDrives.Enabled);
    });
    EXPECT_EQ(host.options.shown, 1);
    EXPECT_FALSE(Globals.FrmOptions) << "the window frees itself when closed";
}

// --- monitored drives --------------------------------------------------------------------------

TEST_F(Options, AllDrivesStoresEveryOpticalDriveAndOneDriveExactlyThatOne) {
    Start();
    FromTray([](TFrmOptions& f) {
        f.Settings_DrivesAllClick();
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Drives"), "D:\\ E:\\");
    EXPECT_EQ(Value("Monitor", "ScanAll"), "1");
    EXPECT_EQ(Settings().Monitor.Drives, (StringList{"D:\\", "E:\\"}));

    FromTray([](TFrmOptions& f) {
        f.Settings_DrivesUserClick();
        f.Settings_cbDrives.ItemIndex = 1;
        f.Settings_cbDrives.Text = "E:\\";
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Drives"), "E:\\");
    EXPECT_EQ(Value("Monitor", "ScanAll"), "0");
    EXPECT_EQ(Settings().Monitor.Drives, StringList{"E:\\"});
}

TEST_F(Options, NoDriveChosenInTheListKeepsTheMonitoredDrives) {
    // F: is an optical drive added after start-up: monitored, but not in the agent's drive list.
    Start("[Monitor]\r\nDrives=F:\\\r\n");
    fake.AddDrive("F:\\", DriveKind::CdRom);
    FromTray([](TFrmOptions& f) {
        EXPECT_EQ(f.Settings_cbDrives.ItemIndex, -1);
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Drives"), "F:\\");
    EXPECT_EQ(Settings().Monitor.Drives, StringList{"F:\\"});
}

// --- OK and Cancel -----------------------------------------------------------------------------

TEST_F(Options, OkWithoutChangesTouchesNoSwitchButSavesAndRefreshes) {
    Start("[Main]\r\nStatus=On\r\n[Windows]\r\nAutoCD=1\r\n");
    fake.TrayCalls.clear();
    FromTray([&](TFrmOptions& f) {
        EXPECT_FALSE(Globals.MainForm->IconInTray());
        f.btOkClick();
    });
    EXPECT_EQ(host.options.result, ModalOk);
    EXPECT_TRUE(fake.Messages.empty()) << fake.Messages.front().Text;
    EXPECT_EQ(Value("Windows", "AutoCD"), "1");
    EXPECT_EQ(Value("Priority", "Player"), "") << "the whole file is written";
    EXPECT_EQ(Value("SubTitles", "Auto"), "1");
    EXPECT_TRUE(Globals.MainForm->IconInTray());
    EXPECT_STREQ(fake.TrayState.Tip, "Vexamo: Ready (No CD on Monitored Drives)");
}

TEST_F(Options, EachSwitchRunsOnlyWhenItsBoxChangedWithItsMessages) {
    Start();
    FromTray([](TFrmOptions& f) {
        f.Settings_CDAutorun.Checked = true;
        f.btOkClick();
    });
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Text,
              "XP AutoPlay feature Disabled !\r\rYou'll have to restart Windows for this settings to take effect !");
    EXPECT_EQ(fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue), 181u);
    EXPECT_FALSE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));

    fake.Messages.clear();
    FromTray([](TFrmOptions& f) {
        f.Settings_Startup.Checked = true;
        f.btOkClick();
    });
    EXPECT_TRUE(fake.Messages.empty()) << "a start-up entry that worked needs no message";
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), QuotedExe);
    EXPECT_EQ(Value("Windows", "AutoStart"), "1");

    FromTray([](TFrmOptions& f) {
        f.Settings_Startup.Checked = false;
        f.Settings_CDAutorun.Checked = false;
        f.btOkClick();
    });
    ASSERT_EQ(fake.Messages.size(), 2u);
    EXPECT_NE(fake.Messages[0].Text.find("Restored !"), std::string::npos) << "AutoPlay first";
    EXPECT_EQ(fake.Messages[1].Text, "'Vexamo' was removed from the registry succesfully...");
    EXPECT_FALSE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));
    EXPECT_FALSE(fake.RegValueExists(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue));
}

TEST_F(Options, RunOnStartupWorksForAnOrdinaryUserThroughTheirOwnRunKey) {
    fake.IgnoreRegWrites(RegRoot::LocalMachine, RunKey);
    Start();
    FromTray([](TFrmOptions& f) {
        f.Settings_Startup.Checked = true;
        f.btOkClick();
    });
    EXPECT_TRUE(fake.Messages.empty()) << fake.Messages.front().Text;
    EXPECT_EQ(fake.RegReadString(RegRoot::CurrentUser, RunKey, "Vexamo"), QuotedExe);
    // The next load reads it back and keeps the box ticked.
    FromTray([](TFrmOptions& f) {
        EXPECT_TRUE(f.Settings_Startup.Checked);
        f.Settings_Startup.Checked = false;
        f.btOkClick();
    });
    EXPECT_FALSE(fake.RegValueExists(RegRoot::CurrentUser, RunKey, "Vexamo"));
    EXPECT_EQ(Value("Windows", "AutoStart"), "0");
}

TEST_F(Options, OffTheNtFamilyAutoPlayBoxIsClearedAndOkRestoresAutoPlay) {
    fake.Platform_Id = 1;
    Start("[Windows]\r\nAutoCD=1\r\n");
    FromTray([](TFrmOptions& f) {
        EXPECT_FALSE(f.Settings_CDAutorun.Checked);
        EXPECT_FALSE(f.Settings_CDAutorun.Enabled);
        f.btOkClick();
    });
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_NE(fake.Messages[0].Text.find("XP AutoPlay feature Restored !"), std::string::npos);
    EXPECT_EQ(Value("Windows", "AutoCD"), "0");
}

TEST_F(Options, CancelChangesNothing) {
    Start("[Main]\r\nStatus=On\r\n[Monitor]\r\nDrives=D:\\\r\n");
    const std::string before = IniText();
    FromTray([](TFrmOptions& f) {
        f.Settings_DrivesAllClick();
        f.Settings_Startup.Checked = true;
        f.Settings_CDAutorun.Checked = true;
        f.btNoneClick();
        f.rdMonitorOnClick();
        f.btCancelClick();
    });
    EXPECT_EQ(host.options.result, ModalCancel);
    EXPECT_EQ(IniText(), before);
    EXPECT_FALSE(Settings().Monitor.ScanAll || Settings().Monitor.AlwaysOn || Settings().Windows.AutoStart);
    EXPECT_FALSE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));
    EXPECT_FALSE(fake.RegValueExists(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue));
    EXPECT_TRUE(fake.Messages.empty());
}

TEST_F(Options, AlwaysReadyIsReadAndStoredThroughTheStartupButtons) {
    Start("[Main]\r\nStatus=Off\r\n");
    FromTray([](TFrmOptions& f) {
        EXPECT_TRUE(f.rdMonitorDefault.Checked && !f.rdMonitorOn.Checked);
        f.rdMonitorOnClick();
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Always On"), "1");
    // The next load (the tray's settings command does one) starts monitoring.
    FromTray([](TFrmOptions& f) {
        EXPECT_TRUE(f.rdMonitorOn.Checked && !f.rdMonitorDefault.Checked);
        f.rdMonitorDefaultClick();
        f.btOkClick();
    });
    EXPECT_EQ(Globals.Vexamo->Status, 0);
    EXPECT_EQ(Value("Monitor", "Always On"), "0");
    Globals.Vexamo->Create();
    EXPECT_FALSE(Settings().Monitor.AlwaysOn);
}

// --- subtitle folder ---------------------------------------------------------------------------

TEST_F(Options, ChosenFolderGetsExactlyOneBackslashAndJoinsTheSearchAtTheNextLoad) {
    Start();
    host.options.folder = "C:\\Subs";
    FromTray([](TFrmOptions& f) {
        f.Settings_SubsPathClick();
        EXPECT_EQ(f.Settings_SubsPath.Caption, "C:\\Subs\\");
        f.btOkClick();
    });
    EXPECT_EQ(host.options.title, "Choose Folder");
    EXPECT_EQ(host.options.preselected, "C:\\");
    EXPECT_EQ(Value("SubTitles", "Path"), "C:\\Subs\\");
    EXPECT_EQ(Settings().Subtitles.Folders, (StringList{"D:\\", "E:\\"})) << "optical drives only until a load";
    Globals.Vexamo->Create();
    EXPECT_EQ(Settings().Subtitles.Folders, (StringList{"D:\\", "E:\\", "C:\\Subs\\"}));

    host.options.folder = "D:\\";  // a drive root already ends with one
    FromTray([](TFrmOptions& f) {
        f.Settings_SubsPathClick();
        EXPECT_EQ(f.Settings_SubsPath.Caption, "D:\\");
    });
}

TEST_F(Options, CancelledChooserKeepsTheFolderAndNoneStoresEmpty) {
    Start("[SubTitles]\r\nPath=C:\\Subs\\\r\n");
    FromTray([](TFrmOptions& f) {
        f.Settings_SubsPathClick();  // the user cancels the chooser
        EXPECT_EQ(f.Settings_SubsPath.Caption, "C:\\Subs\\");
        f.btNoneClick();
        EXPECT_EQ(f.Settings_SubsPath.Caption, "(Choose subtitles folder)");
        f.btOkClick();
    });
    EXPECT_EQ(Value("SubTitles", "Path"), "");
    EXPECT_EQ(Settings().Subtitles.Path, "");
}

// --- the tray icon -----------------------------------------------------------------------------

TEST_F(Options, TrayIconIsAwayWhileOpenAndBackAfterUnlessTheOpenConfigWindowOpenedIt) {
    Start();
    ASSERT_TRUE(Globals.MainForm->IconInTray());
    FromTray([](TFrmOptions& f) {
        EXPECT_FALSE(Globals.MainForm->IconInTray());
        f.btCancelClick();
    });
    EXPECT_TRUE(Globals.MainForm->IconInTray());

    Globals.MainForm->MnuOpenClick();
    Globals.frmMain->FormActivate();
    ASSERT_FALSE(Globals.MainForm->IconInTray());
    host.options.user = [](TFrmOptions& f) { f.btOkClick(); };
    Globals.MainForm->ShowOptions(Caller::ConfigWindow);
    EXPECT_FALSE(Globals.MainForm->IconInTray()) << "the configuration window gives it back when it closes";
    Globals.frmMain->Close();
    EXPECT_TRUE(Globals.MainForm->IconInTray());
}

// --- the about box -----------------------------------------------------------------------------

TEST_F(Options, AboutBoxShowsTheVersionOpensItsLinksAndOnlyOneAtATime) {
    Start();
    host.about.user = [](TAboutBox& box) {
        EXPECT_EQ(box.Caption, "About");
        EXPECT_EQ(box.lblVersion.Caption, "V.1.0.0.0");
        Globals.MainForm->ItemClick(TMainForm::mnuAbout);  // a second "About..." meanwhile
        box.lblVexamoClick();
        box.lblUrlClick();
        box.lblLinkSupportClick();
        box.OKButtonClick();
    };
    Globals.MainForm->ItemClick(TMainForm::mnuAbout);
    EXPECT_EQ(host.about.shown, 1);
    EXPECT_EQ(host.about.result, ModalOk);
    ASSERT_EQ(fake.Started.size(), 3u);
    EXPECT_EQ(fake.Started[0].File, "https://vexamo.example.com/");
    EXPECT_EQ(fake.Started[1].File, "https://www.example.com/");
    EXPECT_EQ(fake.Started[2].File, "mailto:support@vexamo.example.com");
    EXPECT_FALSE(Globals.AboutBox);

    host.about.user = nullptr;
    Globals.MainForm->ItemClick(TMainForm::mnuAbout);
    EXPECT_EQ(host.about.shown, 2) << "a closed box lets the next one open";
}

TEST_F(Options, EscapeClosesTheAboutBoxAsCancelledAndAFailedShowStillFreesIt) {
    Start();
    host.about.user = [](TAboutBox& box) { box.DialogKey(TDialogKey::Escape); };
    Globals.MainForm->ItemClick(TMainForm::mnuAbout);
    EXPECT_EQ(host.about.result, ModalCancel);

    host.about.user = [](TAboutBox&) { throw Error("no box"); };
    EXPECT_THROW(Globals.MainForm->ItemClick(TMainForm::mnuAbout), Error);
    EXPECT_FALSE(Globals.AboutBox) << "its closing handler ran all the same";
    host.about.user = nullptr;
    Globals.MainForm->ItemClick(TMainForm::mnuAbout);
    EXPECT_EQ(host.about.shown, 3);
}
