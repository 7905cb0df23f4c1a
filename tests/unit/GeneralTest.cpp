// Drives, file search, lists, INI helpers and the registry switches over the fake platform.
#include <gtest/gtest.h>

#include "platform/Errors.h"
#include "model/general.h"
#include "support/FakePlatform.h"

using namespace vexamo;
using vexamo::test::FakePlatform;

namespace {

StringList L(std::initializer_list<const char*> items) { return StringList(items.begin(), items.end()); }

// The settings file that keeps the AutoPlay switch's copy of the policy it found.
const std::string SettingsIni = "C:\\Vexamo\\Vexamo.ini";
const std::string SwitchedOn = "[Windows]\r\nAutoCD=1\r\n";

}  // namespace

TEST(Drives, CdDrivesInListedOrderOnlyCdRom) {
    FakePlatform fake;
    fake.AddDrive("C:\\", DriveKind::Fixed);
    fake.AddDrive("E:\\", DriveKind::CdRom);
    fake.AddDrive("D:\\", DriveKind::CdRom, "MOVIE");
    fake.AddDrive("F:\\", DriveKind::Removable);
    EXPECT_EQ(GetCdDrives(), L({"D:\\", "E:\\"}));
}

TEST(Drives, NoDrivesAndOverlongAnswer) {
    FakePlatform fake;
    fake.SetRawDriveStrings(std::string());
    EXPECT_TRUE(GetCdDrives().empty());
    // 33 drives do not fit the 129-character buffer: the system's "not enough storage" text.
    std::string many;
    for (int i = 0; i < 33; ++i) many += std::string("A:\\") + '\0';
    fake.SetRawDriveStrings(many + '\0');
    try {
        GetCdDrives();
        FAIL() << "no error raised";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "Not enough storage is available to complete this operation");
    }
}

TEST(Drives, VolumeLabelAndDiscPresence) {
    FakePlatform fake;
    fake.AddDrive("D:\\", DriveKind::CdRom, "");
    fake.AddDrive("E:\\", DriveKind::CdRom);
    EXPECT_EQ(GetVolumeLabel("D:\\"), "");
    EXPECT_EQ(GetVolumeLabel("E:\\"), "/NOCD");
    EXPECT_EQ(GetVolumeLabel("Q:\\"), "/NOCD");
    EXPECT_FALSE(AnyDiscPresent({}));
    EXPECT_FALSE(AnyDiscPresent(L({"E:\\"})));
    EXPECT_TRUE(AnyDiscPresent(L({"E:\\", "D:\\"})));
}

TEST(Drives, AMaskOfLettersNamesItsRootsFromAToZ) {
    EXPECT_EQ(DriveRootsOf(0), StringList{});
    EXPECT_EQ(DriveRootsOf((1u << 0) | (1u << 3) | (1u << 25)), (StringList{"A:\\", "D:\\", "Z:\\"}));
    // Bits above Z name no drive.
    EXPECT_EQ(DriveRootsOf(0xFC000004u), StringList{"C:\\"});
}

TEST(FindFiles, RootFilesFirstThenDepthFirstSkippingHiddenAndSystem) {
    FakePlatform fake;
    fake.AddDrive("D:\\", DriveKind::CdRom, "DISC");
    fake.AddFile("D:\\A\\one.mp3");
    fake.AddFile("D:\\A\\Deep\\two.mp3");
    fake.AddFile("D:\\root.mp3");
    fake.AddFile("D:\\B\\three.mp3");
    fake.AddFile("D:\\B\\note.txt");
    fake.AddFile("D:\\hidden.mp3", "", true);
    fake.AddFile("D:\\system.mp3", "", false, true);
    fake.AddFolder("D:\\Secret", true);
    fake.AddFile("D:\\Secret\\x.mp3");
    fake.AddFolder("D:\\Sys", false, true);
    fake.AddFile("D:\\Sys\\y.mp3");
    EXPECT_EQ(FindFiles("D:\\*.mp3"),
              L({"D:\\root.mp3", "D:\\A\\one.mp3", "D:\\A\\Deep\\two.mp3", "D:\\B\\three.mp3"}));
    EXPECT_TRUE(FindFiles("D:\\Missing\\*.mp3").empty());
    EXPECT_TRUE(FindFiles("D:\\*.ogg").empty());
}

