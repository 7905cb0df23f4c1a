// The player wizard driven as a user drives it: pages, the tag guard, Finish into Players.ini and
// the command-line test run.
#include <gtest/gtest.h>

#include <deque>

#include "app/Globals.h"
#include "model/VexaCfg.h"
#include "support/FakePlatform.h"
#include "support/WindowFakes.h"
#include "ui/PlayerWizard.h"

using namespace vexamo;
using vexamo::test::FakePlatform;
using vexamo::test::FakeWizardHost;

namespace {

const std::string Ini = "C:\\Vexamo\\Players.ini";
const std::string Exe = "C:\\Tools\\play.exe";

class Wizard : public ::testing::Test {
protected:
    void SetUp() override {
        fake.AddFolder("C:\\Vexamo");
        fake.AddFile(Exe);
        ProgramFolder = "C:\\Vexamo\\";
    }
    void TearDown() override { Globals.Reset(); }

    std::unique_ptr<TfrmPlayerWizard> NewWizard() {
        auto w = std::make_unique<TfrmPlayerWizard>(host.Binding());
        w->NewPlayer();
        return w;
    }
    std::unique_ptr<TfrmPlayerWizard> EditWizard(const std::string& name) {
        auto w = std::make_unique<TfrmPlayerWizard>(host.Binding());
        w->EditPlayer(true, name);
        return w;
    }
    // Page 0 filled in as a user does: a name typed, the executable chosen.
    void FillPlayerPage(TfrmPlayerWizard& w, const std::string& name = "Vlc") {
        w.edPlayerName.Text = name;
        w.edPlayerNameChange();
        w.edPlayerNameExit();
        host.files.push_back(Exe);
        w.btPlayerClick();
    }
    // Typing into a command-line box: key down, the new text, the change.
    static void Type(TfrmPlayerWizard& w, TEdit& box, const std::string& text) {
        if (&box == &w.edSingleFileFlag) w.edSingleFileFlagKeyDown();
        if (&box == &w.edPlaylistFlag) w.edPlaylistFlagKeyDown();
        if (&box == &w.edSubtitleFlag) w.edSubtitleFlagKeyDown();
        box.Text = text;
        if (&box == &w.edSingleFileFlag) w.edSingleFileFlagChange();
        if (&box == &w.edPlaylistFlag) w.edPlaylistFlagChange();
        if (&box == &w.edSubtitleFlag) w.edSubtitleFlagChange();
    }
    std::string Text() { return fake.Content(Ini).value_or("<missing>"); }

    FakePlatform fake;
    FakeWizardHost host;
};

using Page = TfrmPlayerWizard::Page;

}  // namespace

TEST_F(Wizard, PageGraphSkipsUnansweredPagesAndBackRetracesTheHistory) {
    auto w = NewWizard();
    EXPECT_EQ(host.shown, 1);
    EXPECT_FALSE(w->btBack.Enabled);
    FillPlayerPage(*w);
    w->btNextClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabSingle);
    EXPECT_TRUE(w->PanelTest.Visible);
    EXPECT_TRUE(w->edSingleFileFlag.Visible && w->btTest.Visible && w->lblWarning.Visible);
    EXPECT_FALSE(w->edPlayerName.Visible || w->btPlayer.Visible || w->edPlaylistFlag.Visible);
    w->btNextClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabPlaylistSup);
    EXPECT_FALSE(w->PanelTest.Visible || w->btTest.Visible || w->edSingleFileFlag.Visible);
    EXPECT_TRUE(w->RdPlaylist.Visible && w->cboPlaylist.Visible);

    w->RadioClicked(w->RdPlaylist, 1);  // No: the playlist page is skipped
    EXPECT_FALSE(w->cboPlaylist.Enabled);
    w->btNextClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabSubsSup);
    w->RadioClicked(w->RdSubsSupport, 1);
    EXPECT_FALSE(Globals.SubtitlesChosen);
    w->btNextClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabFinal);
    EXPECT_EQ(w->btNext.Caption, "Finish");
    EXPECT_EQ(w->PageHistory, (std::vector<int>{0, 1, 2, 4, 6}));

    w->btBackClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabSubsSup);
    EXPECT_EQ(w->btNext.Caption, "&Next >>");
    w->btBackClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabPlaylistSup);  // the question, not the skipped page

    w->RadioClicked(w->RdPlaylist, 0);
    EXPECT_TRUE(w->cboPlaylist.Enabled);
    w->btNextClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabPlaylist);
    EXPECT_EQ(w->edPlaylistFlag.Text, "[PLAYLIST]");
    w->btNextClick();
    w->RadioClicked(w->RdSubsSupport, 0);
    EXPECT_TRUE(Globals.SubtitlesChosen);
    w->btNextClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabSubs);
    EXPECT_EQ(w->edSubtitleFlag.Text, "[FILE] [SUBTITLE]");
    EXPECT_EQ(w->PageHistory, (std::vector<int>{0, 1, 2, 3, 4, 5}));

    for (int i = 0; i < 5; ++i) w->btBackClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabPlayerLocation);
    EXPECT_FALSE(w->btBack.Enabled);
    EXPECT_TRUE(w->btNext.Enabled);
}

