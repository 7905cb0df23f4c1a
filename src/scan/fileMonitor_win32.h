// The real "File Monitor" dialog behind the portable TfrmMonitor.
#pragma once

#include <memory>

#include "scan/fileMonitor.h"

namespace vexamo {

// A chooser with its binding; the real dialog exists only while it is shown modally.
std::unique_ptr<TfrmMonitor> CreateMonitorWindow();

}  // namespace vexamo
