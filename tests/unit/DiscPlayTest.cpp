// What a disc of today does when it goes in: DVD-Video and the like played as a whole through the
// player's disc template, audio CDs in track order, USB sticks behind their switch; and settings
// files of before all that reading, saving and playing as they did.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "agent/Init.h"
#include "model/User.h"
#include "model/VexaCfg.h"
#include "platform/Dispatch.h"
#include "support/ArgvSplit.h"
#include "support/FakePlatform.h"
#include "support/ScanHosts.h"
#include "support/WindowFakes.h"

using namespace vexamo;
using namespace vexamo::test;

namespace {

const std::string Folder = "C:\\Vexamo\\";
const std::string Player = "C:\\Player\\player.exe";

std::string TestFile(const std::string& name) {
    std::ifstream in(std::string(VEXAMO_TEST_DATA) + "/todays-ini/" + name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class DiscPlay : public ::testing::Test {
protected:
    void SetUp() override {
        fake.AddFolder("C:\\Vexamo");
        fake.AddDrive("C:\\", DriveKind::Fixed, "SYSTEM");
        fake.AddDrive("D:\\", DriveKind::CdRom, "MOVIE");
        fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 1);
        fake.AddFile(Player);
        ExeName = Folder + "Vexamo.exe";
        windows.chooser = &chooser;
        windows.progress = &progress;
    }
    void TearDown() override { Globals.Reset(); }

    // The stand-in player with its templates, given `exts` (extensions and disc kinds).
    void Select(const std::string& exts, const std::string& templates, const std::string& settings = "") {
        fake.AddFile(Folder + "Players.ini", "[Stand-In]\r\nexe=" + Player + "\r\next=.m3u\r\n" + templates);
        fake.AddFile(Folder + "Selection.ini", "[Stand-In]\r\nName=Stand-In\r\nPrompt=No\r\nExt=" + exts + "\r\n");
        fake.AddFile(Folder + "Vexamo.ini", "[Main]\r\nStatus=On\r\n" + settings);
    }
    void Start() {
        Globals.MainForm = std::make_unique<TMainForm>(host.Binding());
        ASSERT_TRUE(Globals.MainForm->Start());
    }
    void Arrival(const StringList& drives = {}) {
        const Dispatch::Handler scope;
        Globals.MainForm->WMDeviceChange(DeviceArrival, drives);
    }
    // What the player was started with, split as Windows splits a command line.
    std::vector<std::string> Played() const {
        return fake.Started.empty() ? std::vector<std::string>{"<nothing>"} : SplitArguments(fake.Started.back().Parameters);
    }

    FakePlatform fake;
    FakeMainFormHost host;
    FakeWindows windows;
    FakeMonitorHost chooser;
    FakeScaningHost progress;
};

}  // namespace

TEST_F(DiscPlay, ADvdPlaysAsOneDiscThroughItsOwnTemplateNeverAsItsFiles) {
    fake.AddFile("D:\\VIDEO_TS\\VIDEO_TS.IFO");
    fake.AddFile("D:\\VIDEO_TS\\VTS_01_1.VOB");
    Select("DVD-Video;.vob", "disc=--disc [DISC]\r\ndisc.dvd=dvd:///[DISC]\r\n");
    Start();
    Arrival();
    EXPECT_EQ(Played(), (std::vector<std::string>{"dvd:///D:\\"}));
    EXPECT_FALSE(fake.FileExists(Folder + "VexamoList.m3u")) << "no playlist of the structure's files";
}

TEST_F(DiscPlay, AKindWithoutItsOwnFormTakesTheDiscTemplate) {
    fake.AddFile("D:\\BDMV\\index.bdmv");
    Select("Blu-ray", "disc=[DISC] /open\r\n");
    Start();
    Arrival();
    EXPECT_EQ(Played(), (std::vector<std::string>{"D:\\", "/open"}));
}

TEST_F(DiscPlay, AnAudioCdPlaysInTrackOrderOrAsTheWholeDisc) {
    for (const char* track : {"Track03.cda", "Track01.cda", "Track10.cda", "Track02.cda"})
        fake.AddFile(std::string("D:\\") + track);
    Select(".cda", "");
    Start();
    Arrival();
    EXPECT_EQ(fake.Content(Folder + "VexamoList.m3u"),
              "D:\\Track01.cda\r\nD:\\Track02.cda\r\nD:\\Track03.cda\r\nD:\\Track10.cda\r\n");
    Globals.Reset();

    fake.Started.clear();
    Select(".cda", "disc.cd=cdda:///[DISC]\r\n");
    Start();
    Arrival();
    EXPECT_EQ(Played(), (std::vector<std::string>{"cdda:///D:\\"}));
}

TEST_F(DiscPlay, UsbSticksPlayOnlyWithTheirSwitchAndFixedDisksNever) {
    fake.AddDrive("G:\\", DriveKind::Removable, "STICK");
    fake.AddFile("G:\\Films\\holiday.mkv");
    fake.AddFile("C:\\Users\\film.mkv");
    Select(".mkv", "");
    Start();
    Arrival({"G:\\"});
    EXPECT_TRUE(fake.Started.empty()) << "the switch is off";
    Globals.Reset();

    Select(".mkv", "", "[Monitor]\r\nRemovable=1\r\n");
    Start();
    Arrival({"G:\\", "C:\\"});
    EXPECT_EQ(Played(), (std::vector<std::string>{"G:\\Films\\holiday.mkv"}));
    EXPECT_EQ(Globals.Vexamo->WatchedDrives(), (StringList{"D:\\", "G:\\"}));
}

TEST_F(DiscPlay, SettingsFilesOfBeforeReadSaveAndPlayAsTheyDid) {
    fake.AddFile("C:\\Program Files\\Winamp\\winamp.exe");
    fake.AddFile("C:\\Tools\\My Player\\play.exe");
    for (const char* name : {"Vexamo.ini", "Players.ini", "Selection.ini"}) fake.AddFile(Folder + name, TestFile(name));
    fake.AddFile("D:\\a.avi");
    fake.AddFile("D:\\b.mpg");

    ProgramFolder = Folder;
    Globals.Vexamo = std::make_unique<TVexamo>();
    Globals.Vexamo->CdDrives = {"D:\\"};
    Globals.Vexamo->Create();
    Globals.Vexamo->SaveSettings(Folder, SettingsFileName, false);
    // Keys learnt since stay out of the file until they are used.
    EXPECT_EQ(fake.Content(Folder + "Vexamo.ini"), TestFile("Vexamo.ini"));
    Globals.Vexamo->Settings->Monitor.Removable = true;
    Globals.Vexamo->SaveSettings(Folder, SettingsFileName, false);
    Globals.Vexamo->Settings->Monitor.Removable = false;
    Globals.Vexamo->SaveSettings(Folder, SettingsFileName, false);
    std::string expected = TestFile("Vexamo.ini");
    expected.insert(expected.find("[Windows]"), "Removable=0\r\n");
    EXPECT_EQ(fake.Content(Folder + "Vexamo.ini"), expected) << "once used, the switch keeps its line";

    auto selection = LoadSelection(Folder);
    ASSERT_EQ(selection->Players.size(), 2u);
    for (const auto& user : selection->Players) user->SaveToIni(Folder + SelectionFileName);
    TPlayer mine;
    mine.LoadFromIni(Folder + PlayersFileName, "My Player");
    EXPECT_TRUE(mine.Flags->Disc.empty()) << "a player of before takes no discs";
    EraseIniSection(Folder + PlayersFileName, "My Player");
    mine.SaveToIni(Folder + PlayersFileName, true);
    EXPECT_EQ(fake.Content(Folder + "Selection.ini"), TestFile("Selection.ini"));
    EXPECT_EQ(fake.Content(Folder + "Players.ini"), TestFile("Players.ini"));
    Globals.Reset();

    Start();
    Arrival();
    EXPECT_EQ(fake.Started.back().File, "C:\\Tools\\My Player\\play.exe");
    EXPECT_EQ(Played(), (std::vector<std::string>{"-l", Folder + "VexamoList.lst"}));
    EXPECT_EQ(fake.Content(Folder + "VexamoList.lst"), "D:\\a.avi\r\nD:\\b.mpg\r\n");
}
