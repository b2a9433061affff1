#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zavrin {

// Every wait and every deadline of the program goes through a Clock, so that the
// headless backend and the tests can run the ten-second save, the pairing wait or
// the 60 ms acknowledgement waits in virtual time.
//
// Thread safety: now() and sleepFor() may be called from any thread.
class Clock {
public:
    using Duration = std::chrono::nanoseconds;

    virtual ~Clock() = default;

    // Time since this clock's own epoch; never goes backwards.
    virtual Duration now() const = 0;

    // Blocks the calling thread for `d` of this clock's time.
    virtual void sleepFor(Duration d) = 0;
};

// Real time from std::chrono::steady_clock.
class SystemClock final : public Clock {
public:
    SystemClock();
    Duration now() const override;
    void sleepFor(Duration d) override;

private:
    std::chrono::steady_clock::time_point epoch_;
};

// Time that only moves when told to. sleepFor() on the thread that owns the
// clock advances the time at once, so a single-threaded test never blocks; other
// threads that sleep wait until advance() (or an owner's sleepFor) passes their
// deadline.
class VirtualClock final : public Clock {
public:
    Duration now() const override;
    void sleepFor(Duration d) override;

    // Moves the time forward by `d` and wakes every sleeper whose deadline passed.
    void advance(Duration d);

    // The thread whose sleeps advance the time; by default the thread that made the clock.
    void setOwnerThread(std::thread::id id);

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    Duration now_{0};
    std::thread::id owner_ = std::this_thread::get_id();
};

}  // namespace zavrin
