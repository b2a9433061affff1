#include "platform/Window.h"

#include "platform/WindowSystemImpl.h"

namespace zavrin {

namespace {

// Every function of the layer needs the installed WindowSystem; without one
// (after shutdown, in a tool that has none) they do nothing and return the
// neutral value.
template <typename R, typename F>
R WithImpl(R fallback, F&& f) {
    WindowSystemImpl* impl = CurrentImpl();
    return impl != nullptr ? f(*impl) : fallback;
}

}  // namespace

// ============================================================================
// CWnd
// ============================================================================

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (WindowSystemImpl* impl = CurrentImpl()) {
        if (hwnd_) impl->destroy(hwnd_);
        // The object is going; a record that outlives it must not call it.
        impl->table().detachObject(this);
    }
}

bool CWnd::CreateEx(std::uint32_t exStyle, std::uint32_t style, const RECT& rect, HWND owner, std::string_view title,
                    std::uint32_t classStyle) {
    WindowSystemImpl* impl = CurrentImpl();
    if (impl == nullptr || hwnd_) return false;
    const HWND h = impl->create(this, exStyle, style, rect, owner, title, classStyle);
    hwnd_ = h;
    if (impl->table().send(h, WM_CREATE, 0, 0) == -1) {
        impl->destroy(h);
        return false;
    }
    if (impl->table().live(h) == nullptr) return false;
    if ((style & WS_VISIBLE) != 0) impl->placement().show(h, SW_SHOW);
    return impl->table().live(h) != nullptr;
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return WithImpl<CWnd*>(nullptr, [&](WindowSystemImpl& s) -> CWnd* {
        const WindowRecord* rec = s.table().live(hwnd);
        return rec != nullptr ? rec->object : nullptr;
    });
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return zavrin::SendMessage(hwnd_, message, wParam, lParam);
}
bool CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return zavrin::PostMessage(hwnd_, message, wParam, lParam);
}
bool CWnd::DestroyWindow() { return zavrin::DestroyWindow(hwnd_); }
std::uintptr_t CWnd::SetTimer(std::uintptr_t id, std::uint32_t elapseMs) { return zavrin::SetTimer(hwnd_, id, elapseMs); }
bool CWnd::KillTimer(std::uintptr_t id) { return zavrin::KillTimer(hwnd_, id); }
void CWnd::Invalidate(BOOL erase) { zavrin::InvalidateRect(hwnd_, nullptr, erase); }
void CWnd::InvalidateRect(const RECT* rect, BOOL erase) { zavrin::InvalidateRect(hwnd_, rect, erase); }
void CWnd::UpdateWindow() { zavrin::UpdateWindow(hwnd_); }
RECT CWnd::GetClientRect() const { return zavrin::GetClientRect(hwnd_); }
RECT CWnd::GetWindowRect() const { return zavrin::GetWindowRect(hwnd_); }
bool CWnd::ShowWindow(int command) { return zavrin::ShowWindow(hwnd_, command); }
bool CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) {
    return zavrin::SetWindowPos(hwnd_, insertAfter, x, y, cx, cy, flags);
}
bool CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    return zavrin::MoveWindow(hwnd_, x, y, width, height, repaint);
}