TEST_F(Wizard, NextOnThePlayerPageNeedsANameAndAnExecutable) {
    auto w = NewWizard();
    EXPECT_FALSE(w->btNext.Enabled);
    w->edPlayerName.Text = "Vlc";
    w->edPlayerNameChange();
    EXPECT_FALSE(w->btNext.Enabled);  // the executable still shows "..."
    host.files.push_back(Exe);
    w->btPlayerClick();
    EXPECT_EQ(host.filters.back(), "MediaPlayer (*.exe)|*.exe");
    EXPECT_EQ(w->btPlayer.Caption, Exe);
    EXPECT_TRUE(w->btNext.Enabled);
    w->edPlayerName.Text.clear();
    w->edPlayerNameChange();
    EXPECT_FALSE(w->btNext.Enabled);
    w->edPlayerName.Text = "Vlc";
    w->edPlayerNameChange();
    w->btPlayerClick();  // cancelled
    EXPECT_EQ(w->btPlayer.Caption, "...");
    EXPECT_FALSE(w->btNext.Enabled);
    EXPECT_EQ(w->edPlayerName.MaxLength, 20);
    EXPECT_EQ(w->edSingleFileFlag.MaxLength, 80);
}

TEST_F(Wizard, NamesThatWouldNotReadBackAndMissingProgramsAreRefused) {
    fake.AddFile(Ini, "[Old]\r\nexe=C:\\Gone\\old.exe\r\nindex=0\r\n");
    for (const std::string name : {"A]B", "A=B", ";A", " Vlc", "Vlc "}) {
        auto w = NewWizard();
        FillPlayerPage(*w, name);
        w->btNextClick();
        EXPECT_EQ(w->PageControl.ActivePage, Page::TabPlayerLocation) << name;
        EXPECT_EQ(fake.Messages.back().Text, BadPlayerNameText);
    }
    auto w = EditWizard("Old");
    EXPECT_EQ(w->btPlayer.Caption, "C:\\Gone\\old.exe");
    w->btNextClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabPlayerLocation);
    EXPECT_EQ(fake.Messages.back().Text, "The Player \"C:\\Gone\\old.exe\" cannot be found. Please locate the Player !");
    EXPECT_EQ(fake.Messages.back().Kind, MsgKind::Warning);
    EXPECT_EQ(Text(), "[Old]\r\nexe=C:\\Gone\\old.exe\r\nindex=0\r\n");
}

TEST_F(Wizard, AnExistingNameIsOnlyAWarning) {
    fake.AddFile(Ini, "[VLC]\r\nexe=C:\\Tools\\play.exe\r\n");
    auto w = NewWizard();
    FillPlayerPage(*w, "vlc");
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Text, "Player already exists. Please choose another Name !");
    w->btNextClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabSingle);
}

