// The playback chooser and the scan's progress window, driven as the window bindings drive them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/Globals.h"
#include "platform/Errors.h"
#include "model/User.h"
#include "model/VexaCfg.h"
#include "platform/Jpeg.h"
#include "scan/Splash.h"
#include "scan/fileMonitor.h"
#include "support/FakePlatform.h"
#include "support/ScanHosts.h"

using namespace vexamo;
using vexamo::test::FakeMonitorHost;
using vexamo::test::FakePlatform;
using vexamo::test::FakeScaningHost;

namespace {

const std::string Dvd = "C:\\MicroDVD\\microdvd.exe";
const std::string Amp = "C:\\Winamp\\winamp.exe";

class Chooser : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramFolder = "C:\\Vexamo\\";
        fake.AddFolder("C:\\Vexamo");
        fake.AddDrive("D:\\", DriveKind::CdRom, "MOVIES");
        fake.AddDrive("E:\\", DriveKind::CdRom, "MUSIC");
        Globals.Vexamo = std::make_unique<TVexamo>();
        Globals.Vexamo->Settings->Subtitles.Folders = {"D:\\", "E:\\"};
        Globals.SelectedPlayers = std::make_unique<TSelectedPlayer>();
        // A movie player with a playlist template and one without, in selection order.
        AddPlayer("MicroDVD", Dvd, ".lst", {".mp3", ".avi", ".mpg", ".wav"});
        AddPlayer("Winamp", Amp, ".m3u", {".mp3", ".ogg"}).Player->Flags->Playlist = "";
    }
    void TearDown() override { Globals.Reset(); }

    TUserPlayer& AddPlayer(const std::string& name, const std::string& exe, const std::string& playlistExt,
                           const StringList& exts) {
        Globals.SelectedPlayers->AddNew();
        TUserPlayer& p = *Globals.SelectedPlayers->Players.back();
        p.Player->Name = name;
        p.Player->Exe = exe;
        p.Player->PlaylistExt = playlistExt;
        p.Player->Flags->Subtitles = "/V:[FILE] /S:[SUBTITLE]";
        for (const std::string& e : exts) p.AddExtension(e);
        return p;
    }
    TUserPlayer& Player(int i) { return *Globals.SelectedPlayers->Players.at(i); }

    // What a scan leaves: files of one player's extension, its pair, its drives.
    void Found(int player, const std::string& ext, const StringList& files) {
        TUserPlayer& p = Player(player);
        TExtension& e = p.Extensions.at(p.IndexOfExtension(ext));
        if (!e.Found) {
            e.Found = std::make_unique<TPlaylist>();
            Globals.Vexamo->FoundPairs.push_back(ext);
            Globals.Vexamo->FoundPairs.push_back(p.Player->Name);
        }
        for (const std::string& f : files) {
            e.Found->Files.push_back(f);
            fake.AddFile(f);
            const std::string root = f.substr(0, 3);
            StringList& drives = Globals.Vexamo->MediaDrives;
            if (std::find(drives.begin(), drives.end(), root) == drives.end()) drives.push_back(root);
        }
    }

    TfrmMonitor& Open() {
        Globals.frmMonitor = std::make_unique<TfrmMonitor>(host.Binding());
        Globals.frmMonitor->FormShow();
        return *Globals.frmMonitor;
    }
    // The user presses a mouse button over the list with row `row` selected.
    void ClickRow(int row) {
        Globals.frmMonitor->lstFileTypes.ItemIndex = row;
        Globals.frmMonitor->lstFileTypesMouseDown();
    }
    std::string Playlist(const std::string& name) { return fake.Content("C:\\Vexamo\\" + name).value_or("<none>"); }
    std::string Started() const { return fake.Started.empty() ? "<none>" : fake.Started.back().Parameters; }

    FakePlatform fake;
    FakeMonitorHost host;
};

}  // namespace

// --- filling and the menu -----------------------------------------------------------------------

