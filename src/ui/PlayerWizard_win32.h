// The real player wizard behind the portable TfrmPlayerWizard.
#pragma once

#include <memory>

#include "platform/win32/WinApi.h"
#include "ui/PlayerWizard.h"

namespace vexamo {

// A wizard with its real window, owned by `owner` while it is shown. The caller runs NewPlayer or
// EditPlayer on it (each returns when the wizard has closed) and then lets it go.
std::unique_ptr<TfrmPlayerWizard> CreatePlayerWizardWindow(HINSTANCE instance, HWND owner);

}  // namespace vexamo
