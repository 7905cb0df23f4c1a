// When windows are freed and when deferred work runs. A window that closes while one of its own
// handlers, or a nested loop one of them started (a modal dialog, a menu, a message box), is still
// on the stack must outlive that handler: it disappears from the screen at once but is freed only
// once the outermost handler has returned. This is the portable form of the release a window
// posts to its own message queue.
#pragma once

#include <functional>
#include <memory>

namespace vexamo {

class Dispatch {
public:
    // One per message a window of the program handles; the window base opens it around every
    // message, so scopes nest exactly as the handlers and their nested loops do.
    class Handler {
    public:
        Handler();
        ~Handler();
        Handler(const Handler&) = delete;
        Handler& operator=(const Handler&) = delete;
    };
    // Keeps what closes meanwhile alive until the end of the scope, without counting as a handler:
    // for a long operation that may close its own window and then go on (the scan run).
    class KeepAlive {
    public:
        KeepAlive();
        ~KeepAlive();
        KeepAlive(const KeepAlive&) = delete;
        KeepAlive& operator=(const KeepAlive&) = delete;
    };

    // True while a handler runs inside another handler's nested loop.
    static bool Nested();
    // True while any handler or KeepAlive scope is open.
    static bool Busy();

    // Frees the object now when nothing is busy, else once the outermost scope has ended.
    template <typename T>
    static void Release(std::unique_ptr<T> object) {
        if (object) Keep(std::shared_ptr<void>(std::move(object)));
    }
    // Runs the work now when nothing is busy, else once the outermost scope has ended (and what
    // the handlers released is freed).
    static void Later(std::function<void()> work);

    // Frees what waits and drops the work that waits (the end of the program, tests).
    static void Reset();

private:
    static void Keep(std::shared_ptr<void> object);
};

}  // namespace vexamo
