#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

#include "platform/Backend.h"

namespace zavrin {

// A backend without a display: a virtual screen, a virtual clock that only
// moves when told (or when a loop waits for a timer), and input that tests
// inject. Windows are records of their position, visibility, order and opacity;
// their content is the window layer's surface.
//
// Waiting: WaitForEvent returns at once when input is queued. Otherwise it runs
// the next idle step (see whenIdle) if there is one; otherwise, with a finite
// timeout, it advances the virtual clock by the timeout (so the next timer
// fires without any real waiting); with no timeout it waits for Wake() from
// another thread for up to `stallLimit` of real time and then reports Stalled
// (a loop that can never be woken ends instead of hanging a test).
class HeadlessBackend final : public Backend {
public:
    explicit HeadlessBackend(ScreenMetrics metrics = {});

    VirtualClock& virtualClock() { return clock_; }
    Clock& clock() override { return clock_; }

    void setMetrics(const ScreenMetrics& metrics) { metrics_ = metrics; }
    // A screen of `size` with a 40-pixel taskbar at the bottom and a 23-pixel caption.
    static ScreenMetrics MetricsForScreen(SIZE size, int logicalDpi = 96);

    // ---- Injection (UI thread). Events queue up; the loop routes them. ----
    void inject(const InputEvent& event);
    void mouseMove(POINT screen);
    void mouseDown(POINT screen, MouseButton button = MouseButton::Left);
    void mouseUp(POINT screen, MouseButton button = MouseButton::Left);
    // Down and up at the same point.
    void click(POINT screen, MouseButton button = MouseButton::Left);
    // Down, up, second down (a double click), up.
    void doubleClick(POINT screen);
    void keyDown(std::uint32_t virtualKey);
    void keyUp(std::uint32_t virtualKey);
    void closeRequest(NativeWindowId window);
    // Another application takes the activation away from the program.
    void focusLostToOtherApplication(NativeWindowId window);

    // A step that runs when a message loop has nothing to do (typically inside a
    // modal loop): inject input, advance time, end a dialog. Steps run one per
    // idle moment, in the order given.
    void whenIdle(std::function<void()> step);
    std::size_t pendingIdleSteps() const { return idleSteps_.size(); }

    // Real-time limit for a wait that nothing can end (see above).
    void setStallLimit(std::chrono::milliseconds limit) { stallLimit_ = limit; }

    // ---- Native window records, for tests. ----
    struct NativeWindow {
        NativeWindowParams params;
        RECT rect;
        bool shown = false;
        std::uint8_t opacity = 255;
        const Image* surface = nullptr;
        int presentCount = 0;
        RECT lastDirty;
    };
    const NativeWindow* window(NativeWindowId id) const;
    NativeWindowId lastActivated() const { return lastActivated_; }

    // ---- Backend ----
    void CreateNativeWindow(NativeWindowId id, const NativeWindowParams& params) override;
    void DestroyNativeWindow(NativeWindowId id) override;
    void MoveNativeWindow(NativeWindowId id, const RECT& screenRect) override;
    void ShowNativeWindow(NativeWindowId id, bool shown) override;
    void SetNativeTopmost(NativeWindowId id, bool topmost) override;
    void SetNativeOpacity(NativeWindowId id, std::uint8_t alpha) override;
    void ActivateNativeWindow(NativeWindowId id) override;
    void Present(NativeWindowId id, const Image& surface, const RECT& dirty) override;
    bool PollEvent(InputEvent& event) override;
    WaitResult WaitForEvent(Clock::Duration timeout) override;
    void Wake() override;
    ScreenMetrics GetScreenMetrics() override { return metrics_; }

private:
    void injectButton(InputEvent::Kind kind, POINT screen, MouseButton button, int clickCount);

    VirtualClock clock_;
    ScreenMetrics metrics_;
    std::deque<InputEvent> events_;
    std::deque<std::function<void()>> idleSteps_;
    std::map<NativeWindowId, NativeWindow> windows_;
    NativeWindowId lastActivated_ = 0;
    std::chrono::milliseconds stallLimit_{2000};
    std::mutex wakeMutex_;
    std::condition_variable wakeSignal_;
    bool woken_ = false;
};

}  // namespace zavrin
