// Program entry of the tray agent: installs the Win32 platform and the one factory of real
// windows, the only place that knows every window's binding, and runs the tray agent.
#include <optional>
#include <string>

#include "agent/Init.h"
#include "agent/Init_win32.h"
#include "app/WindowFactory.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Window.h"
#include <commctrl.h>
#include "scan/Splash.h"
#include "scan/Splash_win32.h"
#include "scan/fileMonitor.h"
#include "scan/fileMonitor_win32.h"
#include "ui/About.h"
#include "ui/About_win32.h"
#include "ui/PlayerWizard.h"
#include "ui/PlayerWizard_win32.h"
#include "ui/Settings.h"
#include "ui/Settings_win32.h"
#include "ui/main.h"
#include "ui/main_win32.h"

using namespace vexamo;

namespace {

// Every window of the program with its Win32 binding.
class Win32Windows : public WindowFactory {
public:
    std::unique_ptr<TfrmMain> NewConfigWindow(TrayAgent& tray) override {
        return CreateFrmMainWindow(win32::Instance(), tray);
    }
    std::unique_ptr<TFrmOptions> NewOptionsWindow(TrayAgent& tray) override {
        return CreateOptionsWindow(win32::Instance(), tray);
    }
    std::unique_ptr<TAboutBox> NewAboutBox() override { return std::make_unique<TAboutBox>(AboutBoxBinding); }
    std::unique_ptr<TfrmMonitor> NewChooser() override { return std::make_unique<TfrmMonitor>(MonitorBinding); }
    std::unique_ptr<TfrmScaning> NewProgressWindow() override {
        return std::make_unique<TfrmScaning>(ScaningBinding);
    }
    std::unique_ptr<TfrmPlayerWizard> NewPlayerWizard() override {
        return std::make_unique<TfrmPlayerWizard>(PlayerWizardBinding);
    }
};

// A wide path in the ANSI code page, or nothing when a character has no ANSI form (it would come
// back as "?") or the result is too long for the ANSI file functions.
std::optional<std::string> ToAnsiPath(const std::wstring& wide) {
    if (wide.empty()) return std::nullopt;
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr, 0, nullptr, &lossy);
    if (size <= 0 || lossy) return std::nullopt;
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, ansi.data(), size, nullptr, &lossy);
    ansi.resize(static_cast<size_t>(size - 1));
    if (lossy || ansi.size() >= MAX_PATH) return std::nullopt;
    return ansi;
}

// The executable's path as the ANSI functions can use it. The program keeps its files beside
// itself, so a folder whose name the ANSI code page cannot spell (Cyrillic on a Western system)
// or that is too deep is reached through its short 8.3 form, which is plain ASCII.
std::optional<std::string> UsableExePath(std::wstring& wide) {
    wide.assign(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size()));
    wide.resize(length);
    if (auto plain = ToAnsiPath(wide)) return plain;
    std::wstring shortPath(32768, L'\0');
    const DWORD shortLength = GetShortPathNameW(wide.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (shortLength == 0 || shortLength >= shortPath.size()) return std::nullopt;
    shortPath.resize(shortLength);
    return ToAnsiPath(shortPath);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
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
    static Win32Windows windows;
    SetWindowFactory(&windows);
    win32::SetErrorHandler(HandleException);

    std::wstring widePath;
    const std::optional<std::string> path = UsableExePath(widePath);
    if (!path) {
        const std::wstring folder = widePath.substr(0, widePath.find_last_of(L'\\') + 1);
        const std::wstring text = L"Vexamo cannot use the folder it was started from:\r\n\r\n" + folder +
                                  L"\r\n\r\nVexamo keeps its settings beside itself, and this folder's path is too "
                                  L"long or has characters that Windows cannot give it. Move Vexamo to a folder "
                                  L"with a shorter, plain name and start it again.";
        MessageBoxW(nullptr, text.c_str(), L"Vexamo", MB_OK | MB_ICONERROR);
        return 1;
    }
    ExeName = *path;

    Globals.MainForm = std::make_unique<TMainForm>(MainFormBinding);
    int exitCode = 0;
    if (Globals.MainForm->Start())
        exitCode = win32::RunMessageLoop();
    else
        exitCode = Globals.MainForm->Terminated ? 0 : 1;
    Globals.Reset();
    return exitCode;
}
