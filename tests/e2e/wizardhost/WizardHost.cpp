// Test-only host of the player wizard: runs the real wizard window on its own, from the folder of
// its executable, so the end-to-end tests can drive it before and apart from the configuration
// window. "WizardHost.exe" defines a new player; "WizardHost.exe <name>" edits that player.
#include "platform/win32/WinApi.h"

#include <commctrl.h>

#include "model/VexaCfg.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Window.h"
#include "ui/PlayerWizard.h"
#include "ui/main.h"

namespace vexamo {
// The wizard's binding (ui/PlayerWizard_win32.cpp).
std::unique_ptr<PlayerWizardHost> PlayerWizardBinding(TfrmPlayerWizard& wizard);
}  // namespace vexamo

using namespace vexamo;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    InstallWin32Platform();
    win32::SetErrorHandler(HandleException);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    ExeName = path;
    ProgramFolder = ExeName.substr(0, ExeName.find_last_of('\\') + 1);

    const std::string name = commandLine ? commandLine : "";
    TfrmPlayerWizard wizard(PlayerWizardBinding);
    if (name.empty())
        wizard.NewPlayer();
    else
        wizard.EditPlayer(true, name);
    return 0;
}
