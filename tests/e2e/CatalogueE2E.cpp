// The player catalogue and program launch on a real Windows: default players found through the
// real registry, and programs started through the real shell.
#include <gtest/gtest.h>

#include <algorithm>

#include "e2e/E2E.h"
#include "platform/win32/WinApi.h"

#include <shellapi.h>

#include "model/CommandLines.h"
#include "model/PlayersCfg.h"
#include "model/User.h"
#include "platform/win32/Win32Platform.h"

namespace {

const char* BsPlayerKey = "SOFTWARE\\Classes\\BSP.inif\\shell\\open\\command";
const char* WinampKey = "Software\\Classes\\Directory\\shell\\Winamp.Play\\command";

// The arguments the stand-in was given, split as a C runtime would split them.
std::vector<std::string> Arguments(const std::string& commandLine) {
    std::wstring wide(commandLine.begin(), commandLine.end());
    int n = 0;
    LPWSTR* argv = CommandLineToArgvW(wide.c_str(), &n);
    std::vector<std::string> out;
    for (int i = 1; i < n; ++i) {
        std::wstring a = argv[i];
        out.emplace_back(a.begin(), a.end());
    }
    LocalFree(argv);
    return out;
}

std::vector<std::string> WaitForStarts(const std::string& standIn, size_t count) {
    e2e::WaitUntil([&] { return e2e::StandInLog(standIn).size() >= count; }, 15000);
    return e2e::StandInLog(standIn);
}

}  // namespace

TEST(Catalogue, DefaultPlayersAreFoundThroughTheRegistry) {
    vexamo::InstallWin32Platform();
    e2e::ProgramFolder folder;
    const std::string bs = folder.InstallStandIn("BS Player");
    const std::string winamp = folder.InstallStandIn("Winamp");
    // BsPlayer registered machine-wide with a quoted command, Winamp for the user without quotes.
    e2e::RegWriteString(HKEY_LOCAL_MACHINE, BsPlayerKey, "", "\"" + bs + "\" \"%1\"");
    e2e::RegWriteString(HKEY_CURRENT_USER, WinampKey, "", winamp + " /ADD \"%1\"");
    // A MicroDVD left from an earlier installation is taken out of the catalogue.
    folder.Write("Players.ini", "[MicroDVD]\r\nexe=C:\\Gone\\microdvd.exe\r\nindex=2\r\n");

    const std::string ini = folder / "Players.ini";
    vexamo::DiscoverDefaultPlayers(ini);

    const vexamo::StringList sections = vexamo::ReadIniSections(ini);
    EXPECT_EQ(std::count(sections.begin(), sections.end(), "MicroDVD"), 0);
    vexamo::TPlayer p;
    p.LoadFromIni(ini, "BsPlayer");
    EXPECT_EQ(p.Exe, bs);
    EXPECT_EQ(p.Index, 1);
    EXPECT_EQ(p.PlaylistExt, ".bsl");
    p.LoadFromIni(ini, "Winamp");
    EXPECT_EQ(p.Exe, winamp);
    EXPECT_EQ(p.Index, 3);
    EXPECT_EQ(p.Flags->Subtitles, "") << "written empty, read back empty";
    EXPECT_EQ(vexamo::ReadIniString(ini, "Winamp", "subtitles"), "");
    EXPECT_NE(folder.Read("Players.ini").value_or("").find("subtitles=\r\n"), std::string::npos);
}

TEST(Catalogue, ProgramsStartThroughTheShell) {
    vexamo::InstallWin32Platform();
    e2e::ProgramFolder folder;
    const std::string player = folder.InstallStandIn("Media Player");
    ASSERT_NE(player.find(' '), std::string::npos);

    vexamo::RunProgram(player, "\"D:\\My Movies\\the film.avi\"");
    auto lines = WaitForStarts(player, 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(Arguments(lines[0]), (std::vector<std::string>{"D:\\My Movies\\the film.avi"})) << lines[0];

    vexamo::RunProgram(player, "");
    lines = WaitForStarts(player, 2);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(Arguments(lines[1]).empty()) << lines[1];
}

TEST(Catalogue, LaunchOfSeveralFilesHandsThePlaylistToThePlayer) {
    vexamo::InstallWin32Platform();
    e2e::ProgramFolder folder("Launch Folder");
    const std::string player = folder.InstallStandIn();
    vexamo::ProgramFolder = folder.Path();
    e2e::WriteFile(e2e::CdRomFolder('D') + "Music\\one.mp3", "ID3");
    e2e::WriteFile(e2e::CdRomFolder('D') + "Music\\two.mp3", "ID3");

    vexamo::TVexamo core;
    vexamo::TPlayer p;
    p.LoadDefault("Winamp");
    p.Exe = player;
    const vexamo::StringList files = vexamo::FindFiles("D:\\*.mp3");
    ASSERT_EQ(files.size(), 2u);
    const vexamo::TLaunch launch = vexamo::ComposeLaunch(core, p, files, 0);
    vexamo::RunProgram(launch.Exe, launch.Parameters);

    const auto lines = WaitForStarts(player, 1);
    ASSERT_EQ(lines.size(), 1u);
    const std::string playlist = folder / "VexamoList.m3u";
    EXPECT_EQ(Arguments(lines[0]), (std::vector<std::string>{playlist}));
    EXPECT_EQ(e2e::ReadFile(playlist).value_or(""), files[0] + "\r\n" + files[1] + "\r\n");
}