TEST_F(Wizard, TagGuard) {
    auto w = NewWizard();
    FillPlayerPage(*w);
    w->btNextClick();
    TEdit& single = w->edSingleFileFlag;
    EXPECT_EQ(single.Text, "[FILE]");
    EXPECT_EQ(w->Wizard->CommandLine, "[FILE]");

    Type(*w, single, "/F:[FILE] -skin='your skin'");  // extra text stays as typed
    EXPECT_EQ(w->Wizard->CommandLine, "/F:[FILE] -skin='your skin'");
    Type(*w, single, "/F:[FILE -skin='your skin'");   // the tag broken: undone
    EXPECT_EQ(single.Text, "/F:[FILE] -skin='your skin'");
    EXPECT_EQ(w->lblWarning.Caption, "Tag [FILE] must be present !");
    Type(*w, single, "");  // emptied: the default comes back, the warning stays
    EXPECT_EQ(single.Text, "[FILE]");
    EXPECT_EQ(w->lblWarning.Caption, "Tag [FILE] must be present !");
    // Any spelling of a tag passes, and is kept in the one spelling the launch replaces.
    Type(*w, single, "-f [File] /x");
    EXPECT_EQ(single.Text, "-f [FILE] /x");
    EXPECT_EQ(w->Wizard->CommandLine, "-f [FILE] /x");
    EXPECT_EQ(w->lblWarning.Caption, "");
    const std::string longest = "[FILE]" + std::string(74, 'x');
    Type(*w, single, longest);
    EXPECT_EQ(single.Text, longest);
    w->btNextClick();
    EXPECT_EQ(w->Wizard->Player.Flags->Single, longest);

    w->btNextClick();
    w->btNextClick();
    w->btNextClick();
    TEdit& subs = w->edSubtitleFlag;
    ASSERT_EQ(w->PageControl.ActivePage, Page::TabSubs);
    Type(*w, subs, "/V:[FILE] /S:[SUBTITLE]");
    Type(*w, subs, "/V:[FILE] /S:");
    EXPECT_EQ(subs.Text, "/V:[FILE] /S:[SUBTITLE]");
    EXPECT_EQ(w->lblWarning.Caption, "Tag [FILE] [SUBTITLE] must be present !");
    EXPECT_TRUE(w->btNext.Enabled);
    EXPECT_TRUE(w->btTest.Enabled);
    EXPECT_EQ(w->CheckTags("[FILE] [SUBTITLE]", "[subtitle][file]"), "[SUBTITLE][FILE]");
}

TEST_F(Wizard, StoredTemplatesGoThroughTheGuard) {
    fake.AddFile(Ini, "[Vlc]\r\nexe=C:\\Tools\\play.exe\r\nindex=3\r\nicon=C:\\i.ico\r\next=.pls\r\n"
                      "single=-x [file]\r\nplaylist=-p\r\nsubtitles=\r\n");
    auto w = EditWizard("Vlc");
    w->btNextClick();
    EXPECT_EQ(w->edSingleFileFlag.Text, "-x [FILE]");
    w->btNextClick();
    EXPECT_EQ(w->RdPlaylist.ItemIndex, 0);
    EXPECT_EQ(w->cboPlaylist.Text, ".pls");  // not offered, but kept
    w->btNextClick();
    // A template without its tag: the page's default, with the warning.
    EXPECT_EQ(w->edPlaylistFlag.Text, "[PLAYLIST]");
    EXPECT_EQ(w->Wizard->CommandLine, "[PLAYLIST]");
    EXPECT_EQ(w->lblWarning.Caption, "Tag [PLAYLIST] must be present !");
    w->btNextClick();
    EXPECT_EQ(w->RdSubsSupport.ItemIndex, 1);
    w->btNextClick();
    w->btNextClick();
    EXPECT_EQ(Text(), "[Vlc]\r\nexe=C:\\Tools\\play.exe\r\nindex=3\r\nicon=C:\\i.ico\r\next=.pls\r\n"
                      "single=-x [FILE]\r\nplaylist=[PLAYLIST]\r\nsubtitles=\r\n");
}

