// Names in any script from the disc to the player: the UTF-8 conversions of the seam, profile
// files of older versions, playlists in the encoding their players read, and paths too long for
// any file function.
#include <gtest/gtest.h>

#include <algorithm>

#include "agent/Init.h"
#include "model/CommandLines.h"
#include "model/PlayersCfg.h"
#include "model/VexaCfg.h"
#include "platform/IniText.h"
#include "platform/Utf8.h"
#include "support/ArgvSplit.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace {

const std::string Film = "\xD0\xA4\xD0\xB8\xD0\xBB\xD1\x8C\xD0\xBC";  // Фильм
const std::string Eiga = "\xE6\x98\xA0\xE7\x94\xBB";                  // 映画
const std::string Smile = "\xF0\x9F\x98\x80";                         // 😀
const std::string Cafe = "caf\xC3\xA9";                               // café
// A name NTFS allows and no Unicode text can hold: a lone high surrogate, as the seam keeps it.
const std::string LoneSurrogate = "x\xED\xA0\x80y";

}  // namespace

// --- the conversions ----------------------------------------------------------------------------

TEST(Utf8, OnlyWellFormedTextIsValid) {
    for (const std::string& text : {std::string(), Film, Eiga, Smile, Cafe, std::string("\xEF\xBF\xBD")})
        EXPECT_TRUE(IsValidUtf8(text)) << text;
    const std::string bad[] = {
        "caf\xE9",              // Windows-1252
        "\xC0\xAF",             // an overlong slash
        "\xE0\x80\xAF",         // another
        "\xED\xA0\x80",         // a surrogate
        "\xF4\x90\x80\x80",     // past U+10FFFF
        "\xD0",                 // cut short at the end
        "\xE6\x98x",            // cut short before ASCII
        "\x80",                 // a continuation on its own
    };
    for (const std::string& text : bad) EXPECT_FALSE(IsValidUtf8(text)) << ::testing::PrintToString(text);
}

TEST(Utf8, NamesRoundTripThroughUtf16AndLoneSurrogatesSurvive) {
    const std::string name = "D:\\" + Film + "\\" + Eiga + " " + Smile + " " + Cafe + ".mkv";
    const std::u16string wide = Utf8ToUtf16(name);
    EXPECT_EQ(wide.size(), Utf16Length(name));
    EXPECT_EQ(wide.substr(3, 5), u"\u0424\u0438\u043B\u044C\u043C");
    EXPECT_NE(wide.find(u"\U0001F600"), std::u16string::npos) << "the emoji as a surrogate pair";
    EXPECT_EQ(Utf16ToUtf8(wide), name);

    // What NTFS can hold comes back to the very same UTF-16, so the file still opens.
    const std::u16string lone = u"x\xD800y";
    EXPECT_EQ(Utf16ToUtf8(lone), LoneSurrogate);
    EXPECT_EQ(Utf8ToUtf16(LoneSurrogate), lone);
    EXPECT_EQ(Utf16ToUtf8(u"\xDE00"), "\xED\xB8\x80") << "a low one too";
    EXPECT_FALSE(IsValidUtf8(LoneSurrogate));

    // Bytes that are no UTF-8 become U+FFFD each, the ASCII after them kept (Wine's own
    // conversion drops the character after a sequence cut short at the end).
    EXPECT_EQ(Utf8ToUtf16("caf\xE9x"), u"caf\uFFFDx");
    EXPECT_EQ(Utf8ToUtf16("\xE6\x98x"), u"\uFFFD\uFFFDx");
}

TEST(Utf8, CutsFallBetweenCharacters) {
    const std::string text = "ab" + Film;  // 2 + 10 bytes
    EXPECT_EQ(CutAtCharacter(text, 20), text);
    EXPECT_EQ(CutAtCharacter(text, 4), "ab\xD0\xA4");
    EXPECT_EQ(CutAtCharacter(text, 5), "ab\xD0\xA4");
    EXPECT_EQ(CutAtCharacter(Smile + Smile, 7), Smile);

    // The tray's tip is a record of bytes: a long label is cut before a letter, not through it.
    const std::string tip = FitTrayTip("Vexamo: Label: " + Film + Film + Film + Film + Film);
    EXPECT_LE(tip.size(), TrayTipSize - 1);
    EXPECT_TRUE(IsValidUtf8(tip)) << tip;
    EXPECT_EQ(tip.substr(tip.size() - 3), "...");
}