TEST(FindFiles, NeverFollowsJunctionsOrLinks) {
    FakePlatform fake;
    fake.AddDrive("D:\\", DriveKind::CdRom, "DISC");
    fake.AddFile("D:\\Music\\a.mp3");
    // A link back to the drive root: following it would never end.
    fake.AddFolder("D:\\Music\\Loop", false, false, true);
    fake.AddFile("D:\\Music\\Loop\\b.mp3");
    EXPECT_EQ(FindFiles("D:\\*.mp3"), L({"D:\\Music\\a.mp3"}));
}

TEST(FindFiles, ExceptSkipsOnlyTheExactName) {
    FakePlatform fake;
    fake.AddDrive("D:\\", DriveKind::CdRom, "DISC");
    fake.AddFile("D:\\movie.avi");
    fake.AddFile("D:\\movie.srt");
    fake.AddFile("D:\\Sub\\MOVIE.AVI");
    EXPECT_EQ(FindFilesExcept("D:\\movie*", "movie.avi"), L({"D:\\movie.srt", "D:\\Sub\\MOVIE.AVI"}));
}

TEST(Lists, JoinAndSplitEdges) {
    EXPECT_EQ(JoinList(L({"D:\\", "E:\\"}), " "), "D:\\ E:\\");
    EXPECT_EQ(JoinList({}, ";"), "");
    EXPECT_EQ(JoinList(L({""}), ";"), "");
    EXPECT_EQ(JoinList(L({".mp3", ".wma"}), ";"), ".mp3;.wma");
    EXPECT_EQ(SplitString("", ';'), L({""}));
    EXPECT_EQ(SplitString(".mp3;.avi", ';'), L({".mp3", ".avi"}));
    EXPECT_EQ(SplitString("a;;b", ';'), L({"a", "", "b"}));
    EXPECT_EQ(SplitString("a;", ';'), L({"a", ""}));
    EXPECT_EQ(SplitString(";", ';'), L({"", ""}));
    EXPECT_EQ(SplitString("D:\\ E:\\", ';'), L({"D:\\ E:\\"}));
}

TEST(TextFiles, AppendCreatesThenAppendsWithCrLf) {
    FakePlatform fake;
    fake.AddFolder("C:\\Prog");
    EXPECT_EQ(AppendLinesToFile(L({"a", "b"}), "C:\\Prog\\list.m3u"), 2);
    EXPECT_EQ(AppendLinesToFile(L({"c"}), "C:\\Prog\\list.m3u"), 1);
    EXPECT_EQ(fake.Content("C:\\Prog\\list.m3u"), "a\r\nb\r\nc\r\n");
    fake.SetReadOnly("C:\\Prog\\list.m3u");
    EXPECT_THROW(AppendLinesToFile(L({"d"}), "C:\\Prog\\list.m3u"), InOutError);
}

TEST(IniHelpers, DeleteSectionOrFile) {
    FakePlatform fake;
    fake.AddFile("C:\\P\\two.ini", "[A]\r\nx=1\r\n[B]\r\ny=2\r\n");
    DeleteIniSectionOrFile("C:\\P\\two.ini", "A");
    ASSERT_TRUE(fake.FileExists("C:\\P\\two.ini"));
    EXPECT_EQ(ReadIniSections("C:\\P\\two.ini"), L({"B"}));

    fake.AddFile("C:\\P\\one.ini", "[A]\r\nx=1\r\n");
    DeleteIniSectionOrFile("C:\\P\\one.ini", "a");
    EXPECT_FALSE(fake.FileExists("C:\\P\\one.ini"));

    EXPECT_THROW(DeleteIniSectionOrFile("C:\\P\\missing.ini", "A"), InOutError);
}

