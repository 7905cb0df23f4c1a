// The real about box behind the portable TAboutBox.
#pragma once

#include <memory>

#include "platform/win32/WinApi.h"
#include "ui/About.h"

namespace vexamo {

std::unique_ptr<TAboutBox> CreateAboutBoxWindow(HINSTANCE instance);

}  // namespace vexamo
