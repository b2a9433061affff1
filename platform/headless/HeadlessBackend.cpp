#include "platform/headless/HeadlessBackend.h"

namespace zavrin {

HeadlessBackend::HeadlessBackend(ScreenMetrics metrics) : metrics_(metrics) {}

ScreenMetrics HeadlessBackend::MetricsForScreen(SIZE size, int logicalDpi) {
    constexpr int kTaskbarHeight = 40;
    constexpr int kCaptionHeight = 23;
    ScreenMetrics m;
    m.screen = size;
    m.workArea = RECT{0, 0, size.cx, size.cy - kTaskbarHeight};
    m.fullScreenClient = SIZE{size.cx, size.cy - kTaskbarHeight - kCaptionHeight};
    m.logicalDpi = logicalDpi;
    return m;
}

void HeadlessBackend::inject(const InputEvent& event) { events_.push_back(event); }

void HeadlessBackend::mouseMove(POINT screen) {
    InputEvent e;
    e.kind = InputEvent::Kind::MouseMove;
    e.screen = screen;
    inject(e);
}

void HeadlessBackend::injectButton(InputEvent::Kind kind, POINT screen, MouseButton button, int clickCount) {
    InputEvent e;
    e.kind = kind;
    e.screen = screen;
    e.button = button;
    e.clickCount = clickCount;
    inject(e);
}

void HeadlessBackend::mouseDown(POINT screen, MouseButton button) {
    injectButton(InputEvent::Kind::ButtonDown, screen, button, 1);
}

void HeadlessBackend::mouseUp(POINT screen, MouseButton button) {
    injectButton(InputEvent::Kind::ButtonUp, screen, button, 1);
}

void HeadlessBackend::click(POINT screen, MouseButton button) {
    mouseDown(screen, button);
    mouseUp(screen, button);
}

void HeadlessBackend::doubleClick(POINT screen) {
    click(screen);
    injectButton(InputEvent::Kind::ButtonDown, screen, MouseButton::Left, 2);
    mouseUp(screen);
}

void HeadlessBackend::keyDown(std::uint32_t virtualKey) {
    InputEvent e;
    e.kind = InputEvent::Kind::KeyDown;
    e.key = virtualKey;
    inject(e);
}

void HeadlessBackend::keyUp(std::uint32_t virtualKey) {
    InputEvent e;
    e.kind = InputEvent::Kind::KeyUp;
    e.key = virtualKey;
    inject(e);
}

void HeadlessBackend::closeRequest(NativeWindowId window) {
    InputEvent e;
    e.kind = InputEvent::Kind::CloseRequested;
    e.window = window;
    inject(e);
}

void HeadlessBackend::focusLostToOtherApplication(NativeWindowId window) {
    InputEvent e;
    e.kind = InputEvent::Kind::FocusLost;
    e.window = window;
    inject(e);
}

void HeadlessBackend::whenIdle(std::function<void()> step) { idleSteps_.push_back(std::move(step)); }

const HeadlessBackend::NativeWindow* HeadlessBackend::window(NativeWindowId id) const {
    auto it = windows_.find(id);
    return it != windows_.end() ? &it->second : nullptr;
}

void HeadlessBackend::CreateNativeWindow(NativeWindowId id, const NativeWindowParams& params) {
    NativeWindow w;
    w.params = params;
    w.rect = params.rect;
    windows_[id] = w;
}

void HeadlessBackend::DestroyNativeWindow(NativeWindowId id) { windows_.erase(id); }

void HeadlessBackend::MoveNativeWindow(NativeWindowId id, const RECT& screenRect) {
    if (auto it = windows_.find(id); it != windows_.end()) {
        it->second.rect = screenRect;
        it->second.surface = nullptr;  // a resize replaces the surface; the next Present brings it
    }
}

void HeadlessBackend::ShowNativeWindow(NativeWindowId id, bool shown) {
    if (auto it = windows_.find(id); it != windows_.end()) it->second.shown = shown;
}

void HeadlessBackend::SetNativeTopmost(NativeWindowId id, bool topmost) {
    if (auto it = windows_.find(id); it != windows_.end()) it->second.params.topmost = topmost;
}

void HeadlessBackend::SetNativeOpacity(NativeWindowId id, std::uint8_t alpha) {
    if (auto it = windows_.find(id); it != windows_.end()) it->second.opacity = alpha;
}

void HeadlessBackend::ActivateNativeWindow(NativeWindowId id) { lastActivated_ = id; }

void HeadlessBackend::Present(NativeWindowId id, const Image& surface, const RECT& dirty) {
    if (auto it = windows_.find(id); it != windows_.end()) {
        it->second.surface = &surface;
        it->second.lastDirty = dirty;
        ++it->second.presentCount;
    }
}

bool HeadlessBackend::PollEvent(InputEvent& event) {
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

WaitResult HeadlessBackend::WaitForEvent(Clock::Duration timeout) {
    if (!events_.empty()) return WaitResult::Event;
    {
        std::lock_guard lock(wakeMutex_);
        if (woken_) {
            woken_ = false;
            return WaitResult::Event;
        }
    }
    if (!idleSteps_.empty()) {
        auto step = std::move(idleSteps_.front());
        idleSteps_.pop_front();
        step();
        return WaitResult::Event;
    }
    if (timeout >= Clock::Duration{0}) {
        // Virtual time: the wait for the next deadline takes no real time at all.
        clock_.advance(timeout);
        return WaitResult::Timeout;
    }
    // Only another thread can still bring something; wait for it, but not forever.
    std::unique_lock lock(wakeMutex_);
    if (wakeSignal_.wait_for(lock, stallLimit_, [&] { return woken_; })) {
        woken_ = false;
        return WaitResult::Event;
    }
    return WaitResult::Stalled;
}

void HeadlessBackend::Wake() {
    {
        std::lock_guard lock(wakeMutex_);
        woken_ = true;
    }
    wakeSignal_.notify_all();
}

}  // namespace zavrin