TEST(IniHelpers, SectionExistsNeedsAKeyAndTypedReads) {
    FakePlatform fake;
    fake.AddFile("C:\\P\\s.ini", "[Empty]\r\n[Full]\r\nflag=7\r\nbad=x1\r\nzero=0\r\n");
    EXPECT_FALSE(IniSectionExists("C:\\P\\s.ini", "Empty"));
    EXPECT_TRUE(IniSectionExists("C:\\P\\s.ini", "FULL"));
    EXPECT_TRUE(ReadIniBool("C:\\P\\s.ini", "Full", "flag", false));
    EXPECT_TRUE(ReadIniBool("C:\\P\\s.ini", "Full", "bad", true));
    EXPECT_FALSE(ReadIniBool("C:\\P\\s.ini", "Full", "zero", true));
    EXPECT_EQ(ReadIniInteger("C:\\P\\s.ini", "Full", "missing", 5), 5);
    EXPECT_EQ(ReadIniString("C:\\P\\nofile.ini", "Full", "flag"), "");
}

TEST(IniHelpers, IntegersReadAlikeInEveryBuildAndOnlyWhenWhole) {
    FakePlatform fake;
    fake.AddFile("C:\\P\\n.ini",
                 "[N]\r\nmax=2147483647\r\nmin=-2147483648\r\nplus=+7\r\nhex=$1f\r\nhex0x=0X1F\r\nallbits=$FFFFFFFF\r\n"
                 "over=2147483648\r\nunder=-2147483649\r\nwide=4294967296\r\nhexover=$100000000\r\n"
                 "dollar=$\r\nzerox=0x\r\nsign=-\r\nsignedhex=$-5\r\ninner=1 2\r\n");
    const auto read = [](const char* key) { return ReadIniInteger("C:\\P\\n.ini", "N", key, 99); };
    EXPECT_EQ(read("max"), 2147483647);
    EXPECT_EQ(read("min"), -2147483647 - 1);
    EXPECT_EQ(read("plus"), 7);
    EXPECT_EQ(read("hex"), 31);
    EXPECT_EQ(read("hex0x"), 31);
    EXPECT_EQ(read("allbits"), -1);
    for (const char* bad : {"over", "under", "wide", "hexover", "dollar", "zerox", "sign", "signedhex", "inner"})
        EXPECT_EQ(read(bad), 99) << bad;

    // A flag too wide for 32 bits, or a bare "$", keeps its default instead of reading as off.
    fake.AddFile("C:\\P\\f.ini", "[F]\r\nAlways On=4294967296\r\nAuto=$\r\n");
    EXPECT_TRUE(ReadIniBool("C:\\P\\f.ini", "F", "Always On", true));
    EXPECT_TRUE(ReadIniBool("C:\\P\\f.ini", "F", "Auto", true));
}

TEST(Registry, ReadIntegerOfMissingKeyIsZeroMissingValueRaises) {
    FakePlatform fake;
    EXPECT_EQ(ReadRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue), 0);
    fake.AddRegKey(RegRoot::LocalMachine, CdromServiceKey);
    try {
        ReadRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue);
        FAIL() << "no error raised";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to get data for 'AutoRun'");
    }
    // Writing never creates the key.
    WriteRegInteger(RegRoot::LocalMachine, "\\SYSTEM\\Nowhere\\", "AutoRun", 1);
    EXPECT_FALSE(fake.RegKeyExists(RegRoot::LocalMachine, "SYSTEM\\Nowhere"));
}

TEST(Registry, KeyReadableButNotWritableReadsItsValues) {
    // An ordinary user's view of the CD-ROM service key: it reads, but does not open for writing.
    FakePlatform fake;
    fake.SetRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 1);
    fake.SetRegString(RegRoot::LocalMachine, CdromServiceKey, "Group", "SCSI CDROM Class");
    fake.DenyRegKey(RegRoot::LocalMachine, CdromServiceKey);
    EXPECT_EQ(ReadRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue), 1);
    EXPECT_EQ(ReadRegString(RegRoot::LocalMachine, CdromServiceKey, "Group"), "SCSI CDROM Class");
    // Only the write fails, and says so.
    EXPECT_THROW(WriteRegInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue, 0), RegistryError);
    EXPECT_EQ(fake.RegReadInteger(RegRoot::LocalMachine, CdromServiceKey, CdromAutoRunValue), 1u);
}

