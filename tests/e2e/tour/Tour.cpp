// A tour of Vexamo as a new user meets it, taking the README's pictures: the installer, the first
// start, the configuration window and the wizard, the tray menu, the options window, the about
// box and the chooser of a disc. Run by scripts/screenshots.sh inside tests/e2e/run-e2e.sh.
//
// Every picture is taken of whatever window the step brings up; a step whose window the program
// does not have (yet) is reported and skipped, so the tour takes all the pictures it can.
#include "e2e/AgentE2E.h"

#include <dbt.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

using namespace e2e;

namespace {

constexpr DWORD StepMs = 15000;
// Where VLC's installer and MPC-HC itself register them.
const char* VlcKey = "SOFTWARE\\VideoLAN\\VLC";
const char* MpcHcKey = "Software\\MPC-HC\\MPC-HC";

std::vector<std::string> Skipped;

void Skip(const std::string& picture, const std::string& why) {
    Skipped.push_back(picture + ": " + why);
    std::printf("tour: no picture %s (%s)\n", picture.c_str(), why.c_str());
}

void Take(const std::string& picture, HWND wnd) {
    if (ScreenshotWindow(picture, wnd).empty()) Skip(picture, "screenshot failed");
}

HWND Agent() { return FindWindowA("TMainForm", "Mini Vexamo"); }

DWORD AgentPid() {
    DWORD pid = 0;
    if (HWND main = Agent()) GetWindowThreadProcessId(main, &pid);
    return pid;
}

std::set<HWND> VisibleWindows(DWORD pid) {
    std::set<HWND> shown;
    for (HWND w : TopLevelWindows(pid))
        if (IsWindowVisible(w)) shown.insert(w);
    return shown;
}

// A visible top-level window of the agent that was not there before, with the caption when one
// is given; nullptr when none came.
HWND WaitForNewWindow(const std::set<HWND>& before, DWORD timeoutMs = StepMs, const std::string& caption = "") {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : VisibleWindows(AgentPid()))
                if (!before.count(w) && ClassName(w) != "#32768" && (caption.empty() || WindowText(w) == caption))
                    found = w;
            return found != nullptr;
        },
        timeoutMs, 100);
    // Let it paint.
    if (found) Sleep(700);
    return found;
}

// Closes a window the way its user would: Cancel, Close or OK, else the close box.
void Dismiss(HWND wnd) {
    if (!ClickButton(wnd, "Cancel") && !ClickButton(wnd, "&Close") && !ClickButton(wnd, "OK"))
        PostMessageA(wnd, WM_CLOSE, 0, 0);
    if (!WaitUntil([&] { return !IsWindow(wnd) || !IsWindowVisible(wnd); }, 5000)) PostMessageA(wnd, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindow(wnd) || !IsWindowVisible(wnd); }, 5000);
}

bool PressWhenEnabled(HWND wizard, const std::string& caption) {
    return WaitUntil(
        [&] {
            for (HWND b : Children(wizard, "Button")) {
                std::string text = WindowText(b);
                std::erase(text, '&');
                if (text == caption && IsWindowEnabled(b)) return ClickButton(wizard, WindowText(b));
            }
            return false;
        },
        StepMs, 100);
}

// The first control of the class at any depth under the window, in creation order.
HWND FindByClass(HWND top, const std::string& className) {
    for (HWND child : Children(top)) {
        if (ClassName(child) == className) return child;
        if (HWND inner = FindByClass(child, className)) return inner;
    }
    return nullptr;
}

HWND WaitForText(HWND wnd, const std::string& text) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindDescendant(wnd, text)) != nullptr; }, StepMs * 4, 100);
    if (found) Sleep(300);
    return found;
}

