// The scan's progress window.
#pragma once

namespace vexamo {

class TfrmScaning {};

}  // namespace vexamo
