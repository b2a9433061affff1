#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "platform/Backend.h"

struct SDL_Window;
union SDL_Event;
struct SDL_MouseMotionEvent;
struct SDL_MouseButtonEvent;
struct SDL_MouseWheelEvent;
struct SDL_KeyboardEvent;
struct SDL_TextInputEvent;
struct SDL_WindowEvent;

namespace zavrin::x11 {
class SharedMemory;
}

namespace zavrin {

// The desktop backend on SDL2 (X11 through Xlib where it matters, else any
// SDL video driver). Every window of the program is a borderless native window:
//
//   appWindow                      taskbar entry, a normal managed window
//   owner, not toolWindow          a dialog: transient for its owner, no taskbar entry
//   toolWindow + topmost           a pop-up menu: SDL_WINDOW_POPUP_MENU (override-redirect
//                                  on X11), always on top, no taskbar entry
//   layered / noActivate           the on-screen display: SDL_WINDOW_TOOLTIP (override-
//                                  redirect), half-transparent, never takes the focus
//
// Coordinates: the window layer's rectangles are the truth. Mouse positions are
// reported as the window's rectangle (as the layer set it) plus the position in
// the window, so hit-testing in the layer matches what X delivered even when a
// window manager moved a window; while a captured drag moves a window, the
// global pointer position is used instead, as the window under it is moving. A
// rectangle the layer asks for that lies off every screen is brought back into
// the work area for the native window; the layer's record is kept and
// positions are translated between the two.
//
// Keys: KeyDown/KeyUp carry Windows virtual-key codes from the physical key
// (scancode); modifiers keep their sides (VK_LSHIFT 0xA0 ... VK_RMENU 0xA5), which
// the layer also counts as the generic VK_SHIFT/VK_CONTROL/VK_MENU (GetKeyState).
// Text arrives as Char events, one per code point.
//
// Focus: what the layer hears is the net change after each batch of native
// events: FocusGained when one of the program's windows (other than a
// noActivate one) got the keyboard focus, FocusLost when the focus left the
// program. SIGINT/SIGTERM arrive as a close request to the main window.
class SdlBackend final : public Backend {
public:
    // Opens the video subsystem. Null, with one line in `error`, when no display
    // can be reached. SDL is initialised here and shut down by the destructor.
    static std::unique_ptr<SdlBackend> Open(std::string& error);
    ~SdlBackend() override;

    Clock& clock() override { return clock_; }

    void CreateNativeWindow(NativeWindowId id, const NativeWindowParams& params) override;
    void DestroyNativeWindow(NativeWindowId id) override;
    void MoveNativeWindow(NativeWindowId id, const RECT& screenRect) override;
    void ShowNativeWindow(NativeWindowId id, bool shown) override;
    void SetNativeTopmost(NativeWindowId id, bool topmost) override;
    void SetNativeOpacity(NativeWindowId id, std::uint8_t alpha) override;
    void ActivateNativeWindow(NativeWindowId id) override;
    Image CreateSurface(NativeWindowId id, int width, int height) override;
    void ReserveSurface(int width, int height) override;
    void Present(NativeWindowId id, const Image& surface, const RECT& dirty) override;
    bool PollEvent(InputEvent& event) override;
    WaitResult WaitForEvent(Clock::Duration timeout) override;
    void Wake() override;
    ScreenMetrics GetScreenMetrics() override;
    void SetNativeCapture(NativeWindowId id, bool captured) override;
    void MinimizeNativeWindow(NativeWindowId id, bool minimized) override;

    // ---- For the platform services (UI thread) ----
    // Sees every key press and release of the program's windows: the sided
    // virtual-key code, down or up, and the event's millisecond time stamp.
    using KeyObserver = std::function<void(std::uint32_t virtualKey, bool down, std::uint32_t timeMs)>;
    void setKeyObserver(KeyObserver observer) { keyObserver_ = std::move(observer); }
    // Lets the next activation in the coming two seconds take the keyboard
    // focus from another program (a second copy's hand-over, a click on the
    // tray item). Any thread. Otherwise the program takes the focus only while
    // it has it, or before it ever had it, as on Windows, where a program in
    // the background cannot take the foreground.
    void allowForeground();
    // The SDL window of a native window, or null.
    SDL_Window* sdlWindow(NativeWindowId id) const;
    // The program's main window (the appWindow), or 0.
    NativeWindowId appWindow() const { return appWindow_; }
    // The video driver in use ("x11", "wayland", ...).
    std::string videoDriver() const;
    // Frames presented so far (all windows), for the tests and benchmarks.
    std::uint64_t presentCount() const { return presentCount_; }

