// Names in any script, and paths past MAX_PATH, from the disc to the player: the real agent under
// Wine with its UTF-8 code page, a disc labelled in Cyrillic, and the stand-in player recording
// its wide command line as CommandLineToArgvW splits it.
#include "e2e/AgentE2E.h"
#include "e2e/Controls.h"

#include <commctrl.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace e2e {

namespace {

const std::string PlayerName = "Stand-In Player";
const std::string Film = "D:\\\xD0\xA4\xD0\xB8\xD0\xBB\xD1\x8C\xD0\xBC.avi";       // Фильм.avi
const std::string FilmSubtitle = "D:\\\xD0\xA4\xD0\xB8\xD0\xBB\xD1\x8C\xD0\xBC.srt";  // Фильм.srt
const std::string Eiga = "D:\\\xE6\x98\xA0\xE7\x94\xBB.mkv";                          // 映画.mkv
const std::string Smile = "D:\\\xF0\x9F\x98\x80 smile.mp4";                           // 😀 smile.mp4
const std::string DiscLabel = "\xD0\xA4\xD0\xB8\xD0\xBB\xD1\x8C\xD0\xBC\xD1\x8B";      // Фильмы

// A file 300 characters deep: four folders of 60 characters and a long name.
std::string DeepFile() {
    std::string path = "D:\\";
    for (int level = 1; level <= 4; ++level) {
        std::string folder = "Folder " + std::to_string(level) + " of a deep data disc ";
        folder.resize(60, 'x');
        path += folder + "\\";
    }
    const std::string ext = ".mpg";
    std::string name = "A film far below the root ";
    name.resize(300 - path.size() - ext.size(), 'y');
    return path + name + ext;
}

// The disc of drive D: holds exactly these files.
// The files named by their whole paths on D:.
void DiscOf(const std::vector<std::string>& paths) {
    std::vector<std::string> files;
    for (const std::string& p : paths) files.push_back(p.substr(3));
    Disc(files);
}

std::vector<std::string> AllFiles() { return {Film, FilmSubtitle, Eiga, Smile, DeepFile()}; }

// An agent whose one player is the stand-in, for the extensions given, reading the playlist format
// given; prompting shows the chooser first.
struct NamesAgent : Agent {
    std::string Player;
    NamesAgent(const std::string& ext, const std::string& playlistExt, bool prompt = false,
               const std::string& playerFolder = "Player")
        : Agent(false, "[Main]\r\nStatus=On\r\n") {
        Player = Folder.InstallStandIn(playerFolder);
        Folder.Write("Players.ini", "[" + PlayerName + "]\r\nexe=" + Player + "\r\nindex=0\r\next=" + playlistExt + "\r\n");
        Folder.Write("Selection.ini", "[" + PlayerName + "]\r\nName=" + PlayerName + "\r\nPrompt=" +
                                          (prompt ? "Yes" : "No") + "\r\nExt=" + ext + "\r\n");
    }
    void Arrive() { SendDeviceChange(Main, DBT_DEVICEARRIVAL, 'D', 1000); }
    std::vector<std::vector<std::string>> Starts(size_t count) {
        WaitUntil([&] { return StandInArguments(Player).size() >= count; }, AgentTimeoutMs);
        return StandInArguments(Player);
    }
};

using Args = std::vector<std::string>;

}  // namespace

TEST(CyrillicDisc, EveryNameReachesThePlayerWholeOnItsCommandLine) {
    DiscOf(AllFiles());
    const std::pair<std::string, Args> cases[] = {
        {".avi", {Film, FilmSubtitle}},  // with its subtitle, found by its Cyrillic name
        {".mkv", {Eiga}},
        {".mp4", {Smile}},
        {".mpg", {DeepFile()}},
    };
    for (const auto& [ext, expected] : cases) {
        NamesAgent agent(ext, ".m3u8");
        agent.Start();
        agent.Arrive();
        const auto starts = agent.Starts(1);
        ASSERT_EQ(starts.size(), 1u) << ext;
        EXPECT_EQ(starts[0], expected) << ext;
        ASSERT_EQ(StandInLog(agent.Player).size(), 1u);
        EXPECT_NE(StandInLog(agent.Player)[0].find(expected[0]), std::string::npos) << "the wide command line";
    }
}

