#include "platform/win32/Win32Backend.h"

#include <algorithm>
#include <chrono>
#include <deque>
#include <map>

#include "model/Utf16.h"
#include "platform/win32/WideText.h"

#include <windows.h>
#include <windowsx.h>

namespace zavrin {

namespace {

constexpr const wchar_t* kWindowClass = L"ZavrinWindow";
// The surface bits as SetDIBitsToDevice reads them: 32-bit rows, top-down.
constexpr WORD kBitsPerPixel = 32;

struct NativeRecord {
    ::HWND hwnd = nullptr;
    const Image* surface = nullptr;  // the layer's, valid until resize or destroy
    bool noActivate = false;
    bool trackingLeave = false;
};

struct CreateContext {
    Win32Backend::Impl* impl;
    NativeWindowId id;
};

// Left and right modifiers told apart: Windows reports VK_SHIFT, VK_CONTROL and
// VK_MENU and leaves the side to the scan code and the extended-key bit.
std::uint32_t SidedKey(WPARAM vk, LPARAM lParam) {
    const bool extended = (lParam & (1 << 24)) != 0;
    switch (vk) {
        case VK_SHIFT: {
            const UINT scan = (static_cast<UINT>(lParam) >> 16) & 0xFF;
            return MapVirtualKeyW(scan, MAPVK_VSC_TO_VK_EX) == VK_RSHIFT ? VK_RSHIFT : VK_LSHIFT;
        }
        case VK_CONTROL:
            return extended ? VK_RCONTROL : VK_LCONTROL;
        case VK_MENU:
            return extended ? VK_RMENU : VK_LMENU;
        default:
            return static_cast<std::uint32_t>(vk);
    }
}

}  // namespace

struct Win32Backend::Impl {
    SystemClock clock;
    HANDLE wakeEvent = nullptr;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    std::map<NativeWindowId, NativeRecord> windows;
    std::deque<InputEvent> events;
    ForeignMessageHandler foreign;
    bool activatingOurselves = false;
    wchar_t highSurrogate = 0;

    NativeRecord* find(NativeWindowId id) {
        auto it = windows.find(id);
        return it != windows.end() ? &it->second : nullptr;
    }

    bool isOurs(::HWND hwnd) const {
        for (const auto& [id, rec] : windows) {
            if (rec.hwnd == hwnd) return true;
        }
        return false;
    }

