#pragma once

#include <cstdint>
#include <string>

#include "platform/Geometry.h"

namespace zavrin {

// What the desktop itself says about a native window, and native input sent to
// one, for tests and support checks that must see past the window layer.
// `hwnd` is a native handle's value (Win32Backend::nativeHandle).
struct NativeWindowFacts {
    bool exists = false;
    bool visible = false;
    std::string className;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    RECT rect;
    int layeredAlpha = -1;  // -1 when the window is not layered
    std::uintptr_t owner = 0;
};
NativeWindowFacts ProbeNativeWindow(std::uintptr_t hwnd);

// The colour on screen at a point of the window's client area, read back from
// the window's own device context (0x00BBGGRR).
COLORREF NativeClientPixel(std::uintptr_t hwnd, POINT client);

// Posts a button press and release at a client point, as the mouse would.
void PostNativeClick(std::uintptr_t hwnd, POINT client);
// Posts WM_CLOSE, as the desktop's close command does.
void PostNativeClose(std::uintptr_t hwnd);
// Presses and releases a key through the system's input queue (SendInput), so
// that hooks see it too.
void SendNativeKey(std::uint16_t virtualKey);

}  // namespace zavrin