TEST_F(Chooser, ShowsOneRowPerPairWithPictureDrivesAndLabel) {
    Found(0, ".avi", {"D:\\film.avi"});
    Found(0, ".mpg", {"E:\\clip.mpg"});
    Found(1, ".ogg", {"E:\\song.ogg"});
    Globals.Vexamo->FoundPairs.push_back(".AVI");  // a pair with no player: no row
    Globals.Vexamo->DiscLabel = "[Various]";
    TfrmMonitor form(host.Binding());
    EXPECT_EQ(form.Caption, "File Monitor");
    EXPECT_EQ(form.lblDevice.Caption, "Device...");
    EXPECT_EQ(form.lblCDLabel.Caption, "Label...");
    form.FormShow();

    ASSERT_EQ(form.lstFileTypes.Items.size(), 3u);
    EXPECT_EQ(form.lstFileTypes.Items[0].SubItems, (StringList{".avi", "MicroDVD"}));
    EXPECT_EQ(form.lstFileTypes.Items[0].ImageIndex, 8);
    EXPECT_EQ(form.lstFileTypes.Items[1].ImageIndex, 11);
    EXPECT_EQ(form.lstFileTypes.Items[2].SubItems, (StringList{".ogg", "Winamp"}));
    EXPECT_EQ(form.lstFileTypes.Items[2].ImageIndex, 5);
    EXPECT_EQ(form.lblDevice.Caption, "D:\\,E:\\");
    EXPECT_EQ(form.lblCDLabel.Caption, "[Various]");

    // Filling twice does not double the rows; an extension outside the known list has no picture.
    Globals.Vexamo->FoundPairs.push_back("Winamp");
    Globals.Vexamo->FoundPairs.insert(Globals.Vexamo->FoundPairs.begin(), {".AVI", "MicroDVD"});
    form.FormShow();
    ASSERT_EQ(form.lstFileTypes.Items.size(), 5u);
    EXPECT_EQ(form.lstFileTypes.Items[0].ImageIndex, -1);
}

TEST_F(Chooser, MenuOpensOnlyForASelectedRowAndEnablesThatRowsKind) {
    Found(0, ".avi", {"D:\\film.avi"});
    Found(1, ".mp3", {"D:\\song.mp3"});
    TfrmMonitor& form = Open();
    EXPECT_FALSE(form.PlayItem(TfrmMonitor::mnuAudio).Enabled);
    EXPECT_FALSE(form.PlayItem(TfrmMonitor::mnuVideo).Enabled);
    EXPECT_EQ(form.popOptions.Items[TfrmMonitor::mnuPlay].Caption, "Enqueue && &Play");
    EXPECT_TRUE(form.popOptions.Items[TfrmMonitor::N1].IsSeparator());

    ClickRow(-1);
    EXPECT_TRUE(host.menus.empty());
    EXPECT_EQ(Globals.CurrentPlayer, nullptr);

    ClickRow(0);
    EXPECT_EQ(host.menus, std::vector<bool>{false});
    EXPECT_EQ(Globals.CurrentPlayer, &Player(0));
    EXPECT_EQ(form.CurrentExtension, 1);
    EXPECT_TRUE(form.PlayItem(TfrmMonitor::mnuVideo).Enabled);
    EXPECT_FALSE(form.PlayItem(TfrmMonitor::mnuAudio).Enabled);

    form.lstFileTypes.ItemIndex = 1;
    form.lstFileTypesKeyDown(ListKey::ContextMenu);
    EXPECT_EQ(host.menus, (std::vector<bool>{false, true})) << "from the keyboard the menu opens at the row";
    EXPECT_EQ(Globals.CurrentPlayer, &Player(1));
    EXPECT_EQ(form.CurrentExtension, 0);
    EXPECT_TRUE(form.PlayItem(TfrmMonitor::mnuAudio).Enabled);
    EXPECT_FALSE(form.PlayItem(TfrmMonitor::mnuVideo).Enabled);
}

