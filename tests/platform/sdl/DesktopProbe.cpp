// A small program for the desktop tests: it opens the Linux desktop platform,
// shows a skinned-looking window through the window layer and writes one line
// to standard output for every message of interest, so that a test driving it
// from outside (xdotool under Xvfb) can tell what arrived.
//
//   desktop_probe [--at X Y W H] [--tray] [--keycapture] [--osd] [--popup]
//                 [--t0 NANOSECONDS] [--bench-present W H N]
//
// Lines: "ready X Y W H", "down X Y", "capmove X Y", "up X Y", "dblclick X Y",
// "rup X Y", "wheel D", "keydown 0xVK", "keyup 0xVK", "char 0xCP", "activate N",
// "move X Y", "leave", "close", "tray 0|1", "traycb MSG", "command ID",
// "hook 0xVK down|up", "metrics ...", "show-request".
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/Canvas.h"
#include "platform/DesktopPlatform.h"
#include "platform/Messages.h"
#include "platform/Window.h"
#include "platform/WindowSystem.h"

using namespace zavrin;

namespace {

constexpr UINT kTrayMessage = WM_USER + 10;
constexpr UINT kHookMessage = WM_USER + 11;
constexpr UINT kShowMessage = WM_USER + 12;
constexpr UINT kShowItem = 1001;
constexpr UINT kExitItem = 1002;

constexpr COLORREF kCaption = RGB(0x35, 0xA0, 0xDE);
constexpr COLORREF kBody = RGB(0x30, 0x30, 0x30);
constexpr COLORREF kButton = RGB(0xE0, 0x40, 0x30);
constexpr COLORREF kOsd = RGB(0x20, 0xC0, 0x40);
constexpr COLORREF kPopup = RGB(0xF0, 0xE0, 0x20);

void Say(const char* format, auto... args) {
    std::printf(format, args...);
    std::printf("\n");
    std::fflush(stdout);
}

// A window of one colour.
class Plain : public CWnd {
public:
    explicit Plain(COLORREF color) : color_(color) {}

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            PAINTSTRUCT ps;
            if (Canvas* c = BeginPaint(GetSafeHwnd(), ps)) c->FillRect(GetClientRect(), color_);
            EndPaint(GetSafeHwnd(), ps);
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }

private:
    COLORREF color_;
};

class ProbeWindow : public CWnd {
public:
    PlatformServices* services = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        const int x = GET_X_LPARAM(lParam);
        const int y = GET_Y_LPARAM(lParam);
        switch (message) {
            case WM_PAINT: {
                PAINTSTRUCT ps;
                if (Canvas* c = BeginPaint(GetSafeHwnd(), ps)) {
                    const RECT r = GetClientRect();
                    c->FillRect(r, kBody);
                    c->FillRect(RECT{0, 0, r.right, 30}, kCaption);
                    c->FillRect(RECT{20, 60, 140, 100}, kButton);
                    c->FrameRect(r, RGB(0x10, 0x10, 0x10));
                }
                EndPaint(GetSafeHwnd(), ps);
                return 0;
            }
            case WM_LBUTTONDOWN:
                if (y < 30) {
                    // The caption: the window follows the mouse.
                    Say("caption %d %d", x, y);
                    SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, lParam);
                    return 0;
                }
                SetCapture(GetSafeHwnd());
                Say("down %d %d", x, y);
                return 0;
            case WM_MOUSEMOVE: {
                if (!tracking_) {
                    TRACKMOUSEEVENT t;
                    t.dwFlags = TME_LEAVE;
                    t.hwndTrack = GetSafeHwnd();
                    tracking_ = TrackMouseEvent(t);
                }
                if (GetCapture() == GetSafeHwnd()) Say("capmove %d %d", x, y);
                return 0;
            }
            case WM_MOUSELEAVE:
                tracking_ = false;
                Say("leave");
                return 0;
            case WM_LBUTTONUP:
                Say("up %d %d", x, y);
                if (GetCapture() == GetSafeHwnd()) ReleaseCapture();
                return 0;
            case WM_LBUTTONDBLCLK:
                Say("dblclick %d %d", x, y);
                return 0;
            case WM_RBUTTONUP:
                Say("rup %d %d", x, y);
                return 0;
            case WM_MOUSEWHEEL:
                Say("wheel %d", static_cast<int>(static_cast<short>(HIWORD(wParam))));
                return 0;
            case WM_KEYDOWN:
                Say("keydown 0x%02X", static_cast<unsigned>(wParam));
                return 0;
            case WM_KEYUP:
                Say("keyup 0x%02X", static_cast<unsigned>(wParam));
                return 0;
            case WM_CHAR:
                Say("char 0x%X", static_cast<unsigned>(wParam));
                return 0;
            case WM_ACTIVATE:
                Say("activate %d", static_cast<int>(LOWORD(wParam)));
                return 0;
            case WM_MOVE:
                Say("move %d %d", x, y);
                return 0;
            case WM_CLOSE:
                Say("close");
                PostQuitMessage(0);
                return 0;
            case kTrayMessage:
                Say("traycb 0x%X", static_cast<unsigned>(lParam));
                return 0;
            case WM_COMMAND:
                Say("command %u", static_cast<unsigned>(LOWORD(wParam)));
                if (LOWORD(wParam) == kExitItem) PostQuitMessage(0);
                return 0;
            case kHookMessage:
                Say("hook 0x%02X %s", static_cast<unsigned>(wParam),
                    (static_cast<std::uint64_t>(lParam) & 0x80000000u) != 0 ? "up" : "down");
                return 0;
            case kShowMessage:
                Say("show-request");
                return 0;
            default:
                return CWnd::WindowProc(message, wParam, lParam);
        }
    }

