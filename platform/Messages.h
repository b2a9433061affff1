#pragma once

#include <cstdint>

#include "platform/Geometry.h"

// The numbered window messages and their parameters. Numbers keep their Win32
// values so that handlers read like the behaviour they implement and so that the
// program's own message numbers (0x401 and up, control ids 2001..3600) sit where
// they always sat.
//
// This header is never included in the same translation unit as windows.h: the
// Win32 headers define these names as macros.

namespace zavrin {

using UINT = std::uint32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using BOOL = int;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

// ---- Window life ----------------------------------------------------------
// WM_CREATE: sent by Create before it returns; wParam 0, lParam 0. Returning -1
// makes Create fail and destroys the window.
inline constexpr UINT WM_CREATE = 0x0001;
// WM_DESTROY: sent while the window is being destroyed, after its owned windows
// are gone and before WM_NCDESTROY; the handle is still valid during it.
inline constexpr UINT WM_DESTROY = 0x0002;
// WM_MOVE: after the window moved; lParam = MAKELPARAM(left, top) in screen coordinates.
inline constexpr UINT WM_MOVE = 0x0003;
// WM_SIZE: after the size changed; wParam SIZE_RESTORED/SIZE_MINIMIZED, lParam = MAKELPARAM(width, height).
inline constexpr UINT WM_SIZE = 0x0005;
// WM_ACTIVATE: wParam LOWORD = WA_INACTIVE / WA_ACTIVE / WA_CLICKACTIVE, lParam =
// the other window's handle value (HandleToLParam) or 0.
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
// WM_ENABLE: wParam TRUE when the window became enabled, FALSE when disabled.
inline constexpr UINT WM_ENABLE = 0x000A;
// WM_PAINT: the update region is not empty; the handler calls BeginPaint/EndPaint.
inline constexpr UINT WM_PAINT = 0x000F;
// WM_CLOSE: a request to close; the default handling destroys the window
// (CDialog: ends the dialog with IDCANCEL).
inline constexpr UINT WM_CLOSE = 0x0010;
// WM_QUIT: never dispatched to a window; ends the message loops (wParam = exit code).
inline constexpr UINT WM_QUIT = 0x0012;
// WM_ERASEBKGND: sent from BeginPaint when the invalidation asked for erasing;
// return nonzero when the handler erased (or wants nothing erased).
inline constexpr UINT WM_ERASEBKGND = 0x0014;
// WM_SHOWWINDOW: wParam TRUE when shown, FALSE when hidden.
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
// WM_SETCURSOR: sent before every WM_MOUSEMOVE; wParam = the window's handle value,
// lParam = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE). The default does nothing.
inline constexpr UINT WM_SETCURSOR = 0x0020;
// WM_MOUSEACTIVATE: sent before a click activates a window; return MA_ACTIVATE
// (default) or MA_NOACTIVATE.
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
// WM_NCACTIVATE: sent before WM_ACTIVATE; wParam TRUE when the window becomes
// active, FALSE when it loses activation; lParam 0. Pop-up menus close on FALSE.
inline constexpr UINT WM_NCACTIVATE = 0x0086;
// WM_NCLBUTTONDOWN: wParam = hit-test code, lParam = MAKELPARAM(x, y). With
// HTCAPTION the default handling starts a window move that follows the mouse
// until the left button comes up (posted by CDlgBase for background presses).
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;

// ---- Keyboard ---------------------------------------------------------------
// WM_KEYDOWN/WM_KEYUP: wParam = virtual-key code (VK_*), lParam = repeat count 1.
// Keyboard messages go to the active top-level window.
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
// WM_CHAR: wParam = the character (UTF-32 code point).
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_INITDIALOG = 0x0110;
// WM_COMMAND: wParam LOWORD = command id.
inline constexpr UINT WM_COMMAND = 0x0111;
// WM_DEVICECHANGE: wParam = DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE.
inline constexpr UINT WM_DEVICECHANGE = 0x0219;
inline constexpr WPARAM DBT_DEVICEARRIVAL = 0x8000;
inline constexpr WPARAM DBT_DEVICEREMOVECOMPLETE = 0x8004;
// WM_TIMER: wParam = timer id, lParam 0.
inline constexpr UINT WM_TIMER = 0x0113;

// ---- Mouse ------------------------------------------------------------------
// Every mouse message: wParam = MK_* flags of the buttons held, lParam =
// MAKELPARAM(x, y) in client coordinates of the receiving window (signed; a
// captured mouse outside the window gives negative or too large values).
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
// WM_LBUTTONDBLCLK replaces the second WM_LBUTTONDOWN of a double click (windows
// created with the double-click style, the default); a WM_LBUTTONUP follows it.
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
// WM_MOUSEWHEEL: wParam HIWORD = signed wheel delta (120 per notch), lParam in screen coordinates.
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
// WM_CAPTURECHANGED: sent to the window that loses the capture; lParam = the
// new capture window's handle value or 0.
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
// WM_MOUSEHOVER: posted once after the mouse rested for the hover time requested
// with TrackMouseEvent(TME_HOVER); wParam = MK_* flags, lParam = MAKELPARAM(x, y).
inline constexpr UINT WM_MOUSEHOVER = 0x02A1;
// WM_MOUSELEAVE: posted once when the mouse leaves the window tracked with
// TrackMouseEvent(TME_LEAVE); wParam 0, lParam 0. Ends both kinds of tracking.
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;

// The program's own messages start here (control ids and pop-up messages).
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// ---- Parameter values -------------------------------------------------------
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;

inline constexpr WPARAM WA_INACTIVE = 0;
inline constexpr WPARAM WA_ACTIVE = 1;
inline constexpr WPARAM WA_CLICKACTIVE = 2;

inline constexpr LRESULT MA_ACTIVATE = 1;
inline constexpr LRESULT MA_NOACTIVATE = 3;

inline constexpr WPARAM HTCLIENT = 1;
inline constexpr WPARAM HTCAPTION = 2;

inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;

// Flags of TrackMouseEvent.
inline constexpr std::uint32_t TME_HOVER = 0x00000001;
inline constexpr std::uint32_t TME_LEAVE = 0x00000002;
inline constexpr std::uint32_t TME_CANCEL = 0x80000000;
inline constexpr std::uint32_t HOVER_DEFAULT = 0xFFFFFFFF;  // 400 ms

// Dialog results.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;

// Virtual-key codes used by the program (Win32 values; letters and digits are
// their upper-case ASCII codes).
inline constexpr WPARAM VK_BACK = 0x08;
inline constexpr WPARAM VK_TAB = 0x09;
inline constexpr WPARAM VK_RETURN = 0x0D;
inline constexpr WPARAM VK_SHIFT = 0x10;
inline constexpr WPARAM VK_CONTROL = 0x11;
inline constexpr WPARAM VK_MENU = 0x12;
inline constexpr WPARAM VK_ESCAPE = 0x1B;
inline constexpr WPARAM VK_SPACE = 0x20;
inline constexpr WPARAM VK_LEFT = 0x25;
inline constexpr WPARAM VK_UP = 0x26;
inline constexpr WPARAM VK_RIGHT = 0x27;
inline constexpr WPARAM VK_DOWN = 0x28;
inline constexpr WPARAM VK_DELETE = 0x2E;
inline constexpr WPARAM VK_LSHIFT = 0xA0;
inline constexpr WPARAM VK_RSHIFT = 0xA1;
inline constexpr WPARAM VK_LCONTROL = 0xA2;
inline constexpr WPARAM VK_RCONTROL = 0xA3;
inline constexpr WPARAM VK_LMENU = 0xA4;
inline constexpr WPARAM VK_RMENU = 0xA5;

// ---- Packing helpers --------------------------------------------------------
constexpr std::uint16_t LOWORD(std::uintptr_t v) { return static_cast<std::uint16_t>(v & 0xFFFF); }
constexpr std::uint16_t HIWORD(std::uintptr_t v) { return static_cast<std::uint16_t>((v >> 16) & 0xFFFF); }

// Packs two 16-bit values (coordinates may be negative) the way Win32 does.
constexpr LPARAM MAKELPARAM(int low, int high) {
    return static_cast<LPARAM>(static_cast<std::uint32_t>(static_cast<std::uint16_t>(low)) |
                               (static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16));
}
constexpr WPARAM MAKEWPARAM(int low, int high) { return static_cast<WPARAM>(MAKELPARAM(low, high)); }

// Signed coordinates out of a mouse message's lParam.
constexpr int GET_X_LPARAM(LPARAM l) { return static_cast<std::int16_t>(l & 0xFFFF); }
constexpr int GET_Y_LPARAM(LPARAM l) { return static_cast<std::int16_t>((l >> 16) & 0xFFFF); }
constexpr POINT PointFromLParam(LPARAM l) { return POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}; }
constexpr LPARAM LParamFromPoint(POINT p) { return MAKELPARAM(p.x, p.y); }

}  // namespace zavrin