void InstallAndStart() {
    ASSERT_FALSE(InstallerExe().empty()) << "no installer was built";
    Process setup = Process::Start(InstallerExe());
    const HWND wizard = WaitForWindow(setup.Id(), "#32770", "Vexamo Setup", StepMs * 4, true);
    ASSERT_NE(wizard, nullptr);
    ASSERT_NE(WaitForText(wizard, "Setup will install"), nullptr);
    ASSERT_TRUE(PressWhenEnabled(wizard, "Next >"));
    ASSERT_NE(WaitForText(wizard, "Destination Folder"), nullptr);
    ASSERT_TRUE(PressWhenEnabled(wizard, "Next >"));
    ASSERT_NE(WaitForText(wizard, "Check the components"), nullptr);
    Take("install-options", wizard);
    ASSERT_TRUE(PressWhenEnabled(wizard, "Install"));
    ASSERT_NE(WaitForText(wizard, "Start Vexamo now"), nullptr);
    Take("install-finish", wizard);
    ASSERT_TRUE(PressWhenEnabled(wizard, "Finish"));
    ASSERT_TRUE(setup.WaitExit(StepMs));
    ASSERT_TRUE(WaitUntil([] { return Agent() != nullptr; }, AgentTimeoutMs)) << "the agent did not start";
}

std::string InstallDir() {
    char path[MAX_PATH] = {};
    const DWORD n = GetEnvironmentVariableA("LOCALAPPDATA", path, MAX_PATH);
    return std::string(path, n) + "\\Programs\\Vexamo\\";
}

// Ends the agent as a user would, answering what it asks on the way; ends its process when that
// does not do it.
void EndAgent() {
    const DWORD pid = AgentPid();
    if (!pid) return;
    for (int round = 0; round < 5 && Agent(); ++round) {
        for (HWND w : VisibleWindows(pid)) Dismiss(w);
        if (HWND main = Agent()) PostMessageA(main, WM_CLOSE, 0, 0);
        WaitUntil([] { return Agent() == nullptr; }, 3000);
    }
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        if (WaitForSingleObject(process, 5000) != WAIT_OBJECT_0) {
            std::printf("tour: the agent did not end; ending its process\n");
            TerminateProcess(process, 1);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
}

}  // namespace

