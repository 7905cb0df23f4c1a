// Program entry of the tray agent.
#include <exception>

#include "agent/Init_win32.h"
#include "platform/win32/Win32Platform.h"
#include "ui/main.h"

using namespace vexamo;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // One agent per session: a second start only brings the first one forward.
    if (HWND running = FindWindowA("TMainForm", "Mini Vexamo")) {
        SetForegroundWindow(running);
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    InstallWin32Platform();

    char path[MAX_PATH * 4] = {};
    GetModuleFileNameA(nullptr, path, sizeof path - 1);
    ExeName = path;

    MainFormWindow window(instance);
    Globals.MainForm = std::make_unique<TMainForm>(window);
    Globals.MainForm->ImgTray = reinterpret_cast<std::uintptr_t>(window.TrayOnIcon());
    Globals.MainForm->ImgTrayDIsabled = reinterpret_cast<std::uintptr_t>(window.TrayOffIcon());

    try {
        Globals.MainForm->FormCreate();
        if (Globals.MainForm->Terminated) return 0;
        // First run: the user has not chosen any player yet.
        if (!Sys().FileExists(ProgramFolder + SelectionFileName)) {
            Globals.MainForm->ShowConfigWindow(false);
            Globals.MainForm->PopUpSysTray[TMainForm::mnuStatus].Enabled = false;
        }
    } catch (const std::exception& e) {
        HandleException(e);
        // With neither the tray icon nor a window on screen the user could not reach the agent,
        // not even to end it.
        if (!Globals.frmMain && !Globals.MainForm->IconInTray()) return 1;
    }

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    Globals.frmMain.reset();
    return 0;
}
