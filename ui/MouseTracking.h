#pragma once

#include <cstdint>

#include "platform/Window.h"

namespace zavrin {

// Asks for one WM_MOUSEHOVER after the mouse rested `hoverTimeMs` over the
// window and one WM_MOUSELEAVE when it leaves; true when the request was taken.
// The skinned windows call it on a move while no request is active. UI thread.
inline bool TrackHoverAndLeave(HWND hwnd, std::uint32_t hoverTimeMs) {
    TRACKMOUSEEVENT request;
    request.dwFlags = TME_HOVER | TME_LEAVE;
    request.hwndTrack = hwnd;
    request.dwHoverTime = hoverTimeMs;
    return TrackMouseEvent(request);
}

}  // namespace zavrin
