// The players of today the catalogue finds by itself: the five named default players in every form
// their installers leave, and the players registered as AutoPlay handlers, bad registrations
// included, over the fake registry.
#include <gtest/gtest.h>

#include <functional>

#include "model/PlayersCfg.h"
#include "model/TodaysPlayers.h"
#include "model/User.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace {

const std::string Ini = "C:\\Vexamo\\Players.ini";
const RegRoot HKCU = RegRoot::CurrentUser;
const RegRoot HKLM = RegRoot::LocalMachine;
const std::string Uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
const std::string AppPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const std::string Handlers = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\";

struct Discovery : ::testing::Test {
    FakePlatform fake;
    Discovery() { fake.AddFolder("C:\\Vexamo"); }

    TPlayer Found(const std::string& name) {
        TPlayer p;
        p.LoadDefault(name);
        return p;
    }
    std::string Key(const std::string& section, const std::string& key) { return ReadIniString(Ini, section, key); }
    StringList Sections() { return ReadIniSections(Ini); }

    // A verb-style AutoPlay handler as players register one: the event's value, the handler's
    // definition and its ProgID's command.
    void Handler(RegRoot root, const std::string& event, const std::string& name, const std::string& provider,
                 const std::string& command) {
        fake.SetRegString(root, Handlers + "EventHandlers\\" + event, name, "");
        fake.SetRegString(root, Handlers + "Handlers\\" + name, "Provider", provider);
        fake.SetRegString(root, Handlers + "Handlers\\" + name, "Action", "Play");
        fake.SetRegString(root, Handlers + "Handlers\\" + name, "InvokeProgID", name + ".ProgID");
        fake.SetRegString(root, Handlers + "Handlers\\" + name, "InvokeVerb", "open");
        fake.SetRegString(root, "SOFTWARE\\Classes\\" + name + ".ProgID\\shell\\open\\command", "", command);
    }
};

}  // namespace

// --- the named players ------------------------------------------------------------------------

