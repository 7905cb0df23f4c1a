// The real player wizard behind the portable TfrmPlayerWizard.
#pragma once

#include <memory>

#include "platform/win32/WinApi.h"
#include "ui/PlayerWizard.h"

namespace vexamo {

// The wizard's binding; its real window exists while the wizard is shown, modal over the window
// the user works in.
std::unique_ptr<PlayerWizardHost> PlayerWizardBinding(TfrmPlayerWizard& wizard);

// TRANSITIONAL: a wizard with its binding, for the configuration window's binding.
inline std::unique_ptr<TfrmPlayerWizard> CreatePlayerWizardWindow(HINSTANCE, HWND) {
    return std::make_unique<TfrmPlayerWizard>(PlayerWizardBinding);
}

}  // namespace vexamo