TEST_F(Chooser, TheMenusChoiceByItsNumberPlaysThatItemsKindAndDisabledItemsDoNothing) {
    Found(0, ".avi", {"D:\\a.avi"});
    Found(0, ".mp3", {"D:\\b.mp3"});
    const TPopupMenu& menu = Open().popOptions;
    // Numbered depth first: the play submenu's items come right after their parent.
    const int selected = menu.NumberOf({TfrmMonitor::mnuPlay, TfrmMonitor::mnuSelected});
    const int audio = menu.NumberOf({TfrmMonitor::mnuPlay, TfrmMonitor::mnuAudio});
    const int open = menu.NumberOf({TfrmMonitor::mnuOpen});
    EXPECT_EQ(selected, 1);
    EXPECT_EQ(open, 5);

    host.choice = audio;  // still disabled for a video row: nothing is played
    ClickRow(0);
    EXPECT_TRUE(fake.Started.empty());
    ASSERT_NE(Globals.frmMonitor, nullptr);
    for (int nothing : {-1, menu.NumberOf({TfrmMonitor::mnuPlay}), menu.NumberOf({TfrmMonitor::N1}), 99}) {
        host.choice = nothing;
        ClickRow(0);
    }
    EXPECT_TRUE(fake.Started.empty());

    host.choice = selected;
    ClickRow(0);
    ASSERT_EQ(fake.Started.size(), 1u);
    EXPECT_NE(fake.Started.back().Parameters.find("a.avi"), std::string::npos);
    EXPECT_EQ(Globals.frmMonitor, nullptr);

    host.choice = open;
    Open();
    ClickRow(0);
    ASSERT_EQ(fake.Started.size(), 2u);
    EXPECT_EQ(fake.Started.back().File, Dvd);
    EXPECT_EQ(fake.Started.back().Parameters, "");
}

TEST_F(Chooser, EnterOpensTheSelectedRowsMenuThereAndEscapeCloses) {
    Found(0, ".avi", {"D:\\a.avi"});
    TfrmMonitor& form = Open();
    form.DialogKey(TDialogKey::Enter);  // no row selected yet
    EXPECT_TRUE(host.menus.empty());
    form.lstFileTypes.ItemIndex = 0;
    form.DialogKey(TDialogKey::Enter);
    EXPECT_EQ(host.menus, std::vector<bool>{true});
    Globals.frmMonitor->DialogKey(TDialogKey::Escape);
    EXPECT_EQ(Globals.frmMonitor, nullptr);
    EXPECT_TRUE(fake.Started.empty());
}

TEST(ChooserLayout, EveryControlAndTheHeadingLieInTheClientAreaApart) {
    std::vector<TfrmMonitor::Place> places(TfrmMonitor::Places.begin(), TfrmMonitor::Places.end());
    places.push_back(TfrmMonitor::HeadingPlace);
    for (size_t a = 0; a < places.size(); ++a) {
        const TfrmMonitor::Place& p = places[a];
        EXPECT_TRUE(p.Left >= 0 && p.Top >= 0 && p.Width > 0 && p.Height > 0 && p.Left + p.Width <= TfrmMonitor::ClientWidth &&
                    p.Top + p.Height <= TfrmMonitor::ClientHeight)
            << "control " << p.Id << " leaves the client area";
        for (size_t b = a + 1; b < places.size(); ++b) {
            const TfrmMonitor::Place& q = places[b];
            const bool apart = p.Left + p.Width <= q.Left || q.Left + q.Width <= p.Left || p.Top + p.Height <= q.Top ||
                               q.Top + q.Height <= p.Top;
            EXPECT_TRUE(apart) << "controls " << p.Id << " and " << q.Id << " overlap";
        }
    }
}

TEST(ListColumn, ADraggedColumnKeepsWithinItsRange) {
    const TListColumn files{"Files Found", 80, 50, 250};
    EXPECT_EQ(files.Allowed(120), 120);
    EXPECT_EQ(files.Allowed(20), 50);
    EXPECT_EQ(files.Allowed(400), 250);
    const TListColumn free{"Player", 250};
    EXPECT_EQ(free.Allowed(3), 3);
    EXPECT_EQ(free.Allowed(900), 900);
}

// --- what each command plays --------------------------------------------------------------------

