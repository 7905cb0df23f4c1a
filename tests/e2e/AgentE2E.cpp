#include "e2e/AgentE2E.h"

#include <shellapi.h>

#include <gtest/gtest.h>

namespace e2e {

Agent::Agent(bool firstRun, const std::string& settings) {
    Exe = Folder.InstallVexamo();
    // Every agent starts on a Windows whose CD-ROM AutoRun is on, whatever an earlier test left.
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 1);
    if (firstRun) return;
    const std::string player = Folder.InstallStandIn();
    Folder.Write("Players.ini", "[Winamp]\r\nexe=" + player + "\r\nindex=3\r\n");
    Folder.Write("Selection.ini", "[Winamp]\r\nName=Winamp\r\nPrompt=No\r\nExt=.mp3\r\n");
    if (!settings.empty()) Folder.Write("Vexamo.ini", settings);
}

void Agent::Start(bool waitForMain) {
    Proc = Process::Start(Exe);
    if (waitForMain) {
        Main = WaitForWindow(Proc.Id(), "TMainForm", "Mini Vexamo", AgentTimeoutMs);
        ASSERT_NE(Main, nullptr) << "the agent's main window did not appear";
    }
}

// Empties the disc of the drive and puts the given files on it (paths below its root).
void Disc(const std::vector<std::string>& files, char drive) {
    const std::string root = CdRomFolder(drive);
    RemoveTree(root, ".windows-label");
    for (const std::string& f : files) WriteFile(root + f, "media");
}

bool TrayHasIcon(HWND owner) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = owner;
    data.uID = 0;
    data.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

}  // namespace e2e