TEST(Registry, AutoPlayPolicyWritesMaskOrDeletesWithMessages) {
    FakePlatform fake;
    SetWindowsAutoPlay(true, true, SettingsIni);
    EXPECT_EQ(fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, "NoDriveTypeAutoRun"), 181u);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Information);
    EXPECT_EQ(fake.Messages[0].Text,
              "XP AutoPlay feature Disabled !\r\rYou'll have to restart Windows for this settings to take effect !");

    fake.AddFile(SettingsIni, SwitchedOn);  // as the options window saves it
    SetWindowsAutoPlay(false, false, SettingsIni);
    EXPECT_FALSE(fake.RegValueExists(RegRoot::CurrentUser, AutoPlayPolicyKey, "NoDriveTypeAutoRun"));
    EXPECT_EQ(fake.Messages.size(), 1u);

    // Nothing to delete: still reported as restored.
    SetWindowsAutoPlay(false, true, SettingsIni);
    ASSERT_EQ(fake.Messages.size(), 2u);
    EXPECT_EQ(fake.Messages[1].Text,
              "XP AutoPlay feature Restored !\r\rYou'll have to restart Windows for this settings to take effect !");
}

TEST(Registry, AutoPlayPolicyKeyThatCannotBeOpened) {
    FakePlatform fake;
    fake.DenyRegKey(RegRoot::CurrentUser, AutoPlayPolicyKey);
    SetWindowsAutoPlay(true, false, SettingsIni);
    EXPECT_TRUE(fake.Messages.empty());
    SetWindowsAutoPlay(true, true, SettingsIni);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[0].Text,
              "There was a problem while trying to modify your registry. No changes where made !");
}

TEST(Registry, AutoPlayPolicyThatCannotBeRemovedIsNoRestore) {
    FakePlatform fake;
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 181);
    fake.AddFile(SettingsIni, SwitchedOn);
    fake.DenyRegKey(RegRoot::CurrentUser, AutoPlayPolicyKey);
    EXPECT_NO_THROW(SetWindowsAutoPlay(false, false, SettingsIni));
    EXPECT_TRUE(fake.Messages.empty());
    SetWindowsAutoPlay(false, true, SettingsIni);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[0].Text, RegistryProblemText);
    EXPECT_EQ(fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue), 181u);
}

TEST(Registry, AutoPlayPolicyThatCannotBeWrittenNeverStopsALoad) {
    FakePlatform fake;
    fake.FailRegWrites(RegRoot::CurrentUser, AutoPlayPolicyKey);
    EXPECT_NO_THROW(SetWindowsAutoPlay(true, false, SettingsIni));
    EXPECT_TRUE(fake.Messages.empty());
    SetWindowsAutoPlay(true, true, SettingsIni);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[0].Text, RegistryProblemText);
}

TEST(Registry, AutoStartQuotesPathAndReportsVerifiedResult) {
    FakePlatform fake;
    EXPECT_TRUE(SetAutoStart("Vexamo", "C:\\Program Files\\Vexamo\\Vexamo.exe", true, true));
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"),
              "\"C:\\Program Files\\Vexamo\\Vexamo.exe\"");
    EXPECT_TRUE(fake.Messages.empty());

    EXPECT_FALSE(SetAutoStart("Vexamo", "C:\\Program Files\\Vexamo\\Vexamo.exe", false, true));
    EXPECT_FALSE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Text, "'Vexamo' was removed from the registry succesfully...");
}

