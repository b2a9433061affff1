#include "platform/WindowSystem.h"

#include <algorithm>
#include <cstdlib>

#include "platform/WindowSystemImpl.h"

namespace zavrin {

namespace {

WindowSystem* g_current = nullptr;

// The hover rectangle: the mouse counts as resting while it stays within this
// many pixels of where the hover wait started (SM_CXMOUSEHOVER / 2).
constexpr int kHoverSlack = 2;
constexpr std::uint32_t kDefaultHoverMs = 400;

// Posted messages waiting at once, at most (Win32's default quota). A thread
// that keeps posting to a loop that does not run gets false instead of
// growing the queue without end.
constexpr std::size_t kPostedLimit = 10000;

Clock::Duration Ms(std::uint32_t ms) { return std::chrono::milliseconds(ms); }

}  // namespace

WindowSystemImpl* CurrentImpl() { return g_current != nullptr ? &g_current->impl() : nullptr; }

// ============================================================================
// WindowSystem
// ============================================================================

WindowSystem::WindowSystem(Backend& backend, Graphics* graphics)
    : impl_(std::make_unique<WindowSystemImpl>(backend, graphics)) {
    g_current = this;
}

WindowSystem::~WindowSystem() {
    // Windows go while the layer is still installed: a window that frees
    // itself when destroyed (a notice) calls back into the layer on its way.
    impl_->destroyAll();
    impl_.reset();
    if (g_current == this) g_current = nullptr;
}

WindowSystem* WindowSystem::Current() { return g_current; }
Backend& WindowSystem::backend() { return impl_->backend; }
Graphics* WindowSystem::graphics() { return impl_->graphics; }
bool WindowSystem::PumpPending() { return impl_->pumpPending(); }
bool WindowSystem::PumpOrWait() { return impl_->pumpOrWait(); }
bool WindowSystem::RunUntil(const std::function<bool()>& done) { return impl_->runUntil(done); }
std::optional<Clock::Duration> WindowSystem::NextDeadline() const { return impl_->nextDeadline(); }
bool WindowSystem::QuitPending() const { return impl_->quit; }
int WindowSystem::QuitCode() const { return impl_->quitCode; }
void WindowSystem::ClearQuit() { impl_->quit = false; }
std::vector<HWND> WindowSystem::ZOrder() const { return impl_->zorder; }
void WindowSystem::SetIdleSource(IdleSource* source) { impl_->idleSource = source; }
void WindowSystem::InjectInput(const InputEvent& event) { impl_->injected.push_back(event); }

// ============================================================================
// Windows
// ============================================================================

WindowSystemImpl::WindowSystemImpl(Backend& b, Graphics* g) : backend(b), graphics(g) {}

void WindowSystemImpl::destroyAll() {
    // Destroy what is left, top-level owners first (owned windows go with them).
    while (!zorder.empty()) {
        HWND h = zorder.back();
        if (!destroy(h)) zorder.pop_back();
    }
}

WindowSystemImpl::~WindowSystemImpl() {
    destroyAll();
    // Records kept alive by a dispatch that never returned (cannot happen once
    // every handler has returned) are simply dropped.
    windows_.clear();
}

WindowRecord* WindowSystemImpl::live(HWND h) {
    auto it = windows_.find(h.value);
    if (it == windows_.end() || it->second->destroyed) return nullptr;
    return it->second.get();
}

const WindowRecord* WindowSystemImpl::live(HWND h) const {
    auto it = windows_.find(h.value);
    if (it == windows_.end() || it->second->destroyed) return nullptr;
    return it->second.get();
}

HWND WindowSystemImpl::create(CWnd* object, std::uint32_t exStyle, std::uint32_t style, const RECT& rect,
                              HWND owner, std::string_view title, std::uint32_t classStyle) {
    auto rec = std::make_unique<WindowRecord>();
    const HWND h{nextHandle_++};
    rec->hwnd = h;
    rec->object = object;
    rec->owner = live(owner) != nullptr ? owner : HWND{};
    rec->style = style & ~(WS_VISIBLE | WS_MINIMIZE | WS_MAXIMIZE);
    rec->exStyle = exStyle;
    rec->classStyle = classStyle;
    rec->rect = rect;
    rec->title = std::string(title);
    rec->enabled = (style & WS_DISABLED) == 0;
    rec->surface = Image(rect.width(), rect.height());
    windows_.emplace(h.value, std::move(rec));
    {
        std::lock_guard lock(queueMutex_);
        postable_.insert(h.value);
    }
    // New windows start at the top of their band, hidden.
    zorder.insert(zorder.begin(), h);
    bringToFront(h);

    NativeWindowParams params;
    params.rect = rect;
    params.owner = live(owner) != nullptr ? owner.value : 0;
    params.topmost = (exStyle & WS_EX_TOPMOST) != 0;
    params.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
    params.layered = (exStyle & WS_EX_LAYERED) != 0;
    params.appWindow = (exStyle & WS_EX_APPWINDOW) != 0;
    params.noActivate = (exStyle & WS_EX_NOACTIVATE) != 0;
    params.title = std::string(title);
    backend.CreateNativeWindow(h.value, params);
    return h;
}

void WindowSystemImpl::detachObject(CWnd* object) {
    for (auto& [value, rec] : windows_) {
        if (rec->object == object) rec->object = nullptr;
    }
}

bool WindowSystemImpl::destroy(HWND h) {
    WindowRecord* rec = live(h);
    if (rec == nullptr || rec->destroying) return false;
    rec->destroying = true;

    // Owned windows go first, as on the desktop.
    std::vector<HWND> owned;
    for (HWND w : zorder) {
        const WindowRecord* r = live(w);
        if (r != nullptr && r->owner == h) owned.push_back(w);
    }
    for (HWND w : owned) destroy(w);

    if (rec->visible) show(h, SW_HIDE);
    if (active == h) active = HWND{};
    if (capture == h) {
        capture = HWND{};
        send(h, WM_CAPTURECHANGED, 0, 0);
    }
    if (trackWindow_ == h) {
        trackWindow_ = HWND{};
        trackLeave_ = trackHover_ = false;
    }
    if (moving_ == h) moving_ = HWND{};

    send(h, WM_DESTROY, 0, 0);
    send(h, WM_NCDESTROY, 0, 0);

    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == h; }),
                  timers_.end());
    {
        std::lock_guard lock(queueMutex_);
        postable_.erase(h.value);
    }
    zorder.erase(std::remove(zorder.begin(), zorder.end(), h), zorder.end());
    backend.DestroyNativeWindow(h.value);
    rec->destroyed = true;
    rec->paintCanvas.reset();
    if (rec->object != nullptr) rec->object->hwnd_ = HWND{};
    if (rec->dispatchDepth == 0) finishDestroy(rec);
    return true;
}

