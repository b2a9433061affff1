#pragma once

#include <memory>
#include <thread>

#include "platform/ForegroundWatcher.h"

namespace zavrin::linuxdesktop {

// The front program on X11 (and XWayland): a connection of its own to the X
// server (XCB: errors come back as values, never through Xlib's process-wide
// handler, and it may live on its own thread) watches the root window's
// _NET_ACTIVE_WINDOW through PropertyNotify events; a thread sleeps in poll()
// on that connection, so nothing wakes while the focus stays put. The
// window's _NET_WM_PID leads to /proc/PID/exe; a window without one is named
// by its WM_CLASS instance. The program's own windows count as unknown. Needs
// a window manager that keeps _NET_ACTIVE_WINDOW (all common desktops do).
class X11ForegroundWatcher final : public ForegroundWatcherBase {
public:
    // Null when no X server can be reached.
    static std::unique_ptr<X11ForegroundWatcher> Open();
    ~X11ForegroundWatcher() override;
    X11ForegroundWatcher(const X11ForegroundWatcher&) = delete;
    X11ForegroundWatcher& operator=(const X11ForegroundWatcher&) = delete;

    bool Start(HWND target, UINT message) override;
    void Stop() override;
    bool SeesX11ProgramsOnly() const override { return wayland_; }

    struct Connection;

private:
    explicit X11ForegroundWatcher(std::unique_ptr<Connection> connection);
    void run();

    std::unique_ptr<Connection> x_;
    std::thread thread_;
    int stopPipe_[2] = {-1, -1};
    bool wayland_ = false;
};

}  // namespace zavrin::linuxdesktop
