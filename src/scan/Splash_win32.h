// The real progress window behind the portable TfrmScaning.
#pragma once

#include <memory>

#include "scan/Splash.h"

namespace vexamo {

std::unique_ptr<TfrmScaning> CreateScaningWindow();

}  // namespace vexamo
