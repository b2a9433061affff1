#pragma once

// Internal to the window layer. Not for use outside platform/.

#include "platform/WindowRecord.h"

namespace zavrin {

// A window dragged by its background (WM_NCLBUTTONDOWN with HTCAPTION): it
// follows the mouse until the left button comes up. UI thread only.
class WindowDrag {
public:
    // Starts a drag of the window held at `cursor` (screen).
    void start(const WindowRecord& rec, POINT cursor) {
        window_ = rec.hwnd;
        grab_ = POINT{cursor.x - rec.rect.left, cursor.y - rec.rect.top};
    }
    HWND window() const { return window_; }
    // Where the window's top-left corner goes for the pointer at `screen`.
    POINT origin(POINT screen) const { return POINT{screen.x - grab_.x, screen.y - grab_.y}; }
    void end() { window_ = HWND{}; }
    void forget(HWND h) {
        if (window_ == h) end();
    }

private:
    HWND window_;
    POINT grab_;
};

}  // namespace zavrin
