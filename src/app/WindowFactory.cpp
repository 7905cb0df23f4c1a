#include "app/WindowFactory.h"

#include <stdexcept>
#include <utility>

namespace vexamo {

namespace {

WindowFactory* installed = nullptr;

}  // namespace

WindowFactory& Windows() {
    if (!installed) throw std::logic_error("no window factory is installed");
    return *installed;
}

WindowFactory* SetWindowFactory(WindowFactory* factory) { return std::exchange(installed, factory); }

}  // namespace vexamo
