#include "platform/HoverTracker.h"

#include <chrono>
#include <cstdlib>

namespace zavrin {

namespace {

// The hover rectangle: the mouse counts as resting while it stays within this
// many pixels of where the hover wait started (SM_CXMOUSEHOVER / 2).
constexpr int kHoverSlack = 2;
constexpr std::uint32_t kDefaultHoverMs = 400;

Clock::Duration Ms(std::uint32_t ms) { return std::chrono::milliseconds(ms); }

}  // namespace

void HoverTracker::post(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    queue_.post(MSG{h, message, wParam, lParam, pointer_.cursor()});
}

void HoverTracker::stop() {
    window_ = HWND{};
    leave_ = hover_ = false;
}

bool HoverTracker::track(const TRACKMOUSEEVENT& request) {
    if ((request.dwFlags & TME_CANCEL) != 0) {
        if (window_ == request.hwndTrack) {
            if ((request.dwFlags & TME_HOVER) != 0) hover_ = false;
            if ((request.dwFlags & TME_LEAVE) != 0) leave_ = false;
        }
        return true;
    }
    if (table_.live(request.hwndTrack) == nullptr) return false;
    const POINT cursor = pointer_.cursor();
    if (zorder_.windowFromPoint(cursor) != request.hwndTrack) {
        // Only the window under the cursor can be tracked. Asked for another one,
        // the leave comes at once, and the tracking of the window that is under
        // the cursor stays as it is.
        if ((request.dwFlags & TME_LEAVE) != 0) post(request.hwndTrack, WM_MOUSELEAVE, 0, 0);
        return true;
    }
    if (window_ != request.hwndTrack) {
        window_ = request.hwndTrack;
        leave_ = hover_ = false;
    }
    if ((request.dwFlags & TME_LEAVE) != 0) leave_ = true;
    if ((request.dwFlags & TME_HOVER) != 0) {
        hover_ = true;
        hoverTime_ = request.dwHoverTime == HOVER_DEFAULT ? kDefaultHoverMs : request.dwHoverTime;
        hoverAnchor_ = cursor;
        hoverDeadline_ = clock_.now() + Ms(hoverTime_);
    }
    return true;
}

void HoverTracker::pointerMoved(POINT screen) {
    if (!window_) return;
    if (table_.live(window_) == nullptr) {
        stop();
        return;
    }
    if (zorder_.windowFromPoint(screen) != window_) {
        if (leave_) post(window_, WM_MOUSELEAVE, 0, 0);
        stop();
        return;
    }
    if (hover_ && (std::abs(screen.x - hoverAnchor_.x) > kHoverSlack ||
                   std::abs(screen.y - hoverAnchor_.y) > kHoverSlack)) {
        hoverAnchor_ = screen;
        hoverDeadline_ = clock_.now() + Ms(hoverTime_);
    }
}

bool HoverTracker::deliverDue() {
    if (!hover_ || clock_.now() < hoverDeadline_) return false;
    hover_ = false;
    if (const WindowRecord* rec = table_.live(window_); rec != nullptr) {
        const POINT cursor = pointer_.cursor();
        const POINT c{cursor.x - rec->rect.left, cursor.y - rec->rect.top};
        post(window_, WM_MOUSEHOVER, pointer_.buttons(), LParamFromPoint(c));
    }
    if (!leave_) window_ = HWND{};
    return true;
}

void HoverTracker::forget(HWND h) {
    if (window_ == h) stop();
}

std::optional<Clock::Duration> HoverTracker::deadline() const {
    if (!hover_) return std::nullopt;
    return hoverDeadline_;
}

}  // namespace zavrin