void WindowSystemImpl::finishDestroy(WindowRecord* rec) {
    CWnd* object = rec->object;
    windows_.erase(rec->hwnd.value);
    if (object != nullptr) object->PostNcDestroy();
}

LRESULT WindowSystemImpl::send(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    auto it = windows_.find(h.value);
    if (it == windows_.end() || it->second->destroyed) return 0;
    WindowRecord* rec = it->second.get();
    if (rec->object == nullptr) return 0;
    ++rec->dispatchDepth;
    const LRESULT result = rec->object->WindowProc(message, wParam, lParam);
    --rec->dispatchDepth;
    // The handler may have destroyed its own window; the object's last rites
    // wait until no handler of it is running.
    if (rec->destroyed && rec->dispatchDepth == 0) finishDestroy(rec);
    return result;
}

bool WindowSystemImpl::post(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    {
        std::lock_guard lock(queueMutex_);
        if (postable_.count(h.value) == 0 || posted_.size() >= kPostedLimit) return false;
        posted_.push_back(MSG{h, message, wParam, lParam, cursor});
    }
    backend.Wake();
    return true;
}

void WindowSystemImpl::postQuit(int code) {
    quit = true;
    quitCode = code;
}

// ============================================================================
// Activation, stacking, visibility
// ============================================================================

namespace {
bool IsTopmost(const WindowRecord* r) { return r != nullptr && (r->exStyle & WS_EX_TOPMOST) != 0; }
}  // namespace

