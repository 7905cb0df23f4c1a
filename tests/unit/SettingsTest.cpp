// Loading and saving Vexamo.ini, and the check of the selected players, over the fake platform.
#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "model/VexaCfg.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace {

const std::string Ini = "C:\\Vexamo\\Vexamo.ini";

class Settings : public ::testing::Test {
protected:
    void SetUp() override {
        ProgramFolder = "C:\\Vexamo\\";
        fake.AddFolder("C:\\Vexamo");
        fake.AddDrive("C:\\", DriveKind::Fixed);
        fake.AddDrive("D:\\", DriveKind::CdRom);
        fake.AddDrive("E:\\", DriveKind::CdRom);
        core.CdDrives = {"D:\\", "E:\\"};
        core.CdDrivesText = "D:\\ E:\\";
    }
    void Load(const std::string& text) {
        fake.AddFile(Ini, text);
        core.Create();
    }
    FakePlatform fake;
    TVexamo core;
};

}  // namespace

TEST_F(Settings, EmptyFileGivesDefaults) {
    Load("");
    const TSettings& s = *core.Settings;
    EXPECT_EQ(core.Status, 1);
    EXPECT_EQ(s.Monitor.Drives, core.CdDrives);
    EXPECT_FALSE(s.Monitor.ScanAll || s.Monitor.AlwaysOn || s.Monitor.OnPlayClose);
    EXPECT_TRUE(s.Subtitles.Auto);
    EXPECT_EQ(s.Subtitles.Path, "");
    EXPECT_EQ(s.Subtitles.Folders, core.CdDrives);
    EXPECT_FALSE(s.UserPriority || s.Priority.Choice);
}

TEST_F(Settings, StatusWordsAreExactAndAlwaysOnWins) {
    Load("[Main]\r\nStatus=On\r\n");
    EXPECT_EQ(core.Status, 0);
    Load("[Main]\r\nStatus=on\r\n");
    EXPECT_EQ(core.Status, 1);
    Load("[Main]\r\nStatus=Off\r\n[Monitor]\r\nAlways On=1\r\n");
    EXPECT_EQ(core.Status, 0);
    EXPECT_TRUE(core.Settings->Monitor.AlwaysOn);
}

TEST_F(Settings, DrivesKeepCdRootsAndFallBackToAll) {
    fake.AddDrive("F:\\", DriveKind::CdRom);
    core.CdDrives = {"D:\\", "E:\\", "F:\\"};
    Load("[Monitor]\r\nDrives=E:\\\r\n");
    EXPECT_EQ(core.Settings->Monitor.Drives, StringList{"E:\\"});
    Load("[Monitor]\r\nDrives=C:\\\r\n");
    EXPECT_EQ(core.Settings->Monitor.Drives, core.CdDrives);
    // Two of three drives, stored joined with a blank as the save writes them, or with ";".
    Load("[Monitor]\r\nDrives=D:\\ F:\\\r\n");
    EXPECT_EQ(core.Settings->Monitor.Drives, (StringList{"D:\\", "F:\\"}));
    Load("[Monitor]\r\nDrives=F:\\;E:\\\r\n");
    EXPECT_EQ(core.Settings->Monitor.Drives, (StringList{"F:\\", "E:\\"}));
    Load("[Monitor]\r\nDrives=Z:\\;D:\\\r\n");
    EXPECT_EQ(core.Settings->Monitor.Drives, StringList{"D:\\"});
    Load("[Monitor]\r\nDrives=Z:\\  E:\\; ;D:\\\r\n");
    EXPECT_EQ(core.Settings->Monitor.Drives, (StringList{"E:\\", "D:\\"}));
}

TEST_F(Settings, DrivesKeepEachCdRootOnceInTheirOrder) {
    fake.AddFolder("D:\\Movies");
    Load("[Monitor]\r\nDrives=D:\\Movies\\;e:\\;D:\\;E:\\;d:\\\r\n");
    EXPECT_EQ(core.Settings->Monitor.Drives, (StringList{"e:\\", "D:\\"}));
    // A folder alone would leave nothing to watch.
    Load("[Monitor]\r\nDrives=D:\\Movies\\\r\n");
    EXPECT_EQ(core.Settings->Monitor.Drives, core.CdDrives);
}

TEST_F(Settings, SubtitleFoldersAreAllCdDrivesThenThePath) {
    Load("[SubTitles]\r\nAuto=0\r\nPath=C:\\Subs\\\r\n");
    EXPECT_FALSE(core.Settings->Subtitles.Auto);
    EXPECT_EQ(core.Settings->Subtitles.Folders, (StringList{"D:\\", "E:\\", "C:\\Subs\\"}));
}

