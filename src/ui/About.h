// The about box.
#pragma once

namespace vexamo {

class TAboutBox {};

}  // namespace vexamo