    static LRESULT CALLBACK WindowProc(::HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            const auto* context = static_cast<const CreateContext*>(create->lpCreateParams);
            SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(context->impl));
            SetWindowLongPtrW(hwnd, sizeof(LONG_PTR), static_cast<LONG_PTR>(context->id));
        }
        auto* impl = reinterpret_cast<Impl*>(GetWindowLongPtrW(hwnd, 0));
        const auto id = static_cast<NativeWindowId>(GetWindowLongPtrW(hwnd, sizeof(LONG_PTR)));
        if (impl == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
        LRESULT result = 0;
        if (impl->handle(hwnd, id, message, wParam, lParam, result)) return result;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    bool registerClass(const wchar_t* name) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        // Double clicks arrive as WM_LBUTTONDBLCLK, which becomes a second press
        // with clickCount 2; the window layer decides per window what it means.
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Impl::WindowProc;
        wc.cbWndExtra = 2 * sizeof(LONG_PTR);
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        constexpr int kProgramIcon = 128;
        wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kProgramIcon));
        wc.lpszClassName = name;
        return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }

    void push(InputEvent e) { events.push_back(e); }

    void pushMouse(::HWND hwnd, NativeWindowId id, InputEvent::Kind kind, MouseButton button, int clicks,
                   WPARAM wParam, LPARAM lParam) {
        ::POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &p);
        InputEvent e;
        e.kind = kind;
        e.window = id;
        e.screen = POINT{p.x, p.y};
        e.button = button;
        e.clickCount = clicks;
        e.shift = (wParam & MK_SHIFT) != 0;
        e.control = (wParam & MK_CONTROL) != 0;
        push(e);
    }

    void pushKey(InputEvent::Kind kind, std::uint32_t key) {
        InputEvent e;
        e.kind = kind;
        e.key = key;
        e.shift = GetKeyState(VK_SHIFT) < 0;
        e.control = GetKeyState(VK_CONTROL) < 0;
        push(e);
    }

    void paint(::HWND hwnd, const NativeRecord& rec) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (rec.surface != nullptr) {
            copyToScreen(dc, *rec.surface,
                         RECT{ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom});
        }
        EndPaint(hwnd, &ps);
    }

    static void copyToScreen(HDC dc, const Image& surface, const RECT& area) {
        const RECT r = IntersectRect(area, surface.bounds());
        if (IsRectEmpty(r)) return;
        // A top-down DIB over just the rows of `r`, so that no scan-line
        // arithmetic of SetDIBitsToDevice's bottom-up convention is involved.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = surface.width();
        info.bmiHeader.biHeight = -r.height();
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = kBitsPerPixel;
        info.bmiHeader.biCompression = BI_RGB;
        const std::uint32_t* firstRow = surface.data() + static_cast<std::size_t>(r.top) * surface.width();
        SetDIBitsToDevice(dc, r.left, r.top, static_cast<DWORD>(r.width()), static_cast<DWORD>(r.height()), r.left, 0,
                          0, static_cast<UINT>(r.height()), firstRow, &info, DIB_RGB_COLORS);
    }

    bool handle(::HWND hwnd, NativeWindowId id, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        using Kind = InputEvent::Kind;
        NativeRecord* rec = find(id);
        if (rec == nullptr || rec->hwnd != hwnd) return false;
        switch (message) {
            case WM_MOUSEMOVE:
                if (!rec->trackingLeave) {
                    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
                    rec->trackingLeave = TrackMouseEvent(&track) != FALSE;
                }
                pushMouse(hwnd, id, Kind::MouseMove, MouseButton::Left, 1, wParam, lParam);
                return true;
            case WM_MOUSELEAVE: {
                // The cursor went to another program or to the desktop: a move
                // the layer places by position, so hover ends where it must.
                rec->trackingLeave = false;
                ::POINT p{};
                GetCursorPos(&p);
                InputEvent e;
                e.kind = Kind::MouseMove;
                e.screen = POINT{p.x, p.y};
                push(e);
                return true;
            }
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDOWN:
            case WM_RBUTTONDBLCLK:
            case WM_MBUTTONDOWN:
            case WM_MBUTTONDBLCLK: {
                const MouseButton button = message <= WM_LBUTTONDBLCLK   ? MouseButton::Left
                                           : message <= WM_RBUTTONDBLCLK ? MouseButton::Right
                                                                          : MouseButton::Middle;
                const bool dbl =
                    message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
                pushMouse(hwnd, id, Kind::ButtonDown, button, dbl ? 2 : 1, wParam, lParam);
                return true;
            }
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
            case WM_MBUTTONUP: {
                const MouseButton button = message == WM_LBUTTONUP   ? MouseButton::Left
                                           : message == WM_RBUTTONUP ? MouseButton::Right
                                                                     : MouseButton::Middle;
                pushMouse(hwnd, id, Kind::ButtonUp, button, 1, wParam, lParam);
                return true;
            }
            case WM_MOUSEWHEEL: {
                // Wheel positions are screen coordinates already; the layer sends
                // the wheel to the window under the cursor.
                InputEvent e;
                e.kind = Kind::Wheel;
                e.screen = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                e.wheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
                e.shift = (GET_KEYSTATE_WPARAM(wParam) & MK_SHIFT) != 0;
                e.control = (GET_KEYSTATE_WPARAM(wParam) & MK_CONTROL) != 0;
                push(e);
                return true;
            }
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                pushKey(Kind::KeyDown, SidedKey(wParam, lParam));
                return message == WM_KEYDOWN;  // Alt+F4 and the like keep their system meaning
            case WM_KEYUP:
            case WM_SYSKEYUP:
                pushKey(Kind::KeyUp, SidedKey(wParam, lParam));
                return message == WM_KEYUP;
            case WM_CHAR: {
                const auto unit = static_cast<wchar_t>(wParam);
                if (isHighSurrogate(unit)) {
                    highSurrogate = unit;
                    return true;
                }
                std::uint32_t codePoint = unit;
                if (isLowSurrogate(unit)) {
                    if (highSurrogate == 0) return true;
                    codePoint = joinSurrogates(highSurrogate, unit);
                }
                highSurrogate = 0;
                InputEvent e;
                e.kind = Kind::Char;
                e.key = codePoint;
                push(e);
                return true;
            }
            case WM_CLOSE: {
                InputEvent e;
                e.kind = Kind::CloseRequested;
                e.window = id;
                push(e);
                return true;
            }
            case WM_ACTIVATE: {
                InputEvent e;
                e.window = id;
                if (LOWORD(wParam) != WA_INACTIVE) {
                    if (activatingOurselves) return false;
                    e.kind = Kind::FocusGained;
                } else {
                    // Activation moving between the program's own windows is the
                    // layer's business; only another program taking it counts.
                    if (isOurs(reinterpret_cast<::HWND>(lParam))) return false;
                    e.kind = Kind::FocusLost;
                }
                push(e);
                return false;
            }
            case WM_MOUSEACTIVATE:
                if (rec->noActivate) {
                    result = MA_NOACTIVATE;
                    return true;
                }
                return false;
            case WM_ERASEBKGND:
                result = 1;  // the surface covers everything
                return true;
            case WM_PAINT:
                paint(hwnd, *rec);
                return true;
            default:
                if (message >= WM_USER && message < 0xC000 && foreign) {
                    foreign(message, wParam, lParam);
                    return true;
                }
                return false;
        }
    }

    void pumpNative() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
};

