// The player catalogue: registry commands to paths, the default players, Players.ini and the
// discovery that keeps it in line with what is installed.
#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "model/PlayersCfg.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace {

const std::string Ini = "C:\\Vexamo\\Players.ini";
const std::string BsKey = "\\SOFTWARE\\Classes\\BSP.inif\\shell\\open\\command";
const std::string WinampKey = "\\SOFTWARE\\Classes\\Directory\\shell\\Winamp.Play\\command";

struct Catalogue : ::testing::Test {
    FakePlatform fake;
    Catalogue() { fake.AddFolder("C:\\Vexamo"); }

    std::string Text() { return fake.Content(Ini).value_or("<missing>"); }
};

}  // namespace

TEST(CommandToPath, QuotedExecutableWithAndWithoutArguments) {
    EXPECT_EQ(CommandToPath("\"C:\\Program Files\\BSPlayer\\bsplayer.exe\" \"%1\""),
              "C:\\Program Files\\BSPlayer\\bsplayer.exe");
    EXPECT_EQ(CommandToPath("\"C:\\Program Files\\BSPlayer\\bsplayer.exe\""),
              "C:\\Program Files\\BSPlayer\\bsplayer.exe");
    // A quoted executable keeps its whole path even when the arguments hold a dot.
    EXPECT_EQ(CommandToPath("\"C:\\Tools\\p.exe\" /ini=C:\\Tools\\p.ini \"%1\""), "C:\\Tools\\p.exe");
}

TEST(CommandToPath, UnquotedPathIsCutThreeCharactersAfterTheLastDot) {
    EXPECT_EQ(CommandToPath("C:\\PROGRA~1\\Winamp\\winamp.EXE /ADD \"%1\""), "C:\\PROGRA~1\\Winamp\\winamp.EXE");
    EXPECT_EQ(CommandToPath("C:\\Winamp\\winamp.exe"), "C:\\Winamp\\winamp.exe");
    // A dot among the arguments moves the cut there: the path is wrong and the player is
    // then taken as not installed.
    EXPECT_EQ(CommandToPath("C:\\MicroDVD\\microdvd.exe /CFG:setup.ini /S \"%1\""),
              "C:\\MicroDVD\\microdvd.exe /CFG:setup.ini");
}

TEST(CommandToPath, DoubledQuotesAndEmptyCommands) {
    EXPECT_EQ(CommandToPath("\"C:\\The \"\"Best\"\" Player\\best.exe\" \"%1\""), "C:\\The \"Best\" Player\\best.exe");
    EXPECT_EQ(CommandToPath(""), "");
    EXPECT_EQ(CommandToPath("\"\""), "");
    // Without any dot only the first three characters are kept.
    EXPECT_EQ(CommandToPath("winamp /play"), "win");
}

TEST(ExtensionTables, KindsFollowTheRowsOfKnownExtensions) {
    EXPECT_EQ(KindOfExtension(".mp3"), 0);
    EXPECT_EQ(KindOfExtension(".wmv"), 0);  // listed with the audio extensions
    EXPECT_EQ(KindOfExtension(".avi"), 1);
    EXPECT_EQ(KindOfExtension(".mpeg"), 1);
    EXPECT_EQ(KindOfExtension(".AVI"), -1);  // compared with case
    EXPECT_EQ(KindOfExtension("avi"), -1);
    EXPECT_EQ(KnownIndexOf(".mpg"), 10);
    for (size_t row = 0; row < KnownExtensions.size(); ++row)
        EXPECT_EQ("." + ExtensionKinds[row].Ext, KnownExtensions[row]);
}

TEST_F(Catalogue, DefaultPlayersTakeTheirRowAndTemplates) {
    for (size_t row = 0; row < DefaultPlayerNames.size(); ++row) {
        TPlayer p;
        p.LoadDefault(DefaultPlayerNames[row]);
        EXPECT_EQ(p.Index, static_cast<int>(row + 1)) << p.Name;
        EXPECT_EQ(p.Name, DefaultPlayerNames[row]);
        EXPECT_EQ(p.Exe, "") << "nothing in the registry";
    }
    TPlayer micro;
    micro.LoadDefault("MicroDVD");
    EXPECT_EQ(micro.PlaylistExt, ".lst");
    EXPECT_EQ(micro.Flags->Subtitles, "/QUICKINI /V:[FILE] /S:[SUBTITLE]");
    TPlayer winamp;
    winamp.Icon = "C:\\pics\\w.bmp";
    winamp.LoadDefault("Winamp");
    EXPECT_EQ(winamp.Flags->Single, "[FILE]");
    EXPECT_EQ(winamp.Flags->Playlist, "[PLAYLIST]");
    EXPECT_EQ(winamp.Flags->Subtitles, "");
    EXPECT_EQ(winamp.Icon, "C:\\pics\\w.bmp");
}

