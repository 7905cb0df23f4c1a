// The real configuration window behind the portable TfrmMain.
#pragma once

#include <memory>

#include "platform/win32/WinApi.h"
#include "ui/main.h"

namespace vexamo {

std::unique_ptr<TfrmMain> CreateFrmMainWindow(HINSTANCE instance, TrayAgent& agent);

}  // namespace vexamo