TEST_F(Chooser, EachScopeWritesItsFilesInThePlayersExtensionOrder) {
    Found(0, ".mpg", {"D:\\c.mpg"});
    Found(0, ".avi", {"D:\\a.avi", "D:\\Sub\\b.avi"});
    Found(0, ".wav", {"D:\\x.wav"});
    Found(0, ".mp3", {"D:\\y.mp3"});
    auto play = [&](int row, MonitorCommand command) {
        fake.AddFile("C:\\Vexamo\\VexamoList.lst", "left over\r\n");
        Open();
        ClickRow(row);
        Globals.frmMonitor->CommandClick(command);
        EXPECT_EQ(Globals.frmMonitor, nullptr) << "a play command closes and frees the window";
        return Playlist("VexamoList.lst");
    };
    EXPECT_EQ(play(1, MonitorCommand::Selected), "D:\\a.avi\r\nD:\\Sub\\b.avi\r\n");
    EXPECT_EQ(Started(), "\"C:\\Vexamo\\VexamoList.lst\"");
    EXPECT_EQ(play(0, MonitorCommand::Video), "D:\\a.avi\r\nD:\\Sub\\b.avi\r\nD:\\c.mpg\r\n");
    EXPECT_EQ(play(2, MonitorCommand::Audio), "D:\\y.mp3\r\nD:\\x.wav\r\n");
    EXPECT_EQ(play(0, MonitorCommand::All), "D:\\y.mp3\r\nD:\\a.avi\r\nD:\\Sub\\b.avi\r\nD:\\c.mpg\r\nD:\\x.wav\r\n");
    EXPECT_EQ(fake.Started.size(), 4u);
    EXPECT_TRUE(Globals.PlayerStarted);
}

TEST_F(Chooser, OneFileSeveralWithoutPlaylistTemplateAndSubtitles) {
    Found(0, ".avi", {"D:\\Film\\war.avi"});
    fake.AddFile("D:\\Film\\war.srt");
    Found(1, ".mp3", {"E:\\1 a.mp3", "E:\\2.mp3"});

    // One video goes through the playlist file, and its subtitle is found beside it.
    Open();
    ClickRow(0);
    Globals.frmMonitor->mnuSelectedClick();
    EXPECT_EQ(Playlist("VexamoList.lst"), "D:\\Film\\war.avi\r\n");
    EXPECT_EQ(fake.Started.back().File, Dvd);
    EXPECT_EQ(Started(), "/V:\"D:\\Film\\war.avi\" /S:\"D:\\Film\\war.srt\"");

    // Two songs for a player without a playlist template: the first one alone.
    Open();
    ClickRow(1);
    Globals.frmMonitor->mnuSelectedClick();
    EXPECT_EQ(Playlist("VexamoList.m3u"), "E:\\1 a.mp3\r\nE:\\2.mp3\r\n");
    EXPECT_EQ(fake.Started.back().File, Amp);
    EXPECT_EQ(Started(), "\"E:\\1 a.mp3\"");
}

TEST_F(Chooser, FilesTheirPlaylistCannotNameAreToldOfOnceThePlayerRuns) {
    const std::string russian = "D:\\\xD0\xA4\xD0\xB8\xD0\xBB\xD1\x8C\xD0\xBC.avi";  // Фильм.avi
    Found(0, ".avi", {"D:\\a.avi", russian, "D:\\b.avi"});
    size_t startedWhenTold = 0;
    fake.WhileMessageShown = [&](const test::ShownMessage&) { startedWhenTold = fake.Started.size(); };
    Open();
    ClickRow(0);
    Globals.frmMonitor->mnuSelectedClick();
    EXPECT_EQ(Playlist("VexamoList.lst"), "D:\\a.avi\r\nD:\\b.avi\r\n");
    EXPECT_EQ(Started(), "\"C:\\Vexamo\\VexamoList.lst\"");
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Information);
    EXPECT_NE(fake.Messages[0].Text.find(russian), std::string::npos);
    EXPECT_EQ(startedWhenTold, 1u) << "the player runs while the user reads";
    EXPECT_EQ(Globals.frmMonitor, nullptr);

    // Nothing left out, nothing to say.
    Open();
    ClickRow(0);
    Player(0).Player->PlaylistExt = ".m3u8";
    Globals.frmMonitor->mnuSelectedClick();
    EXPECT_EQ(Playlist("VexamoList.m3u8"), "D:\\a.avi\r\n" + russian + "\r\nD:\\b.avi\r\n");
    EXPECT_EQ(fake.Messages.size(), 1u);
}

TEST_F(Chooser, PlayerWithoutPlaylistExtensionWritesBareVexamoList) {
    Player(1).Player->PlaylistExt = "";
    Found(1, ".ogg", {"E:\\a.ogg"});
    Open();
    ClickRow(0);
    Globals.frmMonitor->mnuAllClick();
    EXPECT_EQ(Playlist("VexamoList"), "E:\\a.ogg\r\n");
}

