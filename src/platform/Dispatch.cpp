#include "platform/Dispatch.h"

#include <deque>
#include <utility>
#include <vector>

namespace vexamo {

namespace {

int handlers = 0;
int keepers = 0;
bool draining = false;
std::vector<std::shared_ptr<void>> released;
std::deque<std::function<void()>> later;

void Drain() {
    if (handlers > 0 || keepers > 0 || draining) return;
    draining = true;
    for (;;) {
        if (!released.empty()) {
            // A window's destructor may release what it owned in turn: freed on the next round.
            std::vector<std::shared_ptr<void>> now = std::move(released);
            released.clear();
            now.clear();
            continue;
        }
        if (later.empty()) break;
        std::function<void()> work = std::move(later.front());
        later.pop_front();
        ++keepers;
        try {
            work();
        } catch (...) {
            // The work reports its own errors; nothing may leave a scope's end.
        }
        --keepers;
    }
    draining = false;
}

}  // namespace

Dispatch::Handler::Handler() { ++handlers; }

Dispatch::Handler::~Handler() {
    --handlers;
    Drain();
}

Dispatch::KeepAlive::KeepAlive() { ++keepers; }

Dispatch::KeepAlive::~KeepAlive() {
    --keepers;
    Drain();
}

bool Dispatch::Nested() { return handlers > 1; }

bool Dispatch::Busy() { return handlers > 0 || keepers > 0; }

void Dispatch::Keep(std::shared_ptr<void> object) {
    released.push_back(std::move(object));
    Drain();
}

void Dispatch::Later(std::function<void()> work) {
    later.push_back(std::move(work));
    Drain();
}

void Dispatch::Reset() {
    later.clear();
    while (!released.empty()) {
        std::vector<std::shared_ptr<void>> now = std::move(released);
        released.clear();
        now.clear();
    }
    later.clear();
}

}  // namespace vexamo