TEST_F(Discovery, EachNamedPlayerIsFoundInEachFormItsInstallersLeave) {
    struct Form {
        const char* player;
        const char* how;
        std::function<void(FakePlatform&)> install;
        std::string exe;
    };
    const std::string vlc = "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe";
    const std::string vlc32 = "C:\\Program Files (x86)\\VideoLAN\\VLC\\vlc.exe";
    const std::string hc = "C:\\Program Files\\MPC-HC\\mpc-hc64.exe";
    const std::string hc32 = "C:\\Program Files (x86)\\MPC-HC\\mpc-hc.exe";
    const std::string be = "C:\\Program Files\\MPC-BE\\mpc-be64.exe";
    const std::string be32 = "C:\\Program Files (x86)\\MPC-BE\\mpc-be.exe";
    const std::string mpv = "C:\\Users\\me\\mpv\\mpv.exe";
    const std::string pot = "C:\\Program Files\\DAUM\\PotPlayer\\PotPlayerMini64.exe";
    const std::string pot32 = "C:\\Program Files (x86)\\DAUM\\PotPlayer\\PotPlayerMini.exe";
    const Form forms[] = {
        {"VLC media player", "64-bit NSIS", [&](FakePlatform& f) { f.SetRegString(HKLM, "SOFTWARE\\VideoLAN\\VLC", "", vlc); }, vlc},
        {"VLC media player", "32-bit NSIS on 64-bit Windows",
         [&](FakePlatform& f) { f.SetRegString(HKLM, "SOFTWARE\\WOW6432Node\\VideoLAN\\VLC", "", vlc32); }, vlc32},
        {"VLC media player", "MSI, folder only",
         [&](FakePlatform& f) { f.SetRegString(HKLM, "SOFTWARE\\VideoLAN\\VLC", "InstallDir", "C:\\Program Files\\VideoLAN\\VLC\\"); },
         vlc},
        {"VLC media player", "App Paths for the user",
         [&](FakePlatform& f) { f.SetRegString(HKCU, AppPaths + "vlc.exe", "", vlc); }, vlc},
        {"MPC-HC", "its own start, per user",
         [&](FakePlatform& f) { f.SetRegString(HKCU, "Software\\MPC-HC\\MPC-HC", "ExePath", hc); }, hc},
        {"MPC-HC", "x64 installer",
         [&](FakePlatform& f) {
             f.SetRegString(HKLM, Uninstall + "{2ACBF1FA-F5C3-4B19-A774-B22A31F231B9}_is1", "InstallLocation",
                            "C:\\Program Files\\MPC-HC\\");
         },
         hc},
        {"MPC-HC", "x86 installer on 64-bit Windows",
         [&](FakePlatform& f) {
             f.SetRegString(HKLM, "SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                                  "{2624B969-7135-4EB1-B0F6-2D8C397B45F7}_is1",
                            "InstallLocation", "C:\\Program Files (x86)\\MPC-HC\\");
         },
         hc32},
        {"MPC-HC", "per-user install",
         [&](FakePlatform& f) {
             f.SetRegString(HKCU, Uninstall + "{2ACBF1FA-F5C3-4B19-A774-B22A31F231B9}_is1", "InstallLocation",
                            "C:\\Program Files\\MPC-HC");
         },
         hc},
        {"MPC-BE", "x64 installer", [&](FakePlatform& f) { f.SetRegString(HKLM, "SOFTWARE\\MPC-BE", "ExePath", be); }, be},
        {"MPC-BE", "x86 installer on 64-bit Windows",
         [&](FakePlatform& f) { f.SetRegString(HKLM, "SOFTWARE\\WOW6432Node\\MPC-BE", "ExePath", be32); }, be32},
        {"MPC-BE", "per-user install",
         [&](FakePlatform& f) {
             f.SetRegString(HKCU, Uninstall + "{FE09AF6D-78B2-4093-B012-FCDAF78693CE}_is1", "InstallLocation",
                            "C:\\Program Files\\MPC-BE\\");
         },
         be},
        {"mpv", "mpv --register by a user", [&](FakePlatform& f) { f.SetRegString(HKCU, AppPaths + "mpv.exe", "", mpv); }, mpv},
        {"mpv", "mpv-install.bat", [&](FakePlatform& f) { f.SetRegString(HKLM, AppPaths + "mpv.exe", "", mpv); }, mpv},
        {"mpv", "uninstall entry only",
         [&](FakePlatform& f) { f.SetRegString(HKCU, Uninstall + "mpv", "InstallLocation", "C:\\Users\\me\\mpv"); }, mpv},
        {"PotPlayer", "64-bit, per user",
         [&](FakePlatform& f) { f.SetRegString(HKCU, "Software\\DAUM\\PotPlayer64", "ProgramPath", pot); }, pot},
        {"PotPlayer", "64-bit, machine-wide",
         [&](FakePlatform& f) { f.SetRegString(HKLM, "SOFTWARE\\DAUM\\PotPlayer64", "ProgramPath", pot); }, pot},
        {"PotPlayer", "32-bit on 64-bit Windows",
         [&](FakePlatform& f) { f.SetRegString(HKLM, "SOFTWARE\\WOW6432Node\\DAUM\\PotPlayer", "ProgramPath", pot32); },
         pot32},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(std::string(form.player) + ", " + form.how);
        FakePlatform machine;
        machine.AddFolder("C:\\Vexamo");
        form.install(machine);
        TPlayer p;
        p.LoadDefault(form.player);
        EXPECT_EQ(p.Exe, "") << "found before its program was there";
        machine.AddFile(form.exe);
        p.LoadDefault(form.player);
        EXPECT_EQ(p.Exe, form.exe);
        DiscoverDefaultPlayers(Ini);
        EXPECT_EQ(ReadIniSections(Ini), StringList{form.player});
    }
}