TEST(Registry, SwitchingOffRemovesOnlyWhatTheProgramWrote) {
    FakePlatform fake;
    // A policy mask the user or an administrator set stays.
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 0x91);
    SetWindowsAutoPlay(false, false, SettingsIni);
    EXPECT_EQ(fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue), 0x91u);

    // A Run value of that name starting another program stays.
    const std::string exe = "C:\\Program Files\\Vexamo\\Vexamo.exe";
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", "\"C:\\Other\\other.exe\" /tray");
    EXPECT_FALSE(SetAutoStart("Vexamo", exe, false, false));
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), "\"C:\\Other\\other.exe\" /tray");
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", "\"" + exe + "\" /x");
    SetAutoStart("Vexamo", exe, false, false);
    EXPECT_TRUE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));

    // This program's own value goes, quoted or not, in any case.
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", "c:\\program files\\VEXAMO\\vexamo.exe");
    SetAutoStart("Vexamo", exe, false, false);
    EXPECT_FALSE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", "\"C:\\PROGRAM FILES\\Vexamo\\Vexamo.exe\"");
    SetAutoStart("Vexamo", exe, false, false);
    EXPECT_FALSE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));
}

TEST(Registry, AutoStartOffThatCannotDeleteIsNoSuccess) {
    FakePlatform fake;
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", "\"C:\\V\\Vexamo.exe\"");
    fake.DenyRegKey(RegRoot::LocalMachine, RunKey);
    // An ordinary user may not remove an administrator's machine-wide entry: the program still
    // starts at logon, and the user is told so.
    EXPECT_TRUE(SetAutoStart("Vexamo", "C:\\V\\Vexamo.exe", false, true));
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[0].Text, MachineRunValueStaysText);
    EXPECT_TRUE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));
    EXPECT_TRUE(SetAutoStart("Vexamo", "C:\\V\\Vexamo.exe", false, false));
    EXPECT_EQ(fake.Messages.size(), 1u) << "the settings load says nothing";
}

TEST(Registry, AutoStartNeverReplacesAnotherProgramsRunValue) {
    FakePlatform fake;
    const std::string exe = "C:\\V\\Vexamo.exe";
    const std::string other = "\"C:\\Other\\other.exe\" /tray";
    // Machine-wide: the user's own Run key starts the program instead, and the user hears why.
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", other);
    EXPECT_TRUE(SetAutoStart("Vexamo", exe, true, true));
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), other);
    EXPECT_EQ(fake.RegReadString(RegRoot::CurrentUser, RunKey, "Vexamo"), "\"C:\\V\\Vexamo.exe\"");
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Information);
    EXPECT_EQ(fake.Messages[0].Text, Format(MachineRunValueTakenText, other));
    EXPECT_FALSE(SetAutoStart("Vexamo", exe, false, true));
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), other);
    EXPECT_FALSE(fake.RegValueExists(RegRoot::CurrentUser, RunKey, "Vexamo"));

    // Both names taken: nothing is written, and the switch reports that it is off.
    fake.Messages.clear();
    fake.SetRegString(RegRoot::CurrentUser, RunKey, "Vexamo", "C:\\Tools\\vexamo-sync.exe");
    EXPECT_FALSE(SetAutoStart("Vexamo", exe, true, true));
    EXPECT_EQ(fake.RegReadString(RegRoot::CurrentUser, RunKey, "Vexamo"), "C:\\Tools\\vexamo-sync.exe");
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), other);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
    EXPECT_EQ(fake.Messages[0].Text, Format(RunValueTakenText, "C:\\Tools\\vexamo-sync.exe"));
    EXPECT_FALSE(SetAutoStart("Vexamo", exe, true, false));
    EXPECT_EQ(fake.Messages.size(), 1u);

    // An empty value starts nothing and is no other program's.
    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", "");
    EXPECT_TRUE(SetAutoStart("Vexamo", exe, true, false));
    EXPECT_EQ(fake.RegReadString(RegRoot::LocalMachine, RunKey, "Vexamo"), "\"C:\\V\\Vexamo.exe\"");
}

