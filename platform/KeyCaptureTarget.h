#pragma once

#include <cstdint>

#include "platform/Window.h"

namespace zavrin {

// Where keyboard capture delivers the keys it sees (PlatformServices::
// StartKeyboardCapture): the target window and message, and how a key event
// is packed into the message. Every service that captures keys keeps one.
// UI thread only.
class KeyCaptureTarget {
public:
    void start(HWND target, UINT message) {
        target_ = target;
        message_ = message;
    }
    void stop() {
        target_ = HWND{};
        message_ = 0;
    }
    HWND target() const { return target_; }

    // Posts the key to the target as (message, virtual-key code, lParam); nothing
    // while stopped.
    void deliver(std::uint32_t virtualKey, bool released, std::uint32_t timeMs) const;

    // Bit 31 marks a release, bits 0..30 are the time stamp in milliseconds.
    static LPARAM Pack(bool released, std::uint32_t timeMs) {
        return static_cast<LPARAM>((released ? 0x80000000u : 0u) | (timeMs & 0x7FFFFFFFu));
    }

private:
    HWND target_;
    UINT message_ = 0;
};

}  // namespace zavrin
