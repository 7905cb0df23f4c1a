// The players and extensions window, driven as a user drives it: choose a row, tick items, click.
#include <gtest/gtest.h>

#include <functional>

#include "model/User.h"
#include "model/VexaCfg.h"
#include "support/FakePlatform.h"
#include "support/WindowFakes.h"
#include "ui/main.h"

using namespace vexamo;
using vexamo::test::FakePlatform;
using vexamo::test::FakeTrayAgent;
using vexamo::test::FrmMainHostLog;

namespace {

const std::string Folder = "C:\\Vexamo\\";
const std::string PlayersIni = Folder + "Players.ini";
const std::string SelectionIni = Folder + "Selection.ini";
const std::string SettingsIni = Folder + "Vexamo.ini";
const std::string BothPlayers =
    "[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n[BsPlayer]\r\nexe=C:\\BsPlayer\\bsplayer.exe\r\n";

class FrmMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        fake.AddFolder("C:\\Vexamo");
        ProgramFolder = Folder;
        Globals.Vexamo = std::make_unique<TVexamo>();
        Globals.Vexamo->CdDrives = {"D:\\"};
        Install(0, "C:\\BsPlayer\\bsplayer.exe");  // BsPlayer
        Install(2, "C:\\Winamp\\winamp.exe");      // Winamp
    }
    void TearDown() override { Globals.Reset(); }

    void Install(int row, const std::string& exe) {
        fake.SetRegString(RegRoot::LocalMachine, DefaultPlayers[row].RegistryKey, "", "\"" + exe + "\" \"%1\"");
        fake.AddFile(exe);
    }
    TfrmMain& Open() {
        Globals.frmMain = std::make_unique<TfrmMain>(agent, test::FakeFrmMainHostFactory(log));
        Globals.frmMain->FormCreate();
        return *Globals.frmMain;
    }
    TfrmMain& F() { return *Globals.frmMain; }

    static std::vector<std::string> Names(const TListView& list) {
        std::vector<std::string> names;
        for (const TListItem& row : list.Items) names.push_back(row.SubItems.at(0));
        return names;
    }
    static int RowOf(const TListView& list, const std::string& name) {
        for (size_t i = 0; i < list.Items.size(); ++i)
            if (list.Items[i].SubItems.at(0) == name) return static_cast<int>(i);
        return -1;
    }
    static TCheckListItem& ItemOf(TCheckListBox& list, const std::string& ext) {
        for (TCheckListItem& item : list.Items)
            if (item.Text == ext) return item;
        throw std::runtime_error("no item " + ext);
    }
    TCheckListItem& Ext(const std::string& ext) {
        return KindOfExtension(ext) == 1 ? ItemOf(F().ChkExtsVideo, ext) : ItemOf(F().chkExtsAudio, ext);
    }

    void Choose(const std::string& name) {
        F().lstPlayers.ItemIndex = RowOf(F().lstPlayers, name);
        F().lstPlayersClick();
    }
    // A user's click on an item's check box.
    void Tick(const std::string& ext) {
        const bool video = KindOfExtension(ext) == 1;
        TCheckListBox& list = video ? F().ChkExtsVideo : F().chkExtsAudio;
        for (size_t i = 0; i < list.Items.size(); ++i)
            if (list.Items[i].Text == ext) {
                list.ItemIndex = static_cast<int>(i);
                list.Items[i].Checked = !list.Items[i].Checked;
            }
        video ? F().ChkExtsVideoClickCheck() : F().chkExtsAudioClickCheck();
    }
    void Add(const std::string& name, std::initializer_list<const char*> exts, bool prompt) {
        Choose(name);
        for (const char* ext : exts) Tick(ext);
        F().chkPrompt.Checked = prompt;
        F().btAddClick();
    }
    void SelectLoaded(const std::string& name) { F().LstLoadedPlayers.ItemIndex = RowOf(F().LstLoadedPlayers, name); }
    void TickPrompt(const std::string& name, bool on) {
        const int row = RowOf(F().LstLoadedPlayers, name);
        F().LstLoadedPlayers.Items[row].Checked = on;
        F().LstLoadedPlayersChange(row);
    }

    FakePlatform fake;
    test::FakeWindows windows;
    FakeTrayAgent agent;
    FrmMainHostLog log;
};

}  // namespace

// --- first start and the available players ------------------------------------------------------

TEST_F(FrmMainTest, FirstStartListsInstalledDefaultsAndKeepsMonitoringOff) {
    Open();
    EXPECT_EQ(Names(F().lstPlayers), (std::vector<std::string>{"(Add new Player)", "BsPlayer", "Winamp"}));
    EXPECT_EQ(F().lstPlayers.Items[0].ImageIndex, -1);
    EXPECT_EQ(F().lstPlayers.Items[1].ImageIndex, 1);
    EXPECT_EQ(F().lstPlayers.Items[2].ImageIndex, 3);
    EXPECT_EQ(ReadIniSections(PlayersIni), (StringList{"BsPlayer", "Winamp"}));
    EXPECT_FALSE(fake.FileExists(SelectionIni));

    EXPECT_TRUE(F().LstLoadedPlayers.Items.empty());
    EXPECT_EQ(Globals.Vexamo->Status, 1);
    EXPECT_TRUE(F().RdMonitorOff.Checked);
    EXPECT_FALSE(F().RdMonitorOn.Enabled);
    EXPECT_FALSE(agent.monitoringItemEnabled);
    EXPECT_EQ(agent.statusCallers, std::vector<Caller>{Caller::ConfigWindow});
    EXPECT_TRUE(F().PopPlayer.Items[TfrmMain::popPlayerResetAll].Enabled);

    // The add controls wait for a player; ".wmv" counts as audio.
    EXPECT_FALSE(F().chkExtsAudio.Enabled || F().ChkExtsVideo.Enabled || F().btAdd.Enabled || F().chkPrompt.Enabled);
    // Today's formats follow the first twelve in each list.
    EXPECT_EQ(F().chkExtsAudio.Items.size(), 14u);
    EXPECT_EQ(F().chkExtsAudio.Items[6].Text, ".wmv");
    EXPECT_EQ(F().chkExtsAudio.Items[7].Text, ".flac");
    EXPECT_EQ(F().ChkExtsVideo.Items.size(), 15u);
    EXPECT_EQ(F().ChkExtsVideo.Items[5].Text, ".mp4");
    EXPECT_EQ(F().stStatus.Panels[3].Text, "V.1.0.0.0");
    EXPECT_EQ(F().stStatus.Panels[3].Alignment, TAlignment::Center);
}

