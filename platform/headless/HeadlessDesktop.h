#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

#include "platform/Canvas.h"
#include "platform/WindowSystem.h"
#include "platform/headless/HeadlessBackend.h"

namespace zavrin {

// Everything a UI test or a headless run needs in one object: the headless
// backend on its virtual clock, the cairo/pango drawing backend, and an
// installed WindowSystem. One at a time per process; UI thread.
//
// The input helpers inject an event and then handle everything it caused
// (PumpPending), so a test can check the outcome right after the call. They do
// not advance time: hover messages need advance().
class HeadlessDesktop {
public:
    explicit HeadlessDesktop(ScreenMetrics metrics = {});
    ~HeadlessDesktop();

    HeadlessBackend& backend() { return backend_; }
    WindowSystem& windows() { return *windows_; }
    Graphics& graphics() { return *graphics_; }
    VirtualClock& clock() { return backend_.virtualClock(); }

    // Handles everything that is ready now (input, posted messages, due timers, paints).
    void pump();
    // Moves virtual time forward by `d`, stopping at every timer and hover
    // deadline on the way so that each fires at its own time and in order, and
    // handling what each caused.
    void advance(std::chrono::milliseconds d);

    // Input at screen coordinates.
    void move(POINT screen);
    void press(POINT screen, MouseButton button = MouseButton::Left);
    void release(POINT screen, MouseButton button = MouseButton::Left);
    void click(POINT screen, MouseButton button = MouseButton::Left);
    void doubleClick(POINT screen);
    void rightClick(POINT screen) { click(screen, MouseButton::Right); }
    void key(std::uint32_t virtualKey);  // down and up

    // The same at client coordinates of `hwnd`.
    void move(HWND hwnd, POINT client) { move(ClientToScreen(hwnd, client)); }
    void press(HWND hwnd, POINT client, MouseButton b = MouseButton::Left) { press(ClientToScreen(hwnd, client), b); }
    void release(HWND hwnd, POINT client, MouseButton b = MouseButton::Left) { release(ClientToScreen(hwnd, client), b); }
    void click(HWND hwnd, POINT client, MouseButton b = MouseButton::Left) { click(ClientToScreen(hwnd, client), b); }
    void doubleClick(HWND hwnd, POINT client) { doubleClick(ClientToScreen(hwnd, client)); }
    void rightClick(HWND hwnd, POINT client) { rightClick(ClientToScreen(hwnd, client)); }

    // The window's last painted frame as a PNG file; false when the window is
    // dead or the file cannot be written.
    bool writePng(HWND hwnd, const std::filesystem::path& path);
    // The colour of one pixel of the window's last painted frame (client coordinates).
    COLORREF pixel(HWND hwnd, POINT client);

private:
    HeadlessBackend backend_;
    std::unique_ptr<Graphics> graphics_;
    std::unique_ptr<WindowSystem> windows_;
};

}  // namespace zavrin