TEST_F(Wizard, FinishWritesANewPlayer) {
    fake.AddFile(Ini, "[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n");
    auto w = NewWizard();
    FillPlayerPage(*w, "My Player");
    host.icons.push_back("C:\\Icons\\my.ico");
    w->btIconClick();
    EXPECT_EQ(host.filters.back(), "Icons (*.ico)|*.ico");
    EXPECT_EQ(w->ImgIcon.Picture, "C:\\Icons\\my.ico");
    w->btNextClick();
    Type(*w, w->edSingleFileFlag, "/F:[FILE]");
    w->btNextClick();
    w->cboPlaylist.ItemIndex = 1;
    w->cboPlaylist.Text = ".lst";
    w->cboPlaylistExit();
    w->btNextClick();
    w->btNextClick();
    w->RdSubsSupport.ItemIndex = 1;
    w->RdSubsSupportClick();
    w->btNextClick();
    EXPECT_EQ(w->LblFinalPlayerName.Caption, "My Player");
    EXPECT_EQ(w->ImgFinalIcon.Picture, "C:\\Icons\\my.ico");
    EXPECT_EQ(w->LblFinalCmd1.Caption, "/F:[FILE]");
    EXPECT_EQ(w->LblFinalCmd2.Caption, "[PLAYLIST]");
    EXPECT_EQ(w->LblFinalCmd3.Caption, "n/a");
    EXPECT_EQ(w->LblPlaylistExt.Caption, ".lst");
    w->btNextClick();
    EXPECT_EQ(host.closed, 1);
    EXPECT_TRUE(w->Closed);
    EXPECT_EQ(w->Wizard, nullptr);
    EXPECT_EQ(Text(), "[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n"
                      "[My Player]\r\nexe=C:\\Tools\\play.exe\r\nindex=0\r\nicon=C:\\Icons\\my.ico\r\next=.lst\r\n"
                      "single=/F:[FILE]\r\nplaylist=[PLAYLIST]\r\nsubtitles=\r\n");
}

TEST_F(Wizard, FinalPageShowsNotAvailableForWhatThePlayerDoesNotTake) {
    auto w = NewWizard();
    FillPlayerPage(*w);
    w->btNextClick();
    w->btNextClick();
    w->RdPlaylist.ItemIndex = 1;
    w->RdPlaylistClick();
    w->btNextClick();
    w->RdSubsSupport.ItemIndex = 1;
    w->RdSubsSupportClick();
    w->btNextClick();
    EXPECT_EQ(w->LblFinalCmd1.Caption, "[FILE]");
    EXPECT_EQ(w->LblFinalCmd2.Caption, "n/a");
    EXPECT_EQ(w->LblFinalCmd3.Caption, "n/a");
    EXPECT_EQ(w->LblPlaylistExt.Caption, "n/a");
    EXPECT_EQ(w->ImgFinalIcon.Picture, "");
    w->btCancelClick();
    EXPECT_EQ(host.closed, 1);
    EXPECT_EQ(Text(), "<missing>");
}

TEST_F(Wizard, EditWithARenameMovesTheSectionAndKeepsIndexAndIcon) {
    // The wizard has no page for the disc forms: an edit carries them over as they were.
    fake.AddFile(Ini, "[Radlight]\r\nexe=C:\\Tools\\play.exe\r\nindex=7\r\nicon=C:\\r.ico\r\next=.m3u\r\n"
                      "single=[FILE]\r\nplaylist=[PLAYLIST]\r\nsubtitles=[FILE] [SUBTITLE]\r\n"
                      "disc=dvd:///[DISC]\r\ndisc.vcd=\r\n");
    auto w = EditWizard("Radlight");
    EXPECT_EQ(w->edPlayerName.Text, "Radlight");
    EXPECT_EQ(w->LblIcon.Caption, "C:\\r.ico");
    EXPECT_TRUE(w->btNext.Enabled);
    w->edPlayerNameExit();  // its own name is among the existing ones
    EXPECT_EQ(fake.Messages.back().Text, PlayerExistsText);
    w->edPlayerName.Text = "RL";
    w->edPlayerNameChange();
    for (int i = 0; i < 6; ++i) w->btNextClick();
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabFinal);
    EXPECT_EQ(w->LblFinalCmd3.Caption, "[FILE] [SUBTITLE]");
    w->btNextClick();
    // The only section was erased (and the file with it) before the new one was written.
    EXPECT_EQ(Text(), "[RL]\r\nexe=C:\\Tools\\play.exe\r\nindex=7\r\nicon=C:\\r.ico\r\next=.m3u\r\n"
                      "single=[FILE]\r\nplaylist=[PLAYLIST]\r\nsubtitles=[FILE] [SUBTITLE]\r\n"
                      "disc=dvd:///[DISC]\r\ndisc.vcd=\r\n");
}

