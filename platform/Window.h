#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Clock.h"
#include "platform/Geometry.h"
#include "platform/Messages.h"

// The window-and-message layer: window handles, the CWnd base with its message
// handler, and the Win32-style functions the program's behaviour is written in.
//
// Threads: everything here belongs to the UI thread (the thread that made the
// WindowSystem, WindowSystem.h), except PostMessage, which any thread may call.
// All functions need an installed WindowSystem.
//
// Windows have no non-client area: the whole window is client area, so a
// window's client rectangle is (0, 0, width, height) and client coordinates are
// screen coordinates minus the window's top-left corner.

namespace zavrin {

class Canvas;
class Image;

// A window handle. Handles are never reused, so a handle kept after its window
// was destroyed stays harmless: IsWindow() is false and every function given it
// does nothing (SendMessage returns 0, PostMessage false).
struct HWND {
    std::uint64_t value = 0;
    explicit operator bool() const { return value != 0; }
    friend bool operator==(const HWND&, const HWND&) = default;
};

// Handles travel in lParam (WM_ACTIVATE, WM_CAPTURECHANGED) as their value.
inline LPARAM HandleToLParam(HWND h) { return static_cast<LPARAM>(h.value); }
inline HWND HandleFromLParam(LPARAM l) { return HWND{static_cast<std::uint64_t>(l)}; }

// Special z-order positions for SetWindowPos.
inline const HWND HWND_TOP{0};
inline const HWND HWND_BOTTOM{1};
inline const HWND HWND_TOPMOST{static_cast<std::uint64_t>(-1)};
inline const HWND HWND_NOTOPMOST{static_cast<std::uint64_t>(-2)};

// Window styles (Win32 values). Every window of the program is a top-level
// window: WS_POPUP, optionally owned by another window.
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_MAXIMIZE = 0x01000000;
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr std::uint32_t WS_EX_APPWINDOW = 0x00040000;
inline constexpr std::uint32_t WS_EX_LAYERED = 0x00080000;
inline constexpr std::uint32_t WS_EX_NOACTIVATE = 0x08000000;
// Class style: the second press of a double click arrives as WM_LBUTTONDBLCLK.
inline constexpr std::uint32_t CS_DBLCLKS = 0x0008;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// SetWindowPos flags.
inline constexpr std::uint32_t SWP_NOSIZE = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE = 0x0002;
inline constexpr std::uint32_t SWP_NOZORDER = 0x0004;
inline constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr std::uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr std::uint32_t SWP_HIDEWINDOW = 0x0080;

// GetSystemMetrics indexes.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;

// A queued message as the loop hands it to PreTranslateMessage.
struct MSG {
    HWND hwnd;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    POINT pt;  // cursor position in screen coordinates when the message was queued
};

struct TRACKMOUSEEVENT {
    std::uint32_t dwFlags = 0;         // TME_HOVER | TME_LEAVE, or with TME_CANCEL
    HWND hwndTrack;
    std::uint32_t dwHoverTime = HOVER_DEFAULT;  // milliseconds
};

// Filled by BeginPaint. `canvas` draws into the window's off-screen surface,
// clipped to `rcPaint`; it is valid until EndPaint.
struct PAINTSTRUCT {
    RECT rcPaint;
    BOOL fErase = FALSE;
    Canvas* canvas = nullptr;
};

// The base of every window. A subclass overrides WindowProc and passes what it
// does not handle to CWnd::WindowProc (the default handling). The object must
// outlive its window unless PostNcDestroy deletes it; destroying the object first
// destroys its window (without calling PostNcDestroy).
class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Creates a top-level window at `rect` (screen coordinates), owned by `owner`
    // (an owned window stays above its owner and is destroyed with it). Sends
    // WM_CREATE; when the handler returns -1 the window is destroyed and Create
    // returns false. WS_VISIBLE shows (and, unless WS_EX_NOACTIVATE, activates) the
    // window after WM_CREATE.
    bool CreateEx(std::uint32_t exStyle, std::uint32_t style, const RECT& rect, HWND owner,
                  std::string_view title = {}, std::uint32_t classStyle = CS_DBLCLKS);

    HWND GetSafeHwnd() const { return hwnd_; }
    // The object of a live window; null for a destroyed or foreign handle.
    static CWnd* FromHandle(HWND hwnd);

