#include "platform/Clock.h"

#include <thread>

namespace zavrin {

SystemClock::SystemClock() : epoch_(std::chrono::steady_clock::now()) {}

Clock::Duration SystemClock::now() const {
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - epoch_);
}

void SystemClock::sleepFor(Duration d) { std::this_thread::sleep_for(d); }

Clock::Duration VirtualClock::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void VirtualClock::sleepFor(Duration d) {
    std::unique_lock lock(mutex_);
    if (std::this_thread::get_id() == owner_) {
        now_ += d;
        changed_.notify_all();
        return;
    }
    const Duration deadline = now_ + d;
    changed_.wait(lock, [&] { return now_ >= deadline; });
}

void VirtualClock::advance(Duration d) {
    std::lock_guard lock(mutex_);
    now_ += d;
    changed_.notify_all();
}

void VirtualClock::setOwnerThread(std::thread::id id) {
    std::lock_guard lock(mutex_);
    owner_ = id;
}

}  // namespace zavrin