TEST_F(Wizard, EditKeepsOtherPlayersAndSubtitleAnswerOutlivesTheRun) {
    fake.AddFile(Ini, "[A]\r\nexe=C:\\Tools\\play.exe\r\nsubtitles=\r\n[B]\r\nexe=C:\\b.exe\r\n");
    {
        auto w = EditWizard("A");
        for (int i = 0; i < 3; ++i) w->btNextClick();  // no playlists: page 3 skipped
        ASSERT_EQ(w->PageControl.ActivePage, Page::TabSubsSup);
        EXPECT_EQ(w->RdSubsSupport.ItemIndex, 1);
        w->RdSubsSupport.ItemIndex = 0;
        w->RdSubsSupportClick();
        w->btCancelClick();
    }
    EXPECT_TRUE(Globals.SubtitlesChosen);
    auto w = EditWizard("A");
    for (int i = 0; i < 3; ++i) w->btNextClick();
    EXPECT_EQ(w->RdSubsSupport.ItemIndex, 0);
    w->btNextClick();
    w->btNextClick();
    w->btNextClick();
    EXPECT_EQ(Text(), "[B]\r\nexe=C:\\b.exe\r\n[A]\r\nexe=C:\\Tools\\play.exe\r\nindex=0\r\nicon=\r\next=\r\n"
                      "single=[FILE]\r\nplaylist=\r\nsubtitles=[FILE] [SUBTITLE]\r\n");
}

TEST(WizardMediaFilter, SelectorsGiveAudioVideoOrBoth) {
    // The extensions of today follow the twelve in each list.
    const std::string a = "*.mp3;*.wav;*.asx;*.cda;*.ogg;*.wma;*.wmv;*.flac;*.m4a;*.aac;*.opus;*.ape;*.wv;*.mka";
    const std::string v = "*.avi;*.divx;*.mov;*.mpg;*.mpeg;*.mp4;*.m4v;*.mkv;*.webm;*.ts;*.m2ts;*.mts;*.vob;*.3gp;*.flv";
    const std::string audio = "AUDIO (" + a + ")|" + a + "|";
    const std::string video = "VIDEO (" + v + ")|" + v + "|";
    EXPECT_EQ(TfrmPlayerWizard::MediaFilter(0), audio);
    EXPECT_EQ(TfrmPlayerWizard::MediaFilter(1), video);
    EXPECT_EQ(TfrmPlayerWizard::MediaFilter(3), audio + video);
}

namespace {

class TestRun : public Wizard {
protected:
    // A new player on the given command-line page with the test area open.
    std::unique_ptr<TfrmPlayerWizard> OnPage(Page page) {
        auto w = NewWizard();
        FillPlayerPage(*w, "Vlc");
        while (w->PageControl.ActivePage != page) w->btNextClick();
        w->btTestClick();
        return w;
    }
};

}  // namespace

TEST_F(TestRun, TheAreaOpensAndClosesOverTheButtonBar) {
    auto w = OnPage(Page::TabSingle);
    EXPECT_EQ(w->Height, 434);
    EXPECT_TRUE(w->PanelCmd.Visible);
    EXPECT_TRUE(w->PageEmulator.Visible);
    EXPECT_EQ(w->btTest.Caption, "&Test Command Line <<");
    EXPECT_FALSE(w->btNext.Visible || w->btBack.Visible || w->btCancel.Visible);
    EXPECT_EQ(w->LblCmd.Caption, "> [PLAYER] [FILE]");
    EXPECT_EQ(w->PageEmulator.ActivePage, 0);
    EXPECT_TRUE(w->btOpenFile.Visible && w->btExecute.Visible);
    EXPECT_FALSE(w->btPlaylist.Visible || w->btFile2.Visible);
    EXPECT_FALSE(w->btExecute.Enabled);
    w->btTestClick();
    EXPECT_EQ(w->Height, 340);
    EXPECT_EQ(w->btTest.Caption, "&Test Command Line >>");
    EXPECT_TRUE(w->btNext.Visible && w->btBack.Visible && w->btCancel.Visible);
}

