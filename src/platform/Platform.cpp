#include "platform/Platform.h"

#include <stdexcept>

namespace vexamo {

namespace {
Platform* current = nullptr;
}

Platform& Sys() {
    if (!current) throw std::logic_error("No platform installed");
    return *current;
}

Platform* SetPlatform(Platform* platform) {
    Platform* previous = current;
    current = platform;
    return previous;
}

}  // namespace vexamo
