#include "device/DeviceEventQueue.h"

namespace zavrin {

void DeviceEventQueue::postStatus(ConnectionKind kind, const StatusReport& status) {
    {
        std::lock_guard lock(mutex_);
        if (statusEvents_ >= kMaxStatusEvents) return;
        events_.emplace_back(StatusEvent{kind, status});
        ++statusEvents_;
    }
    added_.notify_all();
}

void DeviceEventQueue::postDeviceChange(DeviceChange change) {
    {
        std::lock_guard lock(mutex_);
        events_.emplace_back(change);
    }
    added_.notify_all();
}

std::optional<DeviceEvent> DeviceEventQueue::tryPop() {
    std::lock_guard lock(mutex_);
    if (events_.empty()) return std::nullopt;
    return popLocked();
}

std::optional<DeviceEvent> DeviceEventQueue::waitPop(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!added_.wait_for(lock, timeout, [&] { return !events_.empty(); })) return std::nullopt;
    return popLocked();
}

DeviceEvent DeviceEventQueue::popLocked() {
    DeviceEvent event = events_.front();
    events_.pop_front();
    if (std::holds_alternative<StatusEvent>(event)) --statusEvents_;
    return event;
}

std::size_t DeviceEventQueue::size() const {
    std::lock_guard lock(mutex_);
    return events_.size();
}

}  // namespace zavrin
