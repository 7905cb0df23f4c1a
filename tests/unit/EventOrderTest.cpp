// Events in unusual orders: discs that come and go while a window waits in a nested loop (a modal
// dialog, a message box, the shell starting a player) or while a scan walks the drives, and
// commands that arrive before the start-up checks are done. Each message is delivered inside a
// Dispatch::Handler scope, as the window base delivers it; run under AddressSanitizer these tests
// also show that no window is used after it was freed.
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "agent/Init.h"
#include "model/User.h"
#include "model/VexaCfg.h"
#include "platform/Dispatch.h"
#include "platform/Errors.h"
#include "scan/fileMonitor.h"
#include "support/FakePlatform.h"
#include "support/ScanHosts.h"
#include "support/WindowFakes.h"
#include "ui/main.h"

using namespace vexamo;
using namespace vexamo::test;

namespace {

const std::string Folder = "C:\\Vexamo\\";
const std::string Player = "C:\\Player\\player.exe";

class EventOrder : public ::testing::Test {
protected:
    void SetUp() override {
        fake.AddFolder("C:\\Vexamo");
        fake.AddDrive("C:\\", DriveKind::Fixed);
        fake.AddDrive("D:\\", DriveKind::CdRom, "FILMS");
        fake.AddDrive("E:\\", DriveKind::CdRom);
        fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 1);
        fake.AddFile(Player);
        fake.AddFile("C:\\Other\\other.exe");
        fake.AddFile("D:\\film.avi");
        fake.AddFile(Folder + "Vexamo.ini", "[Main]\r\nStatus=On\r\n");
        fake.AddFile(Folder + "Players.ini", "[Stand-In]\r\nexe=" + Player + "\r\next=.m3u\r\n"
                                             "[Other]\r\nexe=C:\\Other\\other.exe\r\n");
        Prompt(false);
        ExeName = Folder + "Vexamo.exe";
        windows.progress = &progress;
        windows.chooser = &chooser;
    }
    void TearDown() override { Globals.Reset(); }

    void Prompt(bool yes) {
        fake.AddFile(Folder + "Selection.ini", std::string("[Stand-In]\r\nName=Stand-In\r\nPrompt=") +
                                                   (yes ? "Yes" : "No") + "\r\nExt=.avi\r\n");
    }
    TMainForm& Start() {
        Globals.MainForm = std::make_unique<TMainForm>(host.Binding());
        EXPECT_TRUE(Globals.MainForm->Start());
        return *Globals.MainForm;
    }
    // A message to one of the program's windows, as the window base delivers it.
    static void Message(const std::function<void()>& handler) {
        const Dispatch::Handler scope;
        handler();
    }
    static void Arrival() { Message([] { Globals.MainForm->WMDeviceChange(DeviceArrival); }); }
    static void Removal() { Message([] { Globals.MainForm->WMDeviceChange(DeviceRemoveComplete); }); }
    // The configuration window, opened from the tray.
    TfrmMain& Open() {
        Message([] { Globals.MainForm->ItemClick(TMainForm::MnuOpen); });
        return *Globals.frmMain;
    }
    int RowOf(const std::string& name) const {
        const auto& rows = Globals.frmMain->lstPlayers.Items;
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].SubItems.at(0) == name) return static_cast<int>(i);
        return -1;
    }
    // The agent is idle: the icon in the tray, no chooser, progress or configuration window left.
    void ExpectIdle() const {
        EXPECT_TRUE(fake.TrayIconShown);
        EXPECT_EQ(Globals.frmMonitor, nullptr);
        EXPECT_EQ(Globals.frmScaning, nullptr);
        EXPECT_EQ(Globals.frmMain, nullptr);
        EXPECT_FALSE(Dispatch::Busy());
    }

    FakePlatform fake;
    FakeWindows windows;
    FakeMainFormHost host;
    FakeScaningHost progress;
    FakeMonitorHost chooser;
};

}  // namespace

// --- a disc arrives while the configuration window waits for a modal dialog ----------------------

