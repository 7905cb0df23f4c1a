// Start-up of the real agent: single instance, the CD-ROM checks with their dialogs, the first
// run, and the log of an unhandled error.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/AgentE2E.h"

#include <dbt.h>

using namespace e2e;

namespace {

// The dialogs of a start-up, each answered in turn.
DialogContent Expect(const Process& proc, const std::string& caption, const std::string& text,
                     const std::string& shot) {
    const HWND box = WaitForDialog(proc.Id(), AgentTimeoutMs, caption);
    EXPECT_NE(box, nullptr) << "no \"" << caption << "\" box for: " << text;
    if (!box) return {};
    const DialogContent content = ReadDialog(box);
    EXPECT_EQ(content.Message, text);
    Screenshot(shot);
    return content;
}

int CountAgents() {
    int n = 0;
    for (HWND w : TopLevelWindows(0))
        if (ClassName(w) == "TMainForm" && WindowText(w) == "Mini Vexamo") ++n;
    return n;
}

const std::string Question =
    "Windows Registry \"CDROM AUTORUN\" Services Disabled ! \r\rIn order to use 'Vexamo' autoplay abilities "
    "this setting must be enabled.\rDo you want 'Vexamo' to change it for you ?";

}  // namespace

TEST(StartUp, SecondStartLeavesOneAgent) {
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    Process second = Process::Start(agent.Exe);
    DWORD code = 1;
    ASSERT_TRUE(second.WaitExit(AgentTimeoutMs, &code)) << "the second start did not end";
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(agent.Proc.Running());
    EXPECT_EQ(CountAgents(), 1);
    EXPECT_TRUE(TrayHasIcon(agent.Main));
}

TEST(StartUp, FirstRunShowsTheConfigurationWindow) {
    Agent agent(true);
    agent.Start();
    const HWND config = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    ASSERT_NE(config, nullptr);
    Screenshot("first-run");
    EXPECT_FALSE(TrayHasIcon(agent.Main));
    EXPECT_FALSE(agent.Folder.Exists("Vexamo.ini"));
}

TEST(StartUp, AutoRunOffAnsweredYesStoresOne) {
    Agent agent;
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 0);
    agent.Start(false);
    const DialogContent ask = Expect(agent.Proc, "Warning", Question, "autorun-question");
    ASSERT_TRUE(ClickButton(WaitForDialog(agent.Proc.Id(), 1000, "Warning"), "Yes"));
    Expect(agent.Proc, "Information",
           "Changes Sucessfull, but 'Vexamo' will not be able to autoplay CD's until the next time you restart "
           "Windows. You can use manual 'Scan' meanwhile...",
           "autorun-changed");
    EXPECT_EQ(RegReadDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun"), 1u);
    ASSERT_TRUE(ClickButton(WaitForDialog(agent.Proc.Id(), 1000, "Information"), "OK"));
    // Start-up goes on to the tray.
    agent.Main = WaitForWindow(agent.Proc.Id(), "TMainForm", "Mini Vexamo", AgentTimeoutMs);
    ASSERT_NE(agent.Main, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    ASSERT_EQ(ask.Buttons.size(), 2u);
}

TEST(StartUp, AutoRunOffAnsweredNoWarnsAndStoresNothing) {
    Agent agent;
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 0);
    agent.Start(false);
    Expect(agent.Proc, "Warning", Question, "autorun-question-no");
    ASSERT_TRUE(ClickButton(WaitForDialog(agent.Proc.Id(), 1000, "Warning"), "No"));
    // The first box is gone once the second shows; both have the same title.
    ASSERT_TRUE(WaitUntil(
        [&] {
            HWND box = WaitForDialog(agent.Proc.Id(), 200, "Warning");
            return box && ReadDialog(box).Message != Question;
        },
        AgentTimeoutMs));
    Expect(agent.Proc, "Warning",
           "With this setting disabled 'Vexamo' will not be able to autoplay CD's. \rOnly manual 'Scan' will be "
           "possible !\r\rPress 'OK' to continue...",
           "autorun-declined");
    EXPECT_EQ(RegReadDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun"), 0u);
    ASSERT_TRUE(ClickButton(WaitForDialog(agent.Proc.Id(), 1000, "Warning"), "OK"));
    agent.Main = WaitForWindow(agent.Proc.Id(), "TMainForm", "Mini Vexamo", AgentTimeoutMs);
    EXPECT_NE(agent.Main, nullptr);
}

TEST(StartUp, DeviceChangeDuringTheAutoRunQuestionIsIgnored) {
    Agent agent;
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 0);
    agent.Start(false);
    Expect(agent.Proc, "Warning", Question, "autorun-question-device-change");
    // The hidden window exists while the question is on screen; the core object does not yet.
    agent.Main = WaitForWindow(agent.Proc.Id(), "TMainForm", "Mini Vexamo", AgentTimeoutMs);
    ASSERT_NE(agent.Main, nullptr);
    EXPECT_TRUE(SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'D'));
    EXPECT_FALSE(TrayHasIcon(agent.Main));
    ASSERT_TRUE(ClickButton(WaitForDialog(agent.Proc.Id(), 1000, "Warning"), "No"));
    ASSERT_TRUE(WaitUntil(
        [&] {
            HWND box = WaitForDialog(agent.Proc.Id(), 200, "Warning");
            return box && ReadDialog(box).Message != Question;
        },
        AgentTimeoutMs));
    ASSERT_TRUE(ClickButton(WaitForDialog(agent.Proc.Id(), 1000, "Warning"), "OK"));
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    EXPECT_EQ(WaitForDialog(agent.Proc.Id(), 1000), nullptr) << "an error box came up";
    EXPECT_TRUE(agent.Proc.Running());
}