TEST_F(Settings, LoadAppliesRegistrySwitchesSilently) {
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, "NoDriveTypeAutoRun", 181);
    Load("[Windows]\r\nAutoStart=1\r\nAutoCD=0\r\n");
    // A mask found while the switch is off was not written by it: it is the user's or an
    // administrator's, whatever its value.
    EXPECT_EQ(fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, "NoDriveTypeAutoRun"), 181u);
    Load("[Windows]\r\nAutoStart=1\r\nAutoCD=1\r\n");
    EXPECT_EQ(fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, "NoDriveTypeAutoRun"), 181u);
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), "\"C:\\Vexamo\\Vexamo.exe\"");
    EXPECT_TRUE(core.Settings->Windows.AutoStart);
    EXPECT_TRUE(fake.Messages.empty());

    // Where no Run key can be written the flag is cleared.
    fake.IgnoreRegWrites(RegRoot::LocalMachine, RunKey);
    fake.IgnoreRegWrites(RegRoot::CurrentUser, RunKey);
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", "");
    core.Create();
    EXPECT_FALSE(core.Settings->Windows.AutoStart);
}

TEST_F(Settings, LoadWithSwitchesOffLeavesOtherOwnersValuesAlone) {
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 0x91);
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", "\"C:\\Other\\Vexamo.exe\"");
    Load("[Windows]\r\nAutoStart=0\r\nAutoCD=0\r\n");
    EXPECT_EQ(fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue), 0x91u);
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), "\"C:\\Other\\Vexamo.exe\"");
    EXPECT_TRUE(fake.Messages.empty());
}

TEST_F(Settings, LoadGivesTheAutoPlayPolicyBackAndNeverTakesItsOwnValueForTheOriginal) {
    const auto policy = [&] {
        return fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue);
    };
    const auto copy = [&] { return fake.IniReadString(Ini, "Windows", "AutoCDOriginal", "<none>"); };
    // Switched off while the policy could not be given back: the next load does it.
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 0xB1);
    Load("[Windows]\r\nAutoCD=0\r\nAutoCDOriginal=0x00000091\r\n");
    EXPECT_EQ(policy(), 0x91u);
    EXPECT_EQ(copy(), "");

    // A file of a version that kept no copy: its 181 is the switch's own and stays its own.
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 181);
    Load("[Windows]\r\nAutoCD=1\r\n");
    EXPECT_EQ(policy(), 181u);
    EXPECT_EQ(copy(), "<none>");

    // A mask without the CD-ROM bit cannot be the switch's: it is kept before the bit is set.
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 0x91);
    Load("[Windows]\r\nAutoCD=1\r\n");
    EXPECT_EQ(policy(), 0xB1u);
    EXPECT_EQ(copy(), "0x00000091");
    fake.IniReads = 0;
    core.Create();
    EXPECT_EQ(fake.IniReads, 1) << "the start reads the file once, the switch's record with the rest";
    EXPECT_EQ(copy(), "0x00000091") << "the switch's own 0xB1 is no original";

    // Without a place for the copy the policy is left alone, and the load goes on.
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 0x95);
    fake.AddFile(Ini, "[Windows]\r\nAutoCD=1\r\n");
    fake.SetReadOnly(Ini);
    EXPECT_NO_THROW(core.Create());
    EXPECT_EQ(policy(), 0x95u);
    EXPECT_TRUE(fake.Messages.empty());
}

TEST_F(Settings, FullSaveWritesEveryKeyAndReadsBack) {
    Load("");
    TSettings& s = *core.Settings;
    core.Status = 0;
    s.Monitor.ScanAll = true;
    s.Monitor.Drives = {"D:\\", "E:\\"};
    s.Monitor.OnPlayClose = true;
    s.Priority.Player = "Winamp";
    s.Subtitles.Path = "C:\\Subs\\";
    core.SaveSettings("C:\\Vexamo\\", "Vexamo.ini", false);
    EXPECT_EQ(*fake.Content(Ini),
              "[Main]\r\nStatus=On\r\n[Priority]\r\nUser=0\r\nChoice=0\r\nPlayer=Winamp\r\n[Monitor]\r\nScanAll=1\r\n"
              "Drives=D:\\ E:\\\r\nAlways On=0\r\nOnPlayClose=1\r\n[Windows]\r\nAutoStart=0\r\nAutoCD=0\r\n"
              "[SubTitles]\r\nAuto=1\r\nPath=C:\\Subs\\\r\n");
    core.Create();
    EXPECT_EQ(core.Status, 0);
    EXPECT_EQ(core.Settings->Monitor.Drives, (StringList{"D:\\", "E:\\"}));
    EXPECT_EQ(core.Settings->Subtitles.Path, "C:\\Subs\\");
    EXPECT_EQ(core.Settings->Priority.Player, "Winamp");
}

