#pragma once

// Internal to the window layer. Not for use outside platform/.

#include "platform/Backend.h"
#include "platform/ZOrder.h"

namespace zavrin {

// The program's active window, and the WM_NCACTIVATE / WM_ACTIVATE pairs
// that tell the old and the new one. Activating a window brings it to the
// front. UI thread only.
class Activation {
public:
    Activation(WindowTable& table, ZOrder& zorder, Backend& backend)
        : table_(table), zorder_(zorder), backend_(backend) {}

    // The active window as last set, even when it has gone since (callers that
    // hand it out check that it lives).
    HWND active() const { return active_; }
    // The active window if it still exists (GetActiveWindow).
    HWND activeWindow() const { return table_.live(active_) != nullptr ? active_ : HWND{}; }

    // Activates `h` (none: the program loses the activation) and returns the
    // window that was active.
    HWND activate(HWND h, WPARAM how);
    // `leaving` hides or is minimised: its owner takes over if it can, else the
    // topmost window that can.
    void activateNextAfter(HWND leaving);
    // The window is going; it stops being the active one without messages.
    void forget(HWND h) {
        if (active_ == h) active_ = HWND{};
    }

private:
    WindowTable& table_;
    ZOrder& zorder_;
    Backend& backend_;
    HWND active_;
};

}  // namespace zavrin