TEST_F(Chooser, ChooseFileCancelledKeepsTheWindowChosenPlaysAlone) {
    Found(0, ".avi", {"D:\\a.avi", "D:\\b.avi"});
    TfrmMonitor& form = Open();
    ClickRow(0);
    form.mnuChooseClick();
    EXPECT_EQ(host.filters, StringList{"MicroDVD (*.avi)|*.avi"});
    EXPECT_TRUE(fake.Started.empty());
    EXPECT_EQ(Globals.frmMonitor.get(), &form);
    EXPECT_FALSE(Globals.PlayerStarted);

    host.chosen = "C:\\Movies\\other film.avi";
    form.mnuChooseClick();
    EXPECT_EQ(Started(), "\"C:\\Movies\\other film.avi\"");
    EXPECT_EQ(Playlist("VexamoList.lst"), "C:\\Movies\\other film.avi\r\n");
    EXPECT_TRUE(Globals.PlayerStarted);
    EXPECT_EQ(Globals.frmMonitor, nullptr);
    EXPECT_EQ(Player(0).Extensions[1].Found->Files, (StringList{"D:\\a.avi", "D:\\b.avi"}));
}

TEST_F(Chooser, OpenPlayerStartsItBareAndDoesNotCountAsPlayed) {
    Found(1, ".mp3", {"D:\\a.mp3"});
    Open();
    ClickRow(0);
    Globals.frmMonitor->mnuOpenClick();
    ASSERT_EQ(fake.Started.size(), 1u);
    EXPECT_EQ(fake.Started[0].File, Amp);
    EXPECT_EQ(fake.Started[0].Parameters, "");
    EXPECT_FALSE(Globals.PlayerStarted);
    EXPECT_EQ(Globals.frmMonitor, nullptr);
    EXPECT_FALSE(fake.Content("C:\\Vexamo\\VexamoList.m3u"));
}

TEST_F(Chooser, PlaylistThatCannotBeWrittenStartsNothingAndKeepsEverything) {
    Found(0, ".avi", {"D:\\a.avi", "D:\\b.avi"});
    TfrmMonitor& form = Open();
    ClickRow(0);
    fake.SetReadOnly("C:\\Vexamo");
    EXPECT_THROW(form.mnuSelectedClick(), InOutError);
    host.chosen = "D:\\b.avi";
    EXPECT_THROW(form.mnuChooseClick(), InOutError);
    EXPECT_TRUE(fake.Started.empty());
    EXPECT_FALSE(Globals.PlayerStarted);
    EXPECT_EQ(Globals.frmMonitor.get(), &form);
    EXPECT_EQ(Player(0).Extensions[1].Found->Files.size(), 2u);

    // A playlist left from an earlier disc that can no longer be deleted would have the new
    // files appended to it: the player would play the old disc too.
    fake.SetReadOnly("C:\\Vexamo", false);
    fake.AddFile("C:\\Vexamo\\VexamoList.lst", "E:\\old disc.avi\r\n");
    fake.SetReadOnly("C:\\Vexamo");
    EXPECT_THROW(form.mnuSelectedClick(), InOutError);
    EXPECT_EQ(Playlist("VexamoList.lst"), "E:\\old disc.avi\r\n");
    EXPECT_TRUE(fake.Started.empty());
}

// --- the scan's two ways in, and a disc going away ------------------------------------------------

TEST_F(Chooser, ShownModallyItReturnsClosedAndFreed) {
    Found(0, ".avi", {"D:\\a.avi"});
    Globals.frmMonitor = std::make_unique<TfrmMonitor>(host.Binding());
    host.user = [&](TfrmMonitor& form) {
        EXPECT_EQ(form.lstFileTypes.Items.size(), 1u) << "filled before it shows";
        EXPECT_TRUE(form.Showing());
        ClickRow(0);
        form.mnuSelectedClick();
        EXPECT_EQ(Globals.frmMonitor.get(), &form) << "freed only once its modal display has ended";
    };
    Globals.frmMonitor->ShowModal();
    EXPECT_EQ(host.ended, 1);
    EXPECT_EQ(host.released, 1);
    EXPECT_EQ(Globals.frmMonitor, nullptr);
    EXPECT_EQ(Started(), "\"D:\\a.avi\"");

    Globals.frmMonitor = std::make_unique<TfrmMonitor>(host.Binding());
    host.user = [](TfrmMonitor& form) { form.btCancelClick(); };
    Globals.frmMonitor->ShowModal();
    EXPECT_EQ(fake.Started.size(), 1u);
    EXPECT_EQ(Globals.frmMonitor, nullptr);
}

