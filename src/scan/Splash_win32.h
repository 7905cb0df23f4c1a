// The real progress window behind the portable TfrmScaning.
#pragma once

#include <memory>

#include "scan/Splash.h"

namespace vexamo {

std::unique_ptr<ScaningHost> ScaningBinding(TfrmScaning& form);

// TRANSITIONAL: a progress window with its binding, for the configuration window's binding.
inline std::unique_ptr<TfrmScaning> CreateScaningWindow() { return std::make_unique<TfrmScaning>(ScaningBinding); }

}  // namespace vexamo
