#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <variant>

#include "device/Transport.h"

namespace zavrin {

struct StatusEvent {
    ConnectionKind kind;
    StatusReport status;
};

using DeviceEvent = std::variant<StatusEvent, DeviceChange>;

// A locked queue between the worker threads and the thread that applies their
// news: the tests and zavrinctl use it where the program posts window messages.
// Every member may be called from any thread.
//
// Like the window layer's posted-message queue it is bounded: a mouse that floods
// status reports faster than they are applied loses the newest ones once
// kMaxStatusEvents wait, instead of growing the queue without end. Arrivals and
// removals are never dropped, as the program must see every unplug.
class DeviceEventQueue final : public DeviceEventSink {
public:
    static constexpr std::size_t kMaxStatusEvents = 10000;

    void postStatus(ConnectionKind kind, const StatusReport& status) override;
    void postDeviceChange(DeviceChange change) override;

    std::optional<DeviceEvent> tryPop();
    // Waits in real time; only the command-line tool uses it.
    std::optional<DeviceEvent> waitPop(std::chrono::milliseconds timeout);
    std::size_t size() const;

private:
    DeviceEvent popLocked();

    mutable std::mutex mutex_;
    std::condition_variable added_;
    std::deque<DeviceEvent> events_;
    std::size_t statusEvents_ = 0;
};

}  // namespace zavrin