TEST_F(FrmMainTest, AvailableListRowsAndPictures) {
    fake.AddFile("C:\\Tools\\mine.exe");
    fake.AddFile(PlayersIni,
                 "[Mine]\r\nexe=C:\\Tools\\mine.exe\r\nindex=x7\r\n[Empty]\r\nexe=\r\n"
                 "[Far]\r\nexe=C:\\Tools\\mine.exe\r\n"
                 "index=13\r\n[Bare]\r\nexe=C:\\Tools\\mine.exe\r\n");
    Open();
    // A section without an exe is not offered; one whose exe file is missing still is.
    EXPECT_EQ(Names(F().lstPlayers),
              (std::vector<std::string>{"(Add new Player)", "Mine", "Far", "Bare", "BsPlayer", "Winamp"}));
    EXPECT_EQ(F().lstPlayers.Items[1].ImageIndex, 0);
    EXPECT_EQ(F().lstPlayers.Items[2].ImageIndex, 0);
    EXPECT_EQ(F().lstPlayers.Items[3].ImageIndex, -1);

    EXPECT_EQ(PlayerPictureIndex(""), -1);
    EXPECT_EQ(PlayerPictureIndex("0"), 0);
    EXPECT_EQ(PlayerPictureIndex("7"), 7);
    EXPECT_EQ(PlayerPictureIndex("05"), 5);
    EXPECT_EQ(PlayerPictureIndex("$6"), 6);
    EXPECT_EQ(PlayerPictureIndex("8"), 8);  // today's players have pictures 8 to 12
    EXPECT_EQ(PlayerPictureIndex("12"), 12);
    EXPECT_EQ(PlayerPictureIndex("13"), 0);
    EXPECT_EQ(PlayerPictureIndex("-1"), 0);
    EXPECT_EQ(PlayerPictureIndex("two"), 0);
}

TEST_F(FrmMainTest, AddNewPlayerRowRunsTheWizardAndRefills) {
    Open();
    windows.wizards.user = [&](TfrmPlayerWizard&) { WriteIniString(PlayersIni, "Mine", "exe", "C:\\Tools\\mine.exe"); };
    Choose("(Add new Player)");
    EXPECT_EQ(windows.wizards.runs, std::vector<std::string>{""});
    EXPECT_EQ(RowOf(F().lstPlayers, "Mine"), 3);
    EXPECT_FALSE(F().chkExtsAudio.Enabled);

    // A click on empty space selects the row chosen before again.
    Choose("Winamp");
    F().lstPlayers.ItemIndex = -1;
    F().lstPlayersClick();
    EXPECT_EQ(F().lstPlayers.ItemIndex, RowOf(F().lstPlayers, "Winamp"));
    EXPECT_TRUE(F().chkExtsAudio.Enabled);

    F().PopPlayerPopup();
    EXPECT_TRUE(F().PopPlayer.Items[TfrmMain::PopPlayerEdit].Enabled);
    F().PopPlayerEditClick();
    EXPECT_EQ(windows.wizards.runs.back(), "Winamp");
    F().lstPlayers.ItemIndex = 0;
    F().PopPlayerPopup();
    EXPECT_FALSE(F().PopPlayer.Items[TfrmMain::PopPlayerDelete].Enabled);
}

TEST_F(FrmMainTest, CatalogueConfirmationsDoNothingOnNo) {
    fake.AddFile(PlayersIni, "[Mine]\r\nexe=C:\\Tools\\mine.exe\r\n");
    Open();
    const std::string before = *fake.Content(PlayersIni);
    Choose("Mine");
    F().PopPlayerPopup();
    F().PopPlayerDeleteClick();
    EXPECT_EQ(fake.Messages.back().Text, "Are you sure you want to delete \"Mine\" ?");
    EXPECT_EQ(fake.Messages.back().Buttons, MsgButtons::YesNo);
    F().popPlayerResetAllClick();
    EXPECT_EQ(fake.Messages.back().Text, "Are you sure you want to reset to the default Players ?");
    EXPECT_EQ(*fake.Content(PlayersIni), before);

    // Each refill lets the choice go: the player is chosen again.
    Choose("Mine");
    F().PopPlayerPopup();
    fake.Answer(MsgResult::Yes);
    F().PopPlayerDeleteClick();
    EXPECT_EQ(RowOf(F().lstPlayers, "Mine"), -1);
    // An installed default player deleted from the list comes straight back.
    Choose("Winamp");
    F().PopPlayerPopup();
    fake.Answer(MsgResult::Yes);
    F().PopPlayerDeleteClick();
    EXPECT_NE(RowOf(F().lstPlayers, "Winamp"), -1);

    WriteIniString(PlayersIni, "Mine", "exe", "C:\\Tools\\mine.exe");
    WriteIniString(PlayersIni, "BsPlayer", "single", "/edited [FILE]");
    fake.Answer(MsgResult::Yes);
    F().popPlayerResetAllClick();
    EXPECT_EQ(ReadIniSections(PlayersIni), (StringList{"BsPlayer", "Winamp"}));
    EXPECT_EQ(ReadIniString(PlayersIni, "BsPlayer", "single"), "[FILE]");
}

// --- ticking and adding --------------------------------------------------------------------------

TEST_F(FrmMainTest, AddingAPlayerWritesItsSectionAndTakesItsExtensions) {
    Open();
    Add("Winamp", {".mp3", ".avi"}, true);
    EXPECT_EQ(*fake.Content(SelectionIni), "[Winamp]\r\nName=Winamp\r\nPrompt=Yes\r\nExt=.mp3;.avi\r\n");
    ASSERT_EQ(F().LstLoadedPlayers.Items.size(), 1u);
    const TListItem& row = F().LstLoadedPlayers.Items[0];
    EXPECT_EQ(row.SubItems, (std::vector<std::string>{"Winamp", "AUDIO/VIDEO", ".mp3.avi"}));
    EXPECT_TRUE(row.Checked);
    for (const char* ext : {".mp3", ".avi"}) {
        EXPECT_TRUE(Ext(ext).Checked);
        EXPECT_FALSE(Ext(ext).Enabled);
    }
    EXPECT_EQ(RowOf(F().lstPlayers, "Winamp"), -1);
    ASSERT_EQ(Globals.SelectedPlayers->Players.size(), 1u);
    EXPECT_EQ(F().cboDifPlayer.Items, std::vector<std::string>{"Winamp"});

    // The add controls are reset; monitoring can now be switched on, also from the tray.
    EXPECT_FALSE(F().btAdd.Enabled || F().chkPrompt.Enabled || F().chkPrompt.Checked || F().chkExtsAudio.Enabled);
    EXPECT_EQ(F().CheckedCount, 0);
    EXPECT_TRUE(F().RdMonitorOn.Enabled);
    EXPECT_TRUE(agent.monitoringItemEnabled);
    EXPECT_FALSE(F().PopPlayer.Items[TfrmMain::popPlayerResetAll].Enabled);

    F().RdMonitorOn.Checked = true;
    F().RdMonitorOff.Checked = false;
    F().RdMonitorOnClick();
    EXPECT_EQ(Globals.Vexamo->Status, 0);
    EXPECT_EQ(agent.statusCallers.size(), 2u);
}

TEST_F(FrmMainTest, AddingWithNothingTickedChangesNeitherList) {
    Open();
    Choose("Winamp");
    Tick(".mp3");
    Tick(".mp3");
    EXPECT_FALSE(F().btAdd.Enabled);  // the last tick cleared: nothing to add
    F().btAddClick();
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Plain);
    EXPECT_EQ(fake.Messages[0].Text, "No file extensions selected !");
    EXPECT_TRUE(F().LstLoadedPlayers.Items.empty());
    EXPECT_NE(RowOf(F().lstPlayers, "Winamp"), -1);
    EXPECT_FALSE(fake.FileExists(SelectionIni));
}

