// Command lines of a launch: tag expansion, the subtitle search and the composition of a launch
// with its playlist file.
#include <gtest/gtest.h>

#include "model/CommandLines.h"
#include "model/VexaCfg.h"
#include "support/ArgvSplit.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace {

struct Launch : ::testing::Test {
    FakePlatform fake;
    TVexamo vexamo;
    TPlayer player;

    Launch() {
        ProgramFolder = "C:\\Vexamo\\";
        fake.AddFolder("C:\\Vexamo");
        fake.AddDrive("D:\\", DriveKind::CdRom, "MOVIES");
        fake.AddDrive("E:\\", DriveKind::CdRom);
        vexamo.CdDrives = {"D:\\", "E:\\"};
        vexamo.Settings->Subtitles.Folders = {"D:\\", "E:\\"};
        player.LoadDefault("MicroDVD");
        player.Exe = "C:\\Program Files\\MicroDVD\\microdvd.exe";
    }

    void SubtitleFolder(const std::string& path) {
        vexamo.Settings->Subtitles.Path = path;
        vexamo.Settings->Subtitles.Folders.push_back(path);
    }
    std::string Subtitle(const std::string& movie) {
        vexamo.Files->FileName = movie;
        return vexamo.FindSubtitle();
    }
    std::string Playlist() { return fake.Content("C:\\Vexamo\\VexamoList.lst").value_or("<missing>"); }
};

}  // namespace

TEST_F(Launch, TagsBecomeQuotedPaths) {
    TMonitoredFiles& f = *vexamo.Files;
    EXPECT_EQ(vexamo.ExpandTags("[FILE]"), "\"\"");
    f.FileName = "D:\\a b\\x.avi";
    f.SubtitleName = "D:\\a b\\x.srt";
    f.PlaylistName = "C:\\Vexamo\\VexamoList.m3u";
    EXPECT_EQ(vexamo.ExpandTags("[FILE]"), "\"D:\\a b\\x.avi\"");
    EXPECT_EQ(vexamo.ExpandTags("[FILE] [SUBTITLE]"), "\"D:\\a b\\x.avi\" \"D:\\a b\\x.srt\"");
    EXPECT_EQ(vexamo.ExpandTags("/QUICKINI /V:[FILE] /S:[SUBTITLE]"),
              "/QUICKINI /V:\"D:\\a b\\x.avi\" /S:\"D:\\a b\\x.srt\"");
    EXPECT_EQ(vexamo.ExpandTags("-pl=[PLAYLIST] -pl=[PLAYLIST]"),
              "-pl=\"C:\\Vexamo\\VexamoList.m3u\" -pl=\"C:\\Vexamo\\VexamoList.m3u\"");
}

TEST_F(Launch, OtherTextIsLeftAlone) {
    vexamo.Files->FileName = "D:\\x.avi";
    EXPECT_EQ(vexamo.ExpandTags("[file] [File]"), "[file] [File]");
    EXPECT_EQ(vexamo.ExpandTags("[PLAYER] [FILE"), "[PLAYER] [FILE");
    EXPECT_EQ(vexamo.ExpandTags("[[FILE]]"), "[\"D:\\x.avi\"]");
    EXPECT_EQ(vexamo.ExpandTags("/play /fullscreen"), "/play /fullscreen");
    EXPECT_EQ(vexamo.ExpandTags(""), "");
}

TEST_F(Launch, PathsHoldingTagsArePassedAsThemselves) {
    TMonitoredFiles& f = *vexamo.Files;
    f.FileName = "D:\\[SUBTITLE]\\[PLAYLIST].avi";
    f.SubtitleName = "D:\\subs\\[FILE].srt";
    f.PlaylistName = "C:\\pl.m3u";
    EXPECT_EQ(vexamo.ExpandTags("[FILE] [SUBTITLE]"), "\"D:\\[SUBTITLE]\\[PLAYLIST].avi\" \"D:\\subs\\[FILE].srt\"");
}

TEST_F(Launch, SubtitleNamedLikeTheMovieIsPreferredAnywhere) {
    fake.AddFile("D:\\Movie\\film.avi");
    fake.AddFile("D:\\Movie\\other.sub");
    fake.AddFile("D:\\Movie\\Subs\\film.srt");
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "D:\\Movie\\Subs\\film.srt");

    // Only the movie itself is skipped, by its exact name.
    fake.AddFile("D:\\film.AVI");
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "D:\\film.AVI");
}