Win32Backend::Win32Backend() : impl_(std::make_unique<Impl>()) {
    impl_->wakeEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    impl_->registerClass(kMainWindowClass);
    impl_->registerClass(kWindowClass);
}

Win32Backend::~Win32Backend() {
    for (auto& [id, rec] : impl_->windows) {
        SetWindowLongPtrW(rec.hwnd, 0, 0);
        DestroyWindow(rec.hwnd);
    }
    if (impl_->wakeEvent != nullptr) CloseHandle(impl_->wakeEvent);
}

void Win32Backend::setForeignMessageHandler(ForeignMessageHandler handler) { impl_->foreign = std::move(handler); }

std::uintptr_t Win32Backend::nativeHandle(NativeWindowId id) const {
    auto it = impl_->windows.find(id);
    return it != impl_->windows.end() ? reinterpret_cast<std::uintptr_t>(it->second.hwnd) : 0;
}

Clock& Win32Backend::clock() { return impl_->clock; }

void Win32Backend::CreateNativeWindow(NativeWindowId id, const NativeWindowParams& params) {
    DWORD exStyle = 0;
    if (params.appWindow) exStyle |= WS_EX_APPWINDOW;
    if (params.toolWindow) exStyle |= WS_EX_TOOLWINDOW;
    if (params.topmost) exStyle |= WS_EX_TOPMOST;
    if (params.layered) exStyle |= WS_EX_LAYERED;
    if (params.noActivate) exStyle |= WS_EX_NOACTIVATE;
    ::HWND owner = nullptr;
    if (const NativeRecord* o = impl_->find(params.owner)) owner = o->hwnd;
    CreateContext context{impl_.get(), id};
    NativeRecord rec;
    rec.noActivate = params.noActivate;
    impl_->windows[id] = rec;
    const std::wstring title = WideFromUtf8(params.title);
    ::HWND hwnd = CreateWindowExW(exStyle, params.appWindow ? kMainWindowClass : kWindowClass, title.c_str(), WS_POPUP,
                                  params.rect.left, params.rect.top, params.rect.width(), params.rect.height(), owner,
                                  nullptr, impl_->instance, &context);
    if (hwnd == nullptr) {
        impl_->windows.erase(id);
        return;
    }
    impl_->windows[id].hwnd = hwnd;
    // A layered window shows nothing until its opacity is set.
    if (params.layered) SetLayeredWindowAttributes(hwnd, 0, 255, LWA_ALPHA);
}

void Win32Backend::DestroyNativeWindow(NativeWindowId id) {
    NativeRecord* rec = impl_->find(id);
    if (rec == nullptr) return;
    ::HWND hwnd = rec->hwnd;
    impl_->windows.erase(id);
    // Messages sent while it goes (WM_ACTIVATE, WM_CLOSE) no longer concern the layer.
    SetWindowLongPtrW(hwnd, 0, 0);
    DestroyWindow(hwnd);
}

