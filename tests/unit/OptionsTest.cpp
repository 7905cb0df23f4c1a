// The options window and the about box, opened through the tray agent and driven as a user would.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "agent/Init.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"
#include "support/WindowFakes.h"
#include "ui/About.h"
#include "ui/Settings.h"
#include "ui/main.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace vexamo {
// Shown in failure messages of the drive lists.
void PrintTo(const TCheckListItem& item, std::ostream* os) { *os << item.Text << (item.Checked ? " [x]" : " [ ]"); }
bool operator==(const TCheckListItem& a, const TCheckListItem& b) {
    return a.Text == b.Text && a.Checked == b.Checked && a.Enabled == b.Enabled;
}
}  // namespace vexamo

namespace {

const std::string Ini = "C:\\Vexamo\\Vexamo.ini";
const std::string QuotedExe = "\"C:\\Vexamo\\Vexamo.exe\"";

// The agent's window, the windows it opens and what their users do.
struct AgentHost {
    AgentHost() {
        windows.options = &options;
        windows.about = &about;
    }
    test::FakeWindows windows;
    test::FakeMainFormHost main;
    test::FrmMainHostLog& frm = windows.frm;
    test::FakeOptionsHost options;
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
    std::optional<std::uint32_t> Policy() {
        return fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue);
    }
    // The user ticks or clears the AutoPlay box and presses OK.
    void SwitchAutoPlay(bool on) {
        FromTray([on](TFrmOptions& f) {
            f.Settings_CDAutorun.Checked = on;
            f.btOkClick();
        });
    }

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
        EXPECT_EQ(f.lblSubtitles.Caption, "(*.sub*.srt*.ssa*.ass*.vtt)");
        EXPECT_EQ(f.Settings_cbDrives.Items,
                  (std::vector<TCheckListItem>{{"D:\\", false}, {"E:\\", true}}));
        EXPECT_EQ(f.Settings_cbDrives.Hint, "List of available CD/DVD Drives");
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
        EXPECT_TRUE(f.Settings_cbDrives.Items[0].Checked && f.Settings_cbDrives.Items[1].Checked);
        f.Settings_DrivesUserClick();
        f.Settings_cbDrives.Items[0].Checked = false;
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Drives"), "E:\\");
    EXPECT_EQ(Value("Monitor", "ScanAll"), "0");
    EXPECT_EQ(Settings().Monitor.Drives, StringList{"E:\\"});
}

