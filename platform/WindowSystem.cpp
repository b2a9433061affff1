#include "platform/WindowSystem.h"

#include "platform/WindowSystemImpl.h"

namespace zavrin {

namespace {
WindowSystem* g_current = nullptr;
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
Backend& WindowSystem::backend() { return impl_->backend(); }
Graphics* WindowSystem::graphics() { return impl_->paint().graphics(); }
bool WindowSystem::PumpPending() { return impl_->loop().pumpPending(); }
bool WindowSystem::PumpOrWait() { return impl_->loop().pumpOrWait(); }
bool WindowSystem::RunUntil(const std::function<bool()>& done) { return impl_->loop().runUntil(done); }
std::optional<Clock::Duration> WindowSystem::NextDeadline() const { return impl_->loop().nextDeadline(); }
bool WindowSystem::QuitPending() const { return impl_->loop().quitPending(); }
int WindowSystem::QuitCode() const { return impl_->loop().quitCode(); }
void WindowSystem::ClearQuit() { impl_->loop().clearQuit(); }
std::vector<HWND> WindowSystem::ZOrder() const { return impl_->zorder().list(); }
void WindowSystem::SetIdleSource(IdleSource* source) { impl_->loop().setIdleSource(source); }
void WindowSystem::InjectInput(const InputEvent& event) { impl_->loop().inject(event); }

// ============================================================================
// WindowSystemImpl: what concerns every part
// ============================================================================

WindowSystemImpl::WindowSystemImpl(Backend& b, Graphics* g) : backend_(b), paint_(table_, zorder_, b, g) {}

WindowSystemImpl::~WindowSystemImpl() { destroyAll(); }

void WindowSystemImpl::destroyAll() {
    // Destroy what is left, top-level owners first (owned windows go with them).
    while (!zorder_.empty()) {
        const HWND h = zorder_.bottom();
        if (!destroy(h)) zorder_.remove(h);
    }
}

HWND WindowSystemImpl::create(CWnd* object, std::uint32_t exStyle, std::uint32_t style, const RECT& rect,
                              HWND owner, std::string_view title, std::uint32_t classStyle) {
    const HWND h = table_.add(object, exStyle, style, rect, owner, title, classStyle).hwnd;
    queue_.open(h);
    // New windows start at the top of their band, hidden.
    zorder_.addOnTop(h);

    NativeWindowParams params;
    params.rect = rect;
    params.owner = table_.live(owner) != nullptr ? owner.value : 0;
    params.topmost = (exStyle & WS_EX_TOPMOST) != 0;
    params.toolWindow = (exStyle & WS_EX_TOOLWINDOW) != 0;
    params.layered = (exStyle & WS_EX_LAYERED) != 0;
    params.appWindow = (exStyle & WS_EX_APPWINDOW) != 0;
    params.noActivate = (exStyle & WS_EX_NOACTIVATE) != 0;
    params.title = std::string(title);
    backend_.CreateNativeWindow(h.value, params);
    return h;
}

bool WindowSystemImpl::destroy(HWND h) {
    WindowRecord* rec = table_.live(h);
    if (rec == nullptr || rec->destroying) return false;
    rec->destroying = true;

    // Owned windows go first, as on the desktop.
    for (HWND w : zorder_.ownedBy(h)) destroy(w);

    if (rec->visible) placement_.show(h, SW_HIDE);
    activation_.forget(h);
    capture_.forget(h);
    hover_.forget(h);
    input_.forget(h);

    table_.send(h, WM_DESTROY, 0, 0);
    table_.send(h, WM_NCDESTROY, 0, 0);

    timers_.removeWindow(h);
    queue_.close(h);
    zorder_.remove(h);
    backend_.DestroyNativeWindow(h.value);
    table_.markDestroyed(*rec);
    return true;
}

bool WindowSystemImpl::post(HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    return queue_.post(MSG{h, message, wParam, lParam, pointer_.cursor()});
}

}  // namespace zavrin