TEST_F(Settings, StatusOnlySaveLeavesEveryOtherKeyAlone) {
    const std::string text =
        "[Main]\r\nStatus=Off\r\n[Monitor]\r\nDrives=E:\\\r\nScanAll=1\r\n[SubTitles]\r\nPath=C:\\S\\\r\n";
    Load(text);
    core.Settings->Monitor.ScanAll = false;
    core.Settings->Subtitles.Path = "changed";
    core.Status = 0;
    core.SaveSettings("C:\\Vexamo\\", "Vexamo.ini", true);
    std::string expected = text;
    expected.replace(expected.find("Status=Off"), 10, "Status=On");
    EXPECT_EQ(*fake.Content(Ini), expected);
}

TEST_F(Settings, ReadOnlyFileRaisesUnableToWrite) {
    Load("[Main]\r\nStatus=Off\r\n");
    fake.SetReadOnly(Ini);
    core.Status = 0;
    try {
        core.SaveSettings("C:\\Vexamo\\", "Vexamo.ini", true);
        FAIL() << "no error raised";
    } catch (const IniFileError& e) {
        EXPECT_STREQ(e.what(), "Unable to write to C:\\Vexamo\\Vexamo.ini");
    }
    EXPECT_EQ(*fake.Content(Ini), "[Main]\r\nStatus=Off\r\n");
}

TEST_F(Settings, CheckPlayersInstalledWarnsPerMissingPlayer) {
    EXPECT_FALSE(core.CheckPlayersInstalled());
    EXPECT_TRUE(fake.Messages.empty());

    fake.AddFile("C:\\Vexamo\\Selection.ini", "[BsPlayer]\r\nName=BsPlayer\r\n[Winamp]\r\nName=Winamp\r\n"
                                              "[Unknown]\r\nName=Unknown\r\n");
    fake.AddFile("C:\\Vexamo\\Players.ini",
                 "[BsPlayer]\r\nexe=C:\\Gone\\bsplay.exe\r\n[Winamp]\r\nexe=C:\\Winamp\\winamp.exe\r\n");
    fake.AddFile("C:\\Winamp\\winamp.exe");
    EXPECT_TRUE(core.CheckPlayersInstalled());
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Caption, "Vexamo: Warning");
    EXPECT_EQ(fake.Messages[0].Buttons, MsgButtons::Ok);
    EXPECT_EQ(fake.Messages[0].Text,
              "Previous selected player: \"BsPlayer\" was not found !\rPlease ensure that this Player is installed !");
}

TEST(ExePath, UsableWhileItsOwnFilesFitBesideItAndItsNameIsText) {
    // The longest own file is Selection.ini (13 characters): its path must stay below 260 units.
    const std::string exe = "Vexamo.exe";
    const std::string fits = "C:\\" + std::string(260 - 1 - 13 - 3 - 1, 'a') + "\\";
    EXPECT_EQ(UsableExePath(fits + exe), fits + exe);
    EXPECT_EQ(UsableExePath("C:\\" + std::string(260 - 13 - 3 - 1, 'a') + "\\" + exe), std::nullopt);
    // Length is counted as Windows counts it: a Cyrillic letter is two bytes but one unit.
    std::string cyrillic = "C:\\";
    for (int i = 0; i < 260 - 1 - 13 - 3 - 1; ++i) cyrillic += "\xD0\x96";
    EXPECT_EQ(UsableExePath(cyrillic + "\\" + exe), cyrillic + "\\" + exe);
    // A lone surrogate of an NTFS name, as the wide-to-UTF-8 conversion keeps it, is no text.
    EXPECT_EQ(UsableExePath("C:\\\xED\xA0\x80\\" + exe), std::nullopt);
    EXPECT_EQ(UsableExePath(""), std::nullopt);
}

TEST_F(Settings, NotificationSwitchIsOnForTodaysFilesAndWrittenOnlyOnceItChanged) {
    const std::string today = "[Main]\r\nStatus=On\r\n[Monitor]\r\nScanAll=0\r\n";
    Load(today);
    EXPECT_TRUE(core.Settings->Monitor.Notify);
    core.SaveSettings("C:\\Vexamo\\", "Vexamo.ini", false);
    EXPECT_EQ(fake.Content(Ini)->find("Notify"), std::string::npos);

    core.Settings->Monitor.Notify = false;
    core.SaveSettings("C:\\Vexamo\\", "Vexamo.ini", false);
    EXPECT_NE(fake.Content(Ini)->find("Notify=0\r\n"), std::string::npos);
    core.Create();
    EXPECT_FALSE(core.Settings->Monitor.Notify);
    // Back on, the line there follows it.
    core.Settings->Monitor.Notify = true;
    core.SaveSettings("C:\\Vexamo\\", "Vexamo.ini", false);
    core.Create();
    EXPECT_TRUE(core.Settings->Monitor.Notify);
}