void WindowSystemImpl::bringToFront(HWND h) {
    WindowRecord* rec = live(h);
    if (rec == nullptr) return;
    zorder.erase(std::remove(zorder.begin(), zorder.end(), h), zorder.end());
    auto pos = zorder.begin();
    if (!IsTopmost(rec)) {
        pos = std::find_if(zorder.begin(), zorder.end(), [&](HWND w) { return !IsTopmost(live(w)); });
    }
    zorder.insert(pos, h);
    // Owned windows stay above their owner, in their present order.
    std::vector<HWND> owned;
    for (HWND w : zorder) {
        const WindowRecord* r = live(w);
        if (r != nullptr && r->owner == h) owned.push_back(w);
    }
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) bringToFront(*it);
}

HWND WindowSystemImpl::activate(HWND h, WPARAM how) {
    const HWND previous = active;
    if (h == previous) {
        if (live(h) != nullptr) bringToFront(h);
        return previous;
    }
    if (h && live(h) == nullptr) return HWND{};
    active = h;
    if (live(previous) != nullptr) {
        send(previous, WM_NCACTIVATE, FALSE, 0);
        send(previous, WM_ACTIVATE, WA_INACTIVE, HandleToLParam(h));
    }
    // A handler of the old window may have activated something else meanwhile.
    if (active == h && live(h) != nullptr) {
        bringToFront(h);
        backend.ActivateNativeWindow(h.value);
        send(h, WM_NCACTIVATE, TRUE, 0);
        send(h, WM_ACTIVATE, how, HandleToLParam(previous));
    }
    return previous;
}

void WindowSystemImpl::activateNextAfter(HWND leaving) {
    const WindowRecord* rec = live(leaving);
    auto candidate = [&](HWND w) {
        const WindowRecord* r = live(w);
        return r != nullptr && w != leaving && r->visible && !r->minimized && r->enabled &&
               (r->exStyle & WS_EX_NOACTIVATE) == 0;
    };
    HWND next;
    if (rec != nullptr && candidate(rec->owner)) {
        next = rec->owner;
    } else {
        for (HWND w : zorder) {
            if (candidate(w)) {
                next = w;
                break;
            }
        }
    }
    activate(next, WA_ACTIVE);
}

bool WindowSystemImpl::enable(HWND h, bool on) {
    WindowRecord* rec = live(h);
    if (rec == nullptr) return false;
    const bool wasDisabled = !rec->enabled;
    if (rec->enabled == on) return wasDisabled;
    rec->enabled = on;
    if (!on && capture == h) releaseCapture();
    send(h, WM_ENABLE, on ? TRUE : FALSE, 0);
    return wasDisabled;
}

bool WindowSystemImpl::show(HWND h, int command) {
    WindowRecord* rec = live(h);
    if (rec == nullptr) return false;
    const bool wasVisible = rec->visible;
    switch (command) {
        case SW_HIDE:
            if (!wasVisible) return false;
            rec->visible = false;
            backend.ShowNativeWindow(h.value, false);
            send(h, WM_SHOWWINDOW, FALSE, 0);
            if (active == h) activateNextAfter(h);
            return true;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            if (!rec->visible) {
                rec->visible = true;
                backend.ShowNativeWindow(h.value, true);
            }
            if (!rec->minimized) {
                rec->minimized = true;
                backend.MinimizeNativeWindow(h.value, true);
                send(h, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(rec->rect.width(), rec->rect.height()));
            }
            if (active == h) activateNextAfter(h);
            return wasVisible;
        default:
            break;
    }
    const bool restore = rec->minimized && command != SW_SHOWNA;
    if (!rec->visible) {
        rec->visible = true;
        backend.ShowNativeWindow(h.value, true);
        send(h, WM_SHOWWINDOW, TRUE, 0);
        invalidate(h, nullptr, true);
    }
    if (restore) {
        rec->minimized = false;
        backend.MinimizeNativeWindow(h.value, false);
        send(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rec->rect.width(), rec->rect.height()));
        invalidate(h, nullptr, true);
    }
    if (command == SW_MAXIMIZE) rec->maximized = true;
    if (command == SW_RESTORE || command == SW_SHOWNORMAL) rec->maximized = false;
    const bool activates = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                           (rec->exStyle & WS_EX_NOACTIVATE) == 0 && live(h) != nullptr;
    if (activates) {
        activate(h, WA_ACTIVE);
    } else if (!wasVisible && command != SW_SHOWNA) {
        bringToFront(h);
    }
    return wasVisible;
}