void Win32Backend::MoveNativeWindow(NativeWindowId id, const RECT& r) {
    NativeRecord* rec = impl_->find(id);
    if (rec == nullptr) return;
    ::RECT old{};
    GetWindowRect(rec->hwnd, &old);
    if (old.right - old.left != r.width() || old.bottom - old.top != r.height()) rec->surface = nullptr;
    SetWindowPos(rec->hwnd, nullptr, r.left, r.top, r.width(), r.height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Backend::ShowNativeWindow(NativeWindowId id, bool shown) {
    // Showing never activates by itself: the layer activates what it means to.
    if (NativeRecord* rec = impl_->find(id)) ShowWindow(rec->hwnd, shown ? SW_SHOWNA : SW_HIDE);
}

void Win32Backend::SetNativeTopmost(NativeWindowId id, bool topmost) {
    if (NativeRecord* rec = impl_->find(id)) {
        SetWindowPos(rec->hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void Win32Backend::SetNativeOpacity(NativeWindowId id, std::uint8_t alpha) {
    if (NativeRecord* rec = impl_->find(id)) SetLayeredWindowAttributes(rec->hwnd, 0, alpha, LWA_ALPHA);
}

void Win32Backend::ActivateNativeWindow(NativeWindowId id) {
    NativeRecord* rec = impl_->find(id);
    if (rec == nullptr || rec->noActivate) return;
    impl_->activatingOurselves = true;
    SetForegroundWindow(rec->hwnd);
    SetActiveWindow(rec->hwnd);
    SetFocus(rec->hwnd);
    impl_->activatingOurselves = false;
}

void Win32Backend::Present(NativeWindowId id, const Image& surface, const RECT& dirty) {
    NativeRecord* rec = impl_->find(id);
    if (rec == nullptr) return;
    rec->surface = &surface;
    HDC dc = GetDC(rec->hwnd);
    Impl::copyToScreen(dc, surface, dirty);
    ReleaseDC(rec->hwnd, dc);
}

bool Win32Backend::PollEvent(InputEvent& event) {
    if (impl_->events.empty()) impl_->pumpNative();
    if (impl_->events.empty()) return false;
    event = impl_->events.front();
    impl_->events.pop_front();
    return true;
}

WaitResult Win32Backend::WaitForEvent(Clock::Duration timeout) {
    if (impl_->events.empty()) impl_->pumpNative();
    if (!impl_->events.empty()) return WaitResult::Event;
    DWORD ms = INFINITE;
    if (timeout >= Clock::Duration{0}) {
        // Rounded up, so that a timer due in 0.3 ms is not polled in a busy loop.
        ms = static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(timeout).count());
    }
    const DWORD r = MsgWaitForMultipleObjectsEx(1, &impl_->wakeEvent, ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r == WAIT_TIMEOUT) return WaitResult::Timeout;
    if (r == WAIT_OBJECT_0 + 1) impl_->pumpNative();
    return WaitResult::Event;
}

void Win32Backend::Wake() { SetEvent(impl_->wakeEvent); }

ScreenMetrics Win32Backend::GetScreenMetrics() {
    ScreenMetrics m;
    m.screen = SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    ::RECT work{};
    if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) {
        m.workArea = RECT{work.left, work.top, work.right, work.bottom};
    } else {
        m.workArea = RECT{0, 0, m.screen.cx, m.screen.cy};
    }
    // The full-screen client area lies inside the work area; a larger answer
    // (Wine gives one without a taskbar) would scale the window past the screen.
    m.fullScreenClient = SIZE{std::min<int>(GetSystemMetrics(SM_CXFULLSCREEN), m.workArea.width()),
                              std::min<int>(GetSystemMetrics(SM_CYFULLSCREEN), m.workArea.height())};
    HDC screen = GetDC(nullptr);
    m.logicalDpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return m;
}

void Win32Backend::SetNativeCapture(NativeWindowId id, bool captured) {
    NativeRecord* rec = impl_->find(id);
    if (rec == nullptr) return;
    if (captured) {
        SetCapture(rec->hwnd);
    } else if (GetCapture() == rec->hwnd) {
        ReleaseCapture();
    }
}

}  // namespace zavrin
