#pragma once

// Internal to the window layer. Not for use outside platform/.

#include "platform/Backend.h"
#include "platform/WindowTable.h"

namespace zavrin {

// The window that has the mouse captured (SetCapture): it gets every mouse
// message, wherever the pointer is, and the desktop keeps sending the moves
// while it holds the capture. UI thread only.
class MouseCapture {
public:
    MouseCapture(WindowTable& table, Backend& backend) : table_(table), backend_(backend) {}

    // The capturing window, or none (also when it has gone).
    HWND window() const { return table_.live(capture_) != nullptr ? capture_ : HWND{}; }
    bool heldBy(HWND h) const { return h && capture_ == h; }

    HWND set(HWND h);
    bool release();
    // The window is going: the capture ends with WM_CAPTURECHANGED to it.
    void forget(HWND h);

private:
    WindowTable& table_;
    Backend& backend_;
    HWND capture_;
};

}  // namespace zavrin