bool WindowSystemImpl::setPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) {
    WindowRecord* rec = live(h);
    if (rec == nullptr) return false;
    RECT r = rec->rect;
    if ((flags & SWP_NOMOVE) == 0) r = OffsetRect(r, x - r.left, y - r.top);
    if ((flags & SWP_NOSIZE) == 0) {
        r.right = r.left + std::max(cx, 0);
        r.bottom = r.top + std::max(cy, 0);
    }
    const bool moved = r.left != rec->rect.left || r.top != rec->rect.top;
    const bool sized = r.width() != rec->rect.width() || r.height() != rec->rect.height();
    if ((flags & SWP_NOZORDER) == 0) {
        if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
            const bool topmost = insertAfter == HWND_TOPMOST;
            if (topmost != IsTopmost(rec)) {
                rec->exStyle = topmost ? (rec->exStyle | WS_EX_TOPMOST) : (rec->exStyle & ~WS_EX_TOPMOST);
                backend.SetNativeTopmost(h.value, topmost);
            }
            bringToFront(h);
        } else if (insertAfter == HWND_TOP) {
            bringToFront(h);
        }
    }
    if (moved || sized) {
        rec->rect = r;
        backend.MoveNativeWindow(h.value, r);
        if (sized) {
            rec->paintCanvas.reset();
            rec->surface = Image(r.width(), r.height());
            invalidate(h, nullptr, true);
        }
        if (moved) send(h, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
        if (sized && live(h) != nullptr) send(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.width(), r.height()));
        if (live(h) != nullptr) send(h, WM_WINDOWPOSCHANGED, 0, 0);
    }
    if (live(h) == nullptr) return true;
    if ((flags & SWP_SHOWWINDOW) != 0) {
        show(h, (flags & SWP_NOACTIVATE) != 0 ? SW_SHOWNA : SW_SHOW);
    } else if ((flags & SWP_HIDEWINDOW) != 0) {
        show(h, SW_HIDE);
    }
    return true;
}

HWND WindowSystemImpl::windowFromPoint(POINT screen) const {
    for (HWND w : zorder) {
        const WindowRecord* r = live(w);
        if (r != nullptr && r->visible && !r->minimized && PtInRect(r->rect, screen)) return w;
    }
    return HWND{};
}

// ============================================================================
// Timers
// ============================================================================

std::uintptr_t WindowSystemImpl::setTimer(HWND h, std::uintptr_t id, std::uint32_t ms) {
    if (live(h) == nullptr) return 0;
    const Clock::Duration period = Ms(std::max<std::uint32_t>(ms, 1));
    const Clock::Duration deadline = backend.clock().now() + period;
    for (Timer& t : timers_) {
        if (t.hwnd == h && t.id == id) {
            t.period = period;
            t.deadline = deadline;
            t.sequence = ++timerSequence_;
            return id;
        }
    }
    timers_.push_back(Timer{h, id, period, deadline, ++timerSequence_});
    return id;
}

bool WindowSystemImpl::killTimer(HWND h, std::uintptr_t id) {
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == h && t.id == id; });
    if (it == timers_.end()) return false;
    timers_.erase(it);
    return true;
}

std::optional<Clock::Duration> WindowSystemImpl::nextDeadline() const {
    std::optional<Clock::Duration> next;
    for (const Timer& t : timers_) {
        if (!next || t.deadline < *next) next = t.deadline;
    }
    if (trackHover_ && (!next || hoverDeadline_ < *next)) next = hoverDeadline_;
    return next;
}

bool WindowSystemImpl::processTimer() {
    const Clock::Duration now = backend.clock().now();
    Timer* due = nullptr;
    for (Timer& t : timers_) {
        if (t.deadline <= now && (due == nullptr || t.deadline < due->deadline ||
                                  (t.deadline == due->deadline && t.sequence < due->sequence))) {
            due = &t;
        }
    }
    if (due == nullptr) return false;
    // The next period counts from this deadline; periods that already passed are
    // not made up.
    due->deadline += due->period;
    if (due->deadline <= now) due->deadline = now + due->period;
    due->sequence = ++timerSequence_;
    dispatchQueued(MSG{due->hwnd, WM_TIMER, due->id, 0, cursor});
    return true;
}

// ============================================================================
// Mouse: capture, tracking, moves
// ============================================================================

