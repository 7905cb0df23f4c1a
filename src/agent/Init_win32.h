// The real hidden main window behind the portable TMainForm.
#pragma once

#include <memory>

#include "agent/Init.h"

namespace vexamo {

// The tray window's binding: the window the running agent is found by, the tray pictures and the
// owner-drawn tray menu.
std::unique_ptr<MainFormHost> MainFormBinding(TMainForm& form);

}  // namespace vexamo
