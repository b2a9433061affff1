// The desktop's own minimise and restore (a taskbar entry) reach the window
// layer as events; a window minimised by the program and restored by the
// desktop takes clicks again. Headless: the SDL backend's part is one event
// for each SDL window event.
#include <gtest/gtest.h>

#include "platform/headless/HeadlessDesktop.h"
#include "tests/platform/RecordingWindow.h"

using namespace zavrin;
using namespace zavrin::test;

TEST(TaskbarState, ADesktopRestoreBringsTheMinimisedWindowBackToLife) {
    HeadlessDesktop desktop;
    RecordingWnd main;
    ASSERT_TRUE(main.CreateEx(WS_EX_APPWINDOW, WS_POPUP | WS_VISIBLE, RECT{100, 100, 400, 300}, HWND{}));
    // No tray: the program minimises its window instead of hiding it.
    main.ShowWindow(SW_MINIMIZE);
    desktop.pump();
    desktop.click(POINT{200, 200});
    EXPECT_EQ(main.count(WM_LBUTTONDOWN), 0);

    auto desktopDoes = [&](InputEvent::Kind kind) {
        InputEvent e;
        e.kind = kind;
        e.window = main.GetSafeHwnd().value;
        desktop.backend().inject(e);
        desktop.pump();
    };
    desktopDoes(InputEvent::Kind::Restored);
    const auto sizes = main.only(WM_SIZE);
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back().wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(GetActiveWindow(), main.GetSafeHwnd());
    desktop.click(POINT{200, 200});
    EXPECT_EQ(main.count(WM_LBUTTONDOWN), 1);

    desktopDoes(InputEvent::Kind::Minimized);
    EXPECT_EQ(main.only(WM_SIZE).back().wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
    EXPECT_NE(GetActiveWindow(), main.GetSafeHwnd());
}