TEST_F(Discovery, NamedPlayersComeAfterTheSevenWithTheirPicturesAndTemplates) {
    const std::string exes[] = {"C:\\VLC\\vlc.exe", "C:\\HC\\mpc-hc64.exe", "C:\\BE\\mpc-be64.exe", "C:\\mpv\\mpv.exe",
                                "C:\\Pot\\PotPlayerMini64.exe"};
    fake.SetRegString(HKLM, "SOFTWARE\\VideoLAN\\VLC", "", exes[0]);
    fake.SetRegString(HKCU, "Software\\MPC-HC\\MPC-HC", "ExePath", exes[1]);
    fake.SetRegString(HKLM, "SOFTWARE\\MPC-BE", "ExePath", exes[2]);
    fake.SetRegString(HKLM, AppPaths + "mpv.exe", "", exes[3]);
    fake.SetRegString(HKCU, "Software\\DAUM\\PotPlayer64", "ProgramPath", exes[4]);
    for (const std::string& exe : exes) fake.AddFile(exe);
    fake.SetRegString(HKLM, "\\SOFTWARE\\Classes\\BSP.inif\\shell\\open\\command", "", "C:\\BS\\bsplayer.exe %1");
    fake.AddFile("C:\\BS\\bsplayer.exe");

    DiscoverDefaultPlayers(Ini);

    EXPECT_EQ(Sections(), (StringList{"BsPlayer", "VLC media player", "MPC-HC", "MPC-BE", "mpv", "PotPlayer"}));
    EXPECT_EQ(Key("BsPlayer", "index"), "1");
    const char* names[] = {"VLC media player", "MPC-HC", "MPC-BE", "mpv", "PotPlayer"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Key(names[i], "index"), std::to_string(8 + i)) << names[i];
        EXPECT_EQ(Key(names[i], "ext"), i == 0 ? ".m3u8" : ".m3u") << names[i] << ": VLC reads its list as UTF-8";
        EXPECT_EQ(Key(names[i], "playlist"), "[PLAYLIST]") << names[i];
    }
    TPlayer vlc;
    vlc.LoadFromIni(Ini, "VLC media player");
    EXPECT_EQ(vlc.Flags->Subtitles, "[FILE] --sub-file=[SUBTITLE]");
    EXPECT_EQ(vlc.Flags->DiscTemplate(DiscKind::DvdVideo), "dvd:///[DISC]");
    EXPECT_EQ(vlc.Flags->DiscTemplate(DiscKind::BluRay), "bluray:///[DISC]");
    EXPECT_EQ(vlc.Flags->DiscTemplate(DiscKind::SuperVideoCd), "vcd:///[DISC]");
    EXPECT_EQ(vlc.Flags->DiscTemplate(DiscKind::AudioCd), "cdda:///[DISC]");
    TPlayer hc;
    hc.LoadFromIni(Ini, "MPC-HC");
    EXPECT_EQ(hc.Flags->Subtitles, "[FILE] /sub [SUBTITLE]");
    EXPECT_EQ(hc.Flags->DiscTemplate(DiscKind::DvdVideo), "[DISC] /dvd");
    EXPECT_EQ(hc.Flags->DiscTemplate(DiscKind::VideoCd), "[DISC] /cd");
    EXPECT_EQ(hc.Flags->DiscTemplate(DiscKind::BluRay), "[DISC]BDMV\\index.bdmv");
    TPlayer mpv;
    mpv.LoadFromIni(Ini, "mpv");
    EXPECT_EQ(mpv.Flags->DiscTemplate(DiscKind::BluRay), "bd:// --bluray-device=[DISC]");
    EXPECT_EQ(mpv.Flags->DiscTemplate(DiscKind::VideoCd), "") << "mpv has no (S)VCD protocol";
    TPlayer pot;
    pot.LoadFromIni(Ini, "PotPlayer");
    EXPECT_EQ(pot.Flags->DiscTemplate(DiscKind::DvdVideo), "[DISC]");
    EXPECT_EQ(pot.Flags->Subtitles, "[FILE] /sub=[SUBTITLE]");
}