HWND WindowSystemImpl::setCapture(HWND h) {
    const HWND previous = capture;
    if (live(h) == nullptr) return previous;
    capture = h;
    if (previous && previous != h) backend.SetNativeCapture(previous.value, false);
    backend.SetNativeCapture(h.value, true);
    if (previous && previous != h) send(previous, WM_CAPTURECHANGED, 0, HandleToLParam(h));
    return previous;
}

bool WindowSystemImpl::releaseCapture() {
    const HWND previous = capture;
    capture = HWND{};
    if (previous) {
        backend.SetNativeCapture(previous.value, false);
        send(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return true;
}

bool WindowSystemImpl::trackMouse(const TRACKMOUSEEVENT& request) {
    if ((request.dwFlags & TME_CANCEL) != 0) {
        if (trackWindow_ == request.hwndTrack) {
            if ((request.dwFlags & TME_HOVER) != 0) trackHover_ = false;
            if ((request.dwFlags & TME_LEAVE) != 0) trackLeave_ = false;
        }
        return true;
    }
    const WindowRecord* rec = live(request.hwndTrack);
    if (rec == nullptr) return false;
    if (windowFromPoint(cursor) != request.hwndTrack) {
        // Only the window under the cursor can be tracked. Asked for another one,
        // the leave comes at once, and the tracking of the window that is under
        // the cursor stays as it is.
        if ((request.dwFlags & TME_LEAVE) != 0) post(request.hwndTrack, WM_MOUSELEAVE, 0, 0);
        return true;
    }
    if (trackWindow_ != request.hwndTrack) {
        trackWindow_ = request.hwndTrack;
        trackLeave_ = trackHover_ = false;
    }
    if ((request.dwFlags & TME_LEAVE) != 0) trackLeave_ = true;
    if ((request.dwFlags & TME_HOVER) != 0) {
        trackHover_ = true;
        hoverTime_ = request.dwHoverTime == HOVER_DEFAULT ? kDefaultHoverMs : request.dwHoverTime;
        hoverAnchor_ = cursor;
        hoverDeadline_ = backend.clock().now() + Ms(hoverTime_);
    }
    return true;
}

void WindowSystemImpl::updateTracking(POINT screen) {
    if (!trackWindow_) return;
    if (live(trackWindow_) == nullptr) {
        trackWindow_ = HWND{};
        trackLeave_ = trackHover_ = false;
        return;
    }
    if (windowFromPoint(screen) != trackWindow_) {
        if (trackLeave_) post(trackWindow_, WM_MOUSELEAVE, 0, 0);
        trackLeave_ = trackHover_ = false;
        trackWindow_ = HWND{};
        return;
    }
    if (trackHover_ && (std::abs(screen.x - hoverAnchor_.x) > kHoverSlack ||
                        std::abs(screen.y - hoverAnchor_.y) > kHoverSlack)) {
        hoverAnchor_ = screen;
        hoverDeadline_ = backend.clock().now() + Ms(hoverTime_);
    }
}

bool WindowSystemImpl::processHover() {
    if (!trackHover_ || backend.clock().now() < hoverDeadline_) return false;
    trackHover_ = false;
    const WindowRecord* rec = live(trackWindow_);
    if (rec != nullptr) {
        const POINT c{cursor.x - rec->rect.left, cursor.y - rec->rect.top};
        post(trackWindow_, WM_MOUSEHOVER, buttons, LParamFromPoint(c));
    }
    if (!trackLeave_) trackWindow_ = HWND{};
    return true;
}

void WindowSystemImpl::startMove(HWND h) {
    const WindowRecord* rec = live(h);
    if (rec == nullptr || (buttons & MK_LBUTTON) == 0) return;
    moving_ = h;
    moveGrab_ = POINT{cursor.x - rec->rect.left, cursor.y - rec->rect.top};
    // A fast drag leaves the window before it has followed; the desktop must
    // keep sending the moves.
    backend.SetNativeCapture(h.value, true);
}

// ============================================================================
// Painting
// ============================================================================

bool WindowSystemImpl::invalidate(HWND h, const RECT* rect, bool erase) {
    WindowRecord* rec = live(h);
    if (rec == nullptr) return false;
    const RECT client{0, 0, rec->rect.width(), rec->rect.height()};
    const RECT r = rect != nullptr ? IntersectRect(*rect, client) : client;
    if (IsRectEmpty(r)) return true;
    rec->update = UnionRect(rec->update, r);
    rec->erase = rec->erase || erase;
    return true;
}

bool WindowSystemImpl::validate(HWND h, const RECT* rect) {
    WindowRecord* rec = live(h);
    if (rec == nullptr) return false;
    // The invalid part is kept as one rectangle, so only a rectangle that covers
    // it validates it.
    if (rect == nullptr || UnionRect(*rect, rec->update) == *rect) {
        rec->update = RECT{};
        rec->erase = false;
    }
    return true;
}

bool WindowSystemImpl::updateWindow(HWND h) {
    WindowRecord* rec = live(h);
    if (rec == nullptr) return false;
    if (rec->visible && !IsRectEmpty(rec->update)) sendPaint(h);
    return true;
}

void WindowSystemImpl::sendPaint(HWND h) {
    live(h)->beganPaint = false;
    send(h, WM_PAINT, 0, 0);
    // A handler that did not paint must not make WM_PAINT come forever; one that
    // did keeps what it invalidated while painting.
    if (WindowRecord* after = live(h); after != nullptr && !after->beganPaint) {
        after->update = RECT{};
        after->erase = false;
    }
}

Canvas* WindowSystemImpl::beginPaint(HWND h, PAINTSTRUCT& ps) {
    WindowRecord* rec = live(h);
    ps = PAINTSTRUCT{};
    if (rec == nullptr) return nullptr;
    rec->beganPaint = true;
    ps.rcPaint = rec->update;
    ps.fErase = rec->erase ? TRUE : FALSE;
    rec->update = RECT{};
    rec->erase = false;
    if (ps.fErase) {
        send(h, WM_ERASEBKGND, 0, 0);
        rec = live(h);
        if (rec == nullptr) return nullptr;
    }
    if (graphics == nullptr || rec->surface.empty() || IsRectEmpty(ps.rcPaint)) return nullptr;
    rec->paintCanvas = graphics->CreateCanvas(rec->surface);
    rec->paintCanvas->PushClip(ps.rcPaint);
    ps.canvas = rec->paintCanvas.get();
    return ps.canvas;
}

void WindowSystemImpl::endPaint(HWND h, const PAINTSTRUCT& ps) {
    WindowRecord* rec = live(h);
    if (rec == nullptr) return;
    if (rec->paintCanvas) {
        rec->paintCanvas->Flush();
        rec->paintCanvas.reset();
    }
    if (!IsRectEmpty(ps.rcPaint)) backend.Present(h.value, rec->surface, ps.rcPaint);
}

bool WindowSystemImpl::updateLayered(HWND h, const Image& picture) {
    WindowRecord* rec = live(h);
    if (rec == nullptr) return false;
    if (picture.width() == rec->surface.width() && picture.height() == rec->surface.height()) {
        rec->surface = picture;
    } else {
        for (int y = 0; y < std::min(picture.height(), rec->surface.height()); ++y) {
            for (int x = 0; x < std::min(picture.width(), rec->surface.width()); ++x) {
                rec->surface.setArgb(x, y, picture.argb(x, y));
            }
        }
    }
    // The picture is the window's content; nothing is left to paint.
    rec->update = RECT{};
    rec->erase = false;
    backend.Present(h.value, rec->surface, rec->surface.bounds());
    return true;
}

bool WindowSystemImpl::processPaint() {
    for (HWND w : zorder) {
        WindowRecord* rec = live(w);
        if (rec == nullptr || !rec->visible || IsRectEmpty(rec->update)) continue;
        sendPaint(w);
        return true;
    }
    return false;
}

// ============================================================================
// Input
// ============================================================================

void WindowSystemImpl::dispatchQueued(MSG msg) {
    if (live(msg.hwnd) == nullptr) return;
    // The window and then each of its owners in turn may take the message, as a
    // dialog takes the keys pressed in a pop-up it opened. An owner is always
    // older than the window it owns, so the chain ends.
    for (HWND w = msg.hwnd; w;) {
        const WindowRecord* rec = live(w);
        if (rec == nullptr) break;
        if (rec->object != nullptr && rec->object->PreTranslateMessage(msg)) return;
        const WindowRecord* after = live(w);
        w = after != nullptr ? after->owner : HWND{};
    }
    send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void WindowSystemImpl::noteKey(std::uint32_t key, bool down) {
    // The sided modifier codes also hold their generic key down, as on Windows.
    auto set = [&](std::uint32_t k) {
        if (k < keysDown.size()) keysDown[k] = down;
    };
    set(key);
    if (key == VK_LSHIFT || key == VK_RSHIFT) set(static_cast<std::uint32_t>(VK_SHIFT));
    if (key == VK_LCONTROL || key == VK_RCONTROL) set(static_cast<std::uint32_t>(VK_CONTROL));
    if (key == VK_LMENU || key == VK_RMENU) set(static_cast<std::uint32_t>(VK_MENU));
    if (!down && (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU)) {
        // A generic release lets go of both sides.
        const std::uint32_t base = key == VK_SHIFT ? VK_LSHIFT : key == VK_CONTROL ? VK_LCONTROL : VK_LMENU;
        set(base);
        set(base + 1);
    }
}

void WindowSystemImpl::handleInput(const InputEvent& e) {
    using Kind = InputEvent::Kind;
    switch (e.kind) {
        case Kind::MouseMove:
        case Kind::ButtonDown:
        case Kind::ButtonUp:
        case Kind::Wheel:
            handleMouse(e);
            return;
        case Kind::KeyDown:
        case Kind::KeyUp:
        case Kind::Char: {
            if (e.kind != Kind::Char) noteKey(e.key, e.kind == Kind::KeyDown);
            const WindowRecord* rec = live(active);
            if (rec == nullptr || !rec->enabled) return;
            const UINT message = e.kind == Kind::KeyDown ? WM_KEYDOWN : e.kind == Kind::KeyUp ? WM_KEYUP : WM_CHAR;
            dispatchQueued(MSG{active, message, e.key, 1, cursor});
            return;
        }
        case Kind::CloseRequested:
            post(HWND{e.window}, WM_CLOSE, 0, 0);
            return;
        case Kind::FocusGained:
            if (live(HWND{e.window}) != nullptr) activate(HWND{e.window}, WA_ACTIVE);
            return;
        case Kind::FocusLost:
            if (active == HWND{e.window}) activate(HWND{}, WA_INACTIVE);
            return;
        case Kind::Minimized:
            if (live(HWND{e.window}) != nullptr) show(HWND{e.window}, SW_MINIMIZE);
            return;
        case Kind::Restored:
            if (const WindowRecord* rec = live(HWND{e.window}); rec != nullptr && rec->minimized)
                show(HWND{e.window}, SW_RESTORE);
            return;
    }
}

WPARAM WindowSystemImpl::noteMouseButtons(const InputEvent& e) {
    using Kind = InputEvent::Kind;
    {
        // Other threads read the cursor when they post (the message's pt).
        std::lock_guard lock(queueMutex_);
        cursor = e.screen;
    }
    const WPARAM buttonFlag = e.button == MouseButton::Left    ? MK_LBUTTON
                              : e.button == MouseButton::Right ? MK_RBUTTON
                                                               : MK_MBUTTON;
    if (e.kind == Kind::ButtonDown) buttons |= buttonFlag;
    if (e.kind == Kind::ButtonUp) buttons &= ~buttonFlag;
    WPARAM flags = buttons;
    if (e.shift) flags |= MK_SHIFT;
    if (e.control) flags |= MK_CONTROL;
    return flags;
}

bool WindowSystemImpl::followWindowMove(const InputEvent& e) {
    // A window dragged by its background follows the mouse until the left
    // button comes up; the button-up ends the move and goes nowhere else.
    if (!moving_) return false;
    if (live(moving_) == nullptr) {
        moving_ = HWND{};
    } else if (e.kind == InputEvent::Kind::MouseMove) {
        setPos(moving_, HWND{}, e.screen.x - moveGrab_.x, e.screen.y - moveGrab_.y, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    } else if (e.kind == InputEvent::Kind::ButtonUp && e.button == MouseButton::Left) {
        if (moving_ != capture) backend.SetNativeCapture(moving_.value, false);
        moving_ = HWND{};
        return true;
    }
    return false;
}

bool WindowSystemImpl::activateOnPress(HWND target) {
    const WindowRecord* rec = live(target);
    if (rec == nullptr) {
        // A click on the bare desktop takes the activation away from the program.
        if (active) activate(HWND{}, WA_INACTIVE);
        return false;
    }
    if (rec->enabled && active != target && (rec->exStyle & WS_EX_NOACTIVATE) == 0) {
        if (send(target, WM_MOUSEACTIVATE, 0, MAKELPARAM(static_cast<int>(HTCLIENT), 0)) != MA_NOACTIVATE) {
            activate(target, WA_CLICKACTIVE);
        }
    }
    return true;
}

UINT WindowSystemImpl::buttonMessage(const InputEvent& e, const WindowRecord& rec) {
    if (e.kind == InputEvent::Kind::ButtonDown) {
        const bool dbl = e.clickCount >= 2 && (rec.classStyle & CS_DBLCLKS) != 0;
        return e.button == MouseButton::Left    ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)
               : e.button == MouseButton::Right ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
                                                : WM_MBUTTONDOWN;
    }
    return e.button == MouseButton::Left    ? WM_LBUTTONUP
           : e.button == MouseButton::Right ? WM_RBUTTONUP
                                            : WM_MBUTTONUP;
}

void WindowSystemImpl::handleMouse(const InputEvent& e) {
    using Kind = InputEvent::Kind;
    const WPARAM flags = noteMouseButtons(e);
    if (followWindowMove(e)) return;

    updateTracking(e.screen);

    HWND under = e.window != 0 && live(HWND{e.window}) != nullptr ? HWND{e.window} : windowFromPoint(e.screen);
    HWND target = live(capture) != nullptr ? capture : under;
    if (e.kind == Kind::ButtonDown && !live(capture) && !activateOnPress(target)) return;

    const WindowRecord* rec = live(target);
    if (rec == nullptr || !rec->enabled) return;
    const POINT client{e.screen.x - rec->rect.left, e.screen.y - rec->rect.top};
    UINT message = WM_MOUSEMOVE;
    switch (e.kind) {
        case Kind::MouseMove:
            send(target, WM_SETCURSOR, target.value, MAKELPARAM(static_cast<int>(HTCLIENT), WM_MOUSEMOVE));
            break;
        case Kind::ButtonDown:
        case Kind::ButtonUp:
            message = buttonMessage(e, *rec);
            break;
        case Kind::Wheel:
            dispatchQueued(MSG{target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(flags), e.wheelDelta),
                               LParamFromPoint(e.screen), cursor});
            return;
        default:
            return;
    }
    if (live(target) == nullptr) return;
    dispatchQueued(MSG{target, message, flags, LParamFromPoint(client), cursor});
}

// ============================================================================
// Loop
// ============================================================================

bool WindowSystemImpl::processPosted() {
    MSG msg;
    {
        std::lock_guard lock(queueMutex_);
        if (posted_.empty()) return false;
        msg = posted_.front();
        posted_.pop_front();
    }
    if (msg.message == WM_QUIT) {
        postQuit(static_cast<int>(msg.wParam));
        return true;
    }
    dispatchQueued(msg);
    return true;
}

bool WindowSystemImpl::processInput() {
    InputEvent e;
    if (!injected.empty()) {
        e = injected.front();
        injected.pop_front();
    } else if (!backend.PollEvent(e)) {
        return false;
    }
    handleInput(e);
    return true;
}

bool WindowSystemImpl::processOne() {
    return processPosted() || processInput() || processPaint() || processTimer() || processHover();
}

bool WindowSystemImpl::pumpPending() {
    while (!quit && processOne()) {
    }
    return !quit;
}

bool WindowSystemImpl::pumpOrWait() {
    if (quit) return false;
    if (processOne()) return !quit;
    if (idleSource != nullptr && idleSource->RunIdleStep()) return !quit;
    Clock::Duration timeout{-1};
    std::optional<Clock::Duration> next = nextDeadline();
    if (idleSource != nullptr) {
        if (auto due = idleSource->NextIdleDue(); due && (!next || *due < *next)) next = due;
    }
    if (next) timeout = std::max(Clock::Duration{0}, *next - backend.clock().now());
    if (backend.WaitForEvent(timeout) == WaitResult::Stalled) return false;
    return !quit;
}

bool WindowSystemImpl::runUntil(const std::function<bool()>& done) {
    while (true) {
        if (done()) return true;
        if (!pumpOrWait()) return done();
    }
}

}  // namespace zavrin