TEST_F(TestRun, EscapeClosesTheAreaFirstAndEnterPressesOnlyAUsableNext) {
    auto w = OnPage(Page::TabSingle);
    w->DialogKey(TDialogKey::Enter);  // Next lies under the open area
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabSingle);
    w->DialogKey(TDialogKey::Escape);
    EXPECT_FALSE(w->TestAreaOpen());
    EXPECT_EQ(host.closed, 0);
    w->DialogKey(TDialogKey::Enter);
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabPlaylistSup);
    w->DialogKey(TDialogKey::Escape);
    EXPECT_EQ(host.closed, 1);
    EXPECT_TRUE(w->Closed);
    w->DialogKey(TDialogKey::Enter);  // a closed wizard takes no more keys
    EXPECT_EQ(host.closed, 1);

    auto fresh = NewWizard();
    ASSERT_FALSE(fresh->btNext.Enabled);  // no name, no player yet
    fresh->DialogKey(TDialogKey::Enter);
    EXPECT_EQ(fresh->PageControl.ActivePage, Page::TabPlayerLocation);
    EXPECT_TRUE(fake.Messages.empty());
}

TEST_F(TestRun, EachPagesTextsAndTheAreasRowsShowOnTheirOwnPageOnly) {
    auto visible = [](const auto& pages) {
        std::vector<int> shown;
        for (size_t i = 0; i < pages.size(); ++i)
            if (pages[i].Visible) shown.push_back(static_cast<int>(i));
        return shown;
    };
    auto w = NewWizard();
    EXPECT_EQ(visible(w->Pages), std::vector<int>{Page::TabPlayerLocation});
    EXPECT_TRUE(visible(w->EmulatorPages).empty());
    EXPECT_TRUE(w->ButtonBar.Visible);

    auto s = OnPage(Page::TabSubs);
    EXPECT_EQ(visible(s->Pages), std::vector<int>{Page::TabSubs});
    EXPECT_EQ(visible(s->EmulatorPages), std::vector<int>{2});
    EXPECT_FALSE(s->ButtonBar.Visible) << "the open area lies over the button bar";
    s->btTestClick();
    EXPECT_TRUE(visible(s->EmulatorPages).empty());
    EXPECT_TRUE(s->ButtonBar.Visible);
    s->btBackClick();
    EXPECT_EQ(visible(s->Pages), std::vector<int>{Page::TabSubsSup});
}

TEST_F(TestRun, BrowseButtonsSetTheSampleAndExecute) {
    auto w = OnPage(Page::TabSingle);
    host.files.push_back("D:\\My Movies\\a.AVI");
    w->btOpenFileClick();
    EXPECT_EQ(host.filters.back(), TfrmPlayerWizard::MediaFilter(3));
    EXPECT_EQ(w->btOpenFile.Caption, "\"D:\\My Movies\\a.AVI\"");
    EXPECT_EQ(Globals.TestFile, "\"D:\\My Movies\\a.AVI\"");
    EXPECT_TRUE(w->btExecute.Enabled);
    host.files.push_back("D:\\notes.txt");  // not a media file: ignored
    w->btOpenFileClick();
    EXPECT_EQ(Globals.TestFile, "\"D:\\My Movies\\a.AVI\"");
    EXPECT_TRUE(w->btExecute.Enabled);
    w->btOpenFileClick();  // cancelled
    EXPECT_FALSE(w->btExecute.Enabled);
    EXPECT_EQ(Globals.TestFile, "\"D:\\My Movies\\a.AVI\"");

    auto p = OnPage(Page::TabPlaylist);
    host.files.push_back("D:\\list.m3u");
    p->btPlaylistClick();
    EXPECT_EQ(host.filters.back(), "PLAYLIST (.m3u)|*.m3u");
    EXPECT_EQ(Globals.TestPlaylist, "\"D:\\list.m3u\"");
    EXPECT_TRUE(p->btExecute.Enabled);
    p->btTestClick();

    Globals.TestFile.clear();
    auto s = OnPage(Page::TabSubs);
    EXPECT_EQ(s->PageEmulator.ActivePage, 2);
    host.files.push_back("D:\\film.srt");
    s->btSubtitleClick();
    EXPECT_EQ(host.filters.back(), "SUBTITLE (*.sub;*.srt;*.ssa;*.ass;*.vtt)|*.sub;*.srt;*.ssa;*.ass;*.vtt");
    EXPECT_FALSE(s->btExecute.Enabled);  // no movie yet
    host.files.push_back("D:\\film.mp3");  // audio is not offered here
    s->btFile2Click();
    EXPECT_FALSE(s->btExecute.Enabled);
    host.files.push_back("D:\\film.avi");
    s->btFile2Click();
    EXPECT_EQ(host.filters.back(), TfrmPlayerWizard::MediaFilter(1));
    EXPECT_TRUE(s->btExecute.Enabled);
    host.files.push_back("D:\\other.sub");
    s->btSubtitleClick();
    EXPECT_TRUE(s->btExecute.Enabled);
}