    // Convenience forms of the free functions below for this window.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    bool DestroyWindow();
    std::uintptr_t SetTimer(std::uintptr_t id, std::uint32_t elapseMs);
    bool KillTimer(std::uintptr_t id);
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void UpdateWindow();
    RECT GetClientRect() const;
    RECT GetWindowRect() const;
    bool ShowWindow(int command);
    bool SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags);
    bool MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void CenterWindow(HWND alternateOwner = {});

    // Called by the loop for every queued (posted, input or timer) message for
    // this window or for a window it owns (directly or further down), before it
    // is dispatched: first the window the message is for, then its owner, and so
    // on; the first that returns TRUE swallows the message. So a dialog sees the
    // keys pressed in a pop-up it opened. `msg.hwnd` is the window the message is for.
    virtual BOOL PreTranslateMessage(MSG& msg);

protected:
    // The message handler. The base version is the default handling (DefWindowProc).
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The default handling of a message; what CWnd::WindowProc does:
    // WM_CLOSE destroys the window; WM_PAINT validates (BeginPaint/EndPaint with
    // nothing drawn); WM_ERASEBKGND returns FALSE; WM_NCACTIVATE returns TRUE;
    // WM_MOUSEACTIVATE returns MA_ACTIVATE (MA_NOACTIVATE with WS_EX_NOACTIVATE);
    // WM_NCLBUTTONDOWN with HTCAPTION starts moving the window with the mouse
    // until the left button comes up; everything else returns 0.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Called once after WM_NCDESTROY, when the window and its handle are gone and
    // no handler of this window is running any more; a self-owning window (the
    // pop-up menus) deletes itself here.
    virtual void PostNcDestroy();

private:
    // The layer's window table calls the handlers and lets go of the handle.
    friend class WindowTable;
    HWND hwnd_;
};

// ---- Messages ----------------------------------------------------------------

// Calls the window's handler now, on the calling (UI) thread, and returns its
// result; re-entrant: a handler may send further messages, including to its own
// window, and may destroy its own window (the object is then not deleted before
// the outermost handler of that window has returned). 0 for a dead handle.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Queues the message and wakes the loop; returns at once. Any thread. False for
// a handle that is not (or no longer) a window, and while 10000 posted messages
// are already waiting; a message for a window destroyed before it is taken from
// the queue is dropped. Messages posted from one thread
// are dispatched in the order posted.
bool PostMessage(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

// Makes the running message loops end: the innermost modal loop returns -1 and
// the quit stays pending so that every loop outside it ends too.
void PostQuitMessage(int exitCode);

// ---- Life ----------------------------------------------------------------------

bool IsWindow(HWND hwnd);
// Destroys owned windows first, then hides the window (activation passes to its
// owner or the next window), releases capture and tracking, sends WM_DESTROY and
// WM_NCDESTROY, kills its timers, drops its queued messages and calls PostNcDestroy.
bool DestroyWindow(HWND hwnd);
HWND GetWindowOwner(HWND hwnd);
std::uint32_t GetWindowStyle(HWND hwnd);
std::uint32_t GetWindowExStyle(HWND hwnd);
// Changes the extended style; WS_EX_TOPMOST and WS_EX_LAYERED take effect at once.
void SetWindowExStyle(HWND hwnd, std::uint32_t exStyle);
void SetWindowText(HWND hwnd, std::string_view text);
std::string GetWindowText(HWND hwnd);

// ---- Timers --------------------------------------------------------------------

// Starts (or restarts, replacing the old period) the periodic timer `id` of the
// window. WM_TIMER (wParam id) is posted when a period has passed on the Clock;
// timers fire in the order of their deadlines, a timer never has more than one
// WM_TIMER pending, and a late timer does not fire the missed periods. An elapse
// of 0 is treated as 1 ms. Returns `id`, or 0 for a dead handle.
std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs);
// Stops the timer and drops its pending WM_TIMER; false when there was none.
bool KillTimer(HWND hwnd, std::uintptr_t id);

// ---- Mouse -------------------------------------------------------------------

// While a window holds the capture, every mouse message goes to it, wherever the
// cursor is. Taking the capture sends WM_CAPTURECHANGED to the previous holder.
HWND SetCapture(HWND hwnd);
bool ReleaseCapture();
HWND GetCapture();

