#pragma once

// Internal to the window layer. Not for use outside platform/.

#include <mutex>

#include "platform/Backend.h"
#include "platform/Window.h"

namespace zavrin {

// Where the mouse is and which of its buttons are down, as the last input
// event left them. The cursor is also read by other threads (a posted
// message's pt), so it is kept under a lock; the rest is UI thread only.
class PointerState {
public:
    POINT cursor() const;
    WPARAM buttons() const { return buttons_; }
    // Takes in a mouse event; returns the key flags of its message (MK_*).
    WPARAM note(const InputEvent& e);

private:
    mutable std::mutex mutex_;
    POINT cursor_;
    WPARAM buttons_ = 0;
};

}  // namespace zavrin