TEST_F(Options, TwoOfThreeDrivesTickedAreMonitoredFromThenOn) {
    fake.AddDrive("F:\\", DriveKind::CdRom);
    Start("[Main]\r\nStatus=On\r\n[Monitor]\r\nDrives=E:\\\r\n");
    FromTray([](TFrmOptions& f) {
        ASSERT_EQ(f.Settings_cbDrives.Items.size(), 3u);
        f.Settings_cbDrives.Items[0].Checked = true;
        f.Settings_cbDrives.Items[1].Checked = false;
        f.Settings_cbDrives.Items[2].Checked = true;
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Drives"), "D:\\ F:\\");
    EXPECT_EQ(Settings().Monitor.Drives, (StringList{"D:\\", "F:\\"}));
    // Every later load (a disc's scan makes one) keeps the two.
    Globals.Vexamo->Create();
    EXPECT_EQ(Settings().Monitor.Drives, (StringList{"D:\\", "F:\\"}));
    FromTray([](TFrmOptions& f) {
        EXPECT_EQ(f.Settings_cbDrives.Items,
                  (std::vector<TCheckListItem>{{"D:\\", true}, {"E:\\", false}, {"F:\\", true}}));
        f.btCancelClick();
    });
}

TEST_F(Options, AMonitoredDriveAddedLaterIsListedAndNoTickIsNoChoice) {
    // F: is an optical drive added after start-up: monitored, but not in the agent's drive list.
    Start("[Monitor]\r\nDrives=F:\\\r\n");
    fake.AddDrive("F:\\", DriveKind::CdRom);
    FromTray([](TFrmOptions& f) {
        EXPECT_EQ(f.Settings_cbDrives.Items,
                  (std::vector<TCheckListItem>{{"D:\\", false}, {"E:\\", false}, {"F:\\", true}}));
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Drives"), "F:\\");
    EXPECT_EQ(Settings().Monitor.Drives, StringList{"F:\\"});

    // With no drive ticked OK says what is missing and stores nothing.
    const std::string before = IniText();
    FromTray([&](TFrmOptions& f) {
        f.Settings_cbDrives.Items[2].Checked = false;
        f.Settings_CDAutorun.Checked = true;
        f.btOkClick();
        EXPECT_EQ(IniText(), before);
        ASSERT_EQ(fake.Messages.size(), 1u);
        EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
        EXPECT_EQ(fake.Messages[0].Text, "Please tick at least one drive to monitor, or choose \"All CD/DVD Drives\".");
        EXPECT_EQ(host.options.result, ModalCancel) << "the window stays open";
        EXPECT_FALSE(Policy()) << "no switch is touched";
        f.Settings_cbDrives.Items[1].Checked = true;
        f.Settings_CDAutorun.Checked = false;
        f.btOkClick();
    });
    EXPECT_EQ(host.options.result, ModalOk);
    EXPECT_EQ(Value("Monitor", "Drives"), "E:\\");
    // With "All CD/DVD Drives" the ticks do not matter.
    FromTray([](TFrmOptions& f) {
        for (TCheckListItem& item : f.Settings_cbDrives.Items) item.Checked = false;
        f.Settings_DrivesAllClick();
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Drives"), "D:\\ E:\\");
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

// --- Windows' values that belong to others ----------------------------------------------------

TEST_F(Options, AutoPlaySetsOnlyTheCdRomBitOfAPolicyThereAndGivesItBack) {
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 0x91);
    Start();
    SwitchAutoPlay(true);
    EXPECT_EQ(Policy(), 0xB1u);
    EXPECT_EQ(Value("Windows", "AutoCDOriginal"), "0x00000091");
    // Every load applies the switch again (the tray's settings command makes one).
    Globals.Vexamo->Create();
    SwitchAutoPlay(false);
    EXPECT_EQ(Policy(), 0x91u);
    EXPECT_EQ(Value("Windows", "AutoCDOriginal"), "");
    Globals.Vexamo->Create();
    EXPECT_EQ(Policy(), 0x91u);

    // An administrator's mask that already holds the bit, even the switch's own 181, stays.
    for (std::uint32_t admins : {0xFFu, 181u}) {
        fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, admins);
        SwitchAutoPlay(true);
        EXPECT_EQ(Policy(), admins);
        Globals.Vexamo->Create();
        SwitchAutoPlay(false);
        EXPECT_EQ(Policy(), admins);
    }
}

TEST_F(Options, AutoPlayOfAnOlderFileAndWhereNoPolicyWasStillRemovesItsOwn181) {
    // Switched on by a version that kept no copy: the 181 is the switch's own.
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 181);
    Start("[Main]\r\nStatus=On\r\n[Windows]\r\nAutoCD=1\r\n");
    EXPECT_EQ(Policy(), 181u);
    SwitchAutoPlay(false);
    EXPECT_FALSE(Policy());
    SwitchAutoPlay(true);
    EXPECT_EQ(Policy(), 181u);
    EXPECT_EQ(Value("Windows", "AutoCDOriginal"), "<none>");
    SwitchAutoPlay(false);
    EXPECT_FALSE(Policy());
}

TEST_F(Options, AutoPlayWithoutAPlaceForTheCopyLeavesThePolicyAlone) {
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 0x91);
    Start();
    fake.SetReadOnly(Ini);
    FromTray([](TFrmOptions& f) {
        f.Settings_CDAutorun.Checked = true;
        try {
            f.btOkClick();
            ADD_FAILURE() << "no error raised";
        } catch (const IniFileError& e) {
            EXPECT_STREQ(e.what(), "Unable to write to C:\\Vexamo\\Vexamo.ini");
        }
        f.btCancelClick();
    });
    EXPECT_EQ(Policy(), 0x91u);
}

TEST_F(Options, RunOnStartupThatAnAdministratorsEntryKeepsOnSaysSoAndStaysTicked) {
    Start("[Main]\r\nStatus=On\r\n[Windows]\r\nAutoStart=1\r\n");
    ASSERT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), QuotedExe);
    fake.DenyRegKey(RegRoot::LocalMachine, RunKey);  // seen by an ordinary user from now on
    FromTray([](TFrmOptions& f) {
        f.Settings_Startup.Checked = false;
        f.btOkClick();
    });
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[0].Text,
              "Vexamo will still start with Windows. It was added to the start-up programs of every user of this "
              "computer, and only an administrator can remove it from there.");
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), QuotedExe);
    EXPECT_EQ(Value("Windows", "AutoStart"), "1");
    FromTray([](TFrmOptions& f) {
        EXPECT_TRUE(f.Settings_Startup.Checked);
        f.btCancelClick();
    });
}

