// The players of today on the real agent: VLC and MPC-HC registered as their installers and the
// players themselves register them, an AutoPlay handler that plays a DVD-Video through its own
// command, and the tray's word after a disc (read from the log of a debug run: Wine shows balloons
// but reports nothing about them). HiDpi groups run at 144 DPI.
#include "e2e/AgentE2E.h"

#include <dbt.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "e2e/Controls.h"
#include "ui/main_res.h"

using namespace e2e;

namespace {

const char* const VlcKey = "SOFTWARE\\VideoLAN\\VLC";
const char* const VlcAppPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\vlc.exe";
const char* const MpcHcKey = "Software\\MPC-HC\\MPC-HC";
const std::string Handlers = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\AutoplayHandlers\\";
const std::string DvdHandler = "StandInPlayDVDMovieOnArrival";
const std::string Provider = "Stand-In Disc Player";

// A first start on a machine where the stand-in is installed as VLC (as VLC's NSIS installer
// registers it) and as MPC-HC (as MPC-HC registers itself at its first start).
struct TodaysAgent : Agent {
    TodaysAgent() : Agent(true) {
        Vlc = Folder.InstallStandIn("VideoLAN\\VLC");
        RegWriteString(HKEY_LOCAL_MACHINE, VlcKey, "", Vlc);
        RegWriteString(HKEY_LOCAL_MACHINE, VlcKey, "InstallDir", Vlc.substr(0, Vlc.rfind('\\')));
        RegWriteString(HKEY_LOCAL_MACHINE, VlcAppPath, "", Vlc);
        MpcHc = Folder.InstallStandIn("MPC-HC");
        RegWriteString(HKEY_CURRENT_USER, MpcHcKey, "ExePath", MpcHc);
    }
    ~TodaysAgent() {
        RegDeleteValue(HKEY_LOCAL_MACHINE, VlcKey, "");
        RegDeleteValue(HKEY_LOCAL_MACHINE, VlcKey, "InstallDir");
        RegDeleteValue(HKEY_LOCAL_MACHINE, VlcAppPath, "");
        RegDeleteValue(HKEY_CURRENT_USER, MpcHcKey, "ExePath");
    }
    HWND Open() {
        Start();
        Window = WaitForWindow(Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
        EXPECT_NE(Window, nullptr) << "the configuration window did not show";
        return Window;
    }
    // The available players' names and pictures, by row.
    std::vector<std::pair<std::string, int>> Players() const {
        HWND list = GetDlgItem(Window, IDC_MAIN_LSTPLAYERS);
        std::vector<std::pair<std::string, int>> out;
        const auto rows = ListViewRows(list);
        for (size_t i = 0; i < rows.size(); ++i)
            out.emplace_back(rows[i].size() > 1 ? rows[i][1] : "", ListViewImage(list, static_cast<int>(i)));
        return out;
    }

    std::string Vlc, MpcHc;
    HWND Window = nullptr;
};

// The stand-in registered for DVD-Video discs as a player's own AutoPlay handler is.
struct HandlerAgent : Agent {
    HandlerAgent() : Agent(true) {
        Player = Folder.InstallStandIn("Disc Player");
        RegWriteString(HKEY_LOCAL_MACHINE, Handlers + "EventHandlers\\PlayDVDMovieOnArrival", DvdHandler, "");
        const std::string handler = Handlers + "Handlers\\" + DvdHandler;
        RegWriteString(HKEY_LOCAL_MACHINE, handler, "Provider", Provider);
        RegWriteString(HKEY_LOCAL_MACHINE, handler, "Action", "Play DVD movie");
        RegWriteString(HKEY_LOCAL_MACHINE, handler, "DefaultIcon", Player + ",0");
        RegWriteString(HKEY_LOCAL_MACHINE, handler, "InvokeProgID", "StandIn.DVDMovie");
        RegWriteString(HKEY_LOCAL_MACHINE, handler, "InvokeVerb", "Open");
        RegWriteString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Classes\\StandIn.DVDMovie\\shell\\Open\\command", "",
                       "\"" + Player + "\" --from-autoplay dvd:///%1");
    }
    ~HandlerAgent() {
        RegDeleteValue(HKEY_LOCAL_MACHINE, Handlers + "EventHandlers\\PlayDVDMovieOnArrival", DvdHandler);
    }
    std::string Player;
};

// A debug run: what the tray says is in the log too.
struct DebugRun {
    DebugRun() { SetEnvironmentVariableA("VEXAMO_DEBUG", "1"); }
    ~DebugRun() { SetEnvironmentVariableA("VEXAMO_DEBUG", nullptr); }
};

// Waits for the log of the agent in `folder` to hold the line part.
bool LogHas(const ProgramFolder& folder, const std::string& part) {
    return WaitUntil([&] { return folder.Read("Vexamo.log").value_or("").find(part) != std::string::npos; },
                     AgentTimeoutMs);
}

void ExpectTodaysPlayersListed(TodaysAgent& agent) {
    const auto players = agent.Players();
    const auto row = [&](const std::string& name) {
        for (const auto& p : players)
            if (p.first == name) return p.second;
        return -2;
    };
    EXPECT_EQ(row("VLC media player"), 8) << "listed with its own picture";
    EXPECT_EQ(row("MPC-HC"), 9);
    const std::string ini = agent.Folder.Read("Players.ini").value_or("");
    EXPECT_NE(ini.find("[VLC media player]\r\nexe=" + agent.Vlc + "\r\nindex=8\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("disc.dvd=dvd:///[DISC]\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("[MPC-HC]\r\nexe=" + agent.MpcHc + "\r\nindex=9\r\n"), std::string::npos) << ini;
}

}  // namespace

TEST(TodaysPlayers, VlcAndMpcHcRegisteredAsTheyDoAreListedWithTheirPictures) {
    TodaysAgent agent;
    ASSERT_NE(agent.Open(), nullptr);
    ExpectTodaysPlayersListed(agent);
    Screenshot("first-start-todays-players");
}

TEST(TodaysPlayers, AnAutoPlayHandlerIsListedUnderItsProviderAndPlaysADvdThroughItsCommand) {
    HandlerAgent agent;
    {
        agent.Start();
        HWND window = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
        ASSERT_NE(window, nullptr);
        bool listed = false;
        for (const auto& row : ListViewRows(GetDlgItem(window, IDC_MAIN_LSTPLAYERS)))
            listed = listed || (row.size() > 1 && row[1] == Provider);
        EXPECT_TRUE(listed) << "the handler is offered under its Provider";
        agent.Proc.Kill();
        agent.Proc.WaitExit(AgentTimeoutMs);
    }
    const std::string ini = agent.Folder.Read("Players.ini").value_or("");
    EXPECT_NE(ini.find("[" + Provider + "]\r\nexe=" + agent.Player + "\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("disc.dvd=--from-autoplay dvd:///[DISC]\r\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("found=AutoPlay\r\n"), std::string::npos) << ini;

    // The user gave it DVD-Video discs; a DVD-Video goes in.
    agent.Folder.Write("Selection.ini", "[" + Provider + "]\r\nName=" + Provider + "\r\nPrompt=No\r\nExt=DVD-Video\r\n");
    agent.Folder.Write("Vexamo.ini", "[Main]\r\nStatus=On\r\n");
    Disc({"VIDEO_TS\\VIDEO_TS.IFO", "VIDEO_TS\\VTS_01_1.VOB"});
    const DebugRun debug;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'D', 1000);
    ASSERT_TRUE(WaitUntil([&] { return !StandInLog(agent.Player).empty(); }, AgentTimeoutMs));
    const auto lines = StandInLog(agent.Player);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(StandInArguments(agent.Player).at(0), (std::vector<std::string>{"--from-autoplay", "dvd:///D:\\"}))
        << lines[0];
    EXPECT_TRUE(LogHas(agent.Folder, ":Notice: Playing the DVD in D:\\ with " + Provider + "\r\n"))
        << agent.Folder.Read("Vexamo.log").value_or("");
    Sleep(3000);  // Wine's tray shows a balloon two seconds after it was asked for
    Screenshot("balloon-played");
}

TEST(TodaysPlayers, ADiscWithNothingToPlayIsToldFromTheTray) {
    Disc({"readme.txt", "Pictures\\a.jpg"});
    Agent agent;  // the stand-in as Winamp, for .mp3
    const DebugRun debug;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'D', 1000);
    EXPECT_TRUE(LogHas(agent.Folder, ":Notice: Nothing on D:\\ (VEXAMO_DEMO) for your players: give its file types "
                                     "to a player in the configuration window\r\n"))
        << agent.Folder.Read("Vexamo.log").value_or("");
    EXPECT_TRUE(agent.Proc.Running());
    Sleep(3000);  // Wine's tray shows a balloon two seconds after it was asked for
    Screenshot("balloon-nothing");
}

TEST(HiDpiTodaysPlayers, FirstStart) {
    TodaysAgent agent;
    ASSERT_NE(agent.Open(), nullptr);
    ExpectTodaysPlayersListed(agent);
    Screenshot("first-start-todays-players-144dpi");
}

TEST(HiDpiTodaysPlayers, BothBalloons) {
    Disc({"Music\\one.mp3", "Music\\two.mp3"});
    Agent agent;
    const DebugRun debug;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'D', 1000);
    EXPECT_TRUE(LogHas(agent.Folder, ":Notice: Playing 2 files from D:\\ (VEXAMO_DEMO) with Winamp\r\n"))
        << agent.Folder.Read("Vexamo.log").value_or("");
    Sleep(3000);  // Wine's tray shows a balloon two seconds after it was asked for
    Screenshot("balloon-played-144dpi");
    Disc({"readme.txt"});
    SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'D', 1000);
    EXPECT_TRUE(LogHas(agent.Folder, ":Notice: Nothing on D:\\ (VEXAMO_DEMO)"));
    Sleep(3000);  // Wine's tray shows a balloon two seconds after it was asked for
    Screenshot("balloon-nothing-144dpi");
}