TEST_F(Chooser, AutomaticPlayTakesTheKindOfTheFileThatHeadsThePlaylist) {
    // The player's first extension (.mp3) had no files: a lone movie still gets its subtitle.
    Found(0, ".avi", {"D:\\Film\\war.avi"});
    fake.AddFile("D:\\Film\\war.sub");
    Globals.frmMonitor = std::make_unique<TfrmMonitor>(host.Binding());
    Globals.frmMonitor->CurrentExtension = 3;  // whatever an earlier window left
    Globals.CurrentPlayer = &Player(0);
    Globals.frmMonitor->AutoPlay();
    EXPECT_EQ(host.shown, 0);
    EXPECT_EQ(Started(), "/V:\"D:\\Film\\war.avi\" /S:\"D:\\Film\\war.sub\"");
    EXPECT_TRUE(Globals.PlayerStarted);
    EXPECT_EQ(Globals.frmMonitor, nullptr);

    // Songs first: no subtitle search for a single song, even with a movie after it.
    Player(0).Player->Flags->Playlist = "";
    Found(0, ".mp3", {"D:\\Film\\war.mp3"});
    Globals.frmMonitor = std::make_unique<TfrmMonitor>(host.Binding());
    Globals.frmMonitor->AutoPlay();
    EXPECT_EQ(Started(), "\"D:\\Film\\war.mp3\"");
    EXPECT_EQ(AutoPlayExtension(Player(1)), 0) << "nothing found: the first extension";
}

TEST_F(Chooser, RemovalClosesTheChooserOnlyWhenOneOfItsDrivesIsEmptied) {
    fake.AddDrive("F:\\", DriveKind::CdRom, "OTHER");
    Found(0, ".avi", {"D:\\a.avi", "E:\\b.avi"});
    Globals.frmMonitor = std::make_unique<TfrmMonitor>(host.Binding());
    Globals.frmMonitor->Drives = Globals.Vexamo->MediaDrives;
    host.user = [&](TfrmMonitor& form) {
        fake.SetDisc("F:\\", std::nullopt);
        form.DiscRemoved();
        EXPECT_EQ(host.ended, 0);
        fake.SetDisc("E:\\", std::nullopt);
        form.DiscRemoved();
        EXPECT_EQ(host.ended, 1);
    };
    Globals.frmMonitor->ShowModal();
    EXPECT_EQ(Globals.frmMonitor, nullptr);
    EXPECT_TRUE(fake.Started.empty());
}

// --- the progress window ------------------------------------------------------------------------

TEST(ScanProgress, StepIsAShareOfTheBarRoundedHalfToEven) {
    EXPECT_EQ(ScanProgressStep(0), 100);
    EXPECT_EQ(ScanProgressStep(1), 50);
    EXPECT_EQ(ScanProgressStep(2), 33);
    EXPECT_EQ(ScanProgressStep(3), 25);
    EXPECT_EQ(ScanProgressStep(5), 17);
    EXPECT_EQ(ScanProgressStep(7), 12);   // 12.5
    EXPECT_EQ(ScanProgressStep(39), 2);   // 2.5
    EXPECT_EQ(ScanProgressStep(199), 0);  // 0.5
    EXPECT_EQ(ScanProgressStep(13), 7);   // 7.14
}


TEST(ScanProgress, WindowPaintsEachStepAndFreesItselfOnClose) {
    FakeScaningHost host;
    Globals.frmScaning = std::make_unique<TfrmScaning>(host.Binding());
    TfrmScaning& w = *Globals.frmScaning;
    EXPECT_EQ(w.lblScan.Caption, "Please Wait...");
    EXPECT_EQ(w.ProgBar.Max, 100);
    w.Show();
    for (int i = 0; i < 3; ++i) w.StepBy(ScanProgressStep(3));
    w.StepBy(60);
    EXPECT_EQ(host.positions, (std::vector<int>{25, 50, 75, 100}));
    w.Close();
    EXPECT_EQ(Globals.frmScaning, nullptr);
    EXPECT_EQ(host.released, 1);
    Globals.Reset();
}

