#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/Geometry.h"
#include "platform/Image.h"

namespace zavrin {

// The native side of a window: the window layer (WindowSystem) numbers every
// window it creates and hands the same number to the backend.
using NativeWindowId = std::uint64_t;

struct NativeWindowParams {
    RECT rect;                // screen coordinates; the whole window is client area
    NativeWindowId owner = 0; // owning top-level window or 0
    bool topmost = false;
    bool toolWindow = false;  // no taskbar entry
    bool layered = false;
    bool appWindow = false;   // the program's main window: taskbar entry, found by a second copy
    bool noActivate = false;  // never takes the focus (the on-screen display)
    std::string title;
};

enum class MouseButton { Left, Right, Middle };

// One input event in the native form. The window layer turns it into window
// messages: it finds the target (capture first, then `window`, else the topmost
// visible window under `screen`), activates on clicks, tracks hover and leave.
struct InputEvent {
    enum class Kind {
        MouseMove,
        ButtonDown,
        ButtonUp,
        Wheel,
        KeyDown,
        KeyUp,
        Char,
        CloseRequested,    // the user closed `window` through the desktop (sends WM_CLOSE)
        FocusGained,       // the desktop activated `window`
        FocusLost,         // the desktop took activation from `window` (another application)
        Minimized,         // the desktop minimised `window` (its taskbar entry, a key of its own)
        Restored,          // the desktop restored `window` from its taskbar entry
    };
    Kind kind = Kind::MouseMove;
    NativeWindowId window = 0;  // 0: the layer finds the window under `screen`
    POINT screen;               // cursor position in screen coordinates (mouse events)
    MouseButton button = MouseButton::Left;
    int clickCount = 1;         // 2 on the second press of a double click
    int wheelDelta = 0;         // 120 per notch, positive away from the user
    std::uint32_t key = 0;      // virtual-key code (KeyDown/KeyUp) or code point (Char)
    bool shift = false;
    bool control = false;
};

struct ScreenMetrics {
    SIZE screen{1920, 1080};          // primary monitor
    RECT workArea{0, 0, 1920, 1040};  // primary monitor without the taskbar
    SIZE fullScreenClient{1920, 1017};// SM_CXFULLSCREEN / SM_CYFULLSCREEN: work area less a caption
    int logicalDpi = 96;              // LOGPIXELSX / LOGPIXELSY
};

enum class WaitResult { Event, Timeout, Stalled };

// What a platform backend supplies to the window layer. Apart from Wake(), every
// function is called on the UI thread only.
class Backend {
public:
    virtual ~Backend() = default;

    // The clock of every deadline: window timers, hover times, waits.
    virtual Clock& clock() = 0;

    virtual void CreateNativeWindow(NativeWindowId id, const NativeWindowParams& params) = 0;
    virtual void DestroyNativeWindow(NativeWindowId id) = 0;
    virtual void MoveNativeWindow(NativeWindowId id, const RECT& screenRect) = 0;
    virtual void ShowNativeWindow(NativeWindowId id, bool shown) = 0;
    virtual void SetNativeTopmost(NativeWindowId id, bool topmost) = 0;
    // 255 opaque; layered windows only.
    virtual void SetNativeOpacity(NativeWindowId id, std::uint8_t alpha) = 0;
    // Brings the window to the front of the desktop and gives it keyboard focus.
    virtual void ActivateNativeWindow(NativeWindowId id) = 0;

    // The picture the window is painted into, `width` x `height` (called after
    // the native window is made or resized). A backend whose desktop can read
    // the program's memory hands out a picture in memory shared with it, so that
    // frames are painted in place and Present copies nothing; the default is an
    // ordinary picture.
    virtual Image CreateSurface(NativeWindowId id, int width, int height) {
        (void)id;
        return Image(width, height);
    }

    // A window of `width` x `height` (or smaller) is likely to open later. A
    // backend whose surfaces are costly to make fresh may make one ready while
    // the program is idle, for the next window that fits; the default does
    // nothing.
    virtual void ReserveSurface(int width, int height) {
        (void)width;
        (void)height;
    }

    // Shows a rendered frame: `surface` holds the whole client area and `dirty` the
    // part that changed. The surface stays owned by the window layer and stays
    // valid until the window is resized or destroyed.
    virtual void Present(NativeWindowId id, const Image& surface, const RECT& dirty) = 0;

    // Takes the next input event without blocking; false when there is none.
    virtual bool PollEvent(InputEvent& event) = 0;

    // Blocks until an input event is available, Wake() is called, or `timeout`
    // of clock() time passes. A negative timeout waits without limit. A backend
    // that can tell that nothing can ever happen (the headless backend with no
    // script, no timer and no other thread) returns Stalled instead of blocking.
    virtual WaitResult WaitForEvent(Clock::Duration timeout) = 0;

    // Ends a WaitForEvent early. Any thread.
    virtual void Wake() = 0;

    virtual ScreenMetrics GetScreenMetrics() = 0;

    // While a window holds the mouse capture (a button held on a control, or a
    // window dragged by its background) a desktop backend keeps sending that
    // window's mouse events with screen positions even outside it. Backends
    // without a real pointer ignore it.
    virtual void SetNativeCapture(NativeWindowId id, bool captured) {
        (void)id;
        (void)captured;
    }

    // Minimises the window to its taskbar entry, or restores it. Backends
    // without a taskbar ignore it (the window layer keeps the state).
    virtual void MinimizeNativeWindow(NativeWindowId id, bool minimized) {
        (void)id;
        (void)minimized;
    }
};

}  // namespace zavrin