TEST_F(Catalogue, DefaultPlayerCommandComesFromCurrentUserBeforeMachine) {
    fake.SetRegString(RegRoot::LocalMachine, BsKey, "", "\"C:\\Machine\\bsplayer.exe\" \"%1\"");
    TPlayer p;
    p.LoadDefault("BsPlayer");
    EXPECT_EQ(p.Exe, "C:\\Machine\\bsplayer.exe");

    // An empty value under the current user counts as none.
    fake.SetRegString(RegRoot::CurrentUser, BsKey, "", "");
    p.LoadDefault("BsPlayer");
    EXPECT_EQ(p.Exe, "C:\\Machine\\bsplayer.exe");

    fake.SetRegString(RegRoot::CurrentUser, BsKey, "", "C:\\User\\bsplay.exe %1");
    p.LoadDefault("BsPlayer");
    EXPECT_EQ(p.Exe, "C:\\User\\bsplay.exe");
}

TEST_F(Catalogue, UnknownDefaultPlayerIsAnErrorNamingIt) {
    TPlayer p;
    try {
        p.LoadDefault("VLC");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("VLC"), std::string::npos);
    }
    EXPECT_THROW(p.LoadDefault("bsplayer"), Error);  // names compare with case
}

TEST_F(Catalogue, SectionIsWrittenInKeyOrderAndOnlyOverwrittenWhenAsked) {
    TPlayer p;
    p.LoadDefault("MicroDVD");
    p.Exe = "C:\\Program Files\\MicroDVD\\microdvd.exe";
    p.SaveToIni(Ini, false);
    const std::string written =
        "[MicroDVD]\r\nexe=C:\\Program Files\\MicroDVD\\microdvd.exe\r\nindex=2\r\nicon=\r\next=.lst\r\n"
        "single=[FILE]\r\nplaylist=[PLAYLIST]\r\nsubtitles=/QUICKINI /V:[FILE] /S:[SUBTITLE]\r\n";
    EXPECT_EQ(Text(), written);

    p.Exe = "D:\\elsewhere.exe";
    p.SaveToIni(Ini, false);
    EXPECT_EQ(Text(), written);
    p.SaveToIni(Ini, true);
    EXPECT_EQ(ReadIniString(Ini, "MicroDVD", "exe"), "D:\\elsewhere.exe");
}

TEST_F(Catalogue, EmptyTemplatesStayEmptyMissingOnesTakeTheDefaults) {
    TPlayer winamp;
    winamp.LoadDefault("Winamp");
    winamp.SaveToIni(Ini, true);
    EXPECT_NE(Text().find("subtitles=\r\n"), std::string::npos);

    fake.AddFile("C:\\Vexamo\\Players.ini",
                 Text() + "[Hand Made]\r\nexe=C:\\hm\\hm.exe\r\nindex=0\r\n");
    TPlayer back;
    back.LoadFromIni(Ini, "Winamp");
    EXPECT_EQ(back.Flags->Subtitles, "");
    EXPECT_EQ(back.Index, 3);
    EXPECT_EQ(back.PlaylistExt, ".m3u");

    TPlayer hand;
    hand.LoadFromIni(Ini, "hand made");
    EXPECT_EQ(hand.Name, "hand made");
    EXPECT_EQ(hand.Exe, "C:\\hm\\hm.exe");
    EXPECT_EQ(hand.Flags->Single, "[FILE]");
    EXPECT_EQ(hand.Flags->Playlist, "[PLAYLIST]");
    EXPECT_EQ(hand.Flags->Subtitles, "[FILE] [SUBTITLE]");
    EXPECT_EQ(hand.Icon, "");
    EXPECT_EQ(hand.PlaylistExt, "");
}