// --- profile files of older versions ------------------------------------------------------------

TEST(LegacyIni, TheBytesOfALineOfNoCodePageSurviveEverySave) {
    FakePlatform fake;
    // As an Asian code page with a broken double-byte character on one line.
    fake.UndecodableLegacyBytes = "\x81";
    fake.AddFolder("C:\\Vexamo");
    const std::string path = "C:\\Vexamo\\Players.ini";
    const std::string broken = "C:\\Pla\x81yer\\play.exe";
    fake.AddFile(path, "[Old]\r\nexe=C:\\Vid\xE9o\\play.exe\r\n[Broken]\r\nexe=" + broken + "\r\n");

    EXPECT_EQ(ReadIniString(path, "Old", "exe"), "C:\\Vid\xC3\xA9o\\play.exe");
    EXPECT_EQ(ReadIniString(path, "Broken", "exe"), broken) << "passed on as it is";

    WriteIniString(path, "New", "exe", "C:\\" + Film + "\\play.exe");
    // The line it could not read keeps its bytes; what it could read is UTF-8 now.
    EXPECT_EQ(fake.Content(path), "[Old]\r\nexe=C:\\Vid\xC3\xA9o\\play.exe\r\n[Broken]\r\nexe=" + broken +
                                      "\r\n[New]\r\nexe=C:\\" + Film + "\\play.exe\r\n");
    // A value read and written back, as a full save does, changes nothing.
    TPlayer broken_player;
    broken_player.LoadFromIni(path, "Broken");
    broken_player.SaveToIni(path, true);
    EXPECT_EQ(ReadIniString(path, "Broken", "exe"), broken);
    EXPECT_NE(fake.Content(path)->find("exe=" + broken + "\r\n"), std::string::npos);
    EXPECT_EQ(ReadIniString(path, "New", "exe"), "C:\\" + Film + "\\play.exe");
    EXPECT_EQ(ReadIniString(path, "Old", "exe"), "C:\\Vid\xC3\xA9o\\play.exe");
}

TEST(LegacyIni, AStoredPlayerPathWithAnAccentSurvivesTheCatalogueSave) {
    FakePlatform fake;
    fake.AddFolder("C:\\Vexamo");
    fake.AddFile("C:\\Lecteur vid\xC3\xA9o\\player.exe");
    const std::string path = "C:\\Vexamo\\Players.ini";
    fake.AddFile(path, "[Lecteur]\r\nexe=C:\\Lecteur vid\xE9o\\player.exe\r\nindex=0\r\next=.m3u\r\n");

    TPlayer player;
    player.LoadFromIni(path, "Lecteur");
    EXPECT_TRUE(fake.FileExists(player.Exe)) << player.Exe;
    // Another player added to the catalogue: the file's first save since the older version.
    TPlayer other;
    other.Name = "Autre";
    other.Exe = "C:\\Autre\\autre.exe";
    other.SaveToIni(path, false);
    const std::string text = *fake.Content(path);
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_NE(text.find("exe=C:\\Lecteur vid\xC3\xA9o\\player.exe\r\n"), std::string::npos) << text;
    player.LoadFromIni(path, "Lecteur");
    EXPECT_EQ(player.Exe, "C:\\Lecteur vid\xC3\xA9o\\player.exe");
}

TEST(LegacyIni, WhatIsReadRightIsNeverRewrittenByAReadAlone) {
    FakePlatform fake;
    fake.AddFolder("C:\\Vexamo");
    const std::string path = "C:\\Vexamo\\Vexamo.ini";
    const std::string legacy = "[SubTitles]\r\nPath=C:\\Sous-titres\\\xE9t\xE9\\\r\n";
    fake.AddFile(path, legacy);
    EXPECT_EQ(ReadIniString(path, "SubTitles", "Path"), "C:\\Sous-titres\\\xC3\xA9t\xC3\xA9\\");
    EXPECT_EQ(ReadIniSections(path), StringList{"SubTitles"});
    EXPECT_EQ(fake.Content(path), legacy) << "an older version may still read it";
}