TEST_F(Discovery, RegistryValuesAreReadAsWrittenOrSkipped) {
    // Quoted, with arguments after it: the path alone.
    fake.SetRegString(HKLM, "SOFTWARE\\VideoLAN\\VLC", "", "\"C:\\Program Files\\VideoLAN\\VLC\\vlc.exe\" --one");
    fake.AddFile("C:\\Program Files\\VideoLAN\\VLC\\vlc.exe");
    EXPECT_EQ(Found("VLC media player").Exe, "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe");
    // Unquoted with blanks in the path and arguments after it.
    fake.SetRegString(HKCU, "Software\\MPC-HC\\MPC-HC", "ExePath", "C:\\Program Files\\MPC HC\\mpc-hc64.exe /new");
    fake.AddFile("C:\\Program Files\\MPC HC\\mpc-hc64.exe");
    EXPECT_EQ(Found("MPC-HC").Exe, "C:\\Program Files\\MPC HC\\mpc-hc64.exe");
    // REG_EXPAND_SZ is expanded; the same text as REG_SZ is a path of its own, which does not exist.
    fake.SetRegExpandString(HKLM, AppPaths + "mpv.exe", "", "%ProgramFiles%\\mpv\\mpv.exe");
    fake.AddFile("C:\\Program Files\\mpv\\mpv.exe");
    EXPECT_EQ(Found("mpv").Exe, "C:\\Program Files\\mpv\\mpv.exe");
    fake.SetRegString(HKLM, AppPaths + "mpv.exe", "", "%ProgramFiles%\\mpv\\mpv.exe");
    EXPECT_EQ(Found("mpv").Exe, "");
    // A place naming a missing file passes the search on to the next place.
    fake.SetRegString(HKLM, "SOFTWARE\\MPC-BE", "ExePath", "C:\\Gone\\mpc-be64.exe");
    fake.SetRegString(HKLM, "SOFTWARE\\WOW6432Node\\MPC-BE", "ExePath", "C:\\BE32\\mpc-be.exe");
    fake.AddFile("C:\\BE32\\mpc-be.exe");
    EXPECT_EQ(Found("MPC-BE").Exe, "C:\\BE32\\mpc-be.exe");
    // Only missing files: not found, and no section for it.
    fake.SetRegString(HKCU, "Software\\DAUM\\PotPlayer64", "ProgramPath", "C:\\Gone\\PotPlayerMini64.exe");
    DiscoverDefaultPlayers(Ini);
    EXPECT_EQ(Sections(), (StringList{"VLC media player", "MPC-HC", "MPC-BE"}));
}

// --- handler commands and names ---------------------------------------------------------------

TEST(HandlerCommand, DrivePlaceholdersBecomeTheTagAndTheirQuotesGo) {
    EXPECT_EQ(DiscTemplateOfArguments("--started-from-file dvd:///%1"), "--started-from-file dvd:///[DISC]");
    EXPECT_EQ(DiscTemplateOfArguments("%1 /dvd"), "[DISC] /dvd");
    EXPECT_EQ(DiscTemplateOfArguments("\"%1\" /cd"), "[DISC] /cd");
    EXPECT_EQ(DiscTemplateOfArguments("\"dvd:///%L\""), "dvd:///[DISC]");
    // mpv-install.bat leaves the quote open, so that the drive's backslash does not escape it.
    EXPECT_EQ(DiscTemplateOfArguments("dvd:// --dvd-device=\"%L"), "dvd:// --dvd-device=[DISC]");
    EXPECT_EQ(DiscTemplateOfArguments("/play %* \"%2\" 100%%"), "/play  \"\" 100%");
    EXPECT_EQ(DiscTemplateOfArguments("\"C:\\a b\\skin.ini\" %1"), "\"C:\\a b\\skin.ini\" [DISC]");
    // Inside quotes with blanks the tag's own quotes would end the argument early.
    EXPECT_EQ(DiscTemplateOfArguments("\"play %1 now\""), std::nullopt);
    EXPECT_EQ(DiscTemplateOfArguments("%1\r\n[Other]"), std::nullopt);
    EXPECT_EQ(DiscTemplateOfArguments(std::string(2000, 'x')), std::nullopt);
}

TEST(HandlerCommand, ProvidersBecomeNamesEverySettingsFileKeeps) {
    EXPECT_EQ(SafePlayerName("VideoLAN VLC media player", "C:\\VLC\\vlc.exe"), "VideoLAN VLC media player");
    EXPECT_EQ(SafePlayerName("", "C:\\Tools\\Best Player.exe"), "Best Player");
    EXPECT_EQ(SafePlayerName("   ", "C:\\Tools\\best"), "best");
    EXPECT_EQ(SafePlayerName("@%SystemRoot%\\system32\\wmploc.dll,-6502", "C:\\WMP\\wmplayer.exe"), "wmplayer");
    EXPECT_EQ(SafePlayerName("  [Bad]=Name;  ", "C:\\x.exe"), "Bad Name");
    EXPECT_EQ(SafePlayerName("\"Quoted\"", "C:\\x.exe"), "Quoted");
    EXPECT_EQ(SafePlayerName("Line\r\nBreak", "C:\\x.exe"), "Line Break");
    EXPECT_EQ(SafePlayerName("[]=;", ""), "AutoPlay player");
    const std::string name = SafePlayerName(std::string(300, 'P') + " Player", "C:\\x.exe");
    EXPECT_EQ(name, std::string(PlayerNameLimit, 'P'));
}