void CWnd::CenterWindow(HWND alternateOwner) {
    const RECT r = zavrin::GetWindowRect(hwnd_);
    HWND around = alternateOwner ? alternateOwner : GetWindowOwner(hwnd_);
    RECT area = GetWorkArea();
    if (IsWindow(around) && IsWindowVisible(around) && !IsIconic(around)) area = zavrin::GetWindowRect(around);
    int x = area.left + (area.width() - r.width()) / 2;
    int y = area.top + (area.height() - r.height()) / 2;
    // Keep the window on the work area where it fits.
    const RECT work = GetWorkArea();
    x = std::max(work.left, std::min(x, work.right - r.width()));
    y = std::max(work.top, std::min(y, work.bottom - r.height()));
    zavrin::SetWindowPos(hwnd_, HWND{}, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CWnd::PreTranslateMessage(MSG&) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) { return DefWindowProc(message, wParam, lParam); }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_CLOSE:
            zavrin::DestroyWindow(hwnd_);
            return 0;
        case WM_PAINT:
            ValidateRect(hwnd_, nullptr);
            return 0;
        case WM_ERASEBKGND:
            return 0;
        case WM_NCACTIVATE:
            return TRUE;
        case WM_MOUSEACTIVATE:
            return (GetWindowExStyle(hwnd_) & WS_EX_NOACTIVATE) != 0 ? MA_NOACTIVATE : MA_ACTIVATE;
        case WM_NCLBUTTONDOWN:
            if (wParam == HTCAPTION) {
                if (WindowSystemImpl* impl = CurrentImpl()) impl->input().startMove(hwnd_);
            }
            return 0;
        default:
            return 0;
    }
}

void CWnd::PostNcDestroy() {}

// ============================================================================
// Free functions
// ============================================================================

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return WithImpl<LRESULT>(0, [&](WindowSystemImpl& s) {
        return s.table().send(hwnd, message, wParam, lParam);
    });
}

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.post(hwnd, message, wParam, lParam); });
}

short GetKeyState(int virtualKey) {
    return WithImpl<short>(0, [&](WindowSystemImpl& s) -> short {
        return s.keys().isDown(virtualKey) ? static_cast<short>(-32768) : 0;
    });
}

void PostQuitMessage(int exitCode) {
    WithImpl(0, [&](WindowSystemImpl& s) {
        s.loop().postQuit(exitCode);
        return 0;
    });
}

bool IsWindow(HWND hwnd) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.table().live(hwnd) != nullptr; });
}

bool DestroyWindow(HWND hwnd) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.destroy(hwnd); });
}

HWND GetWindowOwner(HWND hwnd) {
    return WithImpl(HWND{}, [&](WindowSystemImpl& s) {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr ? r->owner : HWND{};
    });
}

std::uint32_t GetWindowStyle(HWND hwnd) {
    return WithImpl<std::uint32_t>(0, [&](WindowSystemImpl& s) -> std::uint32_t {
        const WindowRecord* r = s.table().live(hwnd);
        if (r == nullptr) return 0;
        std::uint32_t style = r->style & ~(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
        if (r->visible) style |= WS_VISIBLE;
        if (!r->enabled) style |= WS_DISABLED;
        if (r->minimized) style |= WS_MINIMIZE;
        if (r->maximized) style |= WS_MAXIMIZE;
        return style;
    });
}

std::uint32_t GetWindowExStyle(HWND hwnd) {
    return WithImpl<std::uint32_t>(0, [&](WindowSystemImpl& s) -> std::uint32_t {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr ? r->exStyle : 0;
    });
}

void SetWindowExStyle(HWND hwnd, std::uint32_t exStyle) {
    WithImpl(0, [&](WindowSystemImpl& s) {
        WindowRecord* r = s.table().live(hwnd);
        if (r == nullptr) return 0;
        const bool topmost = (exStyle & WS_EX_TOPMOST) != 0;
        if (topmost != ((r->exStyle & WS_EX_TOPMOST) != 0)) {
            s.placement().setPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        if (WindowRecord* again = s.table().live(hwnd)) again->exStyle = exStyle;
        return 0;
    });
}

void SetWindowText(HWND hwnd, std::string_view text) {
    WithImpl(0, [&](WindowSystemImpl& s) {
        if (WindowRecord* r = s.table().live(hwnd)) r->title = std::string(text);
        return 0;
    });
}

std::string GetWindowText(HWND hwnd) {
    return WithImpl(std::string(), [&](WindowSystemImpl& s) {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr ? r->title : std::string();
    });
}

std::uintptr_t SetTimer(HWND hwnd, std::uintptr_t id, std::uint32_t elapseMs) {
    return WithImpl<std::uintptr_t>(0, [&](WindowSystemImpl& s) -> std::uintptr_t {
        if (s.table().live(hwnd) == nullptr) return 0;
        s.timers().set(hwnd, id, elapseMs, s.backend().clock().now());
        return id;
    });
}

bool KillTimer(HWND hwnd, std::uintptr_t id) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.timers().kill(hwnd, id); });
}