TEST_F(Launch, SubtitleFolderIsSearchedByNameOnly) {
    fake.AddFile("D:\\Movie\\film.avi");
    SubtitleFolder("C:\\Subs\\");
    fake.AddFile("C:\\Subs\\any.sub");
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "") << "the last folder is not searched by extension";

    fake.AddFile("C:\\Subs\\Film.sub");
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "C:\\Subs\\Film.sub");

    // A file named like the movie on a disc wins over the subtitle folder.
    fake.AddFile("E:\\film.txt");
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "E:\\film.txt");
}

TEST_F(Launch, WithoutANameMatchEachExtensionIsTriedOnEveryDiscButTheLastFolder) {
    fake.AddFile("D:\\Movie\\film.avi");
    fake.AddFile("D:\\subs\\other.srt");
    fake.AddFile("E:\\a.sub");
    // Folders are D:\ and E:\: only D:\ is searched by extension.
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "D:\\subs\\other.srt");

    SubtitleFolder("C:\\Subs\\");
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "E:\\a.sub") << ".sub on any disc before .srt";

    fake.AddFile("D:\\z.sub");
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "D:\\z.sub");
}

TEST_F(Launch, OneDriveWithoutSubtitleFolderSearchesOnlyByName) {
    vexamo.Settings->Subtitles.Folders = {"D:\\"};
    fake.AddFile("D:\\Movie\\film.avi");
    fake.AddFile("D:\\other.srt");
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "");
    vexamo.Settings->Subtitles.Folders.clear();
    EXPECT_EQ(Subtitle("D:\\Movie\\film.avi"), "");
}

TEST_F(Launch, DotsInFolderNamesAreNoExtension) {
    fake.AddFile("D:\\The.Film\\film.avi");
    fake.AddFile("D:\\The.Film\\film.sub");
    fake.AddFile("D:\\The.srt");
    EXPECT_EQ(Subtitle("D:\\The.Film\\film.avi"), "D:\\The.Film\\film.sub");
    fake.AddFile("D:\\Odd\\film");
    EXPECT_EQ(Subtitle("D:\\Odd\\film"), "D:\\The.Film\\film.avi");
}

TEST_F(Launch, OneFilePlaysWithTheSingleTemplate) {
    fake.AddFile("C:\\Vexamo\\VexamoList.lst", "old\r\n");
    vexamo.Files->PlaylistName = "stale";
    TLaunch l = ComposeLaunch(vexamo, player, StringList{"D:\\Music\\a b.mp3"}, 0);
    EXPECT_EQ(l.Exe, "C:\\Program Files\\MicroDVD\\microdvd.exe");
    EXPECT_EQ(l.Parameters, "\"D:\\Music\\a b.mp3\"");
    EXPECT_EQ(Playlist(), "D:\\Music\\a b.mp3\r\n");
    EXPECT_EQ(vexamo.Files->FileName, "D:\\Music\\a b.mp3");
    EXPECT_EQ(vexamo.Files->PlaylistName, "");
}

TEST_F(Launch, SeveralFilesGoThroughThePlaylistWhenThePlayerTakesOne) {
    TLaunch l = ComposeLaunch(vexamo, player, std::vector<StringList>{{"D:\\1.avi", "D:\\2.avi"}, {"D:\\3.mpg"}}, 1);
    EXPECT_EQ(l.Parameters, "\"C:\\Vexamo\\VexamoList.lst\"");
    EXPECT_EQ(Playlist(), "D:\\1.avi\r\nD:\\2.avi\r\nD:\\3.mpg\r\n");
    EXPECT_EQ(vexamo.Files->FileName, "");

    fake.AddFile("D:\\1.sub");
    player.Flags->Playlist = "";
    l = ComposeLaunch(vexamo, player, StringList{"D:\\1.avi", "D:\\2.avi"}, 1);
    EXPECT_EQ(l.Parameters, "/QUICKINI /V:\"D:\\1.avi\" /S:\"D:\\1.sub\"") << "only the first file plays";
    EXPECT_EQ(Playlist(), "D:\\1.avi\r\nD:\\2.avi\r\n");
}

TEST_F(Launch, VideoWithSubtitleOnTheDiscOrInTheSubtitleFolder) {
    fake.AddFile("D:\\Movie\\film.avi");
    fake.AddFile("D:\\Movie\\film.srt");
    TLaunch l = ComposeLaunch(vexamo, player, StringList{"D:\\Movie\\film.avi"}, 1);
    EXPECT_EQ(l.Parameters, "/QUICKINI /V:\"D:\\Movie\\film.avi\" /S:\"D:\\Movie\\film.srt\"");
    EXPECT_EQ(vexamo.SubtitleFound, "D:\\Movie\\film.srt");

    fake.AddFile("D:\\Movie\\war.avi");
    vexamo.Settings->Subtitles.Auto = false;
    SubtitleFolder("C:\\Subs\\");
    fake.AddFile("C:\\Subs\\war.sub");
    l = ComposeLaunch(vexamo, player, StringList{"D:\\Movie\\war.avi"}, 1);
    EXPECT_EQ(l.Parameters, "/QUICKINI /V:\"D:\\Movie\\war.avi\" /S:\"C:\\Subs\\war.sub\"");
}