TEST(StartUp, UnhandledErrorIsLoggedAndShown) {
    Agent agent(false, "");
    // A folder where the settings file belongs: every write to it fails, as on a locked file.
    ASSERT_TRUE(CreateDirectoryA((agent.Folder / "Vexamo.ini").c_str(), nullptr));
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    // A double click opens the configuration window, whose presence turns the log on.
    ASSERT_TRUE(SendWithin(agent.Main, TrayCallback, 0, WM_LBUTTONDBLCLK, 5000));
    ASSERT_NE(WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true), nullptr);
    // The monitoring command must save the status, which cannot be written.
    PostMessageA(agent.Main, WM_COMMAND, TrayMenuCommand(2), 0);
    const std::string path = agent.Folder / "Vexamo.ini";
    const DialogContent error = Expect(agent.Proc, "Vexamo", "Unable to write to " + path, "unhandled-error");
    ASSERT_TRUE(ClickButton(WaitForDialog(agent.Proc.Id(), 1000, "Vexamo"), "OK"));

    const std::string log = agent.Folder.Read("Vexamo.log").value_or("");
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[16];
    wsprintfA(date, "%02d-%02d-%02d", now.wDay, now.wMonth, now.wYear % 100);
    const std::regex line(std::string(date) + " [0-9]{1,2}:[0-9]{2}:[0-9]{2}( [AP]M)?:Unable to write to " +
                          std::regex_replace(path, std::regex(R"([\\.^$|()\[\]{}*+?])"), R"(\$&)") + "\r\n");
    EXPECT_TRUE(std::regex_match(log, line)) << log;
    EXPECT_TRUE(agent.Proc.Running());
}

TEST(NoCdDrive, ErrorBoxThenTheProcessEnds) {
    Agent agent;
    agent.Start(false);
    const DialogContent box = Expect(agent.Proc, "Error", "CD/DVD Rom not present! Vexamo cannot load...", "no-cd-drive");
    ASSERT_TRUE(ClickButton(WaitForDialog(agent.Proc.Id(), 1000, "Error"), "OK"));
    DWORD code = 1;
    EXPECT_TRUE(agent.Proc.WaitExit(AgentTimeoutMs, &code));
    EXPECT_EQ(CountAgents(), 0);
    EXPECT_EQ(box.Buttons.size(), 1u);
}

TEST(NoCdDrive, DeviceChangeDuringTheErrorBoxPutsNoIconUp) {
    Agent agent;
    agent.Start(false);
    Expect(agent.Proc, "Error", "CD/DVD Rom not present! Vexamo cannot load...", "no-cd-device-change");
    const HWND main = WaitForWindow(agent.Proc.Id(), "TMainForm", "Mini Vexamo", AgentTimeoutMs);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(SendDeviceChange(main, DBT_DEVICEARRIVAL, 'D'));
    EXPECT_TRUE(SendDeviceChange(main, DBT_DEVICEREMOVECOMPLETE, 'D'));
    EXPECT_FALSE(TrayHasIcon(main));
    ASSERT_TRUE(ClickButton(WaitForDialog(agent.Proc.Id(), 1000, "Error"), "OK"));
    EXPECT_TRUE(agent.Proc.WaitExit(AgentTimeoutMs));
}

TEST(StartUp, ProgramFolderNamedOutsideTheCodePage) {
    Agent agent;
    const ProgramFolder elsewhere("CyrillicPlayer");  // the player must not move with the folder
    agent.Folder.Write("Players.ini", "[Winamp]\r\nexe=" + elsewhere.InstallStandIn() + "\r\nindex=3\r\n");
    // The same program folder, renamed to a Cyrillic name that a Western code page cannot spell.
    const std::string ansi = agent.Folder.Path().substr(0, agent.Folder.Path().size() - 1);
    std::wstring wide(ansi.begin(), ansi.end());
    const std::wstring cyrillic = wide.substr(0, wide.find_last_of(L'\\') + 1) + L"\x0424\x0438\x043B\x044C\x043C\x044B";
    ASSERT_TRUE(MoveFileW(wide.c_str(), cyrillic.c_str()));
    std::wstring exe = cyrillic + L"\\Vexamo.exe";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessW(exe.c_str(), exe.data(), nullptr, nullptr, FALSE, 0, nullptr, cyrillic.c_str(), &si, &pi));
    const HWND main = WaitForWindow(pi.dwProcessId, "TMainForm", "Mini Vexamo", AgentTimeoutMs);
    EXPECT_NE(main, nullptr);
    // It found its files (the selected player is installed: the icon is up, no box) and can write them.
    EXPECT_TRUE(WaitUntil([&] { return main && TrayHasIcon(main); }, AgentTimeoutMs));
    EXPECT_EQ(WaitForDialog(pi.dwProcessId, 500), nullptr);
    if (main) SendWithin(main, WM_COMMAND, TrayMenuCommand(2), 0, 5000);  // monitoring off: saves the status
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(MoveFileW(cyrillic.c_str(), wide.c_str()));
    EXPECT_NE(agent.Folder.Read("Vexamo.ini").value_or("").find("Status=Off"), std::string::npos);
}