TEST_F(FrmMainTest, SecondPlayerTakesOnlyFreeExtensions) {
    Open();
    Add("Winamp", {".mp3", ".avi"}, false);
    Choose("BsPlayer");
    F().LblSelAllAudioClick();
    EXPECT_EQ(F().LblSelAllAudio.Caption, "Unselect All");
    EXPECT_EQ(F().CheckedCount, 13);
    EXPECT_FALSE(Ext(".mp3").Enabled);
    EXPECT_TRUE(F().btAdd.Enabled && F().chkPrompt.Enabled);
    F().btAddClick();
    EXPECT_EQ(ReadIniString(SelectionIni, "BsPlayer", "Ext"), ".wav;.asx;.cda;.ogg;.wma;.wmv;.flac;.m4a;.aac;.opus;.ape;.wv;.mka");
    EXPECT_EQ(F().LstLoadedPlayers.Items[1].SubItems[1], "AUDIO");
    EXPECT_FALSE(F().LstLoadedPlayers.Items[1].Checked);

    // Every audio item is taken now: "Select All" on the video list still only ticks free items.
    Choose("(Add new Player)");
    EXPECT_EQ(F().LblSelAllVideo.Caption, "Select All");
    F().LblSelAllVideoClick();  // the list is disabled: nothing happens
    EXPECT_EQ(F().LblSelAllVideo.Caption, "Select All");
    EXPECT_FALSE(Ext(".divx").Checked);
}

TEST_F(FrmMainTest, TickCountingAndSelectAllLabel) {
    Open();
    Choose("Winamp");
    F().LblSelAllVideoClick();
    EXPECT_EQ(F().CheckedCount, 15);
    EXPECT_EQ(F().LblSelAllVideo.Caption, "Unselect All");
    F().LblSelAllVideoClick();
    EXPECT_EQ(F().CheckedCount, 0);
    EXPECT_EQ(F().LblSelAllVideo.Caption, "Select All");
    EXPECT_FALSE(F().btAdd.Enabled);

    // An untick the count never saw (an item left ticked by an earlier choice) keeps it at 0.
    Ext(".ogg").Checked = true;
    Tick(".ogg");
    EXPECT_EQ(F().CheckedCount, 0);
    EXPECT_FALSE(F().btAdd.Enabled);
}

TEST_F(FrmMainTest, AddAfterTheChosenPlayerLeftTheCatalogueAddsNothing) {
    fake.AddFile(PlayersIni, "[Mine]\r\nexe=C:\\Tools\\mine.exe\r\n");
    Open();
    Choose("Mine");
    Tick(".mp3");
    F().PopPlayerPopup();
    fake.Answer(MsgResult::Yes);
    F().PopPlayerDeleteClick();  // the list is refilled and no row is chosen any more
    F().btAddClick();
    EXPECT_FALSE(fake.FileExists(SelectionIni));
    EXPECT_TRUE(F().LstLoadedPlayers.Items.empty());
    EXPECT_FALSE(Ext(".mp3").Checked);
    EXPECT_TRUE(Ext(".mp3").Enabled);
    EXPECT_FALSE(F().btAdd.Enabled);
}

// --- the monitoring list -------------------------------------------------------------------------

TEST_F(FrmMainTest, DeleteFreesTheExtensionsAndOffersThePlayerAgain) {
    Open();
    Add("Winamp", {".mp3", ".avi"}, false);
    Add("BsPlayer", {".wav"}, false);
    SelectLoaded("Winamp");
    F().PopListOptionsPopup();
    EXPECT_TRUE(F().PopListOptions.Items[TfrmMain::popLstDelAll].Enabled);
    F().popLstDeleteClick();
    EXPECT_TRUE(fake.Messages.empty());
    for (const char* ext : {".mp3", ".avi"}) {
        EXPECT_FALSE(Ext(ext).Checked);
        EXPECT_TRUE(Ext(ext).Enabled);
    }
    EXPECT_FALSE(Ext(".wav").Enabled);
    EXPECT_NE(RowOf(F().lstPlayers, "Winamp"), -1);
    EXPECT_EQ(ReadIniSections(SelectionIni), StringList{"BsPlayer"});
    EXPECT_EQ(Names(F().LstLoadedPlayers), std::vector<std::string>{"BsPlayer"});
    EXPECT_EQ(F().cboDifPlayer.Items, std::vector<std::string>{"BsPlayer"});
    EXPECT_EQ(Globals.SelectedPlayers->IndexOfPlayer("Winamp"), -1);

    // Choosing Winamp again can take its old extensions.
    Add("Winamp", {".mp3"}, false);
    EXPECT_EQ(ReadIniString(SelectionIni, "Winamp", "Ext"), ".mp3");

    SelectLoaded("Winamp");
    F().PopListOptionsPopup();
    F().LstLoadedPlayers.ItemIndex = -1;
    F().PopListOptionsPopup();
    EXPECT_FALSE(F().PopListOptions.Items[TfrmMain::popLstDelete].Enabled);
    EXPECT_FALSE(F().PopListOptions.Items[TfrmMain::popCmdLines].Enabled);
}

TEST_F(FrmMainTest, DeleteAllAsksNothingAndDeletesTheFile) {
    Open();
    Add("Winamp", {".mp3"}, false);
    Add("BsPlayer", {".avi"}, false);
    Globals.Vexamo->Status = 0;
    SelectLoaded("BsPlayer");
    F().popLstDelAllClick();
    EXPECT_TRUE(fake.Messages.empty());
    EXPECT_TRUE(F().LstLoadedPlayers.Items.empty());
    EXPECT_FALSE(fake.FileExists(SelectionIni));
    EXPECT_EQ(Globals.Vexamo->Status, 1);
    EXPECT_FALSE(F().RdMonitorOn.Enabled);
    EXPECT_FALSE(agent.monitoringItemEnabled);
    EXPECT_TRUE(F().cboDifPlayer.Items.empty());
}

TEST_F(FrmMainTest, PriorityOnlyWithTwoPlayersThatDoNotPrompt) {
    Open();
    Add("Winamp", {".mp3"}, false);
    EXPECT_FALSE(F().rdPlayerPriority.Enabled);
    Add("BsPlayer", {".avi"}, false);
    EXPECT_TRUE(F().rdPlayerPriority.Enabled && F().rdNoPlayerPriority.Enabled);
    EXPECT_TRUE(Globals.Vexamo->Settings->UserPriority);

    F().rdPlayerPriority.Checked = true;
    F().rdNoPlayerPriority.Checked = false;
    F().rdPlayerPriorityClick();
    EXPECT_TRUE(F().cboDifPlayer.Enabled);
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Choice"), "1");
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "User"), "1");
    F().cboDifPlayer.Select(1);
    F().cboDifPlayerChange();
    EXPECT_EQ(Globals.Vexamo->Settings->Priority.Player, "BsPlayer");
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Player"), "BsPlayer");

    // A prompting player makes a priority meaningless.
    TickPrompt("Winamp", true);
    EXPECT_EQ(ReadIniString(SelectionIni, "Winamp", "Prompt"), "Yes");
    EXPECT_FALSE(F().rdPlayerPriority.Enabled || F().rdNoPlayerPriority.Enabled || F().cboDifPlayer.Enabled);
    EXPECT_FALSE(Globals.Vexamo->Settings->UserPriority);
    TickPrompt("Winamp", false);
    EXPECT_TRUE(F().cboDifPlayer.Enabled);  // "Give Priority to:" is still the choice

    F().rdNoPlayerPriority.Checked = true;
    F().rdPlayerPriority.Checked = false;
    F().rdNoPlayerPriorityClick();
    EXPECT_FALSE(F().cboDifPlayer.Enabled);
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Choice"), "0");
}

