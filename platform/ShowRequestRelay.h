#pragma once

#include <functional>
#include <mutex>

#include "platform/Window.h"

namespace zavrin {

// Where a single-instance listener hands a second copy's "show yourself": a
// window message posted to a target, or a handler for callers without windows
// (tests, tools). A request that arrives before either is set waits, and is
// delivered once when one is. Both platforms' single-instance classes use it.
//
// Threads: deliver from the listener thread, the setters from any thread. The
// handler runs outside the lock, so it may set a target or a handler itself.
class ShowRequestRelay {
public:
    // What a request asks, posted as wParam: show the window, or read the
    // automatic-profile rules again (zavrinctl changed them).
    static constexpr WPARAM kShow = 0;
    static constexpr WPARAM kReloadAppProfiles = 1;

    void deliver(WPARAM request = kShow);
    // PostMessage(target, message, request, 0) for each request. Replaces a handler.
    void setTarget(HWND target, UINT message);
    // `handler` runs on the thread that delivers, for show requests only (a
    // caller without windows has no rules to reload). Replaces a target.
    void setHandler(std::function<void()> handler);
    // The same for every kind of request, given as the argument.
    void setRequestHandler(std::function<void(WPARAM)> handler);

private:
    std::mutex mutex_;
    HWND target_;
    UINT message_ = 0;
    std::function<void(WPARAM)> handler_;
    // Requests that came before a target or handler: each kind once.
    bool pendingShow_ = false;
    bool pendingReload_ = false;
};

}  // namespace zavrin
