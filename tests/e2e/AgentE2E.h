// What the agent's end-to-end tests share: a program folder for a user who has chosen the
// stand-in player, starting the real agent, and looking at its tray icon from outside.
#pragma once

#include <string>
#include <vector>

#include "e2e/E2E.h"

namespace e2e {

constexpr DWORD AgentTimeoutMs = 20000;
constexpr UINT TrayCallback = 1025;
constexpr UINT TrayMenuCommand(int item) { return 100 + item; }

struct Agent {
    ProgramFolder Folder;
    std::string Exe;
    Process Proc;
    HWND Main = nullptr;

    // A program folder with Vexamo.exe and, unless firstRun, a selection of the stand-in player;
    // the CD-ROM AutoRun value is set to 1.
    explicit Agent(bool firstRun = false, const std::string& settings = "[Main]\r\nStatus=On\r\n");
    // Starts the agent; with waitForMain, waits for its hidden main window.
    void Start(bool waitForMain = true);
};

// Empties the disc of drive D: and puts the given files on it (paths below its root).
void Disc(const std::vector<std::string>& files, char drive = 'D');

// Whether the shell's tray holds the icon of the window: a modify that changes nothing succeeds
// only for an icon the tray has.
bool TrayHasIcon(HWND owner);

}  // namespace e2e