TEST_F(FrmMainTest, ViewCommandLinesText) {
    fake.AddFile("C:\\Tools\\mine.exe");
    fake.AddFile(PlayersIni, "[Mine Player]\r\nexe=C:\\Tools\\mine.exe\r\nsingle=-play [FILE]\r\nplaylist=\r\n");
    Open();
    Add("Mine Player", {".mp3"}, false);
    SelectLoaded("Mine Player");
    F().popCmdLinesClick();
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Information);
    EXPECT_EQ(fake.Messages[0].Buttons, MsgButtons::Ok);
    EXPECT_EQ(fake.Messages[0].Text,
              "MINE PLAYER:\r\rSingle Files: -play [FILE]\rPlaylists:      N/A\r"
              "Subtitles:     [PLAYER] [FILE] [SUBTITLE]");
    F().LstLoadedPlayers.ItemIndex = -1;
    F().popCmdLinesClick();
    EXPECT_EQ(fake.Messages.size(), 1u);
}

// --- loading the monitoring list -----------------------------------------------------------------

TEST_F(FrmMainTest, LoadSkipsUnusablePlayersButKeepsTheirSections) {
    const std::string selection =
        "[Ghost]\r\nName=Ghost\r\nPrompt=No\r\nExt=.wav\r\n[Gone]\r\nName=Gone\r\nPrompt=No\r\nExt=.ogg\r\n"
        "[Winamp]\r\nName=Winamp\r\nPrompt=Maybe\r\nExt=.mp3;.xyz;.avi\r\n";
    fake.AddFile(SelectionIni, selection);
    fake.AddFile(PlayersIni, "[Gone]\r\nexe=C:\\Gone\\gone.exe\r\n[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n");
    Open();
    ASSERT_EQ(Names(F().LstLoadedPlayers), std::vector<std::string>{"Winamp"});
    EXPECT_FALSE(F().LstLoadedPlayers.Items[0].Checked);  // anything but "Yes" plays without asking
    EXPECT_EQ(F().LstLoadedPlayers.Items[0].SubItems[2], ".mp3.avi");
    EXPECT_TRUE(Ext(".mp3").Checked);
    EXPECT_FALSE(Ext(".wav").Checked);
    EXPECT_EQ(*fake.Content(SelectionIni), selection);
    EXPECT_TRUE(F().RdMonitorOn.Enabled);

    // The unknown extension stays in the file through a prompt change and is skipped on delete.
    TickPrompt("Winamp", true);
    EXPECT_EQ(ReadIniString(SelectionIni, "Winamp", "Ext"), ".mp3;.xyz;.avi");
    SelectLoaded("Winamp");
    F().popLstDeleteClick();
    EXPECT_EQ(ReadIniSections(SelectionIni), (StringList{"Ghost", "Gone"}));
}

TEST_F(FrmMainTest, SelectionFileIsDeletedOnlyWhenItHoldsNoSection) {
    struct Case {
        const char* name;
        std::string content;
        bool locked;
        bool kept;
    } cases[] = {
        {"only unusable players", "[Gone]\r\nName=Gone\r\nExt=.mp3\r\n", false, true},
        {"unreadable", "[Winamp]\r\nName=Winamp\r\nExt=.mp3\r\n", true, true},
        {"no section", "; emptied by hand\r\n", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.AddFile(SelectionIni, c.content);
        if (c.locked) fake.SetLocked(SelectionIni);
        Globals.Vexamo->Status = 0;
        Open();
        EXPECT_EQ(fake.FileExists(SelectionIni), c.kept);
        EXPECT_TRUE(F().LstLoadedPlayers.Items.empty());
        EXPECT_EQ(Globals.Vexamo->Status, 1);
        EXPECT_FALSE(F().RdMonitorOn.Enabled);
        Globals.frmMain.reset();
        fake.DeleteFile(SelectionIni);
    }
}

TEST_F(FrmMainTest, PriorityControlsRestoredFromTheSettings) {
    fake.AddFile(SelectionIni,
                 "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3\r\n[BsPlayer]\r\nName=BsPlayer\r\nPrompt=No\r\n"
                 "Ext=.avi\r\n");
    fake.AddFile(PlayersIni,
                 "[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n[BsPlayer]\r\nexe=C:\\BsPlayer\\bsplayer.exe\r\n");
    struct Case {
        const char* priority;
        bool given;
        const char* player;
        int entry;
    } cases[] = {
        {"User=1\r\nChoice=1\r\nPlayer=BsPlayer\r\n", true, "BsPlayer", 1},
        {"User=1\r\nChoice=1\r\nPlayer=Removed\r\n", true, "Winamp", 0},  // no longer in the list
        {"User=1\r\nChoice=0\r\nPlayer=\r\n", false, "", 0},  // no priority: nothing to store on opening
        {"User=0\r\nChoice=1\r\nPlayer=BsPlayer\r\n", false, "BsPlayer", 1},  // not restored at all
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.priority);
        fake.AddFile(SettingsIni, std::string("[Main]\r\nStatus=On\r\n[Priority]\r\n") + c.priority);
        Open();
        EXPECT_EQ(F().rdPlayerPriority.Checked, c.given);
        EXPECT_EQ(F().rdNoPlayerPriority.Checked, !c.given);
        EXPECT_EQ(F().cboDifPlayer.Enabled, c.given);
        EXPECT_EQ(Globals.Vexamo->Settings->Priority.Player, c.player);
        EXPECT_EQ(F().cboDifPlayer.ItemIndex, c.entry);
        EXPECT_EQ(Globals.Vexamo->Settings->Priority.Choice, c.given);
        EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Choice"), c.given ? "1" : "0");
        EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Player"), c.player);
        EXPECT_TRUE(F().RdMonitorOn.Checked);
        Globals.frmMain.reset();
    }
}

// --- the window and the agent --------------------------------------------------------------------

TEST_F(FrmMainTest, CloseAndMinimiseSaveTheSettingsAndGiveTheIconBack) {
    for (SysCommand command : {SysCommand::Close, SysCommand::Minimize}) {
        fake.AddFile(SettingsIni, "[Main]\r\nStatus=Off\r\n");
        Open();
        F().Show();
        EXPECT_EQ(log.shown, 1);
        EXPECT_FALSE(agent.iconInTray);
        EXPECT_FALSE(F().WMSysCommand(SysCommand::Other));
        Globals.Vexamo->Settings->Priority.Player = "Winamp";
        EXPECT_TRUE(F().WMSysCommand(command));
        EXPECT_FALSE(Globals.frmMain);
        EXPECT_FALSE(Globals.SelectedPlayers);
        EXPECT_EQ(log.destroyed, 1);
        EXPECT_TRUE(agent.iconInTray);
        EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Player"), "Winamp");
        EXPECT_EQ(ReadIniString(SettingsIni, "Main", "Status"), "Off");
        log = {};
    }
}