    // The Windows virtual-key code of an SDL scancode; 0 for keys without one.
    static std::uint32_t VirtualKeyFromScancode(int scancode);

private:
    struct Window;
    SdlBackend();
    // Lets go of the window's surface, keeping its memory for a later window.
    void retireSurface(Window& w);
    // Copies the part of a frame into SDL's window surface and shows it (where
    // the server cannot read the program's memory); false when nothing showed.
    bool copyToWindowSurface(Window& w, const Image& surface, RECT part);

    Window* find(NativeWindowId id);
    const Window* find(NativeWindowId id) const;
    Window* fromSdlId(std::uint32_t windowId);
    // The window of ours behind an X window, with its id; none for 0 or another client's.
    std::pair<NativeWindowId, Window*> fromXWindow(unsigned long xWindow);
    // Translates one SDL event, queueing what the layer should hear: one
    // function per event family.
    void translate(const SDL_Event& e);
    void translateMotion(const SDL_MouseMotionEvent& motion);
    void translateButton(const SDL_MouseButtonEvent& button);
    void translateWheel(const SDL_MouseWheelEvent& wheel);
    void translateKey(const SDL_KeyboardEvent& key);
    void translateText(const SDL_TextInputEvent& text);
    void translateQuit();
    void translateWindowEvent(const SDL_WindowEvent& event);
    // An input event of `kind` with the keyboard's modifier state.
    InputEvent baseEvent(InputEvent::Kind kind) const;
    // Where a mouse event at (x, y) of an SDL window happened, in the layer's
    // screen coordinates; nothing for a window that is not ours.
    std::optional<POINT> eventPoint(std::uint32_t windowId, int x, int y);
    // A raw X event: a window of ours destroyed from outside asks to close.
    void noteNativeEvent(const SDL_Event& e);
    void takeFocusOnPress(std::uint32_t sdlWindowId);
    // Takes the focus from the X server, where there is one, and tells the layer.
    void settleFocus();
    void queueFocusChange();
    POINT globalPointer(POINT fallback) const;
    RECT placeOnScreen(const RECT& r) const;
    void applyPlacement(Window& w);
    void pushMove(POINT screen);
    void uploadAll(Window& w);
    void followDraggedWindow();
    void reportFirstFrame(Window& w);
    // One piece of work that makes later frames cheaper (shared memory the
    // server has not read, the reserved surface); false when none is left.
    bool prepareWhileIdle();
    // Starts making the shared memory of a window just shown, on another
    // thread, while its contents are built (see ShowNativeWindow).
    void startAllocation(NativeWindowId id, const Window& w);
    // That memory, when it was made for `id`; null otherwise.
    std::shared_ptr<x11::SharedMemory> takeAllocation(NativeWindowId id);

    SystemClock clock_;
    std::map<NativeWindowId, std::unique_ptr<Window>> windows_;
    std::map<std::uint32_t, NativeWindowId> bySdlId_;
    std::deque<InputEvent> pending_;
    NativeWindowId appWindow_ = 0;
    // Shared memory of a window that is gone, for the next one that fits.
    std::shared_ptr<x11::SharedMemory> spareSurfaceMemory_;
    // Memory being made for a window's first surface (startAllocation).
    NativeWindowId allocationFor_ = 0;
    std::future<std::shared_ptr<x11::SharedMemory>> allocation_;
    bool sharingRefused_ = false;  // the server could not share memory: copies only
    int reservedWidth_ = 0;  // a surface to make ready when idle (ReserveSurface)
    int reservedHeight_ = 0;
    NativeWindowId nativeFocus_ = 0;    // where the keyboard focus is now (ours, noActivate excluded)
    NativeWindowId reportedFocus_ = 0;  // what the layer was last told
    bool focusDirty_ = false;
    bool everFocused_ = false;
    std::atomic<long long> foregroundAllowedUntil_{0};  // steady-clock nanoseconds
    bool captured_ = false;
    bool traceEvents_ = false;  // ZAVRIN_SDL_TRACE: every native event to the log
    bool movedWhileCaptured_ = false;
    NativeWindowId captureWindow_ = 0;
    POINT lastDragPointer_;
    int quitRequests_ = 0;
    std::uint32_t wakeEvent_ = 0;
    std::uint64_t presentCount_ = 0;
    KeyObserver keyObserver_;
    void* xDisplay_ = nullptr;  // Display* when the driver is x11
    int dpi_ = 0;
    SDL_Window* helper_ = nullptr;
};

}  // namespace zavrin