TEST_F(EventOrder, ArrivalDuringTheWizardScansOnceTheWizardHasClosed) {
    Start();
    TfrmMain& window = Open();
    windows.wizards.user = [&](TfrmPlayerWizard&) {
        Arrival();
        EXPECT_TRUE(fake.Started.empty()) << "nothing plays while the wizard is open";
        EXPECT_EQ(Globals.frmMain.get(), &window);
    };
    Message([&] {
        window.lstPlayers.ItemIndex = 0;  // "(Add new Player)"
        window.lstPlayersClick();         // the wizard, then the list refilled on a live window
    });
    ASSERT_EQ(fake.Started.size(), 1u);
    EXPECT_EQ(fake.Started[0].File, Player);
    ExpectIdle();
    EXPECT_EQ(windows.frm.destroyed, 1);
}

TEST_F(EventOrder, ArrivalDuringTheDeleteConfirmationKeepsTheConfirmedDelete) {
    Start();
    TfrmMain& window = Open();
    fake.Answer(MsgResult::Yes);
    fake.WhileMessageShown = [&](const ShownMessage& m) {
        if (m.Kind == MsgKind::Confirmation) Arrival();
    };
    Message([&] {
        window.lstPlayers.ItemIndex = RowOf("Other");
        window.PopPlayerPopup();
        window.PopPlayerDeleteClick();
    });
    EXPECT_FALSE(IniSectionExists(Folder + "Players.ini", "Other"));
    EXPECT_EQ(fake.Started.size(), 1u);
    ExpectIdle();
}

TEST_F(EventOrder, ArrivalDuringTheCommandLinesBoxPlaysAfterIt) {
    Start();
    TfrmMain& window = Open();
    int boxes = 0;
    fake.WhileMessageShown = [&](const ShownMessage&) {
        ++boxes;
        Arrival();
        EXPECT_TRUE(fake.Started.empty());
    };
    Message([&] {
        window.LstLoadedPlayers.ItemIndex = 0;
        window.popCmdLinesClick();
    });
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(fake.Started.size(), 1u);
    ExpectIdle();
}

TEST_F(EventOrder, ManyArrivalsDuringADialogMakeOneScanThatLooksAgain) {
    Start();
    TfrmMain& window = Open();
    fake.WhileMessageShown = [&](const ShownMessage&) {
        for (int i = 0; i < 20; ++i) Arrival();
        fake.SetDisc("D:\\", std::nullopt);  // and the disc is gone again before the box closes
        Removal();
    };
    Message([&] {
        window.LstLoadedPlayers.ItemIndex = 0;
        window.popCmdLinesClick();
    });
    EXPECT_TRUE(fake.Started.empty());
    EXPECT_EQ(Globals.frmMain.get(), &window) << "nothing to scan: the window stays as the user left it";
}

// --- the scan's walk and the chooser -------------------------------------------------------------

TEST_F(EventOrder, RemovalDuringTheWalkClosesTheChooserBeforeItPlays) {
    Start();
    progress.onRepaint = [&] {
        fake.SetDisc("D:\\", std::nullopt);
        Removal();
        EXPECT_NE(Globals.frmScaning, nullptr) << "the walk goes on undisturbed";
    };
    Arrival();
    EXPECT_TRUE(fake.Started.empty());
    EXPECT_EQ(chooser.shown, 0);
    ExpectIdle();
    EXPECT_EQ(Globals.Vexamo->DiscLabel, "") << "no label of a disc that is gone";
}

TEST_F(EventOrder, RemovalOfAnotherDriveDuringTheWalkStillPlays) {
    Start();
    progress.onRepaint = [&] { Removal(); };  // E: was empty all along
    Arrival();
    EXPECT_EQ(fake.Started.size(), 1u);
    ExpectIdle();
}

TEST_F(EventOrder, ChooserThatClosesWhileThePlayerStartsIsFreedAfterwards) {
    Start();
    fake.WhileStarting = [&](const StartedProgram&) {
        // The shell runs a message loop while it starts the player; the disc leaves meanwhile.
        fake.SetDisc("D:\\", std::nullopt);
        Removal();
    };
    Arrival();
    EXPECT_EQ(fake.Started.size(), 1u);
    EXPECT_TRUE(Globals.PlayerStarted);
    ExpectIdle();
}

