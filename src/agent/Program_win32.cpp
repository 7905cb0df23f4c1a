// Program entry of the tray agent.
#include <algorithm>
#include <optional>
#include <string>

#include "agent/Init_win32.h"
#include "model/VexaCfg.h"
#include "platform/Utf8.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Window.h"
#include "ui/main.h"

using namespace vexamo;

namespace {

// The executable's path, or nothing when the program cannot keep its files beside it. Every name
// works now that paths are UTF-8; what stays is the length: the profile functions take no path
// of MAX_PATH characters or more, and the longest of the program's own files must fit.
std::optional<std::string> UsableExePath(std::wstring& wide) {
    wide.assign(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    wide.resize(length);
    if (length == 0) return std::nullopt;
    const std::wstring folder = wide.substr(0, wide.find_last_of(L'\\') + 1);
    size_t longestName = 0;
    for (const std::string* name : {&SettingsFileName, &PlayersFileName, &SelectionFileName})
        longestName = std::max(longestName, name->size());
    if (folder.size() + longestName >= MAX_PATH) return std::nullopt;
    const std::string path = win32::Narrow(wide);
    // A lone surrogate (possible in an NTFS name) has no UTF-8 form that the "A" functions of the
    // windows could give back.
    if (!IsValidUtf8(path)) return std::nullopt;
    return path;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // One agent per session: a second start only brings the first one forward.
    if (HWND running = FindWindowA(MainFormClassName, MainFormCaption)) {
        SetForegroundWindow(running);
        return 0;
    }
    // A drive without a disc must never bring up the system's own "no disk" box while the agent
    // looks at the drives; the agent tells the user itself.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    InstallWin32Platform();
    win32::SetErrorHandler(HandleException);

    std::wstring widePath;
    const std::optional<std::string> path = UsableExePath(widePath);
    if (!path) {
        const std::wstring folder = widePath.substr(0, widePath.find_last_of(L'\\') + 1);
        const std::wstring text = L"Vexamo cannot use the folder it was started from:\r\n\r\n" + folder +
                                  L"\r\n\r\nVexamo keeps its settings beside itself, and this folder's path is too "
                                  L"long, or has a name that is no text. Move Vexamo to a folder with a shorter "
                                  L"path and start it again.";
        MessageBoxW(nullptr, text.c_str(), L"Vexamo", MB_OK | MB_ICONERROR);
        return 1;
    }
    ExeName = *path;
    Globals.DebugRun = GetEnvironmentVariableA("VEXAMO_DEBUG", nullptr, 0) > 0;

    int exitCode = 0;
    {
        MainFormWindow window(instance);
        Globals.MainForm = std::make_unique<TMainForm>(window);
        window.Attach(*Globals.MainForm);
        Globals.MainForm->ImgTray = reinterpret_cast<std::uintptr_t>(window.TrayOnIcon());
        Globals.MainForm->ImgTrayDIsabled = reinterpret_cast<std::uintptr_t>(window.TrayOffIcon());
        if (Globals.MainForm->Start())
            exitCode = win32::RunMessageLoop();
        else
            exitCode = Globals.MainForm->Terminated ? 0 : 1;
        Globals.Reset();
    }
    return exitCode;
}
