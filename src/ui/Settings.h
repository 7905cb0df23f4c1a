// The options window.
#pragma once

namespace vexamo {

class TFrmOptions {};

}  // namespace vexamo