TEST_F(EventOrder, IconStaysAwayWhileTheChooserIsInUse) {
    Prompt(true);
    Start();
    chooser.user = [&](TfrmMonitor& form) {
        for (int i = 0; i < 50; ++i) {
            Message([i] { Globals.MainForm->WMDeviceChange(i % 2 ? DeviceArrival : DeviceRemoveComplete); });
            EXPECT_FALSE(fake.TrayIconShown);
        }
        EXPECT_EQ(Globals.frmMonitor.get(), &form) << "D: still holds its disc";
        Message([&] { form.btCancelClick(); });
    };
    Arrival();
    EXPECT_EQ(chooser.shown, 1);
    ExpectIdle();
}

TEST_F(EventOrder, IconStaysAwayWhileTheOptionsFromTheTrayAreOpen) {
    Start();
    FakeOptionsHost options;
    windows.options = &options;
    options.user = [&](TFrmOptions& form) {
        EXPECT_FALSE(fake.TrayIconShown);
        Removal();
        EXPECT_FALSE(fake.TrayIconShown) << "a status refresh does not bring it back early";
        Message([&] { form.btOkClick(); });
        EXPECT_FALSE(fake.TrayIconShown);
    };
    Message([] { Globals.MainForm->ItemClick(TMainForm::mnuSettings); });
    EXPECT_EQ(options.shown, 1);
    EXPECT_TRUE(fake.TrayIconShown);
}

// --- start-up -------------------------------------------------------------------------------------

TEST_F(EventOrder, MenuCommandsDuringTheStartUpQuestionDoNothing) {
    fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 0);
    fake.WhileMessageShown = [&](const ShownMessage& m) {
        if (m.Text != CdromAutoRunQuestion) return;
        for (int item = 0; item < TMainForm::ItemCount; ++item)
            Message([&] { Globals.MainForm->ItemClick(static_cast<TMainForm::Item>(item)); });
    };
    Start();
    EXPECT_EQ(windows.configWindows, 0);
    EXPECT_EQ(host.closeRequests, 0);
    EXPECT_TRUE(fake.TrayIconShown);
}

// --- the release itself ------------------------------------------------------------------------

TEST(DispatchRelease, WaitsForTheOutermostHandlerAndRunsLaterWorkAfterIt) {
    struct Tracked {
        explicit Tracked(std::vector<std::string>& log) : log_(log) {}
        ~Tracked() { log_.push_back("freed"); }
        std::vector<std::string>& log_;
    };
    std::vector<std::string> log;
    {
        const Dispatch::Handler outer;
        {
            const Dispatch::Handler inner;
            EXPECT_TRUE(Dispatch::Nested());
            Dispatch::Release(std::make_unique<Tracked>(log));
            Dispatch::Later([&] {
                log.push_back("later");
                EXPECT_FALSE(Dispatch::Nested());
                Dispatch::Release(std::make_unique<Tracked>(log));
                log.push_back("still here");
            });
        }
        EXPECT_TRUE(log.empty()) << "an inner handler's end frees nothing";
    }
    EXPECT_EQ(log, (std::vector<std::string>{"freed", "later", "still here", "freed"}));
    EXPECT_FALSE(Dispatch::Busy());

    Dispatch::Release(std::make_unique<Tracked>(log));
    EXPECT_EQ(log.back(), "freed") << "with no handler running it goes at once";
}

// --- faults the sequence test found ------------------------------------------------------------

TEST_F(EventOrder, AWindowSupersededDuringItsCreationIsNotShown) {
    Start();
    fake.SetReadOnly(Folder + "Vexamo.ini");
    // Opening writes the priority it derives; the failure's box lets the tray ask for a scan meanwhile.
    fake.AddFile(Folder + "Vexamo.ini", "[Main]\r\nStatus=On\r\n[Priority]\r\nUser=1\r\nChoice=1\r\nPlayer=Gone\r\n");
    fake.SetReadOnly(Folder + "Vexamo.ini");
    bool once = false;
    fake.WhileMessageShown = [&](const ShownMessage&) {
        if (std::exchange(once, true)) return;
        Message([] { Globals.MainForm->ItemClick(TMainForm::mnuSPlay); });
    };
    Message([] { Globals.MainForm->ItemClick(TMainForm::MnuOpen); });
    EXPECT_TRUE(once);
    EXPECT_TRUE(Globals.frmMain == nullptr || !Globals.frmMain->Visible) << "the superseded window stays off screen";
    EXPECT_TRUE(fake.TrayIconShown);
}