// --- playlists ----------------------------------------------------------------------------------

namespace {

struct Playlists : ::testing::Test {
    FakePlatform fake;
    TVexamo vexamo;
    TPlayer player;

    Playlists() {
        ProgramFolder = "C:\\Vexamo\\";
        fake.AddFolder("C:\\Vexamo");
        fake.AddDrive("D:\\", DriveKind::CdRom, Film);
        vexamo.Settings->Subtitles.Folders = {"D:\\"};
        player.LoadDefault("MicroDVD");  // .lst, [PLAYLIST], /QUICKINI /V:[FILE] /S:[SUBTITLE]
        player.Exe = "C:\\MicroDVD\\microdvd.exe";
    }
    std::string File(const std::string& name) { return fake.Content("C:\\Vexamo\\" + name).value_or("<none>"); }
};

}  // namespace

TEST_F(Playlists, EachFormatIsWrittenInTheEncodingItsPlayersRead) {
    EXPECT_EQ(PlaylistEncodingOf(".m3u8"), PlaylistEncoding::Utf8);
    EXPECT_EQ(PlaylistEncodingOf(".M3U8"), PlaylistEncoding::Utf8);
    for (const char* ext : {".m3u", ".lst", ".bsl", "", ".pls"})
        EXPECT_EQ(PlaylistEncodingOf(ext), PlaylistEncoding::Legacy) << ext;
    EXPECT_EQ(PlaylistExts.back(), ".m3u8") << "after the rows that stored indices name";

    // Latin names fit the legacy code page: the older formats get their bytes in it.
    TLaunch l = ComposeLaunch(vexamo, player, StringList{"D:\\" + Cafe + ".avi", "D:\\na\xC3\xAFve.avi"}, 1);
    EXPECT_EQ(l.Parameters, "\"C:\\Vexamo\\VexamoList.lst\"");
    EXPECT_EQ(File("VexamoList.lst"), "D:\\caf\xE9.avi\r\nD:\\na\xEFve.avi\r\n");
    EXPECT_TRUE(l.LeftOut.empty());

    // An .m3u8 holds any name, in UTF-8.
    player.PlaylistExt = ".m3u8";
    const StringList any = {"D:\\" + Film + ".avi", "D:\\" + Eiga + ".mkv", "D:\\" + Smile + " smile.mp4"};
    l = ComposeLaunch(vexamo, player, any, 1);
    EXPECT_EQ(l.Parameters, "\"C:\\Vexamo\\VexamoList.m3u8\"");
    EXPECT_EQ(File("VexamoList.m3u8"), any[0] + "\r\n" + any[1] + "\r\n" + any[2] + "\r\n");
    EXPECT_TRUE(l.LeftOut.empty());
}

TEST_F(Playlists, ANameTheFormatCannotHoldNeverGoesIntoIt) {
    const std::string latin = "D:\\a.avi", latin2 = "D:\\b.avi";
    const std::string russian = "D:\\" + Film + ".avi", japanese = "D:\\" + Eiga + ".avi";

    // The others still play from the playlist; the user is told of the one left out.
    TLaunch l = ComposeLaunch(vexamo, player, StringList{latin, russian, latin2}, 1);
    EXPECT_EQ(l.Parameters, "\"C:\\Vexamo\\VexamoList.lst\"");
    EXPECT_EQ(File("VexamoList.lst"), "D:\\a.avi\r\nD:\\b.avi\r\n");
    EXPECT_EQ(l.LeftOut, StringList{russian});
    const std::string text = LeftOutText(player, l.LeftOut);
    EXPECT_NE(text.find(russian), std::string::npos);
    EXPECT_NE(text.find(".lst"), std::string::npos);
    EXPECT_NE(text.find(".m3u8"), std::string::npos);

    // With one file or none left for the playlist, the first file plays alone: its command line
    // carries any name, whole, and it still gets its subtitle.
    fake.AddFile(russian);
    fake.AddFile("D:\\" + Film + ".srt");
    l = ComposeLaunch(vexamo, player, StringList{russian, japanese, latin}, 1);
    EXPECT_EQ(test::SplitArguments(l.Parameters),
              (std::vector<std::string>{"/QUICKINI", "/V:" + russian, "/S:D:\\" + Film + ".srt"}));
    EXPECT_EQ(File("VexamoList.lst"), "D:\\a.avi\r\n");
    EXPECT_EQ(l.LeftOut, (StringList{japanese, latin}));

    // A player without playlists only ever played the first file: nothing new to say.
    player.Flags->Playlist.clear();
    l = ComposeLaunch(vexamo, player, StringList{japanese, russian}, 0);
    EXPECT_EQ(test::SplitArguments(l.Parameters), std::vector<std::string>{japanese});
    EXPECT_TRUE(l.LeftOut.empty());
}

