#include "platform/TimerQueue.h"

#include <algorithm>
#include <chrono>

namespace zavrin {

void TimerQueue::set(HWND h, std::uintptr_t id, std::uint32_t ms, Clock::Duration now) {
    const Clock::Duration period = std::chrono::milliseconds(std::max<std::uint32_t>(ms, 1));
    const Clock::Duration deadline = now + period;
    for (Timer& t : timers_) {
        if (t.hwnd == h && t.id == id) {
            t.period = period;
            t.deadline = deadline;
            t.sequence = ++sequence_;
            return;
        }
    }
    timers_.push_back(Timer{h, id, period, deadline, ++sequence_});
}

bool TimerQueue::kill(HWND h, std::uintptr_t id) {
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == h && t.id == id; });
    if (it == timers_.end()) return false;
    timers_.erase(it);
    return true;
}

void TimerQueue::removeWindow(HWND h) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == h; }),
                  timers_.end());
}

std::optional<Clock::Duration> TimerQueue::nextDeadline() const {
    std::optional<Clock::Duration> next;
    for (const Timer& t : timers_) {
        if (!next || t.deadline < *next) next = t.deadline;
    }
    return next;
}

std::optional<TimerQueue::Due> TimerQueue::takeDue(Clock::Duration now) {
    Timer* due = nullptr;
    for (Timer& t : timers_) {
        if (t.deadline <= now && (due == nullptr || t.deadline < due->deadline ||
                                  (t.deadline == due->deadline && t.sequence < due->sequence))) {
            due = &t;
        }
    }
    if (due == nullptr) return std::nullopt;
    // The next period counts from this deadline; periods that already passed are
    // not made up.
    due->deadline += due->period;
    if (due->deadline <= now) due->deadline = now + due->period;
    due->sequence = ++sequence_;
    return Due{due->hwnd, due->id};
}

}  // namespace zavrin