TEST_F(FrmMainTest, BottomRowReachesTheAgent) {
    Open();
    F().btSettingsClick();
    EXPECT_EQ(agent.optionsOpeners, std::vector<Caller>{Caller::ConfigWindow});
    F().lblAboutClick();
    EXPECT_EQ(agent.abouts, 1);
    F().btExitClick();
    EXPECT_EQ(fake.Messages.back().Text, "Are you sure ?");
    EXPECT_EQ(fake.Messages.back().Kind, MsgKind::Confirmation);
    EXPECT_EQ(agent.exits, 0);
    fake.Answer(MsgResult::Yes);
    F().btExitClick();
    EXPECT_EQ(agent.exits, 1);

    F().stStatus.Panels[2].Text = "Label: FILMS";
    F().ShowStatus("Device(s): D:\\", "Ready (CD Detected)", std::nullopt, true);
    EXPECT_EQ(F().stStatus.Panels[0].Text, "Device(s): D:\\");
    EXPECT_EQ(F().stStatus.Panels[1].Text, "Ready (CD Detected)");
    EXPECT_EQ(F().stStatus.Panels[2].Text, "Label: FILMS");
    EXPECT_TRUE(F().btScanNow.Enabled);
    F().ShowStatus("Device(s): D:\\", "Not Ready", "", false);
    EXPECT_EQ(F().stStatus.Panels[2].Text, "");
    EXPECT_FALSE(F().btScanNow.Enabled);
}

// --- the selection after a refill ------------------------------------------------------------------