TEST(HandlerCommand, UnquotedProgramsWithBlanksAreFoundAsWindowsFindsThem) {
    FakePlatform fake;
    fake.AddFile("C:\\Program Files\\Big Player\\play.exe");
    const SplitCommand split = SplitProgram("C:\\Program Files\\Big Player\\play.exe /disc %1");
    EXPECT_EQ(split.Program, "C:\\Program Files\\Big Player\\play.exe");
    EXPECT_EQ(split.Arguments, "/disc %1");
    EXPECT_EQ(SplitProgram("C:\\Program Files\\Big Player\\play %1").Program, "C:\\Program Files\\Big Player\\play.exe");
    EXPECT_EQ(SplitProgram("\"C:\\Quoted\\p.exe\"%1").Arguments, "%1");
    EXPECT_EQ(SplitProgram("C:\\None\\p.exe %1").Program, "C:\\None\\p.exe");
}

// --- AutoPlay handlers ------------------------------------------------------------------------

TEST_F(Discovery, HandlersBecomePlayersUnderTheirProviderWithTheirDiscs) {
    const std::string exe = "C:\\Program Files\\Disc Master\\dm.exe";
    fake.AddFile(exe);
    Handler(HKLM, "PlayDVDMovieOnArrival", "DMPlayDVD", "Disc Master", "\"" + exe + "\" /dvd \"%1\"");
    Handler(HKLM, "PlayBluRayOnArrival", "DMPlayBD", "Disc Master", "\"" + exe + "\" /bd %1");
    Handler(HKCU, "PlayVideoFilesOnArrival", "DMPlayFiles", "Disc Master", "\"" + exe + "\" %1");

    DiscoverDefaultPlayers(Ini);

    ASSERT_EQ(Sections(), StringList{"Disc Master"});
    TPlayer p;
    p.LoadFromIni(Ini, "Disc Master");
    EXPECT_EQ(p.Exe, exe);
    EXPECT_EQ(p.Index, 0);
    EXPECT_EQ(p.Flags->DiscTemplate(DiscKind::DvdVideo), "/dvd [DISC]");
    EXPECT_EQ(p.Flags->DiscTemplate(DiscKind::BluRay), "/bd [DISC]");
    EXPECT_EQ(p.Flags->DiscTemplate(DiscKind::VideoCd), "") << "no handler for it";
    EXPECT_EQ(p.Flags->Single, "[FILE]") << "the video-files event";
    EXPECT_EQ(Key("Disc Master", FoundByKey), FoundByAutoPlay);

    // Found again at every rebuild; once its program is gone, so is its section.
    DiscoverDefaultPlayers(Ini);
    EXPECT_EQ(Sections(), StringList{"Disc Master"});
    fake.DeleteFile(exe);
    DiscoverDefaultPlayers(Ini);
    EXPECT_TRUE(Sections().empty());
}

