#pragma once

// Internal to the window layer. Not for use outside platform/.

#include <deque>
#include <functional>
#include <optional>

#include "platform/InputRouter.h"
#include "platform/TimerQueue.h"

namespace zavrin {

class IdleSource;

// The parts of the layer that the loop takes work from.
struct LoopParts {
    WindowTable& table;
    PostedQueue& queue;
    InputRouter& input;
    PaintQueue& paint;
    TimerQueue& timers;
    HoverTracker& hover;
    const PointerState& pointer;
    Backend& backend;
};

// The message loop: one unit of work at a time, in this order of precedence:
// posted messages, input (injected first, then the backend's), paints, due
// timers, a due hover; with nothing ready, the idle source, then a wait on the
// backend until the next deadline. Also keeps the WM_QUIT state. UI thread only.
class MessageLoop {
public:
    explicit MessageLoop(const LoopParts& parts) : parts_(parts) {}

    bool pumpPending();
    bool pumpOrWait();
    bool runUntil(const std::function<bool()>& done);
    // The earliest pending timer or hover deadline on the Clock, if any.
    std::optional<Clock::Duration> nextDeadline() const;

    void inject(const InputEvent& event) { injected_.push_back(event); }
    void setIdleSource(IdleSource* source) { idleSource_ = source; }

    void postQuit(int code) {
        quit_ = true;
        quitCode_ = code;
    }
    bool quitPending() const { return quit_; }
    int quitCode() const { return quitCode_; }
    void clearQuit() { quit_ = false; }

private:
    bool processOne();
    bool processPosted();
    bool processInput();
    bool processTimer();

    LoopParts parts_;
    IdleSource* idleSource_ = nullptr;
    std::deque<InputEvent> injected_;
    bool quit_ = false;
    int quitCode_ = 0;
};

}  // namespace zavrin