TEST_F(EventOrder, OptionsOkThatCannotBeWrittenKeepsNothing) {
    Start();
    FakeOptionsHost options;
    windows.options = &options;
    fake.SetReadOnly(Folder + "Vexamo.ini");
    options.user = [&](TFrmOptions& form) {
        Message([&] { form.rdOnPlayCloseClick(); });
        EXPECT_THROW(form.btOkClick(), Error);
        Message([&] { form.btCancelClick(); });
    };
    Message([] { Globals.MainForm->ItemClick(TMainForm::mnuSettings); });
    EXPECT_FALSE(Globals.Vexamo->Settings->Monitor.OnPlayClose);
}

TEST_F(EventOrder, AReloadThatTurnsMonitoringOnShowsInTheTray) {
    fake.AddFile(Folder + "Vexamo.ini", "[Main]\r\nStatus=Off\r\n");
    Start();
    EXPECT_EQ(Globals.MainForm->PopUpSysTray.Items[TMainForm::mnuStatus].Caption, "Set Monitoring &On");
    fake.AddFile(Folder + "Vexamo.ini", "[Main]\r\nStatus=Off\r\n[Monitor]\r\nAlways On=1\r\n");
    FakeOptionsHost options;  // cancelled at once
    windows.options = &options;
    Message([] { Globals.MainForm->ItemClick(TMainForm::mnuSettings); });
    EXPECT_EQ(Globals.Vexamo->Status, 0);
    EXPECT_EQ(Globals.MainForm->PopUpSysTray.Items[TMainForm::mnuStatus].Caption, "Set Monitoring O&ff");
}

TEST_F(EventOrder, AFirstWindowThatCannotBeMadeLeavesAnIconWithItsStatus) {
    fake.DeleteFile(Folder + "Selection.ini");
    fake.AddFile("C:\\BS\\bsplayer.exe");
    fake.SetRegString(RegRoot::LocalMachine, DefaultPlayers[0].RegistryKey, "", "\"C:\\BS\\bsplayer.exe\" \"%1\"");
    fake.SetReadOnly(Folder + "Players.ini");  // the discovery must write the installed player
    Start();
    ASSERT_EQ(Globals.frmMain, nullptr);
    EXPECT_TRUE(fake.TrayIconShown);
    EXPECT_EQ(Globals.MainForm->PopUpSysTray.Items[TMainForm::mnuStatus].Caption, "Set Monitoring O&ff");
    EXPECT_EQ(std::string(fake.TrayState.Tip).rfind("Vexamo: Ready", 0), 0u);
}

TEST_F(EventOrder, APlayerAddedWhileTheResetQuestionIsUpKeepsItsPlayers) {
    fake.DeleteFile(Folder + "Selection.ini");
    Start();
    TfrmMain& window = Open();
    fake.Answer(MsgResult::Yes);
    fake.WhileMessageShown = [&](const ShownMessage& m) {
        if (m.Kind != MsgKind::Confirmation) return;
        window.lstPlayers.ItemIndex = RowOf("Other");
        window.lstPlayersClick();
        TCheckListBox& video = window.ChkExtsVideo;
        video.ItemIndex = 0;
        video.Items[0].Checked = true;
        window.ChkExtsVideoClickCheck();
        window.btAddClick();
    };
    Message([&] { window.popPlayerResetAllClick(); });
    ASSERT_TRUE(IniSectionExists(Folder + "Selection.ini", "Other"));
    EXPECT_TRUE(IniSectionExists(Folder + "Players.ini", "Other")) << "a monitored player keeps its definition";
}
