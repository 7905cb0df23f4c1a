// Checks the end-to-end machinery itself: the drive setups the wrapper makes, the stand-in
// player, the window, registry and screenshot helpers. When these fail, the agent's own
// end-to-end results mean nothing.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

#include "e2e/E2E.h"

using namespace e2e;

TEST(Harness, StandInRecordsEachCommandLine) {
    ProgramFolder folder;
    const std::string player = folder.InstallStandIn();
    for (const char* params : {"\"D:\\Movies\\a b.avi\" /fullscreen", "/play D:\\VexamoList.m3u"}) {
        auto p = Process::Start(player, params);
        DWORD code = 1;
        ASSERT_TRUE(p.WaitExit(10000, &code));
        EXPECT_EQ(code, 0u);
    }
    const auto lines = StandInLog(player);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "\"" + player + "\" \"D:\\Movies\\a b.avi\" /fullscreen");
    EXPECT_EQ(lines[1], "\"" + player + "\" /play D:\\VexamoList.m3u");
}

TEST(Harness, CdRomDriveIsAFolderWithALabel) {
    ASSERT_EQ(GetDriveTypeA("D:\\"), static_cast<UINT>(DRIVE_CDROM));
    char label[MAX_PATH] = {};
    ASSERT_TRUE(GetVolumeInformationA("D:\\", label, sizeof label, nullptr, nullptr, nullptr, nullptr, 0));
    EXPECT_STREQ(label, "VEXAMO_DEMO");

    // What a test puts into the drive's folder is on the disc at once.
    ASSERT_FALSE(CdRomFolder('D').empty());
    WriteFile(CdRomFolder('D') + "Movies\\clip.avi", "RIFF");
    EXPECT_EQ(ReadFile("D:\\Movies\\clip.avi").value_or(""), "RIFF");
}

TEST(Harness, RegistryValuesRoundTrip) {
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 0);
    EXPECT_EQ(RegReadDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun"), 0u);
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 1);
    EXPECT_EQ(RegReadDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun"), 1u);

    const std::string key = "Software\\VexamoHarness";
    RegWriteString(HKEY_CURRENT_USER, key, "Path", "C:\\Program Files\\Player\\play.exe");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key, "Path").value_or(""), "C:\\Program Files\\Player\\play.exe");
    RegDeleteValue(HKEY_CURRENT_USER, key, "Path");
    EXPECT_FALSE(RegReadString(HKEY_CURRENT_USER, key, "Path"));
}

// A message box of this very process stands in for the agent's: finding it, reading it and
// answering it work the same across processes.
TEST(Harness, MessageBoxIsReadAndAnswered) {
    auto answer = std::make_shared<std::atomic<int>>(0);
    std::thread box([answer] { *answer = MessageBoxA(nullptr, "Play the disc?", "Harness", MB_YESNO | MB_ICONQUESTION); });
    const HWND dialog = WaitForDialog(GetCurrentProcessId(), 10000, "Harness");
    if (!dialog) {
        box.detach();  // nothing to answer; the process ends with the test run
        FAIL() << "no message box appeared";
    }
    const DialogContent content = ReadDialog(dialog);
    EXPECT_EQ(content.Message, "Play the disc?");
    ASSERT_EQ(content.Buttons.size(), 2u);
    EXPECT_EQ(content.Buttons[0].Id, IDYES);
    EXPECT_FALSE(Screenshot("harness-message-box").empty());
    EXPECT_TRUE(ClickButton(dialog, "Yes"));
    box.join();
    EXPECT_EQ(*answer, IDYES);
}

TEST(Harness, ScreenshotOfTheDisplay) {
    const std::string file = Screenshot("harness");
    ASSERT_FALSE(file.empty());
}

TEST(NoCdHarness, MachineWithoutCdRomDrive) {
    char roots[512] = {};
    const DWORD n = GetLogicalDriveStringsA(sizeof roots, roots);
    for (const char* r = roots; r < roots + n && *r; r += strlen(r) + 1)
        EXPECT_NE(GetDriveTypeA(r), static_cast<UINT>(DRIVE_CDROM)) << r;
    EXPECT_TRUE(CdRomFolder('D').empty());
}