TEST(CyrillicDisc, AnM3u8PlaylistHoldsEveryNameInUtf8) {
    DiscOf(AllFiles());
    NamesAgent agent(".avi;.mkv;.mp4;.mpg", ".m3u8");
    agent.Start();
    agent.Arrive();
    const auto starts = agent.Starts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], Args{agent.Folder / "VexamoList.m3u8"});
    EXPECT_EQ(agent.Folder.Read("VexamoList.m3u8").value_or(""),
              Film + "\r\n" + Eiga + "\r\n" + Smile + "\r\n" + DeepFile() + "\r\n");
}

TEST(CyrillicDisc, ALegacyPlaylistNeverNamesAFileThatIsNotThere) {
    DiscOf(AllFiles());
    NamesAgent agent(".avi;.mkv;.mp4;.mpg", ".m3u");
    agent.Start();
    agent.Arrive();
    // Only the deep file's name is Windows-1252: the first file plays alone, on the command line.
    const auto starts = agent.Starts(1);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0], (Args{Film, FilmSubtitle}));
    EXPECT_EQ(agent.Folder.Read("VexamoList.m3u").value_or(""), DeepFile() + "\r\n");
    // ...and the user is told which files were not played, by their whole names.
    const HWND box = WaitForDialog(agent.Proc.Id(), AgentTimeoutMs);
    ASSERT_NE(box, nullptr) << "no word about the files left out";
    const std::string message = ReadDialog(box).Message;
    for (const std::string& name : {Eiga, Smile, DeepFile()}) EXPECT_NE(message.find(name), std::string::npos) << name;
    EXPECT_EQ(message.find(Film), std::string::npos) << "the film played";
    Screenshot("left-out");
    ClickButton(box, "OK");
}

namespace {

// Every panel of the window's status bar, each followed by "|".
std::string StatusText(HWND config) {
    const std::vector<HWND> bars = Children(config, "msctls_statusbar32");
    if (bars.size() != 1) return "<no status bar>";
    std::string all = "|";
    for (int panel = 0; panel < 4; ++panel) all += StatusPanel(bars[0], panel) + "|";
    return all;
}

// "Scan Now" on the configuration window with a prompting player: the chooser over the window,
// then the window's status bar once the chooser has gone.
void LabelShownWhole(const std::string& shots) {
    DiscOf(AllFiles());
    NamesAgent agent(".avi;.mkv", ".m3u8", true);
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    PostMessageA(agent.Main, TrayCallback, 0, WM_LBUTTONDBLCLK);  // "O&pen"
    const HWND config = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(ClickButton(config, "Scan Now"));
    const HWND chooser = WaitForDialog(agent.Proc.Id(), AgentTimeoutMs, "File Monitor");
    ASSERT_NE(chooser, nullptr);
    const DialogContent content = ReadDialog(chooser);
    EXPECT_NE(std::find(content.Texts.begin(), content.Texts.end(), DiscLabel), content.Texts.end())
        << "the label in the chooser";
    Screenshot(shots + "-chooser");
    ClickButton(chooser, "Cancel");
    EXPECT_TRUE(WaitUntil([&] { return StatusText(config).find("|Label: " + DiscLabel + "|") != std::string::npos; },
                          AgentTimeoutMs))
        << "the label in the status bar: " << StatusText(config);
    Screenshot(shots + "-status");
}

}  // namespace

TEST(CyrillicDisc, TheChooserAndTheStatusBarShowTheLabelWhole) { LabelShownWhole("cyrillic-label"); }

TEST(HiDpiCyrillicDisc, TheChooserAndTheStatusBarShowTheLabelWhole) { LabelShownWhole("cyrillic-label-144dpi"); }