// TME_LEAVE: WM_MOUSELEAVE is posted once when the cursor leaves the window
// (at once when it is not over the window now); TME_HOVER: WM_MOUSEHOVER is
// posted once when the cursor has rested (within a few pixels) over the window
// for dwHoverTime ms. Both end with the message; TME_CANCEL ends them early.
// Moving the mouse more than a few pixels within the window restarts the hover
// wait. Only the window under the cursor is tracked: a request for another
// window gets its leave at once and leaves the current tracking alone. False
// for a dead handle.
bool TrackMouseEvent(const TRACKMOUSEEVENT& request);

// Negative while the key is held down (the program's own key events; sided
// modifiers also hold their generic code), else 0.
short GetKeyState(int virtualKey);

// The cursor position in screen coordinates (the last one the backend reported).
POINT GetCursorPos();
// The topmost visible window under a screen point; a null handle when there is none.
HWND WindowFromPoint(POINT screen);

// ---- Activation and enabling -------------------------------------------------

// Activates a top-level window: the old active window gets WM_NCACTIVATE(FALSE)
// and WM_ACTIVATE(WA_INACTIVE), then the new one WM_NCACTIVATE(TRUE) and
// WM_ACTIVATE(WA_ACTIVE); the new one and its owned windows come to the front of
// their band (topmost or not). Returns the previously active window.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
// A disabled window receives no mouse or keyboard input and is not activated by
// clicks. Sends WM_ENABLE when the state changes. Returns whether it was disabled.
bool EnableWindow(HWND hwnd, BOOL enable);
bool IsWindowEnabled(HWND hwnd);

// ---- Position, size and visibility ---------------------------------------------

bool ShowWindow(HWND hwnd, int command);
bool IsWindowVisible(HWND hwnd);
bool IsIconic(HWND hwnd);
bool IsZoomed(HWND hwnd);
// Sends WM_MOVE and/or WM_SIZE after a change; a resize invalidates the whole window.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags);
bool MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint = TRUE);
RECT GetWindowRect(HWND hwnd);   // screen coordinates
RECT GetClientRect(HWND hwnd);   // (0, 0, width, height)
POINT ScreenToClient(HWND hwnd, POINT screen);
POINT ClientToScreen(HWND hwnd, POINT client);

// ---- Painting -----------------------------------------------------------------

// Adds `rect` (client coordinates; null = the whole window) to the update
// region; WM_PAINT follows when the queue has nothing more urgent. `erase`
// makes BeginPaint send WM_ERASEBKGND.
bool InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
bool ValidateRect(HWND hwnd, const RECT* rect);
// Sends WM_PAINT at once when the update region is not empty.
bool UpdateWindow(HWND hwnd);
// The bounding box of the update region; false (and an empty rect) when nothing is invalid.
bool GetUpdateRect(HWND hwnd, RECT* rect);
// BeginPaint hands out a canvas on the window's off-screen surface clipped to
// the update region's bounding box and validates it; EndPaint presents the
// painted part. Only inside WM_PAINT. BeginPaint returns null when no Graphics is installed.
Canvas* BeginPaint(HWND hwnd, PAINTSTRUCT& ps);
void EndPaint(HWND hwnd, const PAINTSTRUCT& ps);
// The window's surface (the last painted frame); null for a dead handle.
const Image* GetWindowSurface(HWND hwnd);

// Layered windows: a constant opacity for the whole window (0..255), or a
// ready-made picture that replaces the window's content (its size must be the
// window's size; it is copied).
bool SetLayeredWindowAttributes(HWND hwnd, std::uint8_t alpha);
bool UpdateLayeredWindow(HWND hwnd, const Image& picture);
std::uint8_t GetWindowOpacity(HWND hwnd);

// ---- Screen --------------------------------------------------------------------

int GetSystemMetrics(int index);
RECT GetWorkArea();     // SystemParametersInfo(SPI_GETWORKAREA)
int GetLogicalDpi();    // GetDeviceCaps(LOGPIXELSX); 96 at 100 %
// A window of `size` (or smaller) will open: the backend may make its surface
// ready while the program is idle (see Backend::ReserveSurface).
void ReserveWindowSurface(SIZE size);

// The clock of the running WindowSystem (virtual in the headless backend).
Clock& GetUiClock();

}  // namespace zavrin

template <>
struct std::hash<zavrin::HWND> {
    std::size_t operator()(const zavrin::HWND& h) const noexcept { return std::hash<std::uint64_t>{}(h.value); }
};
