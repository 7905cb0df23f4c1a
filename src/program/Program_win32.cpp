// Program entry of the tray agent: installs the Win32 platform and the one factory of real
// windows, the only place that knows every window's binding, and runs the tray agent.
#include <optional>
#include <string>
#include <utility>

#include "agent/Init.h"
#include "app/WindowFactory.h"
#include "model/VexaCfg.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Window.h"
#include <commctrl.h>
#include <delayimp.h>
#include "scan/Splash.h"
#include "scan/fileMonitor.h"
#include "ui/About.h"
#include "ui/PlayerWizard.h"
#include "ui/Settings.h"
#include "ui/main.h"

namespace vexamo {

// Each window's binding, defined beside the window in its Foo_win32.cpp.
std::unique_ptr<MainFormHost> MainFormBinding(TMainForm& form);
std::unique_ptr<FrmMainHost> FrmMainBinding(TfrmMain& form);
std::unique_ptr<FrmOptionsHost> OptionsBinding(TFrmOptions& form);
std::unique_ptr<AboutBoxHost> AboutBoxBinding(TAboutBox& box);
std::unique_ptr<MonitorHost> MonitorBinding(TfrmMonitor& form);
std::unique_ptr<ScaningHost> ScaningBinding(TfrmScaning& form);
std::unique_ptr<PlayerWizardHost> PlayerWizardBinding(TfrmPlayerWizard& wizard);

}  // namespace vexamo

using namespace vexamo;

namespace {

// comctl32 is delay-imported (cmake/windows.cmake): its classes are registered once, with the first
// window that may hold one of them, not at start, when the agent only goes to the tray.
void RegisterCommonControls() {
    static const bool registered = [] {
        const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
}

template <typename W, typename... Args>
std::unique_ptr<W> NewWindow(Args&&... args) {
    RegisterCommonControls();
    return std::make_unique<W>(std::forward<Args>(args)...);
}

// Every window of the program with its Win32 binding.
class Win32Windows : public WindowFactory {
public:
    std::unique_ptr<TfrmMain> NewConfigWindow(TrayAgent& tray) override {
        return NewWindow<TfrmMain>(tray, FrmMainBinding);
    }
    std::unique_ptr<TFrmOptions> NewOptionsWindow(TrayAgent& tray) override {
        return NewWindow<TFrmOptions>(tray, OptionsBinding);
    }
    std::unique_ptr<TAboutBox> NewAboutBox() override { return NewWindow<TAboutBox>(AboutBoxBinding); }
    std::unique_ptr<TfrmMonitor> NewChooser() override { return NewWindow<TfrmMonitor>(MonitorBinding); }
    std::unique_ptr<TfrmScaning> NewProgressWindow() override { return NewWindow<TfrmScaning>(ScaningBinding); }
    std::unique_ptr<TfrmPlayerWizard> NewPlayerWizard() override {
        return NewWindow<TfrmPlayerWizard>(PlayerWizardBinding);
    }
};

// A delay-imported DLL or function that cannot be had is named, rather than left to end the agent
// in an exception no handler knows. Every such import is by name (cmake/DelayImport.cmake).
FARPROC WINAPI DelayLoadFailed(unsigned notice, PDelayLoadInfo info) {
    if (notice != dliFailLoadLib && notice != dliFailGetProc) return nullptr;
    const std::string what = notice == dliFailLoadLib ? " could not be loaded" : std::string(" has no function ") +
                                                                                   info->dlp.szProcName;
    const std::string text = std::string("Windows' ") + info->szDll + what;
    MessageBoxA(nullptr, (text + "; Vexamo needs it and ends.").c_str(), "Vexamo", MB_OK | MB_ICONERROR);
    ExitProcess(1);
}

}  // namespace

PfnDliHook __pfnDliFailureHook2 = DelayLoadFailed;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    Globals.DebugRun = GetEnvironmentVariableA("VEXAMO_DEBUG", nullptr, 0) > 0;
    Globals.Trace.Begin("entry");  // of the start-up, in a run for the tests
    if (Globals.DebugRun) {
        // What went before the first instruction: mapping the exe and the DLLs it imports.
        FILETIME created{}, exited{}, kernel{}, user{}, now{};
        GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
        GetSystemTimePreciseAsFileTime(&now);
        const auto ticks = [](FILETIME t) { return (static_cast<long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
        Globals.Trace.Count("loading before the entry (us)", static_cast<long>((ticks(now) - ticks(created)) / 10));
    }
    // One agent per session: a second start only brings the first one forward.
    if (HWND running = FindWindowA(MainFormClassName, MainFormCaption)) {
        SetForegroundWindow(running);
        return 0;
    }
    // A drive without a disc must never bring up the system's own "no disk" box while the agent
    // looks at the drives; the agent tells the user itself.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    InstallWin32Platform();
    static Win32Windows windows;
    SetWindowFactory(&windows);
    win32::SetErrorHandler(HandleException);

    std::wstring wide(32768, L'\0');
    wide.resize(GetModuleFileNameW(nullptr, wide.data(), static_cast<DWORD>(wide.size())));
    const std::optional<std::string> path = UsableExePath(win32::Narrow(wide));
    if (!path) {
        const std::wstring folder = wide.substr(0, wide.find_last_of(L'\\') + 1);
        const std::wstring text = L"Vexamo cannot use the folder it was started from:\r\n\r\n" + folder +
                                  L"\r\n\r\nVexamo keeps its settings beside itself, and this folder's path is too "
                                  L"long, or has a name that is no text. Move Vexamo to a folder with a shorter "
                                  L"path and start it again.";
        MessageBoxW(nullptr, text.c_str(), L"Vexamo", MB_OK | MB_ICONERROR);
        return 1;
    }
    ExeName = *path;
    Globals.Trace.Mark("platform");

    Globals.MainForm = std::make_unique<TMainForm>(MainFormBinding);
    Globals.Trace.Mark("main window");
    int exitCode = 0;
    if (Globals.MainForm->Start())
        exitCode = win32::RunMessageLoop();
    else
        exitCode = Globals.MainForm->Terminated ? 0 : 1;
    Globals.Reset();
    return exitCode;
}
