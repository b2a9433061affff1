#pragma once

#include <cstdint>

struct SDL_Window;

namespace zavrin::x11 {

// The few things the SDL backend does with Xlib itself, kept apart so that the
// X headers (and their macros) stay in one file. Every function does nothing,
// or returns false/0, when `window` is not an X11 window.

// The X display and window of an SDL window.
bool Handles(SDL_Window* window, void*& display, unsigned long& xwindow);

// The pointer position on the screen, asked of the server.
bool QueryPointer(void* display, int& x, int& y);

// Moves the window at once, without SDL's wait for the window manager's answer
// (a dragged window moves on every mouse move).
void MoveWindow(void* display, unsigned long xwindow, int x, int y);

// The window that has the keyboard focus (0 for none or the pointer root).
unsigned long FocusWindow(void* display);
// Gives the keyboard focus back to `xwindow`, or to the pointer root for 0.
void SetFocus(void* display, unsigned long xwindow);
// Raises without asking the window manager to activate.
void Raise(void* display, unsigned long xwindow);

// Tells the window manager the window never takes input (WM_HINTS input=False).
void SetNoInput(void* display, unsigned long xwindow);

// The desktop's font resolution (the Xft.dpi resource), or 0 when not set.
int XftDpi(void* display);

// Replaces Xlib's default error handler, which ends the process at the first
// protocol error: a window destroyed by another client, or gone between a drag
// and a close, makes the next request on it fail, and a pending save must not
// be lost for that. Errors are logged to stderr (the first few in full) and the
// program carries on. Call once the X connection is open.
void InstallErrorHandler();
// Protocol errors seen since the start.
unsigned long ErrorCount();
// Waits until the server has answered every request sent so far, so that their
// errors reach the handler above: SDL puts Xlib's default handler back when it
// closes the display, which would end the process at an error still in flight.
void Sync(void* display);

// Asks every window manager, now or started later, to draw no frame around the
// window (the _MOTIF_WM_HINTS property). The program draws its own caption.
void SetUndecorated(void* display, unsigned long xwindow);

// When `message` (the XEvent inside an SDL_SYSWMEVENT) tells that a window was
// destroyed, the destroyed window; else 0.
unsigned long DestroyedWindow(const void* message);

}  // namespace zavrin::x11
