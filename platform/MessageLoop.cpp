#include "platform/MessageLoop.h"

#include <algorithm>

#include "platform/WindowSystem.h"

namespace zavrin {

bool MessageLoop::processPosted() {
    const std::optional<MSG> msg = parts_.queue.take();
    if (!msg) return false;
    if (msg->message == WM_QUIT) {
        postQuit(static_cast<int>(msg->wParam));
        return true;
    }
    parts_.table.dispatch(*msg);
    return true;
}

bool MessageLoop::processInput() {
    InputEvent e;
    if (!injected_.empty()) {
        e = injected_.front();
        injected_.pop_front();
    } else if (!parts_.backend.PollEvent(e)) {
        return false;
    }
    parts_.input.handle(e);
    return true;
}

bool MessageLoop::processTimer() {
    const std::optional<TimerQueue::Due> due = parts_.timers.takeDue(parts_.backend.clock().now());
    if (!due) return false;
    parts_.table.dispatch(MSG{due->hwnd, WM_TIMER, due->id, 0, parts_.pointer.cursor()});
    return true;
}

bool MessageLoop::processOne() {
    return processPosted() || processInput() || parts_.paint.paintNext() || processTimer() ||
           parts_.hover.deliverDue();
}

std::optional<Clock::Duration> MessageLoop::nextDeadline() const {
    std::optional<Clock::Duration> next = parts_.timers.nextDeadline();
    if (auto hover = parts_.hover.deadline(); hover && (!next || *hover < *next)) next = hover;
    return next;
}

bool MessageLoop::pumpPending() {
    while (!quit_ && processOne()) {
    }
    return !quit_;
}

bool MessageLoop::pumpOrWait() {
    if (quit_) return false;
    if (processOne()) return !quit_;
    if (idleSource_ != nullptr && idleSource_->RunIdleStep()) return !quit_;
    Clock::Duration timeout{-1};
    std::optional<Clock::Duration> next = nextDeadline();
    if (idleSource_ != nullptr) {
        if (auto due = idleSource_->NextIdleDue(); due && (!next || *due < *next)) next = due;
    }
    if (next) timeout = std::max(Clock::Duration{0}, *next - parts_.backend.clock().now());
    if (parts_.backend.WaitForEvent(timeout) == WaitResult::Stalled) return false;
    return !quit_;
}

bool MessageLoop::runUntil(const std::function<bool()>& done) {
    while (true) {
        if (done()) return true;
        if (!pumpOrWait()) return done();
    }
}

}  // namespace zavrin
