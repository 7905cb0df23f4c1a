// The real "File Monitor" dialog behind the portable TfrmMonitor.
#pragma once

#include <memory>

#include "scan/fileMonitor.h"

namespace vexamo {

// The chooser's binding; its real dialog exists only while it is shown modally.
std::unique_ptr<MonitorHost> MonitorBinding(TfrmMonitor& form);

// TRANSITIONAL: a chooser with its binding, for the configuration window's binding.
inline std::unique_ptr<TfrmMonitor> CreateMonitorWindow() { return std::make_unique<TfrmMonitor>(MonitorBinding); }

}  // namespace vexamo