TEST_F(Discovery, AHandlerOfANamedPlayersProgramAddsToItAndOfTheSevenToNothing) {
    // VLC as its NSIS installer registers it, Provider and all.
    const std::string vlc = "C:\\Program Files\\VideoLAN\\VLC\\vlc.exe";
    fake.AddFile(vlc);
    fake.SetRegString(HKLM, "SOFTWARE\\VideoLAN\\VLC", "", vlc);
    Handler(HKLM, "PlayDVDMovieOnArrival", "VLCPlayDVDMovieOnArrival", "VideoLAN VLC media player",
            "\"" + vlc + "\" --started-from-file dvd:///%1");
    Handler(HKLM, "PlayBlurayOnArrival", "VLCPlayBlurayOnArrival", "VideoLAN VLC media player",
            "\"" + vlc + "\" --started-from-file bluray:///%1");
    // mpv with a Video CD handler of its own, which its table has no template for.
    const std::string mpv = "C:\\mpv\\mpv.exe";
    fake.AddFile(mpv);
    fake.SetRegString(HKLM, AppPaths + "mpv.exe", "", mpv);
    Handler(HKCU, "PlayVideoCDMovieOnArrival", "MpvPlayVCD", "mpv", "\"" + mpv + "\" %1\\MPEGAV\\AVSEQ01.DAT");
    // Winamp, one of the seven, with an audio CD handler.
    const std::string winamp = "C:\\Winamp\\winamp.exe";
    fake.AddFile(winamp);
    fake.SetRegString(HKLM, "\\SOFTWARE\\Classes\\Directory\\shell\\Winamp.Play\\command", "", winamp + " \"%1\"");
    Handler(HKLM, "PlayCDAudioOnArrival", "WinampCD", "Winamp", winamp + " /cda %1");

    DiscoverDefaultPlayers(Ini);

    EXPECT_EQ(Sections(), (StringList{"Winamp", "VLC media player", "mpv"})) << "no second VLC, mpv or Winamp";
    TPlayer p;
    p.LoadFromIni(Ini, "VLC media player");
    EXPECT_EQ(p.Flags->DiscTemplate(DiscKind::DvdVideo), "dvd:///[DISC]") << "its own template stands";
    p.LoadFromIni(Ini, "mpv");
    EXPECT_EQ(p.Flags->DiscTemplate(DiscKind::VideoCd), "[DISC]\\MPEGAV\\AVSEQ01.DAT");
    EXPECT_EQ(p.Flags->DiscTemplate(DiscKind::DvdVideo), "dvd:// --dvd-device=[DISC]");
    EXPECT_EQ(Key("Winamp", "disc.cd"), "");
    EXPECT_EQ(Key("mpv", FoundByKey), "") << "a default player, no handler's section";
}

TEST_F(Discovery, BadRegistrationsAreSkippedAndNeverShownAsBrokenPlayers) {
    const std::string exe = "C:\\P\\p.exe";
    fake.AddFile(exe);
    fake.AddFile("C:\\Windows\\System32\\rundll32.exe");
    fake.AddFile("C:\\Windows\\explorer.exe");
    Handler(HKLM, "PlayDVDMovieOnArrival", "Gone", "Gone Player", "\"C:\\Gone\\gone.exe\" %1");
    Handler(HKLM, "PlayDVDMovieOnArrival", "Shell", "Windows", "C:\\Windows\\explorer.exe %1");
    Handler(HKLM, "PlayDVDMovieOnArrival", "Dll", "Windows",
            "%SystemRoot%\\System32\\rundll32.exe shell32.dll,Control_RunDLL %1");
    fake.SetRegExpandString(HKLM, "SOFTWARE\\Classes\\Dll.ProgID\\shell\\open\\command", "",
                            "%SystemRoot%\\System32\\rundll32.exe shell32.dll,Control_RunDLL %1");
    Handler(HKLM, "PlayDVDMovieOnArrival", "Breaks", "Breaker", "\"" + exe + "\" %1\r\n[Vexamo]\r\nexe=x");
    Handler(HKLM, "PlayDVDMovieOnArrival", "Split", "Splitter", "\"" + exe + "\" \"play %1 now\"");
    // A handler through a COM object, and a verb with only a drop target, have no command.
    fake.SetRegString(HKLM, Handlers + "EventHandlers\\PlayDVDMovieOnArrival", "Com", "");
    fake.SetRegString(HKLM, Handlers + "Handlers\\Com", "ProgID", "WMP.PlayMedia");
    fake.SetRegString(HKLM, Handlers + "Handlers\\Com", "Provider", "COM");
    fake.SetRegString(HKLM, Handlers + "EventHandlers\\PlayDVDMovieOnArrival", "Drop", "");
    fake.SetRegString(HKLM, Handlers + "Handlers\\Drop", "InvokeProgID", "Drop.ProgID");
    fake.SetRegString(HKLM, Handlers + "Handlers\\Drop", "InvokeVerb", "play");
    fake.SetRegString(HKLM, "SOFTWARE\\Classes\\Drop.ProgID\\shell\\play\\DropTarget", "CLSID", "{0}");

    DiscoverDefaultPlayers(Ini);
    EXPECT_TRUE(Sections().empty()) << fake.Content(Ini).value_or("");
}

