#pragma once

#include <mutex>
#include <string>

#include "platform/Window.h"

namespace zavrin {

// The program that owns the window in front, as far as the desktop tells.
// Both texts empty: the focus cannot be tied to a program (the desktop
// itself, a window of an unknown client, the program's own windows).
struct ForegroundProgram {
    std::string path;  // full executable path, UTF-8; empty when not known
    std::string name;  // executable file name (or the window's class name)
};

// Watches which program is in front, by the desktop's events only: nothing
// is polled and nothing wakes while the focus stays put. One implementation
// per desktop (X11, Windows; a compositor's own later), and a headless one
// that tests drive.
//
// Threads: Start, Stop and SeesX11ProgramsOnly on the UI thread. An implementation may
// learn of changes on a thread of its own; it hands them over by posting
// (message, 0, 0) to the target, after which Current() (any thread) tells
// the program then in front.
class ForegroundWatcher {
public:
    virtual ~ForegroundWatcher() = default;

    // False when this desktop gives no way to watch (then nothing is posted).
    virtual bool Start(HWND target, UINT message) = 0;
    virtual void Stop() = 0;
    virtual ForegroundProgram Current() = 0;
    // True in a Wayland session: an X11 client sees only the X11 programs
    // (XWayland), so switching follows those alone.
    virtual bool SeesX11ProgramsOnly() const { return false; }
};

// The share every implementation needs: the target, and the latest program
// kept under a lock for Current(). publish() posts only when it changed.
class ForegroundWatcherBase : public ForegroundWatcher {
public:
    bool Start(HWND target, UINT message) override;
    void Stop() override;
    ForegroundProgram Current() override;

protected:
    void publish(ForegroundProgram program);

private:
    std::mutex mutex_;
    HWND target_;
    UINT message_ = 0;
    ForegroundProgram current_;
    bool started_ = false;
};

// The headless watcher: a test or script says which program is in front.
class FakeForegroundWatcher final : public ForegroundWatcherBase {
public:
    void bringToFront(ForegroundProgram program) { publish(std::move(program)); }
};

}  // namespace zavrin
