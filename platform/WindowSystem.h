#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

#include "platform/Backend.h"
#include "platform/Window.h"

namespace zavrin {

class Graphics;
class WindowSystemImpl;

// Work that a message loop runs when it has nothing else to do, in every loop
// (modal dialogs and menus included): the script driver feeds the program this
// way on every backend. UI thread.
class IdleSource {
public:
    virtual ~IdleSource() = default;
    // Runs the next step if one is due now; true when it did something.
    virtual bool RunIdleStep() = 0;
    // When the next step falls due on the Clock; nothing when the source waits
    // for something other than time (or has finished).
    virtual std::optional<Clock::Duration> NextIdleDue() const = 0;
};

// The window-and-message layer itself: the windows, their stacking and
// activation, the message queue, timers, capture, hover tracking, painting and
// the message loops. One instance is installed per process (per test); the
// functions of Window.h act on it. It is made and used on the UI thread; only
// PostMessage (through Window.h) may come from other threads.
//
// `graphics` (may be null: then nothing is painted) creates the canvases for
// WM_PAINT. Both backend and graphics must outlive the WindowSystem.
class WindowSystem {
public:
    WindowSystem(Backend& backend, Graphics* graphics);
    ~WindowSystem();  // destroys every remaining window and uninstalls itself
    WindowSystem(const WindowSystem&) = delete;
    WindowSystem& operator=(const WindowSystem&) = delete;

    // The installed instance, or null.
    static WindowSystem* Current();

    Backend& backend();
    Graphics* graphics();

    // Handles everything that is ready now, without waiting: backend input,
    // posted messages, due timers and paints, until nothing is left. Returns
    // false when a WM_QUIT is pending.
    bool PumpPending();

    // Handles ready work; when there is none, waits (through the backend) until
    // the next timer deadline or an event. Returns false when a WM_QUIT is pending
    // or the backend reported that nothing can ever happen (Stalled).
    bool PumpOrWait();

    // Runs the loop until `done` returns true (checked after each unit of work),
    // a WM_QUIT arrives or the backend stalls. Returns true when `done` ended it.
    bool RunUntil(const std::function<bool()>& done);

    // The earliest pending timer or hover deadline on the Clock, if any.
    std::optional<Clock::Duration> NextDeadline() const;

    bool QuitPending() const;
    int QuitCode() const;
    // Clears a pending WM_QUIT (tests that go on after a quit).
    void ClearQuit();

    // Window stacking from top to bottom (visible and hidden top-level windows).
    std::vector<HWND> ZOrder() const;

    // Queues an input event as if the backend had reported it; the loop routes
    // it like any other (scripts drive every backend this way).
    void InjectInput(const InputEvent& event);

    // Installs (or with null removes) the idle source; it must outlive its use.
    void SetIdleSource(IdleSource* source);

    WindowSystemImpl& impl() { return *impl_; }

private:
    std::unique_ptr<WindowSystemImpl> impl_;
};

}  // namespace zavrin