TEST_F(Catalogue, TemplatesWithOuterQuotesOrBlanksReadBackAsTyped) {
    TPlayer p;
    p.LoadDefault("MicroDVD");
    p.Name = "Quoted";
    p.Flags->Single = "\"--fullscreen\" [FILE] \"--loop\"";
    p.Flags->Playlist = " [PLAYLIST] ";
    p.Flags->Subtitles = "'[FILE]' '[SUBTITLE]'";
    p.SaveToIni(Ini, true);
    TPlayer back;
    back.LoadFromIni(Ini, "Quoted");
    EXPECT_EQ(back.Flags->Single, "\"--fullscreen\" [FILE] \"--loop\"");
    EXPECT_EQ(back.Flags->Playlist, " [PLAYLIST] ");
    EXPECT_EQ(back.Flags->Subtitles, "'[FILE]' '[SUBTITLE]'");
    // The next save of what was read writes the same again: nothing is lost edit after edit.
    const std::string once = Text();
    back.SaveToIni(Ini, true);
    EXPECT_EQ(Text(), once);
}

TEST_F(Catalogue, MissingCatalogueReadsAsAnEmptyPlayer) {
    TPlayer p;
    p.Exe = "stale";
    p.Index = 5;
    p.LoadFromIni(Ini, "BsPlayer");
    EXPECT_EQ(p.Exe, "");
    EXPECT_EQ(p.Index, 0);
    EXPECT_EQ(p.Flags->Single, "[FILE]");
}

TEST_F(Catalogue, DiscoveryKeepsEditedInstalledPlayersAndDropsUninstalledOnes) {
    fake.SetRegString(RegRoot::LocalMachine, BsKey, "", "\"C:\\BS\\bsplayer.exe\" \"%1\"");
    fake.AddFile("C:\\BS\\bsplayer.exe");
    fake.SetRegString(RegRoot::LocalMachine, WinampKey, "", "C:\\Winamp\\winamp.exe /ADD \"%1\"");
    fake.AddFile("C:\\Winamp\\winamp.exe");
    // An edited BsPlayer and an edited MicroDVD whose program is gone.
    fake.AddFile(Ini,
                 "[BsPlayer]\r\nexe=C:\\BS\\bsplayer.exe\r\nindex=1\r\nsingle=-play [FILE]\r\n"
                 "[MicroDVD]\r\nexe=C:\\MicroDVD\\microdvd.exe\r\nindex=2\r\nsingle=/x [FILE]\r\n"
                 "[My Player]\r\nexe=C:\\my\\my.exe\r\n");

    DiscoverDefaultPlayers(Ini);

    EXPECT_EQ(ReadIniSections(Ini), (StringList{"BsPlayer", "My Player", "Winamp"}));
    EXPECT_EQ(ReadIniString(Ini, "BsPlayer", "single"), "-play [FILE]");
    EXPECT_EQ(ReadIniString(Ini, "BsPlayer", "ext"), "");
    EXPECT_EQ(ReadIniString(Ini, "Winamp", "exe"), "C:\\Winamp\\winamp.exe");
    EXPECT_EQ(ReadIniString(Ini, "Winamp", "index"), "3");

    ResetPlayers(Ini);
    EXPECT_EQ(ReadIniSections(Ini), (StringList{"BsPlayer", "Winamp"}));
    EXPECT_EQ(ReadIniString(Ini, "BsPlayer", "single"), "[FILE]");
    EXPECT_EQ(ReadIniString(Ini, "BsPlayer", "ext"), ".bsl");
}

TEST_F(Catalogue, DiscoveryWithNothingInstalledLeavesNoDefaultSections) {
    fake.AddFile(Ini, "[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n");
    DiscoverDefaultPlayers(Ini);
    EXPECT_TRUE(ReadIniSections(Ini).empty());
}

TEST_F(Catalogue, DiscoveryKeepsASectionWhoseOwnProgramIsThere) {
    // The registry's command is unusable (no such file), but the section was edited by hand to
    // point at the installed program.
    fake.SetRegString(RegRoot::LocalMachine, WinampKey, "", "C:\\Old\\winamp.exe /ADD \"%1\"");
    fake.AddFile("D:\\Apps\\Winamp\\winamp.exe");
    const std::string text = "[Winamp]\r\nexe=D:\\Apps\\Winamp\\winamp.exe\r\nindex=3\r\nsingle=/x [FILE]\r\n";
    fake.AddFile(Ini, text);
    DiscoverDefaultPlayers(Ini);
    EXPECT_EQ(Text(), text);
}
