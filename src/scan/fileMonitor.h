// The playback chooser.
#pragma once

namespace vexamo {

class TfrmMonitor {};

}  // namespace vexamo