TEST_F(FrmMainTest, RefillLeavesNoChoiceAndNoTicksBehind) {
    const std::string catalogue = "[Mine]\r\nexe=C:\\Tools\\mine.exe\r\n";
    fake.AddFile("C:\\Tools\\mine.exe");
    struct Case {
        const char* name;
        std::function<void()> refill;
    } cases[] = {
        {"delete",
         [&] {
             fake.Answer(MsgResult::Yes);
             F().PopPlayerDeleteClick();
         }},
        {"rename",
         [&] {
             windows.wizards.user = [&](TfrmPlayerWizard&) {
                 EraseIniSection(PlayersIni, "Mine");
                 WriteIniString(PlayersIni, "Mine2", "exe", "C:\\Tools\\mine.exe");
             };
             F().PopPlayerEditClick();
             windows.wizards.user = nullptr;
         }},
        {"reset",
         [&] {
             fake.Answer(MsgResult::Yes);
             F().popPlayerResetAllClick();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.AddFile(PlayersIni, catalogue);
        Open();
        Choose("Mine");
        F().LblSelAllVideoClick();
        Tick(".mp3");
        F().chkPrompt.Checked = true;
        F().PopPlayerPopup();
        c.refill();

        EXPECT_EQ(F().lstPlayers.ItemIndex, -1);
        EXPECT_EQ(F().SelectedName, "");
        EXPECT_EQ(F().SelectedIndex, -1);
        EXPECT_FALSE(F().chkExtsAudio.Enabled || F().ChkExtsVideo.Enabled || F().btAdd.Enabled ||
                     F().chkPrompt.Enabled || F().chkPrompt.Checked);
        EXPECT_EQ(F().CheckedCount, 0);
        EXPECT_FALSE(Ext(".mp3").Checked || Ext(".avi").Checked);
        EXPECT_EQ(F().LblSelAllVideo.Caption, "Select All");

        // A click on empty space chooses nothing, and "Add" has nothing to add to.
        const std::vector<std::string> rows = Names(F().lstPlayers);
        F().lstPlayers.ItemIndex = -1;
        F().lstPlayersClick();
        EXPECT_EQ(F().lstPlayers.ItemIndex, -1);
        F().btAddClick();
        EXPECT_FALSE(fake.FileExists(SelectionIni));
        EXPECT_EQ(Names(F().lstPlayers), rows);
        Globals.frmMain.reset();
    }

    // A player whose definition left Players.ini behind the window's back is not added either.
    fake.AddFile(PlayersIni, catalogue);
    Open();
    Choose("Mine");
    Tick(".mp3");
    EraseIniSection(PlayersIni, "Mine");
    F().btAddClick();
    EXPECT_FALSE(fake.FileExists(SelectionIni));
    EXPECT_FALSE(Ext(".mp3").Checked);
}

TEST_F(FrmMainTest, TicksOfAnAbandonedChoiceDoNotGoToTheNextPlayer) {
    Open();
    Add("Winamp", {".mp3"}, false);
    Choose("BsPlayer");
    Tick(".wav");
    Tick(".ogg");
    F().LblSelAllVideoClick();
    SelectLoaded("Winamp");
    F().popLstDeleteClick();
    EXPECT_EQ(F().LblSelAllVideo.Caption, "Select All");

    Add("BsPlayer", {".mp3"}, false);
    EXPECT_EQ(ReadIniString(SelectionIni, "BsPlayer", "Ext"), ".mp3");
}

TEST_F(FrmMainTest, ResetPlayersNeverTouchesAMonitoredPlayer) {
    fake.AddFile("C:\\Tools\\mine.exe");
    fake.AddFile(PlayersIni, "[Mine]\r\nexe=C:\\Tools\\mine.exe\r\n");
    Open();
    Add("Mine", {".mp3"}, false);
    Choose("Winamp");
    F().PopPlayerPopup();
    F().PopPlayerEditClick();  // the wizard is cancelled
    EXPECT_FALSE(F().PopPlayer.Items[TfrmMain::popPlayerResetAll].Enabled);
    fake.Answer(MsgResult::Yes);
    F().popPlayerResetAllClick();
    EXPECT_TRUE(fake.Messages.empty());
    EXPECT_TRUE(IniSectionExists(PlayersIni, "Mine"));
    EXPECT_EQ(Names(F().LstLoadedPlayers), std::vector<std::string>{"Mine"});
    EXPECT_FALSE(Ext(".mp3").Enabled);

    SelectLoaded("Mine");
    F().popLstDeleteClick();
    EXPECT_TRUE(F().PopPlayer.Items[TfrmMain::popPlayerResetAll].Enabled);
}

TEST_F(FrmMainTest, AnExtensionTwoSectionsClaimPlaysWithTheFirst) {
    const std::string selection =
        "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3\r\n[BsPlayer]\r\nName=BsPlayer\r\nPrompt=No\r\n"
        "Ext=.mp3;.avi\r\n";
    fake.AddFile(SelectionIni, selection);
    fake.AddFile(PlayersIni, BothPlayers);
    Open();
    EXPECT_EQ(F().LstLoadedPlayers.Items[1].SubItems, (std::vector<std::string>{"BsPlayer", "VIDEO", ".avi"}));
    EXPECT_EQ(*fake.Content(SelectionIni), selection);

    // Freed with Winamp, .mp3 belongs to nobody; BsPlayer's section loses it once it is written.
    SelectLoaded("Winamp");
    F().popLstDeleteClick();
    EXPECT_TRUE(Ext(".mp3").Enabled);
    TickPrompt("BsPlayer", true);
    EXPECT_EQ(ReadIniString(SelectionIni, "BsPlayer", "Ext"), ".avi");
}

// --- failed writes -------------------------------------------------------------------------------

TEST_F(FrmMainTest, AFailedSelectionWriteChangesNothing) {
    Open();
    Add("Winamp", {".mp3"}, false);
    const std::string before = *fake.Content(SelectionIni);

    fake.SetLocked(SelectionIni);
    SelectLoaded("Winamp");
    EXPECT_THROW(F().popLstDeleteClick(), std::exception);
    fake.SetLocked(SelectionIni, false);
    EXPECT_EQ(*fake.Content(SelectionIni), before);
    EXPECT_EQ(Names(F().LstLoadedPlayers), std::vector<std::string>{"Winamp"});
    EXPECT_TRUE(Ext(".mp3").Checked);
    EXPECT_FALSE(Ext(".mp3").Enabled);
    EXPECT_EQ(Globals.SelectedPlayers->IndexOfPlayer("Winamp"), 0);
    EXPECT_EQ(RowOf(F().lstPlayers, "Winamp"), -1);

    fake.SetReadOnly(SelectionIni);
    Choose("BsPlayer");
    Tick(".avi");
    EXPECT_THROW(F().btAddClick(), std::exception);
    EXPECT_EQ(*fake.Content(SelectionIni), before);
    EXPECT_EQ(Globals.SelectedPlayers->Players.size(), 1u);
    EXPECT_EQ(Names(F().LstLoadedPlayers), std::vector<std::string>{"Winamp"});
    EXPECT_NE(RowOf(F().lstPlayers, "BsPlayer"), -1);
    EXPECT_TRUE(Ext(".avi").Checked && Ext(".avi").Enabled);
    EXPECT_EQ(F().cboDifPlayer.Items, std::vector<std::string>{"Winamp"});

    EXPECT_THROW(TickPrompt("Winamp", true), std::exception);
    EXPECT_FALSE(F().LstLoadedPlayers.Items[0].Checked);
    EXPECT_EQ(Globals.SelectedPlayers->Players[0]->Prompt, 1);
    EXPECT_EQ(*fake.Content(SelectionIni), before);
}

TEST_F(FrmMainTest, AFailedPriorityWriteChangesNothing) {
    fake.AddFile(SettingsIni, "[Main]\r\nStatus=Off\r\n");
    Open();
    Add("Winamp", {".mp3"}, false);
    Add("BsPlayer", {".avi"}, false);
    const std::string before = *fake.Content(SettingsIni);
    fake.SetReadOnly(SettingsIni);

    F().rdPlayerPriority.Checked = true;
    F().rdNoPlayerPriority.Checked = false;
    EXPECT_THROW(F().rdPlayerPriorityClick(), std::exception);
    EXPECT_TRUE(F().rdNoPlayerPriority.Checked);
    EXPECT_FALSE(F().rdPlayerPriority.Checked || F().cboDifPlayer.Enabled);
    EXPECT_FALSE(Globals.Vexamo->Settings->Priority.Choice);
    EXPECT_TRUE(Globals.Vexamo->Settings->UserPriority);

    F().RdMonitorOn.Checked = true;
    F().RdMonitorOff.Checked = false;
    EXPECT_THROW(F().RdMonitorOnClick(), std::exception);
    EXPECT_TRUE(F().RdMonitorOff.Checked);
    EXPECT_FALSE(F().RdMonitorOn.Checked);
    EXPECT_EQ(Globals.Vexamo->Status, 1);
    EXPECT_EQ(*fake.Content(SettingsIni), before);
}

// --- the priority shown is the priority stored ---------------------------------------------------

TEST_F(FrmMainTest, ThePriorityShownIsThePriorityStored) {
    fake.AddFile("C:\\Tools\\mine.exe");
    fake.AddFile(PlayersIni, "[Mine]\r\nexe=C:\\Tools\\mine.exe\r\n");
    Open();
    Add("Winamp", {".mp3"}, false);
    Add("BsPlayer", {".avi"}, false);
    const TPriority& priority = Globals.Vexamo->Settings->Priority;
    auto stored = [&] { return ReadIniString(SettingsIni, "Priority", "Player"); };

    // "Give Priority to:" without a pick gives it to the player the combo box shows.
    F().rdPlayerPriority.Checked = true;
    F().rdNoPlayerPriority.Checked = false;
    F().rdPlayerPriorityClick();
    EXPECT_EQ(F().cboDifPlayer.Text, "Winamp");
    EXPECT_EQ(priority.Player, "Winamp");
    EXPECT_EQ(stored(), "Winamp");

    F().cboDifPlayer.Select(1);
    F().cboDifPlayerChange();
    EXPECT_EQ(stored(), "BsPlayer");
    TickPrompt("Winamp", true);
    EXPECT_EQ(F().cboDifPlayer.Text, "BsPlayer");
    TickPrompt("Winamp", false);
    Add("Mine", {".ogg"}, false);
    EXPECT_EQ(F().cboDifPlayer.Text, "BsPlayer");
    SelectLoaded("Winamp");
    F().popLstDeleteClick();
    EXPECT_EQ(F().cboDifPlayer.Text, "BsPlayer");
    EXPECT_EQ(priority.Player, "BsPlayer");

    // Deleting the priority player gives the priority to the one shown next, and to nobody at last.
    SelectLoaded("BsPlayer");
    F().popLstDeleteClick();
    EXPECT_EQ(F().cboDifPlayer.Text, "Mine");
    EXPECT_EQ(stored(), "Mine");
    SelectLoaded("Mine");
    F().popLstDeleteClick();
    EXPECT_EQ(priority.Player, "");
    EXPECT_EQ(stored(), "");
}

TEST_F(FrmMainTest, NoPriorityShownAtLoadIsNoPriorityStored) {
    fake.AddFile(SettingsIni, "[Main]\r\nStatus=Off\r\n[Priority]\r\nUser=0\r\nChoice=1\r\nPlayer=Winamp\r\n");
    fake.AddFile(SelectionIni, "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3\r\n");
    fake.AddFile(PlayersIni, BothPlayers);
    Open();
    EXPECT_TRUE(F().rdNoPlayerPriority.Checked);
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Choice"), "0");
    Add("BsPlayer", {".avi"}, false);
    EXPECT_TRUE(F().rdNoPlayerPriority.Enabled);
    F().WMSysCommand(SysCommand::Close);
    Open();
    EXPECT_TRUE(F().rdNoPlayerPriority.Checked);
    EXPECT_FALSE(F().rdPlayerPriority.Checked);
    EXPECT_FALSE(Globals.Vexamo->Settings->Priority.Choice);
}

// --- what E&xit keeps ---------------------------------------------------------------------------------

TEST_F(FrmMainTest, EveryChoiceOfTheWindowIsStoredAtOnce) {
    const std::string settings = "[Main]\r\nStatus=Off\r\n[Priority]\r\nUser=1\r\nChoice=0\r\nPlayer=Winamp\r\n";
    fake.AddFile(SettingsIni, settings);
    fake.AddFile(SelectionIni,
                 "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3\r\n[BsPlayer]\r\nName=BsPlayer\r\nPrompt=No\r\n"
                 "Ext=.avi\r\n");
    fake.AddFile(PlayersIni, BothPlayers);
    Open();
    EXPECT_EQ(*fake.Content(SettingsIni), settings) << "opening the window writes nothing";

    F().RdMonitorOn.Checked = true;
    F().RdMonitorOff.Checked = false;
    F().RdMonitorOnClick();
    F().rdPlayerPriority.Checked = true;
    F().rdNoPlayerPriority.Checked = false;
    F().rdPlayerPriorityClick();
    F().cboDifPlayer.Select(1);
    F().cboDifPlayerChange();
    TickPrompt("Winamp", true);
    fake.Answer(MsgResult::Yes);
    F().btExitClick();
    EXPECT_EQ(agent.exits, 1);

    EXPECT_EQ(ReadIniString(SettingsIni, "Main", "Status"), "On");
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Choice"), "1");
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Player"), "BsPlayer");
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "User"), "0");
}