HWND SetCapture(HWND hwnd) {
    return WithImpl(HWND{}, [&](WindowSystemImpl& s) { return s.capture().set(hwnd); });
}

bool ReleaseCapture() {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.capture().release(); });
}

HWND GetCapture() {
    return WithImpl(HWND{}, [&](WindowSystemImpl& s) { return s.capture().window(); });
}

bool TrackMouseEvent(const TRACKMOUSEEVENT& request) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.hover().track(request); });
}

POINT GetCursorPos() {
    return WithImpl(POINT{}, [&](WindowSystemImpl& s) { return s.pointer().cursor(); });
}

HWND WindowFromPoint(POINT screen) {
    return WithImpl(HWND{}, [&](WindowSystemImpl& s) { return s.zorder().windowFromPoint(screen); });
}

HWND SetActiveWindow(HWND hwnd) {
    return WithImpl(HWND{}, [&](WindowSystemImpl& s) { return s.activation().activate(hwnd, WA_ACTIVE); });
}

HWND GetActiveWindow() {
    return WithImpl(HWND{}, [&](WindowSystemImpl& s) { return s.activation().activeWindow(); });
}

bool SetForegroundWindow(HWND hwnd) {
    return WithImpl(false, [&](WindowSystemImpl& s) {
        if (s.table().live(hwnd) == nullptr) return false;
        const HWND before = s.activation().active();
        s.activation().activate(hwnd, WA_ACTIVE);
        // Already the program's active window, it may still be behind another
        // program on the desktop (whose focus change is not handled yet).
        if (before == hwnd && s.activation().active() == hwnd) s.backend().ActivateNativeWindow(hwnd.value);
        return true;
    });
}

HWND GetForegroundWindow() { return GetActiveWindow(); }

bool EnableWindow(HWND hwnd, BOOL enable) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.placement().enable(hwnd, enable != FALSE); });
}

bool IsWindowEnabled(HWND hwnd) {
    return WithImpl(false, [&](WindowSystemImpl& s) {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr && r->enabled;
    });
}

bool ShowWindow(HWND hwnd, int command) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.placement().show(hwnd, command); });
}

bool IsWindowVisible(HWND hwnd) {
    return WithImpl(false, [&](WindowSystemImpl& s) {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr && r->visible;
    });
}

bool IsIconic(HWND hwnd) {
    return WithImpl(false, [&](WindowSystemImpl& s) {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr && r->minimized;
    });
}

bool IsZoomed(HWND hwnd) {
    return WithImpl(false, [&](WindowSystemImpl& s) {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr && r->maximized;
    });
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) {
    return WithImpl(false, [&](WindowSystemImpl& s) {
        return s.placement().setPos(hwnd, insertAfter, x, y, cx, cy, flags);
    });
}

bool MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return WithImpl(false, [&](WindowSystemImpl& s) {
        if (!s.placement().setPos(hwnd, HWND{}, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE)) return false;
        if (repaint) s.paint().invalidate(hwnd, nullptr, true);
        return true;
    });
}

RECT GetWindowRect(HWND hwnd) {
    return WithImpl(RECT{}, [&](WindowSystemImpl& s) {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr ? r->rect : RECT{};
    });
}

RECT GetClientRect(HWND hwnd) {
    const RECT r = GetWindowRect(hwnd);
    return RECT{0, 0, r.width(), r.height()};
}

