// The tray icon and its owner-drawn menu on the real shell: the icon's presence, the menu opened
// by a right click and driven from the keyboard, monitoring switched off, exit, device changes and
// a restarted taskbar; what the agent in the tray has loaded.
#include "e2e/AgentE2E.h"

#include <dbt.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>

#include <gtest/gtest.h>

using namespace e2e;

namespace {

HWND OpenTrayMenu(const Agent& agent) {
    PostMessageA(agent.Main, TrayCallback, 0, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    WaitUntil(
        [&] {
            for (HWND w : TopLevelWindows(agent.Proc.Id()))
                if (ClassName(w) == "#32768" && IsWindowVisible(w)) menu = w;
            return menu != nullptr;
        },
        AgentTimeoutMs);
    return menu;
}

// Owner-drawn items have no text of their own: the key reaches the agent's menu-character answer.
void ChooseByAccessKey(HWND menu, char key) { PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(key), 0); }

// The file names of the DLLs the process has loaded, lower case.
std::vector<std::string> Modules(DWORD pid) {
    std::vector<std::string> names;
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid);
    if (snapshot == INVALID_HANDLE_VALUE) return names;
    MODULEENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32First(snapshot, &entry); more; more = Module32Next(snapshot, &entry))
        names.push_back(CharLowerA(entry.szModule));
    CloseHandle(snapshot);
    return names;
}

bool Loaded(const std::vector<std::string>& modules, const std::string& name) {
    return std::find(modules.begin(), modules.end(), name) != modules.end();
}

}  // namespace

TEST(Tray, IconAndMenuThenMonitoringOff) {
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    Screenshot("tray-icon-on");

    const HWND menu = OpenTrayMenu(agent);
    ASSERT_NE(menu, nullptr) << "no popup menu";
    Screenshot("tray-menu");
    ChooseByAccessKey(menu, 'f');  // "Set Monitoring O&ff"
    ASSERT_TRUE(WaitUntil([&] { return agent.Folder.Read("Vexamo.ini").value_or("").find("Status=Off") !=
                                       std::string::npos; },
                          AgentTimeoutMs));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, AgentTimeoutMs));
    Screenshot("tray-icon-off");
    EXPECT_TRUE(TrayHasIcon(agent.Main));

    const HWND again = OpenTrayMenu(agent);
    ASSERT_NE(again, nullptr);
    Screenshot("tray-menu-monitoring-off");
    ChooseByAccessKey(again, 'o');  // "Set Monitoring &On"
    EXPECT_TRUE(WaitUntil([&] { return agent.Folder.Read("Vexamo.ini").value_or("").find("Status=On") !=
                                       std::string::npos; },
                          AgentTimeoutMs));
}

TEST(Tray, WhatOnlyWindowsNeedComesWithTheFirstOfThem) {
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    std::vector<std::string> modules = Modules(agent.Proc.Id());
    ASSERT_TRUE(Loaded(modules, "shell32.dll")) << "the agent's modules cannot be read";
    // The common controls (with their classes), the file dialogs and COM wait for a window or the
    // menu: the agent in the tray runs without them.
    for (const char* dll : {"comctl32.dll", "comdlg32.dll", "ole32.dll"}) EXPECT_FALSE(Loaded(modules, dll)) << dll;

    const HWND menu = OpenTrayMenu(agent);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(Loaded(Modules(agent.Proc.Id()), "comctl32.dll")) << "the menu's pictures are an image list";
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, AgentTimeoutMs));
    // The configuration window, opened by a double click, has its list views.
    ASSERT_TRUE(SendWithin(agent.Main, TrayCallback, 0, WM_LBUTTONDBLCLK, 5000));
    const HWND config = WaitForWindow(agent.Proc.Id(), "TfrmMain", "Vexamo", AgentTimeoutMs, true);
    ASSERT_NE(config, nullptr);
    EXPECT_NE(FindWindowExA(config, nullptr, "SysListView32", nullptr), nullptr);
}

TEST(Tray, ExitEndsTheAgentAndRemovesTheIcon) {
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    const HWND owner = agent.Main;
    const HWND menu = OpenTrayMenu(agent);
    ASSERT_NE(menu, nullptr);
    ChooseByAccessKey(menu, 'x');  // "E&xit"
    DWORD code = 1;
    ASSERT_TRUE(agent.Proc.WaitExit(AgentTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(TrayHasIcon(owner));
}

TEST(Tray, DeviceChangesLeaveTheAgentRunning) {
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    EXPECT_TRUE(SendDeviceChange(agent.Main, DBT_DEVICEARRIVAL, 'D'));
    EXPECT_TRUE(SendDeviceChange(agent.Main, DBT_DEVICEREMOVECOMPLETE, 'D'));
    EXPECT_TRUE(SendDeviceChange(agent.Main, DBT_DEVNODES_CHANGED, 'D'));
    EXPECT_TRUE(agent.Proc.Running());
    EXPECT_TRUE(TrayHasIcon(agent.Main));
    EXPECT_EQ(WaitForDialog(agent.Proc.Id(), 500), nullptr) << "a device change showed a dialog";
}

TEST(Tray, RestartedTaskbarGetsTheIconBack) {
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    // A restarted Explorer has lost every icon; its new taskbar tells every top-level window.
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = agent.Main;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &data));
    ASSERT_FALSE(TrayHasIcon(agent.Main));
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    ASSERT_TRUE(SendWithin(agent.Main, taskbarCreated, 0, 0, 5000));
    EXPECT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
}

TEST(Tray, SharedAccessKeyOnlySelects) {
    WriteFile(CdRomFolder() + "film.avi", "x");  // a disc: "&Scan/Play CD" is enabled beside "&Settings..."
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    const HWND menu = OpenTrayMenu(agent);
    ASSERT_NE(menu, nullptr);
    ChooseByAccessKey(menu, 's');
    Sleep(500);
    // Neither command ran: the menu stays open and no configuration window was made for a scan.
    EXPECT_TRUE(IsWindowVisible(menu));
    EXPECT_EQ(WaitForWindow(agent.Proc.Id(), "TfrmMain", "", 200), nullptr);
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }, AgentTimeoutMs));
}

TEST(Tray, MenuScalesWithTheScreenDpi) {
    RegWriteDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", 144);
    Agent agent;
    agent.Start();
    ASSERT_TRUE(WaitUntil([&] { return TrayHasIcon(agent.Main); }, AgentTimeoutMs));
    const HWND menu = OpenTrayMenu(agent);
    ASSERT_NE(menu, nullptr);
    Screenshot("tray-menu-144dpi");
    RECT box{};
    GetWindowRect(menu, &box);
    EXPECT_GE(box.right - box.left, 140 * 144 / 96);  // the items' width, scaled
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    RegWriteDword(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", 96);
}