TEST_F(FrmMainTest, AnUnwritableSettingsFileStillLetsTheWindowOpen) {
    // With no player to monitor the window switches monitoring off, which it cannot store here.
    fake.AddFile(SettingsIni, "[Main]\r\nStatus=On\r\n");
    fake.SetReadOnly(SettingsIni);
    ASSERT_NO_THROW(Open());
    EXPECT_TRUE(F().RdMonitorOff.Checked);
    EXPECT_EQ(Globals.Vexamo->Status, 1);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Error);
    EXPECT_EQ(fake.Messages[0].Text, "Unable to write to " + SettingsIni);
    EXPECT_EQ(ReadIniString(SettingsIni, "Main", "Status"), "On");
}

// --- what keys, radio clicks, row walks and menu choices do ---------------------------------------

TEST_F(FrmMainTest, EnterOnThePlayersListAndAKeyboardWalkChooseAsAClickDoes) {
    Open();
    const int winamp = RowOf(F().lstPlayers, "Winamp");
    F().lstPlayers.ItemIndex = winamp;
    F().DialogKey(TDialogKey::Enter, nullptr);  // Enter elsewhere chooses nothing
    EXPECT_TRUE(F().SelectedName.empty());
    F().DialogKey(TDialogKey::Enter, &F().lstPlayers);
    EXPECT_EQ(F().SelectedName, "Winamp");
    EXPECT_TRUE(F().chkExtsAudio.Enabled);

    // Walking past "(Add new Player)" opens no wizard; Enter on it does.
    F().lstPlayers.ItemIndex = 0;
    F().lstPlayersRowWalkedTo(0);
    EXPECT_TRUE(windows.wizards.runs.empty());
    F().lstPlayers.ItemIndex = RowOf(F().lstPlayers, "BsPlayer");
    F().lstPlayersRowWalkedTo(F().lstPlayers.ItemIndex);
    EXPECT_EQ(F().SelectedName, "BsPlayer");
    F().lstPlayers.ItemIndex = 0;
    F().DialogKey(TDialogKey::Enter, &F().lstPlayers);
    EXPECT_EQ(windows.wizards.runs, std::vector<std::string>{""});

    // Escape is the close box.
    F().Show();
    F().DialogKey(TDialogKey::Escape, &F().lstPlayers);
    EXPECT_FALSE(Globals.frmMain);
    EXPECT_EQ(log.destroyed, 1);
}

TEST_F(FrmMainTest, ARadioHandlerRunsOnlyWhenTheClickChecksItsButton) {
    Open();
    Add("Winamp", {".mp3"}, false);
    Add("BsPlayer", {".avi"}, false);
    const size_t calls = agent.statusCallers.size();
    F().RadioClicked(F().RdMonitorOff);  // checked already
    EXPECT_EQ(agent.statusCallers.size(), calls);
    F().RadioClicked(F().RdMonitorOn);
    EXPECT_TRUE(F().RdMonitorOn.Checked && !F().RdMonitorOff.Checked);
    EXPECT_EQ(Globals.Vexamo->Status, MonitoringOn);
    EXPECT_EQ(agent.statusCallers.size(), calls + 1);
    F().RadioClicked(F().RdMonitorOn);
    EXPECT_EQ(agent.statusCallers.size(), calls + 1);

    F().RadioClicked(F().rdPlayerPriority);
    EXPECT_TRUE(F().cboDifPlayer.Enabled);
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Choice"), "1");
    WriteIniString(SettingsIni, "Priority", "Choice", "x");
    F().RadioClicked(F().rdPlayerPriority);
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Choice"), "x");
    F().RadioClicked(F().rdNoPlayerPriority);
    EXPECT_FALSE(F().cboDifPlayer.Enabled);
    EXPECT_EQ(ReadIniString(SettingsIni, "Priority", "Choice"), "0");
}

TEST_F(FrmMainTest, OnlyAChangedPromptTickRunsTheChangeHandler) {
    Open();
    Add("Winamp", {".mp3"}, false);
    const int row = RowOf(F().LstLoadedPlayers, "Winamp");
    WriteIniString(SelectionIni, "Winamp", "Prompt", "unchanged");
    F().LstLoadedPlayersCheckClick(row, false);  // what the row shows already
    F().LstLoadedPlayersCheckClick(row + 1, true);
    F().LstLoadedPlayersCheckClick(-1, true);
    EXPECT_EQ(ReadIniString(SelectionIni, "Winamp", "Prompt"), "unchanged");
    F().LstLoadedPlayersCheckClick(row, true);
    EXPECT_TRUE(F().LstLoadedPlayers.Items[row].Checked);
    EXPECT_EQ(ReadIniString(SelectionIni, "Winamp", "Prompt"), "Yes");
}

