// Program entry of the tray agent: installs the Win32 platform and the one factory of real
// windows, the only place that knows every window's binding, and runs the tray agent.
#include <optional>
#include <string>

#include "agent/Init.h"
#include "app/WindowFactory.h"
#include "model/VexaCfg.h"
#include "platform/win32/Wide.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Window.h"
#include <commctrl.h>
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

// Every window of the program with its Win32 binding.
class Win32Windows : public WindowFactory {
public:
    std::unique_ptr<TfrmMain> NewConfigWindow(TrayAgent& tray) override {
        return std::make_unique<TfrmMain>(tray, FrmMainBinding);
    }
    std::unique_ptr<TFrmOptions> NewOptionsWindow(TrayAgent& tray) override {
        return std::make_unique<TFrmOptions>(tray, OptionsBinding);
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
    Globals.DebugRun = GetEnvironmentVariableA("VEXAMO_DEBUG", nullptr, 0) > 0;

    Globals.MainForm = std::make_unique<TMainForm>(MainFormBinding);
    int exitCode = 0;
    if (Globals.MainForm->Start())
        exitCode = win32::RunMessageLoop();
    else
        exitCode = Globals.MainForm->Terminated ? 0 : 1;
    Globals.Reset();
    return exitCode;
}
