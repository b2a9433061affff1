#include "platform/ShowRequestRelay.h"

#include <utility>

namespace zavrin {

void ShowRequestRelay::deliver(WPARAM request) {
    std::function<void(WPARAM)> handler;
    {
        std::lock_guard lock(mutex_);
        if (target_) {
            PostMessage(target_, message_, request, 0);
            return;
        }
        if (handler_) {
            handler = handler_;
        } else {
            // Kept for the window: a reload that comes after the window read
            // its rules at start but before it listens must not be lost.
            (request == kShow ? pendingShow_ : pendingReload_) = true;
            return;
        }
    }
    handler(request);
}

void ShowRequestRelay::setTarget(HWND target, UINT message) {
    std::lock_guard lock(mutex_);
    handler_ = nullptr;
    target_ = target;
    message_ = message;
    if (!target_) return;
    if (pendingReload_) PostMessage(target_, message_, kReloadAppProfiles, 0);
    if (pendingShow_) PostMessage(target_, message_, kShow, 0);
    pendingShow_ = pendingReload_ = false;
}

void ShowRequestRelay::setHandler(std::function<void()> handler) {
    if (!handler) {
        setRequestHandler(nullptr);
        return;
    }
    setRequestHandler([handler = std::move(handler)](WPARAM request) {
        if (request == kShow) handler();
    });
}

void ShowRequestRelay::setRequestHandler(std::function<void(WPARAM)> handler) {
    std::function<void(WPARAM)> runNow;
    bool show = false;
    bool reload = false;
    {
        std::lock_guard lock(mutex_);
        handler_ = std::move(handler);
        target_ = HWND{};
        if (handler_) {
            show = std::exchange(pendingShow_, false);
            reload = std::exchange(pendingReload_, false);
            runNow = handler_;
        }
    }
    if (reload) runNow(kReloadAppProfiles);
    if (show) runNow(kShow);
}

}  // namespace zavrin
