// The real options window behind the portable TFrmOptions.
#pragma once

#include <memory>

#include "platform/win32/WinApi.h"
#include "ui/Settings.h"

namespace vexamo {

std::unique_ptr<TFrmOptions> CreateOptionsWindow(HINSTANCE instance, TrayAgent& tray);

}  // namespace vexamo
