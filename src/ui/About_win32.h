// The real about box behind the portable TAboutBox.
#pragma once

#include <memory>

#include "ui/About.h"

namespace vexamo {

std::unique_ptr<AboutBoxHost> AboutBoxBinding(TAboutBox& box);

}  // namespace vexamo