POINT ScreenToClient(HWND hwnd, POINT screen) {
    const RECT r = GetWindowRect(hwnd);
    return POINT{screen.x - r.left, screen.y - r.top};
}

POINT ClientToScreen(HWND hwnd, POINT client) {
    const RECT r = GetWindowRect(hwnd);
    return POINT{client.x + r.left, client.y + r.top};
}

bool InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.paint().invalidate(hwnd, rect, erase != FALSE); });
}

bool ValidateRect(HWND hwnd, const RECT* rect) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.paint().validate(hwnd, rect); });
}

bool UpdateWindow(HWND hwnd) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.paint().updateWindow(hwnd); });
}

bool GetUpdateRect(HWND hwnd, RECT* rect) {
    return WithImpl(false, [&](WindowSystemImpl& s) {
        const WindowRecord* r = s.table().live(hwnd);
        const RECT update = r != nullptr ? r->update : RECT{};
        if (rect != nullptr) *rect = update;
        return !IsRectEmpty(update);
    });
}

Canvas* BeginPaint(HWND hwnd, PAINTSTRUCT& ps) {
    return WithImpl<Canvas*>(nullptr, [&](WindowSystemImpl& s) { return s.paint().beginPaint(hwnd, ps); });
}

void EndPaint(HWND hwnd, const PAINTSTRUCT& ps) {
    WithImpl(0, [&](WindowSystemImpl& s) {
        s.paint().endPaint(hwnd, ps);
        return 0;
    });
}

const Image* GetWindowSurface(HWND hwnd) {
    return WithImpl<const Image*>(nullptr, [&](WindowSystemImpl& s) -> const Image* {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr ? &r->surface : nullptr;
    });
}

bool SetLayeredWindowAttributes(HWND hwnd, std::uint8_t alpha) {
    return WithImpl(false, [&](WindowSystemImpl& s) {
        WindowRecord* r = s.table().live(hwnd);
        if (r == nullptr) return false;
        r->opacity = alpha;
        s.backend().SetNativeOpacity(hwnd.value, alpha);
        return true;
    });
}

bool UpdateLayeredWindow(HWND hwnd, const Image& picture) {
    return WithImpl(false, [&](WindowSystemImpl& s) { return s.paint().updateLayered(hwnd, picture); });
}

std::uint8_t GetWindowOpacity(HWND hwnd) {
    return WithImpl<std::uint8_t>(0, [&](WindowSystemImpl& s) -> std::uint8_t {
        const WindowRecord* r = s.table().live(hwnd);
        return r != nullptr ? r->opacity : 0;
    });
}

int GetSystemMetrics(int index) {
    return WithImpl(0, [&](WindowSystemImpl& s) {
        const ScreenMetrics m = s.backend().GetScreenMetrics();
        switch (index) {
            case SM_CXSCREEN: return m.screen.cx;
            case SM_CYSCREEN: return m.screen.cy;
            case SM_CXFULLSCREEN: return m.fullScreenClient.cx;
            case SM_CYFULLSCREEN: return m.fullScreenClient.cy;
            case SM_CXICON:
            case SM_CYICON: return 32;
            case SM_CXDOUBLECLK:
            case SM_CYDOUBLECLK: return 4;
            default: return 0;
        }
    });
}

RECT GetWorkArea() {
    return WithImpl(RECT{}, [&](WindowSystemImpl& s) { return s.backend().GetScreenMetrics().workArea; });
}

int GetLogicalDpi() {
    return WithImpl(96, [&](WindowSystemImpl& s) { return s.backend().GetScreenMetrics().logicalDpi; });
}

void ReserveWindowSurface(SIZE size) {
    WithImpl(0, [&](WindowSystemImpl& s) {
        s.backend().ReserveSurface(size.cx, size.cy);
        return 0;
    });
}

Clock& GetUiClock() { return CurrentImpl()->backend().clock(); }

}  // namespace zavrin