TEST_F(FrmMainTest, EachMenuItemRunsItsOwnHandlerAndDisabledOnesNone) {
    fake.AddFile(PlayersIni, "[Mine]\r\nexe=C:\\Tools\\mine.exe\r\n");
    Open();
    const auto number = [](const TPopupMenu& menu, int item) { return menu.NumberOf({item, -1}); };
    Choose("Mine");
    F().PopPlayerPopup();
    F().PopPlayerClick(number(F().PopPlayer, TfrmMain::PopPlayerDelete));
    EXPECT_EQ(fake.Messages.back().Text, "Are you sure you want to delete \"Mine\" ?");
    F().PopPlayerClick(number(F().PopPlayer, TfrmMain::PopPlayerEdit));
    EXPECT_EQ(windows.wizards.runs, std::vector<std::string>{"Mine"});
    F().PopPlayerClick(number(F().PopPlayer, TfrmMain::popPlayerResetAll));
    EXPECT_EQ(fake.Messages.back().Text, "Are you sure you want to reset to the default Players ?");
    const size_t messages = fake.Messages.size();
    F().PopPlayerClick(number(F().PopPlayer, TfrmMain::PopPlayerSep));
    F().PopPlayerClick(99);
    Choose("Mine");
    F().lstPlayers.ItemIndex = 0;
    F().PopPlayerPopup();  // "(Add new Player)": Edit and Delete are greyed
    F().PopPlayerClick(number(F().PopPlayer, TfrmMain::PopPlayerEdit));
    F().PopPlayerClick(number(F().PopPlayer, TfrmMain::PopPlayerDelete));
    EXPECT_EQ(fake.Messages.size(), messages);
    EXPECT_EQ(windows.wizards.runs.size(), 1u);

    Add("Winamp", {".mp3"}, false);
    Add("BsPlayer", {".avi"}, false);
    SelectLoaded("Winamp");
    F().PopListOptionsPopup();
    F().PopListOptionsClick(number(F().PopListOptions, TfrmMain::popCmdLines));
    EXPECT_EQ(fake.Messages.back().Text.substr(0, 7), "WINAMP:");
    F().PopListOptionsClick(number(F().PopListOptions, TfrmMain::popLstDelete));
    EXPECT_EQ(Names(F().LstLoadedPlayers), std::vector<std::string>{"BsPlayer"});
    SelectLoaded("BsPlayer");
    F().PopListOptionsPopup();  // one row: Delete All is greyed
    F().PopListOptionsClick(number(F().PopListOptions, TfrmMain::popLstDelAll));
    F().LstLoadedPlayers.ItemIndex = -1;
    F().PopListOptionsPopup();  // no row: Delete is greyed too
    F().PopListOptionsClick(number(F().PopListOptions, TfrmMain::popLstDelete));
    EXPECT_EQ(F().LstLoadedPlayers.Items.size(), 1u);
    Add("Winamp", {".mp3"}, false);
    SelectLoaded("Winamp");
    F().PopListOptionsPopup();
    F().PopListOptionsClick(number(F().PopListOptions, TfrmMain::popLstDelAll));
    EXPECT_TRUE(F().LstLoadedPlayers.Items.empty());
}

// --- discs played as a whole -----------------------------------------------------------------------

TEST_F(FrmMainTest, DiscKindsGoOnlyToAPlayerWithADiscFormAndToOneAtATime) {
    fake.AddFile(PlayersIni, BothPlayers + "disc=[DISC]\r\ndisc.bluray=\r\n");  // BsPlayer: no Blu-ray
    auto disc = [&](const std::string& kind) -> TCheckListItem& { return ItemOf(F().chkDiscs, kind); };
    Open();
    EXPECT_EQ(F().chkDiscs.Items.size(), 4u);
    Choose("Winamp");
    EXPECT_FALSE(disc("DVD-Video").Enabled) << "a player without a disc form is offered no disc";
    Choose("BsPlayer");
    EXPECT_TRUE(disc("DVD-Video").Enabled && disc("Video CD").Enabled);
    EXPECT_FALSE(disc("Blu-ray").Enabled);

    // A tick given for one player does not stay on a kind the next one cannot play.
    F().chkDiscs.ItemIndex = 0;
    disc("DVD-Video").Checked = true;
    F().chkDiscsClickCheck();
    EXPECT_TRUE(F().btAdd.Enabled) << "a disc kind alone is enough to add a player";
    Choose("Winamp");
    EXPECT_FALSE(disc("DVD-Video").Checked);
    EXPECT_FALSE(F().btAdd.Enabled);

    Choose("BsPlayer");
    Tick(".mkv");
    F().chkDiscs.ItemIndex = 0;
    disc("DVD-Video").Checked = true;
    F().chkDiscsClickCheck();
    F().btAddClick();
    EXPECT_EQ(ReadIniString(SelectionIni, "BsPlayer", "Ext"), ".mkv;DVD-Video");
    ASSERT_EQ(F().LstLoadedPlayers.Items.size(), 1u);
    EXPECT_EQ(F().LstLoadedPlayers.Items[0].SubItems[1], "VIDEO");
    EXPECT_EQ(F().LstLoadedPlayers.Items[0].SubItems[2], ".mkv DVD-Video");

    // Taken: ticked and out of reach for every other player, also after the window opens again.
    fake.AddFile(PlayersIni, *fake.Content(PlayersIni) + "[Third]\r\nexe=C:\\Winamp\\winamp.exe\r\ndisc=[DISC]\r\n");
    Globals.frmMain.reset();
    Open();
    Choose("Third");
    EXPECT_TRUE(disc("DVD-Video").Checked);
    EXPECT_FALSE(disc("DVD-Video").Enabled);
    EXPECT_TRUE(disc("Blu-ray").Enabled);
}

// --- many players -----------------------------------------------------------------------------

// Each profile call searches the whole file on Windows: opening the window must read each file a
// few times whatever the number of players, never once per player or per value, or a long
// catalogue makes it slow out of proportion. What it lists stays what the files say.
TEST_F(FrmMainTest, OpeningReadsEachFileAFewTimesWhateverThePlayers) {
    const auto openWith = [&](int custom) {
        std::string players, selection;
        for (int i = 0; i < custom; ++i) {
            const std::string name = "Player " + std::to_string(i);
            players += "[" + name + "]\r\nexe=C:\\Winamp\\winamp.exe\r\nINDEX=3\r\nindex=1\r\nsingle=\"/play [FILE]\"\r\n" +
                       "disc.dvd=\r\n";
            if (i % 2 == 0) selection += "[" + name + "]\r\nName=" + name + "\r\nPrompt=Yes\r\nExt=.avi;.zzz\r\n";
        }
        fake.AddFile(PlayersIni, players);
        fake.AddFile(SelectionIni, selection);
        Globals.frmMain.reset();
        fake.IniReads = 0;
        Open();
        return fake.IniReads;
    };
    const int reads40 = openWith(40);
    const int reads80 = openWith(80);
    EXPECT_EQ(reads80, reads40);
    EXPECT_LE(reads40, 12);

    // The listed half with its pictures, the selected half with every value as written.
    EXPECT_EQ(F().lstPlayers.Items.size(), 1u + 40u + 2u);
    ASSERT_EQ(Globals.SelectedPlayers->Players.size(), 40u);
    const TUserPlayer& first = *Globals.SelectedPlayers->Players.front();
    EXPECT_EQ(first.Prompt, 0);
    EXPECT_EQ(first.Player->Index, 3);  // the first of two equal names
    EXPECT_EQ(first.Player->Flags->Single, "/play [FILE]");
    EXPECT_EQ(first.Player->Flags->Playlist, "[PLAYLIST]");
    EXPECT_EQ(first.Player->Flags->DiscByKind[0], std::optional<std::string>(""));
    EXPECT_FALSE(first.Player->Flags->DiscByKind[1]);
    ASSERT_EQ(first.UnknownExtensions.size(), 1u);
    EXPECT_EQ(first.UnknownExtensions.front().Ext, ".zzz");
    // Only the first player keeps .avi.
    EXPECT_EQ(Globals.SelectedPlayers->Players[0]->Extensions.size(), 1u);
    EXPECT_TRUE(Globals.SelectedPlayers->Players[1]->Extensions.empty());
}