TEST(Tour, EveryWindow) {
    RegWriteDword(HKEY_LOCAL_MACHINE, CdRomServiceKey, "AutoRun", 1);
    // Two players of today the catalogue finds by itself (stand-ins that only note what they were given).
    ProgramFolder players("Players");
    const std::string vlc = players.InstallStandIn("VideoLAN\\VLC");
    const std::string mpc = players.InstallStandIn("MPC-HC");
    RegWriteString(HKEY_LOCAL_MACHINE, VlcKey, "", vlc);
    RegWriteString(HKEY_CURRENT_USER, MpcHcKey, "ExePath", mpc);
    // A disc with a film, its subtitles and some music.
    const std::string disc = CdRomFolder('D');
    WriteFile(disc + "Movies\\Holiday.avi", "RIFF....AVI LIST");
    WriteFile(disc + "Movies\\Holiday.srt", "1\r\n00:00:01,000 --> 00:00:04,000\r\nA subtitle.\r\n");
    WriteFile(disc + "Movies\\Trailer.avi", "RIFF....AVI LIST");
    for (const char* n : {"01", "02", "03"}) WriteFile(disc + "Music\\Track" + n + ".mp3", "ID3");

    ASSERT_NO_FATAL_FAILURE(InstallAndStart());
    const std::string dir = InstallDir();

    // The first start: no player chosen yet, so the configuration window opens.
    if (HWND first = WaitForNewWindow({})) {
        Take("first-start", first);
        const std::set<HWND> before = VisibleWindows(AgentPid());
        // The first row of the players list, "(Add new Player)", starts the wizard.
        if (HWND list = FindByClass(first, "SysListView32")) {
            const LPARAM row0 = MAKELPARAM(24, 8);
            PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, row0);
            PostMessageA(list, WM_LBUTTONUP, 0, row0);
            if (HWND wizard = WaitForNewWindow(before)) {
                Take("wizard", wizard);
                Dismiss(wizard);
            } else {
                Skip("wizard", "no window after a click on the players list's first row");
            }
        } else {
            Skip("wizard", "the configuration window has no players list");
        }
    } else {
        Skip("first-start", "no window at the first start");
    }
    EndAgent();

    // From now on the user has chosen the players: the films go to VLC, which asks first, the
    // music to MPC-HC. The configuration window writes the catalogue when it lists the players;
    // without one, the tour writes what it would.
    if (!ReadFile(dir + "Players.ini"))
        WriteFile(dir + "Players.ini", "[VLC media player]\r\nexe=" + vlc + "\r\nindex=8\r\n[MPC-HC]\r\nexe=" + mpc +
                                           "\r\nindex=9\r\n");
    WriteFile(dir + "Selection.ini",
              "[VLC media player]\r\nName=VLC media player\r\nPrompt=Yes\r\nExt=.avi\r\n"
              "[MPC-HC]\r\nName=MPC-HC\r\nPrompt=No\r\nExt=.mp3\r\n");
    WritePrivateProfileStringA("Main", "Status", "On", (dir + "Vexamo.ini").c_str());
    Process agent = Process::Start(dir + "Vexamo.exe");
    const HWND main = WaitForWindow(agent.Id(), "TMainForm", "Mini Vexamo", AgentTimeoutMs);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(main); }, AgentTimeoutMs)) << "no tray icon";
    // Messages about players not found would stand in front of everything else.
    for (HWND w : VisibleWindows(agent.Id())) Dismiss(w);

    // The menu opens at the mouse pointer, which a user's right click leaves on the tray icon in the
    // task bar's bottom right corner.
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    SetCursorPos(screenW - 36, screenH - 10);
    PostMessageA(main, TrayCallback, 0, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindows(agent.Id()))
                if (ClassName(w) == "#32768" && IsWindowVisible(w)) menu = w;
            return menu != nullptr;
        },
        StepMs);
    if (menu) {
        Sleep(500);
        RECT r{};
        GetWindowRect(menu, &r);
        r = {r.left - 24, r.top - 24, screenW, screenH};
        if (ScreenshotRect("tray-menu", r).empty()) Skip("tray-menu", "screenshot failed");
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitUntil([&] { return !IsWindowVisible(menu); }, 5000);
        SendMessageTimeoutA(main, WM_CANCELMODE, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    } else {
        Skip("tray-menu", "no menu");
    }

    const struct {
        const char* Picture;
        int Item;
    } commands[] = {{"configuration", 4}, {"options", 5}, {"about", 7}};
    for (const auto& c : commands) {
        const std::set<HWND> before = VisibleWindows(agent.Id());
        PostMessageA(main, WM_COMMAND, TrayMenuCommand(c.Item), 0);
        if (HWND w = WaitForNewWindow(before, 5000)) {
            Take(c.Picture, w);
            Dismiss(w);
        } else {
            Skip(c.Picture, "no window from the tray command");
        }
    }

    // A disc goes in: the films are found and VLC's chooser asks which to play.
    const std::set<HWND> before = VisibleWindows(agent.Id());
    SendDeviceChange(main, DBT_DEVICEARRIVAL, 'D', 500);
    // The scan's progress window comes and goes before the chooser.
    if (HWND chooser = WaitForNewWindow(before, StepMs, "File Monitor")) {
        Take("chooser", chooser);
        Dismiss(chooser);
    } else {
        Skip("chooser", "no window after a disc arrival");
    }

    // A disc of music plays at once, and one with nothing for the players: the tray says so.
    const RECT corner{screenW - 640, screenH - 130, screenW, screenH};
    for (const char* f : {"Movies\\Holiday.avi", "Movies\\Holiday.srt", "Movies\\Trailer.avi"}) DeleteFileA((disc + f).c_str());
    SendDeviceChange(main, DBT_DEVICEARRIVAL, 'D', 500);
    Sleep(4000);  // the scan, then Wine's tray shows a balloon two seconds after it was asked for
    if (ScreenshotRect("balloon-played", corner).empty()) Skip("balloon-played", "screenshot failed");
    for (const char* n : {"01", "02", "03"}) DeleteFileA((disc + "Music\\Track" + n + ".mp3").c_str());
    WriteFile(disc + "readme.txt", "Holiday 2026");
    SendDeviceChange(main, DBT_DEVICEARRIVAL, 'D', 500);
    Sleep(4000);
    if (ScreenshotRect("balloon-nothing", corner).empty()) Skip("balloon-nothing", "screenshot failed");

    EndAgent();
    for (const std::string& s : Skipped) std::printf("tour: skipped %s\n", s.c_str());
}
