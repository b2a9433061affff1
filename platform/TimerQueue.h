#pragma once

// Internal to the window layer. Not for use outside platform/.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Clock.h"
#include "platform/Window.h"

namespace zavrin {

// The window timers (SetTimer): each fires as WM_TIMER every period, counted
// on the Clock. Of timers due together, the one that fell due first goes first,
// and among equal deadlines the one set or fired longest ago. UI thread only.
class TimerQueue {
public:
    struct Due {
        HWND hwnd;
        std::uintptr_t id = 0;
    };

    // Sets or resets the timer `id` of `h`; its first deadline is now + period.
    void set(HWND h, std::uintptr_t id, std::uint32_t ms, Clock::Duration now);
    bool kill(HWND h, std::uintptr_t id);
    void removeWindow(HWND h);

    std::optional<Clock::Duration> nextDeadline() const;
    // The timer to fire now, if any, already moved on to its next deadline.
    std::optional<Due> takeDue(Clock::Duration now);

private:
    struct Timer {
        HWND hwnd;
        std::uintptr_t id = 0;
        Clock::Duration period{0};
        Clock::Duration deadline{0};
        std::uint64_t sequence = 0;
    };

    std::vector<Timer> timers_;
    std::uint64_t sequence_ = 0;
};

}  // namespace zavrin