TEST(Registry, AutoPlayCopyThatCannotBeKeptOrPolicyThatCannotBeGivenBack) {
    FakePlatform fake;
    fake.AddFile(SettingsIni, "[Windows]\r\nAutoCD=0\r\n");
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 0x91);
    fake.SetReadOnly(SettingsIni);
    // The user who asked learns why nothing happened; the policy stays as it was.
    EXPECT_THROW(SetWindowsAutoPlay(true, true, SettingsIni), IniFileError);
    EXPECT_EQ(fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue), 0x91u);
    EXPECT_TRUE(fake.Messages.empty());

    // A copy whose policy cannot be written back stays for the next try.
    fake.SetReadOnly(SettingsIni, false);
    fake.AddFile(SettingsIni, "[Windows]\r\nAutoCD=1\r\nAutoCDOriginal=0x00000091\r\n");
    fake.SetRegInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue, 0xB1);
    fake.FailRegWrites(RegRoot::CurrentUser, AutoPlayPolicyKey);
    SetWindowsAutoPlay(false, true, SettingsIni);
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Text, RegistryProblemText);
    EXPECT_EQ(fake.IniReadString(SettingsIni, "Windows", AutoPlayOriginalKey, ""), "0x00000091");
    EXPECT_EQ(fake.RegReadInteger(RegRoot::CurrentUser, AutoPlayPolicyKey, AutoPlayPolicyValue), 0xB1u);
}

TEST(Registry, AutoStartWithoutRightsFailsWithWarning) {
    FakePlatform fake;
    fake.AddRegKey(RegRoot::LocalMachine, RunKey);
    fake.IgnoreRegWrites(RegRoot::LocalMachine, RunKey);
    fake.IgnoreRegWrites(RegRoot::CurrentUser, RunKey);  // neither Run key takes the value
    EXPECT_FALSE(SetAutoStart("Vexamo", "C:\\V\\Vexamo.exe", true, false));
    EXPECT_TRUE(fake.Messages.empty());
    EXPECT_FALSE(SetAutoStart("Vexamo", "C:\\V\\Vexamo.exe", true, true));
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Warning);
}

TEST(Registry, AutoStartFallsBackToTheUsersRunKeyAndOffClearsBoth) {
    FakePlatform fake;
    const std::string exe = "C:\\V\\Vexamo.exe";
    fake.AddRegKey(RegRoot::LocalMachine, RunKey);
    fake.IgnoreRegWrites(RegRoot::LocalMachine, RunKey);  // an ordinary user
    EXPECT_TRUE(SetAutoStart("Vexamo", exe, true, true));
    EXPECT_TRUE(fake.Messages.empty());
    EXPECT_EQ(fake.RegReadString(RegRoot::CurrentUser, RunKey, "Vexamo"), "\"C:\\V\\Vexamo.exe\"");
    EXPECT_FALSE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));

    fake.SetRegString(RegRoot::LocalMachine, RunKey, "Vexamo", "\"C:\\V\\Vexamo.exe\"");  // from an earlier admin
    EXPECT_FALSE(SetAutoStart("Vexamo", exe, false, true));
    EXPECT_FALSE(fake.RegValueExists(RegRoot::CurrentUser, RunKey, "Vexamo"));
    EXPECT_FALSE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));
    ASSERT_EQ(fake.Messages.size(), 1u);
    EXPECT_EQ(fake.Messages[0].Kind, MsgKind::Information);
}

TEST(Registry, AutoStartInTheMachineKeyDropsTheUsersOwnEntry) {
    FakePlatform fake;
    const std::string exe = "C:\\V\\Vexamo.exe";
    fake.SetRegString(RegRoot::CurrentUser, RunKey, "Vexamo", "\"C:\\V\\Vexamo.exe\"");
    fake.SetRegString(RegRoot::CurrentUser, RunKey, "Other", "\"C:\\O\\other.exe\"");
    EXPECT_TRUE(SetAutoStart("Vexamo", exe, true, false));
    EXPECT_TRUE(fake.RegValueExists(RegRoot::LocalMachine, RunKey, "Vexamo"));
    EXPECT_FALSE(fake.RegValueExists(RegRoot::CurrentUser, RunKey, "Vexamo")) << "it would start twice";
    EXPECT_TRUE(fake.RegValueExists(RegRoot::CurrentUser, RunKey, "Other"));
}

TEST(Platform, WindowsVersionFamilies) {
    FakePlatform fake;
    const char* expected[] = {"3.1", "95/98", "NT", ""};
    for (int id = 0; id < 4; ++id) {
        fake.Platform_Id = id;
        EXPECT_EQ(GetWindowsVersion(), expected[id]);
    }
}