TEST_F(Launch, NoSubtitleNoSearchOrNoSubtitleTemplateMeansTheSingleTemplate) {
    fake.AddFile("D:\\Movie\\film.avi");
    TLaunch l = ComposeLaunch(vexamo, player, StringList{"D:\\Movie\\film.avi"}, 1);
    EXPECT_EQ(l.Parameters, "\"D:\\Movie\\film.avi\"");
    EXPECT_EQ(vexamo.SubtitleFound, "");
    EXPECT_EQ(vexamo.Files->SubtitleName, "");

    fake.AddFile("D:\\Movie\\film.srt");
    EXPECT_EQ(ComposeLaunch(vexamo, player, StringList{"D:\\Movie\\film.avi"}, 0).Parameters,
              "\"D:\\Movie\\film.avi\"")
        << "audio is never given subtitles";
    vexamo.Settings->Subtitles.Auto = false;
    EXPECT_EQ(ComposeLaunch(vexamo, player, StringList{"D:\\Movie\\film.avi"}, 1).Parameters,
              "\"D:\\Movie\\film.avi\"");
    vexamo.Settings->Subtitles.Auto = true;
    player.Flags->Subtitles = "";
    EXPECT_EQ(ComposeLaunch(vexamo, player, StringList{"D:\\Movie\\film.avi"}, 1).Parameters,
              "\"D:\\Movie\\film.avi\"");
}

TEST_F(Launch, NothingToPlayLooksForNoSubtitle) {
    fake.AddFile("D:\\Movie\\film.srt");
    vexamo.SubtitleFound = "earlier";
    TLaunch l = ComposeLaunch(vexamo, player, StringList{}, 1);
    EXPECT_EQ(l.Parameters, "\"\"");
    EXPECT_EQ(vexamo.Files->SubtitleName, "");
}

TEST_F(Launch, FileNamesHoldingTagsReachThePlayerUnchanged) {
    fake.AddFile("D:\\x[SUBTITLE].avi");
    fake.AddFile("D:\\x[SUBTITLE].srt");
    TLaunch l = ComposeLaunch(vexamo, player, StringList{"D:\\x[SUBTITLE].avi"}, 1);
    EXPECT_EQ(l.Parameters, "/QUICKINI /V:\"D:\\x[SUBTITLE].avi\" /S:\"D:\\x[SUBTITLE].srt\"");

    player.PlaylistExt = ".m3u";
    l = ComposeLaunch(vexamo, player, StringList{"D:\\[PLAYLIST].mp3"}, 0);
    EXPECT_EQ(l.Parameters, "\"D:\\[PLAYLIST].mp3\"");
    EXPECT_EQ(fake.Content("C:\\Vexamo\\VexamoList.m3u"), "D:\\[PLAYLIST].mp3\r\n");
}

TEST_F(Launch, ADiscReachesThePlayerWholeThroughWindowsArgumentRules) {
    player.Flags->Disc = "/dvd [DISC]";
    const TLaunch launch = ComposeDiscLaunch(vexamo, player, "D:\\", DiscKind::DvdVideo);
    EXPECT_EQ(launch.Exe, player.Exe);
    EXPECT_EQ(test::SplitArguments(launch.Parameters), (std::vector<std::string>{"/dvd", "D:\\"}));
    EXPECT_FALSE(fake.FileExists("C:\\Vexamo\\VexamoList.lst")) << "no playlist for a disc";

    const std::pair<std::string, std::vector<std::string>> forms[] = {
        {"[DISC]", {"D:\\"}},
        {"dvd:///[DISC]", {"dvd:///D:\\"}},
        {"--dvd-device=[DISC] dvd://", {"--dvd-device=D:\\", "dvd://"}},
        {"[DISC] --fullscreen", {"D:\\", "--fullscreen"}},
    };
    for (const auto& [templ, args] : forms) {
        vexamo.Files->DiscName = "D:\\";
        EXPECT_EQ(test::SplitArguments(vexamo.ExpandTags(templ)), args) << templ;
    }
    // Any path that ends in backslashes keeps them all; others are as they were.
    EXPECT_EQ(test::SplitArguments(QuotedArgument("C:\\My Films\\\\")), (std::vector<std::string>{"C:\\My Films\\\\"}));
    EXPECT_EQ(QuotedArgument("D:\\a b\\x.avi"), "\"D:\\a b\\x.avi\"");
}
