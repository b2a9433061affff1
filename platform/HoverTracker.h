#pragma once

// Internal to the window layer. Not for use outside platform/.

#include <cstdint>
#include <optional>

#include "platform/Clock.h"
#include "platform/PointerState.h"
#include "platform/PostedQueue.h"
#include "platform/ZOrder.h"

namespace zavrin {

// TrackMouseEvent for one window at a time: WM_MOUSELEAVE when the pointer
// leaves the tracked window, WM_MOUSEHOVER when it rests on it for the hover
// time. Both are posted, as on Windows. UI thread only.
class HoverTracker {
public:
    HoverTracker(const WindowTable& table, const ZOrder& zorder, const PointerState& pointer, PostedQueue& queue,
                 Clock& clock)
        : table_(table), zorder_(zorder), pointer_(pointer), queue_(queue), clock_(clock) {}

    bool track(const TRACKMOUSEEVENT& request);
    // The pointer moved to `screen`: a leave for a tracked window it left, and
    // a new hover wait when it moved off the resting place.
    void pointerMoved(POINT screen);
    // Posts the hover that fell due; true when one did.
    bool deliverDue();
    // The window is going; its tracking ends without a message.
    void forget(HWND h);
    std::optional<Clock::Duration> deadline() const;

private:
    void stop();
    void post(HWND h, UINT message, WPARAM wParam, LPARAM lParam);

    const WindowTable& table_;
    const ZOrder& zorder_;
    const PointerState& pointer_;
    PostedQueue& queue_;
    Clock& clock_;

    HWND window_;
    bool leave_ = false;
    bool hover_ = false;
    std::uint32_t hoverTime_ = 400;
    Clock::Duration hoverDeadline_{0};
    POINT hoverAnchor_;
};

}  // namespace zavrin
