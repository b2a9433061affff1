#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "../platform/RecordingWindow.h"
#include "Win32TestSupport.h"
#include "platform/win32/NativeProbe.h"

using namespace zavrin;
using namespace zavrin::test;

namespace {

constexpr COLORREF kFrameColour = RGB(0x35, 0xA0, 0xDE);
constexpr COLORREF kMarkColour = RGB(0xFF, 0x00, 0x00);

// A window that paints one colour with a mark in its top-left corner, so that
// what reaches the screen can be told from a blank or shifted frame.
class PaintedWindow : public Recording<CWnd> {
protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_PAINT) {
            log.push_back(Received{message, wParam, lParam});
            PAINTSTRUCT ps;
            if (Canvas* c = BeginPaint(GetSafeHwnd(), ps)) {
                const RECT client = GetClientRect();
                c->FillRect(client, kFrameColour);
                c->FillRect(RECT{0, 0, 10, 10}, kMarkColour);
            }
            EndPaint(GetSafeHwnd(), ps);
            return 0;
        }
        return Recording<CWnd>::WindowProc(message, wParam, lParam);
    }
};

std::uintptr_t Native(Win32Desktop& desktop, const CWnd& wnd) {
    return desktop.backend().nativeHandle(wnd.GetSafeHwnd().value);
}

}  // namespace

TEST(Win32Backend, MainWindowIsAKestruneQtvPopupShowingItsFrameAndTakingClicks) {
    Win32Desktop desktop;
    PaintedWindow main;
    ASSERT_TRUE(main.CreateEx(WS_EX_APPWINDOW, WS_POPUP | WS_VISIBLE, RECT{50, 60, 350, 260}, HWND{}, "Zavrin test"));
    const std::uintptr_t native = Native(desktop, main);
    ASSERT_NE(native, 0u);

    const NativeWindowFacts facts = ProbeNativeWindow(native);
    EXPECT_EQ(facts.className, "Kestrune_QTV");
    EXPECT_TRUE((facts.style & 0x80000000u) != 0) << "WS_POPUP";
    EXPECT_TRUE((facts.style & 0x00C00000u) == 0) << "no caption";
    EXPECT_TRUE((facts.exStyle & WS_EX_APPWINDOW) != 0);
    EXPECT_EQ(facts.rect, (RECT{50, 60, 350, 260}));

    // The frame reaches the screen where the layer painted it: the mark in the
    // corner, the colour elsewhere.
    EXPECT_TRUE(desktop.pumpUntil([&] {
        return facts.visible && NativeClientPixel(native, POINT{150, 100}) == kFrameColour &&
               NativeClientPixel(native, POINT{5, 5}) == kMarkColour;
    })) << std::hex << NativeClientPixel(native, POINT{150, 100});

    // A click posted as window messages arrives as the layer's button messages
    // at the same client point.
    PostNativeClick(native, POINT{120, 80});
    ASSERT_TRUE(desktop.pumpUntil([&] { return main.count(WM_LBUTTONUP) == 1; }));
    const auto downs = main.only(WM_LBUTTONDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].lParam & 0xFFFF, 120);
    EXPECT_EQ((downs[0].lParam >> 16) & 0xFFFF, 80);

    // The desktop's close command is the layer's WM_CLOSE.
    main.handlers[WM_CLOSE] = [](WPARAM, LPARAM) -> LRESULT { return 0; };
    PostNativeClose(native);
    EXPECT_TRUE(desktop.pumpUntil([&] { return main.count(WM_CLOSE) == 1; }));
    main.DestroyWindow();
    EXPECT_FALSE(ProbeNativeWindow(native).exists);
}

TEST(Win32Backend, WindowKindsBecomeTheirNativeStyles) {
    Win32Desktop desktop;
    Recording<CWnd> main;
    ASSERT_TRUE(main.CreateEx(WS_EX_APPWINDOW, WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 100}, HWND{}));
    Recording<CWnd> menu;
    ASSERT_TRUE(menu.CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE, RECT{20, 20, 120, 80},
                              main.GetSafeHwnd()));
    Recording<CWnd> display;
    ASSERT_TRUE(display.CreateEx(WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                 WS_POPUP | WS_VISIBLE, RECT{300, 300, 400, 340}, HWND{}));
    SetLayeredWindowAttributes(display.GetSafeHwnd(), 128);
    desktop.pumpUntil([] { return false; }, std::chrono::milliseconds(100));

    const NativeWindowFacts menuFacts = ProbeNativeWindow(Native(desktop, menu));
    EXPECT_EQ(menuFacts.className, "ZavrinWindow");
    EXPECT_TRUE((menuFacts.exStyle & WS_EX_TOOLWINDOW) != 0);
    EXPECT_TRUE((menuFacts.exStyle & WS_EX_TOPMOST) != 0);
    EXPECT_EQ(menuFacts.owner, Native(desktop, main)) << "owned by the main window";

    const NativeWindowFacts osd = ProbeNativeWindow(Native(desktop, display));
    EXPECT_TRUE((osd.exStyle & WS_EX_NOACTIVATE) != 0);
    EXPECT_EQ(osd.layeredAlpha, 128);
    EXPECT_TRUE(osd.visible);
}

TEST(Win32Backend, WakeFromAnotherThreadEndsAnEndlessWaitAndMetricsAreTheScreens) {
    Win32Desktop desktop;
    std::atomic<bool> woke{false};
    std::thread other([&] {
        desktop.backend().Wake();
        woke = true;
    });
    // A negative timeout waits without limit; only the wake can end it.
    EXPECT_EQ(desktop.backend().WaitForEvent(Clock::Duration{-1}), WaitResult::Event);
    other.join();
    EXPECT_TRUE(woke);

    const ScreenMetrics m = desktop.backend().GetScreenMetrics();
    EXPECT_EQ(m.screen, (SIZE{1920, 1080})) << "the Xvfb screen of the test stage";
    EXPECT_GT(m.fullScreenClient.cx, 0);
    EXPECT_LE(m.fullScreenClient.cy, m.screen.cy);
    EXPECT_LE(m.workArea.bottom, m.screen.cy);
    EXPECT_EQ(m.logicalDpi, 96);
}