// Players.ini and Vexamo.ini as a version before UTF-8 wrote them, in Windows-1252, with the player
// in a folder named with an "é".
TEST(CyrillicDisc, ALegacyPlayersIniReadsRightAndSurvivesItsFirstSave) {
    DiscOf({Film});
    const std::string folderName = "Lecteur vid\xC3\xA9o";
    NamesAgent agent(".avi", ".m3u8", false, folderName);
    std::string legacyExe = agent.Player;
    legacyExe.replace(legacyExe.find(folderName), folderName.size(), "Lecteur vid\xE9o");
    agent.Folder.Write("Players.ini",
                       "[" + PlayerName + "]\r\nexe=" + legacyExe + "\r\nindex=0\r\next=.m3u8\r\n");
    agent.Folder.Write("Vexamo.ini", "[Main]\r\nStatus=On\r\n[SubTitles]\r\nPath=C:\\Sous-titres\\Vid\xE9o\\\r\n");
    // A default player found at the next opening of the configuration window is added to the
    // catalogue: the catalogue's first save since it was written.
    const std::string winamp = agent.Folder.InstallStandIn("Winamp");
    RegWriteString(HKEY_CURRENT_USER, "Software\\Classes\\Directory\\shell\\Winamp.Play\\command", "",
                   "\"" + winamp + "\" \"%1\"");
    agent.Start();

    PostMessageA(agent.Main, TrayCallback, 0, WM_LBUTTONDBLCLK);
    const HWND config = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    ASSERT_NE(config, nullptr);
    ASSERT_TRUE(WaitUntil([&] {
        return agent.Folder.Read("Players.ini").value_or("").find("[Winamp]") != std::string::npos;
    }, AgentTimeoutMs));
    const std::string players = agent.Folder.Read("Players.ini").value_or("");
    EXPECT_NE(players.find("exe=" + agent.Player + "\r\n"), std::string::npos) << players;
    EXPECT_EQ(players.find('\xE9'), std::string::npos) << "rewritten in UTF-8";
    EXPECT_EQ(players.find("\xEF\xBF\xBD"), std::string::npos) << "no letter lost";
    PostMessageA(config, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(config); }, AgentTimeoutMs));

    // The settings were saved as the window closed: the subtitle folder kept its letter too.
    ASSERT_TRUE(WaitUntil([&] {
        return agent.Folder.Read("Vexamo.ini").value_or("").find("Path=C:\\Sous-titres\\Vid\xC3\xA9o\\\r\n") !=
               std::string::npos;
    }, AgentTimeoutMs)) << agent.Folder.Read("Vexamo.ini").value_or("");

    agent.Arrive();
    const auto starts = agent.Starts(1);
    ASSERT_EQ(starts.size(), 1u) << "the player in the folder with the é plays";
    EXPECT_EQ(starts[0], Args{Film});
    RegDeleteValue(HKEY_CURRENT_USER, "Software\\Classes\\Directory\\shell\\Winamp.Play\\command", "");
}

// The program in a folder whose name no Western code page can spell: no short-name detour, the
// settings beside it, the playlist written there, the player found there.
TEST(CyrillicDisc, AProgramFolderInAnotherScriptWorksAsAnyOther) {
    DiscOf({Film, Eiga});
    const ProgramFolder folder("\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD0\xB0 \xE6\x98\xA0\xE7\x94\xBB");  // Программа 映画
    const std::string exe = folder.InstallVexamo();
    const std::string player = folder.InstallStandIn("\xD0\x9F\xD0\xBB\xD0\xB5\xD0\xB5\xD1\x80");  // Плеер
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 1);
    folder.Write("Players.ini", "[" + PlayerName + "]\r\nexe=" + player + "\r\nindex=0\r\next=.m3u8\r\n");
    folder.Write("Selection.ini", "[" + PlayerName + "]\r\nName=" + PlayerName + "\r\nPrompt=No\r\nExt=.avi;.mkv\r\n");
    folder.Write("Vexamo.ini", "[Main]\r\nStatus=On\r\n");
    Process agent = Process::Start(exe);
    const HWND main = WaitForWindow(agent.Id(), "TMainForm", "Mini Vexamo", AgentTimeoutMs);
    ASSERT_NE(main, nullptr) << "the agent did not start in its folder";
    EXPECT_EQ(WaitForDialog(agent.Id(), 500), nullptr) << "no message about the folder";
    SendDeviceChange(main, DBT_DEVICEARRIVAL, 'D', 1000);
    WaitUntil([&] { return !StandInArguments(player).empty(); }, AgentTimeoutMs);
    ASSERT_EQ(StandInArguments(player).size(), 1u);
    EXPECT_EQ(StandInArguments(player)[0], Args{folder / "VexamoList.m3u8"});
    EXPECT_EQ(folder.Read("VexamoList.m3u8").value_or(""), Film + "\r\n" + Eiga + "\r\n");
}

}  // namespace e2e
