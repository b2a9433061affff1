#pragma once

#include <cstdint>
#include <optional>

#include "platform/PlatformServices.h"
#include "platform/Window.h"

namespace zavrin {

// The keyboard capture of the recording and key-capture dialogs. While
// started, every key press and release the platform can see reaches the
// window given to StartHook as (kMessage, virtual-key code, lParam): lParam
// bit 31 is set for a release, bits 0..30 are a millisecond time stamp that
// counts up modulo 2^31. Left and right modifiers keep their own codes.
//
// What the platform can see differs: the Windows backend hooks the whole
// keyboard, the Linux desktop only the keys typed while a window of this
// program has the focus, the headless one the keys of tests and scripts.
//
// One capture exists at a time: starting a hook moves the capture to its
// window. UI thread only.
class CKeyboardHook {
public:
    static constexpr UINT kMessage = WM_USER + 1;
    static constexpr std::uint32_t kReleaseBit = 0x80000000u;
    static constexpr std::uint32_t kStampMask = 0x7FFFFFFFu;

    explicit CKeyboardHook(PlatformServices& services);
    virtual ~CKeyboardHook();
    CKeyboardHook(const CKeyboardHook&) = delete;
    CKeyboardHook& operator=(const CKeyboardHook&) = delete;

    // One key event of the capture.
    struct Key {
        std::uint32_t virtualKey = 0;
        bool release = false;
        std::uint32_t stamp = 0;  // milliseconds, modulo 2^31
    };

    void StartHook(HWND window);
    // Ends the capture; nothing more arrives afterwards. Harmless when stopped.
    void StopHook();
    bool running() const { return running_; }

    // The key a window message carries when this capture delivered it: the
    // message is kMessage, the capture runs and wParam names a key. Anything else
    // under the same number (a pop-up menu's closing has no key) is no key.
    std::optional<Key> KeyFrom(UINT message, WPARAM wParam, LPARAM lParam) const;

    // The parts of a key message's lParam.
    static bool isRelease(LPARAM lParam) {
        return (static_cast<std::uint32_t>(lParam) & kReleaseBit) != 0;
    }
    static std::uint32_t timeStamp(LPARAM lParam) {
        return static_cast<std::uint32_t>(lParam) & kStampMask;
    }

private:
    PlatformServices& services_;
    bool running_ = false;
};

}  // namespace zavrin