TEST_F(Discovery, UnsafeOrTakenProviderNamesGetSafeUniqueOnesThatReadBack) {
    const std::string a = "C:\\A\\a.exe", b = "C:\\B\\b.exe", c = "C:\\C\\c.exe", d = "C:\\D\\d.exe";
    for (const std::string& exe : {a, b, c, d}) fake.AddFile(exe);
    // The user's own player of this name, and another one of program d.
    fake.AddFile(Ini, "[Player]\r\nexe=C:\\Mine\\mine.exe\r\n[My D]\r\nexe=" + d + "\r\n");
    fake.AddFile("C:\\Mine\\mine.exe");
    Handler(HKLM, "PlayDVDMovieOnArrival", "H1", " [Player]= ", "\"" + a + "\" %1");
    Handler(HKLM, "PlayDVDMovieOnArrival", "H2", "Player", "\"" + b + "\" %1");
    Handler(HKLM, "PlayDVDMovieOnArrival", "H3", "mpv", "\"" + c + "\" %1");
    Handler(HKLM, "PlayDVDMovieOnArrival", "H4", "D Player", "\"" + d + "\" %1");
    Handler(HKLM, "PlayDVDMovieOnArrival", "H5", std::string(100, 'L'), "\"" + a + "\" /long %1");

    DiscoverDefaultPlayers(Ini);

    EXPECT_EQ(Sections(), (StringList{"Player", "My D", "Player (2)", "Player (3)", "mpv (2)", std::string(PlayerNameLimit, 'L')}));
    EXPECT_EQ(Key("Player", "exe"), "C:\\Mine\\mine.exe") << "the user's section is left alone";
    EXPECT_EQ(Key("Player (2)", "exe"), a);
    EXPECT_EQ(Key("Player (3)", "exe"), b);
    EXPECT_EQ(Key("My D", FoundByKey), "") << "d is the user's player already";

    // Every name works as a selected player: Selection.ini keeps it and the selection loads it.
    for (const std::string& name : Sections())
        WriteIniString("C:\\Vexamo\\Selection.ini", name, "Ext", "DVD-Video");
    auto selection = LoadSelection("C:\\Vexamo\\");
    EXPECT_EQ(selection->Players.size(), Sections().size());
    EXPECT_EQ(selection->IndexOfPlayer("Player (2)"), 2);
}

TEST_F(Discovery, SectionsTheUserMadeOrEditedAreNeverOverwrittenNorErased) {
    const std::string exe = "C:\\Disc\\disc.exe";
    fake.AddFile(exe);
    Handler(HKLM, "PlayDVDMovieOnArrival", "DiscDVD", "Disc", "\"" + exe + "\" %1");
    DiscoverDefaultPlayers(Ini);
    ASSERT_EQ(Key("Disc", FoundByKey), FoundByAutoPlay);

    // Edited in the player wizard, the section is written again without the mark: the user's now.
    TPlayer p;
    p.LoadFromIni(Ini, "Disc");
    p.Flags->DiscByKind[0] = "/menu [DISC]";
    DeleteIniSectionOrFile(Ini, "Disc");
    p.SaveToIni(Ini, true);
    DiscoverDefaultPlayers(Ini);
    EXPECT_EQ(Key("Disc", "disc.dvd"), "/menu [DISC]");
    EXPECT_EQ(Sections(), StringList{"Disc"}) << "its program is the user's player already";

    // Its program and registration gone, the user's section still stays.
    fake.DeleteFile(exe);
    fake.RegDeleteValue(HKLM, Handlers + "EventHandlers\\PlayDVDMovieOnArrival", "DiscDVD");
    DiscoverDefaultPlayers(Ini);
    EXPECT_EQ(Sections(), StringList{"Disc"});

    // A discovered section that went stale (its program moved) is written again from the registration.
    fake.AddFile("C:\\New\\disc.exe");
    Handler(HKLM, "PlayBluRayOnArrival", "DiscBD", "Disc 2", "\"C:\\New\\disc.exe\" %1");
    fake.AddFile(Ini, *fake.Content(Ini) + "[Disc 2]\r\nexe=C:\\Old\\disc.exe\r\nfound=AutoPlay\r\n");
    DiscoverDefaultPlayers(Ini);
    EXPECT_EQ(Key("Disc 2", "exe"), "C:\\New\\disc.exe");
    EXPECT_EQ(Key("Disc 2", "disc.bluray"), "[DISC]");
}