private:
    bool tracking_ = false;
};

long long NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

int main(int argc, char** argv) {
    RECT at{100, 80, 580, 380};
    bool tray = false, keycapture = false, osd = false, popup = false;
    long long t0 = 0;
    int benchW = 0, benchH = 0, benchN = 0;
    std::string dataDir;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--at" && i + 4 < argc) {
            const int x = std::atoi(argv[++i]), y = std::atoi(argv[++i]);
            const int w = std::atoi(argv[++i]), h = std::atoi(argv[++i]);
            at = RECT{x, y, x + w, y + h};
        } else if (a == "--tray") {
            tray = true;
        } else if (a == "--keycapture") {
            keycapture = true;
        } else if (a == "--osd") {
            osd = true;
        } else if (a == "--popup") {
            popup = true;
        } else if (a == "--t0" && i + 1 < argc) {
            t0 = std::atoll(argv[++i]);
        } else if (a == "--single" && i + 1 < argc) {
            dataDir = argv[++i];
        } else if (a == "--bench-present" && i + 3 < argc) {
            benchW = std::atoi(argv[++i]);
            benchH = std::atoi(argv[++i]);
            benchN = std::atoi(argv[++i]);
        }
    }

    std::string error;
    std::unique_ptr<DesktopPlatform> platform = OpenDesktopPlatform(error);
    if (!platform) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    if (!dataDir.empty() && !platform->services->ClaimSingleInstance(dataDir)) {
        Say("second %d", platform->services->SignalFirstInstance(dataDir) ? 1 : 0);
        return 0;
    }
    WindowSystem windows(*platform->backend, platform->graphics.get());
    const ScreenMetrics m = platform->backend->GetScreenMetrics();
    Say("metrics %d %d %d %d %d %d %d", m.screen.cx, m.screen.cy, m.workArea.left, m.workArea.top,
        m.workArea.right, m.workArea.bottom, m.logicalDpi);

    if (benchN > 0) {
        // Full frames of W x H presented N times: the cost of a full repaint's
        // way to the screen.
        Plain big(kBody);
        big.CreateEx(WS_EX_APPWINDOW, WS_POPUP | WS_VISIBLE, RECT{0, 0, benchW, benchH}, HWND{});
        big.UpdateWindow();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < benchN; ++i) {
            big.Invalidate(FALSE);
            big.UpdateWindow();
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / benchN;
        Say("bench-present %dx%d %.3f ms", benchW, benchH, ms);
        return 0;
    }

    ProbeWindow wnd;
    wnd.services = platform->services.get();
    if (!wnd.CreateEx(WS_EX_APPWINDOW, WS_POPUP, at, HWND{}, "Zavrin probe")) return 2;
    wnd.ShowWindow(SW_SHOW);
    wnd.UpdateWindow();
    const RECT r = wnd.GetWindowRect();
    if (t0 != 0) Say("first-frame %.1f ms", static_cast<double>(NowNs() - t0) / 1e6);
    if (!dataDir.empty()) platform->services->SetShowRequestTarget(wnd.GetSafeHwnd(), kShowMessage);

    Plain osdWnd(kOsd), popupWnd(kPopup);
    if (osd) {
        const RECT wa = m.workArea;
        osdWnd.CreateEx(WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP,
                        RECT{wa.right - 220, wa.bottom - 80, wa.right - 20, wa.bottom - 20}, HWND{});
        SetLayeredWindowAttributes(osdWnd.GetSafeHwnd(), 160);
        osdWnd.ShowWindow(SW_SHOWNOACTIVATE);
        osdWnd.UpdateWindow();
    }
    if (popup) {
        popupWnd.CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP,
                          RECT{r.left + 200, r.top + 150, r.left + 360, r.top + 250}, wnd.GetSafeHwnd());
        popupWnd.ShowWindow(SW_SHOWNA);
        popupWnd.UpdateWindow();
    }
    if (tray) {
        TrayIconRequest request;
        request.target = wnd.GetSafeHwnd();
        request.callbackMessage = kTrayMessage;
        request.iconId = 1;
        auto icon = std::make_shared<Image>(16, 16);
        icon->fill(kCaption);
        request.icon = icon;
        request.tip = "Zavrin ZR2";
        request.menu = {{kShowItem, "&Show"}, {kExitItem, "E&xit"}};
        Say("tray %d", platform->services->AddTrayIcon(request) ? 1 : 0);
    }
    if (keycapture) platform->services->StartKeyboardCapture(wnd.GetSafeHwnd(), kHookMessage);
    Say("ready %d %d %d %d", r.left, r.top, r.width(), r.height());

    windows.RunUntil([] { return false; });
    Say("quit");
    return 0;
}