TEST(ScanProgress, PictureDecodesAtTheWindowsSize) {
    std::ifstream in(std::string(VEXAMO_TEST_DATA) + "/../../resources/scan_splash.jpg", std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const JpegImage picture = DecodeJpeg(bytes.str());
    EXPECT_EQ(picture.Width, TfrmScaning::ClientWidth);
    EXPECT_EQ(picture.Height, TfrmScaning::ClientHeight);
}

TEST(ScanProgress, StepsAreSpreadOverTheWalkOfTheTopLevelFolders) {
    FakePlatform fake;
    fake.AddDrive("D:\\", DriveKind::CdRom, "DISC");
    fake.AddDrive("E:\\", DriveKind::CdRom);  // no disc: one unit, nothing to walk
    for (const char* f : {"D:\\A\\x\\1.avi", "D:\\A\\y\\2.avi", "D:\\B\\3.avi", "D:\\C\\4.avi", "D:\\C\\D\\5.avi"})
        fake.AddFile(f);
    fake.AddFolder("D:\\Hidden", true);  // never walked, so not counted
    ScanProgressPlan plan({"D:\\", "E:\\"}, 3);  // 2 roots + 3 folders: 5 units
    std::vector<int> due;
    WalkFolders("D:\\", [&](const std::string& folder, const std::vector<DirEntry>&) {
        due.push_back(plan.FolderListed(folder));
    });
    // D:\ A\ A\x\ A\y\ B\ C\ C\D\: each top-level folder entered means the one before is done.
    EXPECT_EQ(due, (std::vector<int>{0, 0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(plan.PlayerAssigned(0), 1);
    EXPECT_EQ(plan.PlayerAssigned(1), 2);
    EXPECT_EQ(plan.PlayerAssigned(2), 3);
    EXPECT_EQ(plan.FolderListed("E:\\"), 3) << "never more than one step per player";
}

TEST(ScanProgress, TheWalkPaintsAtItsFirstFolderAndThenByTimeNotByFolders) {
    using namespace std::chrono_literals;
    RepaintPacer::Clock::time_point now{};
    RepaintPacer pacer([&] { return now; });
    EXPECT_TRUE(pacer.Due()) << "the first folder shows the walk under way";
    // A fast drive lists hundreds of folders within one interval: none of them paints.
    for (int i = 0; i < 500; ++i) EXPECT_FALSE(pacer.Due());
    now += RepaintPacer::Every - 1ms;
    EXPECT_FALSE(pacer.Due());
    now += 1ms;
    EXPECT_TRUE(pacer.Due());
    EXPECT_FALSE(pacer.Due()) << "the time counts from the paint";
    // The bar moved and was painted: the interval starts again from there.
    now += RepaintPacer::Every - 10ms;
    pacer.Painted();
    now += 20ms;
    EXPECT_FALSE(pacer.Due());
    // A slow drive that takes seconds for one folder paints at each.
    now += 3s;
    EXPECT_TRUE(pacer.Due());
    now += 3s;
    EXPECT_TRUE(pacer.Due());
}

TEST(ScanProgress, TheArrivalsTraceIsOneLogLineOnlyInARunForTheTests) {
    StepTrace trace;
    Globals.DebugRun = false;
    trace.Begin("arrival");
    trace.Mark("walk");
    EXPECT_EQ(trace.Take(), "") << "an ordinary run keeps no marks";

    Globals.DebugRun = true;
    trace.Mark("walk");
    EXPECT_EQ(trace.Take(), "") << "no marks outside a trace begun";
    trace.Begin("arrival");
    trace.Mark("walk");
    trace.Count("paints", 12);
    trace.Mark("player started");
    const std::string line = trace.Take();
    EXPECT_EQ(line.rfind("Trace: arrival +0.0 ms, walk +", 0), 0u) << line;
    EXPECT_NE(line.find(" ms, player started +"), std::string::npos) << line;
    EXPECT_NE(line.find(" ms = "), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - 11), "; paints 12") << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(trace.Take(), "") << "taken, the trace starts afresh";
    Globals.DebugRun = false;
}
