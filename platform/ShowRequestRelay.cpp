#include "platform/ShowRequestRelay.h"

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
            // A reload before the window is up is not kept: the window reads
            // the rules when it starts.
            if (request == kShow) pending_ = true;
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
    if (pending_ && target_) {
        pending_ = false;
        PostMessage(target_, message_, 0, 0);
    }
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
    {
        std::lock_guard lock(mutex_);
        handler_ = std::move(handler);
        target_ = HWND{};
        if (pending_ && handler_) {
            pending_ = false;
            runNow = handler_;
        }
    }
    if (runNow) runNow(kShow);
}

}  // namespace zavrin