TEST_F(TestRun, ASuccessfulTestMovesOn) {
    auto w = OnPage(Page::TabSingle);
    host.files.push_back("D:\\a b\\x.avi");
    w->btOpenFileClick();
    fake.Answer(MsgResult::Ok);
    fake.Answer(MsgResult::Yes);
    w->btExecuteClick();
    ASSERT_EQ(fake.Started.size(), 1u);
    EXPECT_EQ(fake.Started[0].File, Exe);
    EXPECT_EQ(fake.Started[0].Parameters, "\"D:\\a b\\x.avi\"");
    ASSERT_EQ(fake.Messages.size(), 3u);
    EXPECT_EQ(fake.Messages[0].Text, "Please wait while 'Vlc' loads, then press 'OK' !");
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Plain);
    EXPECT_EQ(fake.Messages[1].Text, "Was the player able to play 'Single Files' with the command line specified ?");
    EXPECT_EQ(fake.Messages[1].Buttons, MsgButtons::YesNo);
    EXPECT_EQ(fake.Messages[2].Text, "Test Sucessfull! \r\rYour player is able to play 'Single Files' !");
    EXPECT_EQ(fake.Messages[2].Kind, MsgKind::Information);
    EXPECT_FALSE(w->TestAreaOpen());
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabPlaylistSup);
    EXPECT_EQ(w->Wizard->Player.Flags->Single, "[FILE]");
}

TEST_F(TestRun, AFailedTestWarnsWithAdviceAndClosesTheArea) {
    auto w = OnPage(Page::TabSubs);
    w->btTestClick();
    Type(*w, w->edSubtitleFlag, "/v:[file] /s:[subtitle]");
    w->btTestClick();
    EXPECT_EQ(w->LblCmd.Caption, "> [PLAYER] /v:[FILE] /s:[SUBTITLE]");
    host.files.push_back("D:\\film.avi");
    w->btFile2Click();
    host.files.push_back("D:\\film.srt");
    w->btSubtitleClick();
    fake.Answer(MsgResult::Ok);
    fake.Answer(MsgResult::No);
    w->btExecuteClick();
    EXPECT_EQ(fake.Started.back().Parameters, "/v:\"D:\\film.avi\" /s:\"D:\\film.srt\"");
    ASSERT_EQ(fake.Messages.size(), 3u);
    EXPECT_EQ(fake.Messages[2].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[2].Text,
              "Please read \"Vlc\" documentation carefully, look for the apropriate command line, \r"
              "and ensure that your player can play the file you want to test. \r\r"
              "\rIf you aren't sure about this particular command line try using the default rule: \r\r"
              "[PLAYER] [FILE] [SUBTITLE]\r\r Note: If you continue, you will not be able to play 'Subtitles'.");
    EXPECT_FALSE(w->TestAreaOpen());
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabSubs);

    // With the default template there is no advice.
    Type(*w, w->edSubtitleFlag, "");
    w->btTestClick();
    fake.Answer(MsgResult::Ok);
    fake.Answer(MsgResult::No);
    w->btExecuteClick();
    EXPECT_EQ(fake.Messages.back().Text,
              "Please read \"Vlc\" documentation carefully, look for the apropriate command line, \r"
              "and ensure that your player can play the file you want to test. \r\r"
              "\r\r Note: If you continue, you will not be able to play 'Subtitles'.");
}

TEST_F(TestRun, APlayerThatCannotStartKeepsTheAreaOpen) {
    auto w = OnPage(Page::TabPlaylist);
    host.files.push_back("D:\\l.m3u");
    w->btPlaylistClick();
    fake.ShellResult = 2;
    w->btExecuteClick();
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Text, "Error: The player cannot be opened !");
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Error);
    EXPECT_TRUE(w->TestAreaOpen());
    EXPECT_EQ(w->PageControl.ActivePage, Page::TabPlaylist);
}