TEST_F(Options, RunOnStartupNeverReplacesAnotherProgramsEntry) {
    const std::string other = "\"C:\\Other\\Vexamo.exe\"";
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", other);
    fake.SetRegString(RegRoot::CurrentUser, RunKey, "Vexamo", other);
    Start();
    FromTray([](TFrmOptions& f) {
        f.Settings_Startup.Checked = true;
        f.btOkClick();
    });
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[0].Text,
              "Vexamo was not added to the programs that start with Windows: a start-up entry named 'Vexamo' "
              "already starts another program:\r\r\"C:\\Other\\Vexamo.exe\"\r\rThat entry was left as it is.");
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), other);
    EXPECT_EQ(fake.RegReadString(RegRoot::CurrentUser, RunKey, "Vexamo"), other);
    EXPECT_EQ(Value("Windows", "AutoStart"), "0") << "the box shows what Windows will do";

    // The user's own name is free: the program starts from there, and the user is told why.
    fake.Messages.clear();
    fake.SetRegString(RegRoot::CurrentUser, RunKey, "Vexamo", "");
    FromTray([](TFrmOptions& f) {
        f.Settings_Startup.Checked = true;
        f.btOkClick();
    });
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Information);
    EXPECT_EQ(fake.Messages[0].Text,
              "A start-up entry named 'Vexamo' for every user of this computer already starts another program:"
              "\r\r\"C:\\Other\\Vexamo.exe\"\r\rThat entry was left as it is, and Vexamo was added to your own "
              "start-up programs instead.");
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), other);
    EXPECT_EQ(fake.RegReadString(RegRoot::CurrentUser, RunKey, "Vexamo"), QuotedExe);
    EXPECT_EQ(Value("Windows", "AutoStart"), "1");
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

TEST_F(Options, TheUsbSwitchShowsTheStoredStateAndOkStoresItsTick) {
    fake.AddDrive("G:\\", DriveKind::Removable);
    Start();
    FromTray([](TFrmOptions& f) {
        EXPECT_FALSE(f.Settings_Removable.Checked);
        EXPECT_EQ(f.Settings_cbDrives.Items.size(), 2u) << "a stick is no CD-ROM drive to choose";
        f.Settings_Removable.Checked = true;
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Removable"), "1");
    EXPECT_EQ(Globals.Vexamo->WatchedDrives(), (StringList{"D:\\", "E:\\", "G:\\"}));
    FromTray([](TFrmOptions& f) {
        EXPECT_TRUE(f.Settings_Removable.Checked);
        f.btCancelClick();
    });
}

TEST_F(Options, NotificationBoxShowsTheSettingAndOkStoresIt) {
    Start();
    FromTray([](TFrmOptions& f) {
        EXPECT_EQ(f.Settings_Notify.Caption, "Show a notification when a disc is played");
        EXPECT_TRUE(f.Settings_Notify.Checked) << "on by default";
        f.Settings_Notify.Checked = false;
        f.btOkClick();
    });
    EXPECT_FALSE(Settings().Monitor.Notify);
    EXPECT_EQ(Value("Monitor", "Notify"), "0");
    FromTray([](TFrmOptions& f) {
        EXPECT_FALSE(f.Settings_Notify.Checked);
        f.btOkClick();
    });
    EXPECT_EQ(Value("Monitor", "Notify"), "0") << "the box shows the stored state, and OK keeps it";
}