TEST_F(Playlists, ANameThatIsNoUnicodeTextPlaysAloneAndTheRestOfTheDiscPlays) {
    player.PlaylistExt = ".m3u8";
    const std::string odd = "D:\\" + LoneSurrogate + ".avi";
    fake.AddFile(odd);
    fake.AddFile("D:\\a.avi");
    fake.AddFile("D:\\b.avi");
    // The listing hands the name on as it is; the playlist takes the others.
    EXPECT_EQ(FindFiles("D:\\*.avi"), (StringList{odd, "D:\\a.avi", "D:\\b.avi"}));
    TLaunch l = ComposeLaunch(vexamo, player, FindFiles("D:\\*.avi"), 1);
    EXPECT_EQ(File("VexamoList.m3u8"), "D:\\a.avi\r\nD:\\b.avi\r\n");
    EXPECT_EQ(l.LeftOut, StringList{odd});
    // Alone, it goes on the command line in the form the seam turns back into its UTF-16.
    l = ComposeLaunch(vexamo, player, StringList{odd}, 1);
    EXPECT_EQ(test::SplitArguments(l.Parameters), std::vector<std::string>{odd});
    EXPECT_TRUE(l.LeftOut.empty());
}

TEST_F(Playlists, SubtitlesAreFoundByNamesInAnyScript) {
    for (const std::string& name : {Film, Eiga, Smile + " smile"}) {
        fake.AddFile("D:\\Films\\" + name + ".avi");
        fake.AddFile("D:\\Films\\Subs\\" + name + ".srt");
        vexamo.Files->FileName = "D:\\Films\\" + name + ".avi";
        EXPECT_EQ(vexamo.FindSubtitle(), "D:\\Films\\Subs\\" + name + ".srt") << name;
    }
}

// --- paths too long for any file function -------------------------------------------------------

TEST(LongPaths, AChainTooDeepForAnyFileFunctionIsSkippedWithALineInTheLog) {
    FakePlatform fake;
    fake.AddFolder("C:\\Vexamo");
    ExeName = "C:\\Vexamo\\Vexamo.exe";
    fake.AddDrive("D:\\", DriveKind::CdRom, "DEEP");
    // Cyrillic folders: the limit counts UTF-16 units, which are fewer than the bytes.
    std::string component;
    for (int i = 0; i < 100; ++i) component += "\xD0\x96";  // Ж
    std::string folder = "D:\\";
    std::string lastReachable;
    while (Utf16Length(folder) < LongestPath + 200) {
        fake.AddFile(folder + "clip.avi");
        if (Utf16Length(folder + "*") <= LongestPath) lastReachable = folder;
        folder += component + "\\";
    }
    fake.AddFile("D:\\root.avi");

    const StringList found = FindFiles("D:\\*.avi");
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front(), "D:\\clip.avi");
    EXPECT_EQ(found.back(), lastReachable + "clip.avi") << "everything up to the limit is found";
    EXPECT_NE(std::find(found.begin(), found.end(), "D:\\root.avi"), found.end());
    const std::string log = fake.Content("C:\\Vexamo\\Vexamo.log").value_or("");
    EXPECT_NE(log.find("A folder's path is too long to be searched: D:\\" + component.substr(0, 100)), std::string::npos)
        << log;
    EXPECT_TRUE(IsValidUtf8(log));
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << "one line for the one chain";
}
