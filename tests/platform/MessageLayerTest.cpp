#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Canvas.h"
#include "platform/headless/HeadlessDesktop.h"
#include "tests/platform/RecordingWindow.h"

using namespace zavrin;
using namespace zavrin::test;
using namespace std::chrono_literals;

namespace {

constexpr UINT kPing = WM_USER + 1;
constexpr UINT kPong = WM_USER + 2;

class MessageLayer : public ::testing::Test {
protected:
    HeadlessDesktop desktop;
};

// A window that deletes itself once destroyed, as the pop-up menus do.
class SelfDeleting : public CWnd {
public:
    explicit SelfDeleting(bool* deleted) : deleted_(deleted) {}
    ~SelfDeleting() override { *deleted_ = true; }
    std::function<void()> onPing;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPing && onPing) {
            onPing();
            // Still running inside our own handler after our window went: the
            // object must still be here.
            EXPECT_FALSE(*deleted_);
            return 5;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    void PostNcDestroy() override { delete this; }

private:
    bool* deleted_;
};

}  // namespace

TEST_F(MessageLayer, SendRunsTheHandlerAtOnceAndNestedSendsCompleteFirst) {
    RecordingWnd a;
    RecordingWnd b;
    ASSERT_TRUE(CreatePopup(a, {0, 0, 100, 100}));
    ASSERT_TRUE(CreatePopup(b, {200, 0, 300, 100}));
    std::vector<int> order;
    a.handlers[kPing] = [&](WPARAM, LPARAM) -> LRESULT {
        order.push_back(1);
        const LRESULT r = SendMessage(b.GetSafeHwnd(), kPong, 0, 0);
        order.push_back(3);
        return r + 1;
    };
    b.handlers[kPong] = [&](WPARAM, LPARAM) -> LRESULT {
        order.push_back(2);
        // Back into the first window while its handler is still running.
        SendMessage(a.GetSafeHwnd(), WM_USER + 9, 0, 0);
        return 41;
    };
    EXPECT_EQ(SendMessage(a.GetSafeHwnd(), kPing, 0, 0), 42);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(a.count(WM_USER + 9), 1);
}

TEST_F(MessageLayer, AHandlerMayDestroyItsOwnWindowAndTheObjectGoesOnlyAfterItReturns) {
    bool deleted = false;
    auto* wnd = new SelfDeleting(&deleted);
    ASSERT_TRUE(CreatePopup(*wnd, {0, 0, 50, 50}));
    const HWND h = wnd->GetSafeHwnd();
    wnd->onPing = [&] { DestroyWindow(h); };
    EXPECT_EQ(SendMessage(h, kPing, 0, 0), 5);
    EXPECT_TRUE(deleted);
    EXPECT_FALSE(IsWindow(h));
    // The stale handle is harmless.
    EXPECT_EQ(SendMessage(h, kPing, 0, 0), 0);
    EXPECT_FALSE(PostMessage(h, kPing, 0, 0));
    EXPECT_EQ(SetTimer(h, 1, 10), 0u);
}

TEST_F(MessageLayer, CloseThenDestroyInOrderWithOwnedWindowsGoingFirst) {
    RecordingWnd owner;
    RecordingWnd owned;
    ASSERT_TRUE(CreatePopup(owner, {0, 0, 100, 100}));
    ASSERT_TRUE(CreatePopup(owned, {10, 10, 50, 50}, owner.GetSafeHwnd()));
    std::vector<std::string> events;
    owner.handlers[WM_DESTROY] = [&](WPARAM, LPARAM) -> LRESULT {
        events.push_back("owner destroy");
        EXPECT_FALSE(IsWindow(owned.GetSafeHwnd()));
        return 0;
    };
    owned.handlers[WM_DESTROY] = [&](WPARAM, LPARAM) -> LRESULT {
        events.push_back("owned destroy");
        return 0;
    };
    const HWND h = owner.GetSafeHwnd();
    PostMessage(h, WM_CLOSE, 0, 0);
    desktop.pump();
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(events, (std::vector<std::string>{"owned destroy", "owner destroy"}));
    const auto close = std::find_if(owner.log.begin(), owner.log.end(), [](auto& r) { return r.message == WM_CLOSE; });
    const auto destroy = std::find_if(owner.log.begin(), owner.log.end(), [](auto& r) { return r.message == WM_DESTROY; });
    const auto nc = std::find_if(owner.log.begin(), owner.log.end(), [](auto& r) { return r.message == WM_NCDESTROY; });
    EXPECT_LT(close, destroy);
    EXPECT_LT(destroy, nc);
}

TEST_F(MessageLayer, PostsFromAnotherThreadWakeTheLoopAndKeepTheirOrder) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 10, 10}));
    const HWND h = wnd.GetSafeHwnd();
    constexpr int kCount = 200;
    std::thread poster([h] {
        for (int i = 0; i < kCount; ++i) PostMessage(h, kPing, static_cast<WPARAM>(i), 0);
    });
    const bool done = desktop.windows().RunUntil([&] { return wnd.count(kPing) == kCount; });
    poster.join();
    ASSERT_TRUE(done);
    const auto pings = wnd.only(kPing);
    for (int i = 0; i < kCount; ++i) EXPECT_EQ(pings[static_cast<std::size_t>(i)].wParam, static_cast<WPARAM>(i));
}

// Posting records the cursor position while the UI thread moves it; under
// ThreadSanitizer this proves the two never touch it unsynchronised.
TEST_F(MessageLayer, PostsFromAnotherThreadWhileTheMouseMovesCarryACursorPosition) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 100, 100}));
    const HWND h = wnd.GetSafeHwnd();
    constexpr int kCount = 2000;
    std::atomic<bool> started{false};
    std::atomic<bool> finished{false};
    std::thread poster([&] {
        started = true;
        for (int i = 0; i < kCount; ++i) {
            PostMessage(h, kPing, 0, 0);
            std::this_thread::yield();
        }
        finished = true;
    });
    while (!started) std::this_thread::yield();
    for (int i = 0; !finished || i < 50; ++i) desktop.move({i % 100, 50});
    poster.join();
    EXPECT_TRUE(desktop.windows().RunUntil([&] { return wnd.count(kPing) == kCount; }));
}

TEST_F(MessageLayer, ThePostedQueueIsBoundedAndTakesMessagesAgainOnceDrained) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 10, 10}));
    desktop.pump();
    const HWND h = wnd.GetSafeHwnd();
    int accepted = 0;
    for (int i = 0; i < 10001; ++i) accepted += PostMessage(h, kPing, 0, 0) ? 1 : 0;
    EXPECT_EQ(accepted, 10000);
    desktop.pump();
    EXPECT_EQ(wnd.count(kPing), 10000);
    EXPECT_TRUE(PostMessage(h, kPing, 0, 0));
}

TEST_F(MessageLayer, TimersFireInDeadlineOrderInVirtualTime) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 10, 10}));
    wnd.SetTimer(1, 100);
    wnd.SetTimer(2, 30);
    desktop.advance(29ms);
    EXPECT_EQ(wnd.count(WM_TIMER), 0);
    desktop.advance(221ms);  // t = 250
    std::vector<WPARAM> ids;
    for (const auto& r : wnd.only(WM_TIMER)) ids.push_back(r.wParam);
    // 30, 60, 90, 100, 120, 150, 180, 200, 210, 240
    EXPECT_EQ(ids, (std::vector<WPARAM>{2, 2, 2, 1, 2, 2, 2, 1, 2, 2}));
}

TEST_F(MessageLayer, AOneShotTimerKillsItselfAndRestartingResetsTheDeadline) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 10, 10}));
    wnd.handlers[WM_TIMER] = [&](WPARAM id, LPARAM) -> LRESULT {
        KillTimer(wnd.GetSafeHwnd(), id);
        return 0;
    };
    wnd.SetTimer(70, 10000);
    desktop.advance(9000ms);
    wnd.SetTimer(70, 10000);  // armed again: ten seconds from now
    desktop.advance(9000ms);
    EXPECT_EQ(wnd.count(WM_TIMER), 0);
    desktop.advance(1000ms);
    EXPECT_EQ(wnd.count(WM_TIMER), 1);
    desktop.advance(60000ms);
    EXPECT_EQ(wnd.count(WM_TIMER), 1);
    EXPECT_FALSE(KillTimer(wnd.GetSafeHwnd(), 70));
}

TEST_F(MessageLayer, ATimerRearmedInItsOwnHandlerRunsOnItsNewPeriod) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 10, 10}));
    std::vector<Clock::Duration> at;
    wnd.handlers[WM_TIMER] = [&](WPARAM id, LPARAM) -> LRESULT {
        at.push_back(desktop.clock().now());
        if (at.size() == 1) wnd.SetTimer(id, 50);  // from 20 ms to 50 ms
        if (at.size() == 3) wnd.KillTimer(id);
        return 0;
    };
    const Clock::Duration start = desktop.clock().now();
    wnd.SetTimer(80, 20);
    desktop.advance(1000ms);
    ASSERT_EQ(at.size(), 3u);
    EXPECT_EQ(at[0] - start, Clock::Duration(20ms));
    EXPECT_EQ(at[1] - start, Clock::Duration(70ms));
    EXPECT_EQ(at[2] - start, Clock::Duration(120ms));
}

TEST_F(MessageLayer, ATimerKilledByAnEarlierHandlerInTheSameMomentNeverFires) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 10, 10}));
    wnd.handlers[WM_TIMER] = [&](WPARAM id, LPARAM) -> LRESULT {
        if (id == 1) wnd.KillTimer(2);
        return 0;
    };
    wnd.SetTimer(1, 100);
    wnd.SetTimer(2, 100);  // due at the same moment, after timer 1
    desktop.advance(100ms);
    ASSERT_EQ(wnd.count(WM_TIMER), 1);
    EXPECT_EQ(wnd.only(WM_TIMER)[0].wParam, 1u);
    desktop.advance(1000ms);
    EXPECT_EQ(wnd.count(WM_TIMER), 11);  // timer 1 alone, up to t = 1100
}

TEST_F(MessageLayer, CapturedMouseReachesTheCapturerOutsideItsWindow) {
    RecordingWnd a;
    RecordingWnd b;
    ASSERT_TRUE(CreatePopup(a, {100, 100, 200, 200}));
    ASSERT_TRUE(CreatePopup(b, {300, 100, 400, 200}));
    SetCapture(a.GetSafeHwnd());
    EXPECT_EQ(GetCapture(), a.GetSafeHwnd());
    desktop.move({350, 150});
    ASSERT_EQ(a.count(WM_MOUSEMOVE), 1);
    EXPECT_EQ(b.count(WM_MOUSEMOVE), 0);
    EXPECT_EQ(PointFromLParam(a.only(WM_MOUSEMOVE)[0].lParam), (POINT{250, 50}));
    desktop.move({90, 90});
    EXPECT_EQ(PointFromLParam(a.only(WM_MOUSEMOVE)[1].lParam), (POINT{-10, -10}));
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(a.count(WM_CAPTURECHANGED), 1);
    desktop.move({350, 150});
    EXPECT_EQ(b.count(WM_MOUSEMOVE), 1);
}

TEST_F(MessageLayer, HoverComesOnceAfterTheHoverTimeAndLeaveWhenTheMouseGoes) {
    RecordingWnd a;
    RecordingWnd b;
    ASSERT_TRUE(CreatePopup(a, {0, 0, 100, 100}));
    ASSERT_TRUE(CreatePopup(b, {100, 0, 200, 100}));
    desktop.move({10, 10});
    ASSERT_TRUE(TrackMouseEvent(TRACKMOUSEEVENT{TME_HOVER | TME_LEAVE, a.GetSafeHwnd(), 50}));
    desktop.advance(49ms);
    EXPECT_EQ(a.count(WM_MOUSEHOVER), 0);
    desktop.move({30, 30});  // a real move restarts the wait
    desktop.advance(49ms);
    EXPECT_EQ(a.count(WM_MOUSEHOVER), 0);
    desktop.advance(1ms);
    ASSERT_EQ(a.count(WM_MOUSEHOVER), 1);
    EXPECT_EQ(PointFromLParam(a.only(WM_MOUSEHOVER)[0].lParam), (POINT{30, 30}));
    desktop.advance(1000ms);
    EXPECT_EQ(a.count(WM_MOUSEHOVER), 1);
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 0);
    desktop.move({150, 30});
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 1);
    desktop.move({10, 30});
    desktop.move({150, 30});
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 1);  // tracking ended with the leave
}

TEST_F(MessageLayer, LeaveTrackingAskedWhileTheMouseIsElsewhereLeavesAtOnce) {
    RecordingWnd a;
    ASSERT_TRUE(CreatePopup(a, {0, 0, 100, 100}));
    desktop.move({500, 500});
    ASSERT_TRUE(TrackMouseEvent(TRACKMOUSEEVENT{TME_LEAVE, a.GetSafeHwnd(), HOVER_DEFAULT}));
    desktop.pump();
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 1);
}

TEST_F(MessageLayer, TrackingAWindowAwayFromTheCursorKeepsTheTrackingOfTheWindowUnderIt) {
    RecordingWnd a;
    RecordingWnd b;
    ASSERT_TRUE(CreatePopup(a, {0, 0, 100, 100}));
    ASSERT_TRUE(CreatePopup(b, {300, 0, 400, 100}));
    desktop.move({10, 10});
    ASSERT_TRUE(TrackMouseEvent(TRACKMOUSEEVENT{TME_HOVER | TME_LEAVE, a.GetSafeHwnd(), 20}));
    ASSERT_TRUE(TrackMouseEvent(TRACKMOUSEEVENT{TME_LEAVE, b.GetSafeHwnd(), HOVER_DEFAULT}));
    desktop.pump();
    EXPECT_EQ(b.count(WM_MOUSELEAVE), 1);  // not under the cursor: at once
    desktop.advance(20ms);
    EXPECT_EQ(a.count(WM_MOUSEHOVER), 1);
    desktop.move({200, 10});
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 1);
}

TEST_F(MessageLayer, HoverTrackingAskedAgainAfterAHoverFiresAgain) {
    RecordingWnd a;
    ASSERT_TRUE(CreatePopup(a, {0, 0, 100, 100}));
    desktop.move({10, 10});
    ASSERT_TRUE(TrackMouseEvent(TRACKMOUSEEVENT{TME_HOVER | TME_LEAVE, a.GetSafeHwnd(), 1}));
    desktop.advance(5ms);
    ASSERT_EQ(a.count(WM_MOUSEHOVER), 1);
    ASSERT_TRUE(TrackMouseEvent(TRACKMOUSEEVENT{TME_HOVER | TME_LEAVE, a.GetSafeHwnd(), 1}));
    desktop.advance(5ms);
    EXPECT_EQ(a.count(WM_MOUSEHOVER), 2);
    desktop.move({500, 500});
    EXPECT_EQ(a.count(WM_MOUSELEAVE), 1);
}

TEST_F(MessageLayer, InputGoesToTheTopmostWindowUnderThePointAndNotToDisabledOnes) {
    RecordingWnd below;
    RecordingWnd above;
    RecordingWnd topmost;
    ASSERT_TRUE(CreatePopup(below, {0, 0, 200, 200}));
    ASSERT_TRUE(CreatePopup(above, {50, 50, 150, 150}));
    ASSERT_TRUE(CreatePopup(topmost, {400, 0, 500, 100}, {}, WS_EX_TOPMOST));
    desktop.click({60, 60});
    EXPECT_EQ(above.count(WM_LBUTTONDOWN), 1);
    EXPECT_EQ(below.count(WM_LBUTTONDOWN), 0);
    // Activating `below` brings it to the front; the normal window stays under the topmost one.
    desktop.click({10, 10});
    desktop.click({60, 60});
    EXPECT_EQ(below.count(WM_LBUTTONDOWN), 2);
    EXPECT_EQ(desktop.windows().ZOrder().front(), topmost.GetSafeHwnd());
    EnableWindow(below.GetSafeHwnd(), FALSE);
    desktop.click({60, 60});
    EXPECT_EQ(below.count(WM_LBUTTONDOWN), 2);
    EXPECT_EQ(below.count(WM_ENABLE), 1);
}

TEST_F(MessageLayer, ASecondPressOfADoubleClickArrivesAsDoubleClick) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 100, 100}));
    desktop.doubleClick({5, 5});
    std::vector<UINT> mouse;
    for (const auto& r : wnd.log)
        if (r.message >= WM_LBUTTONDOWN && r.message <= WM_LBUTTONDBLCLK) mouse.push_back(r.message);
    EXPECT_EQ(mouse, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}));
}

TEST_F(MessageLayer, CaptionPressMovesTheWindowWithTheMouseUntilRelease) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {100, 100, 300, 200}));
    wnd.handlers[WM_LBUTTONDOWN] = [&](WPARAM, LPARAM l) -> LRESULT {
        PostMessage(wnd.GetSafeHwnd(), WM_NCLBUTTONDOWN, HTCAPTION, l);
        return 0;
    };
    desktop.press({150, 150});
    desktop.move({180, 170});
    EXPECT_EQ(wnd.GetWindowRect(), (RECT{130, 120, 330, 220}));
    desktop.release({180, 170});
    EXPECT_EQ(wnd.count(WM_LBUTTONUP), 0);  // the move swallowed it
    desktop.move({250, 250});
    EXPECT_EQ(wnd.GetWindowRect(), (RECT{130, 120, 330, 220}));
}

TEST_F(MessageLayer, InvalidatedPartsArePaintedOnceThroughTheWindowSurface) {
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 100, 80}));
    std::vector<RECT> painted;
    wnd.handlers[WM_PAINT] = [&](WPARAM, LPARAM) -> LRESULT {
        PAINTSTRUCT ps;
        Canvas* canvas = BeginPaint(wnd.GetSafeHwnd(), ps);
        painted.push_back(ps.rcPaint);
        if (canvas != nullptr) canvas->FillRect(RECT{0, 0, 100, 80}, RGB(0x35, 0xA0, 0xDE));
        EndPaint(wnd.GetSafeHwnd(), ps);
        return 0;
    };
    desktop.pump();
    ASSERT_EQ(painted.size(), 1u);  // the first show paints everything
    EXPECT_EQ(painted[0], (RECT{0, 0, 100, 80}));
    EXPECT_EQ(desktop.pixel(wnd.GetSafeHwnd(), {99, 79}), RGB(0x35, 0xA0, 0xDE));

    const RECT one{10, 10, 20, 20};
    const RECT two{30, 5, 40, 15};
    wnd.InvalidateRect(&one);
    wnd.InvalidateRect(&two);
    RECT pending;
    ASSERT_TRUE(GetUpdateRect(wnd.GetSafeHwnd(), &pending));
    EXPECT_EQ(pending, (RECT{10, 5, 40, 20}));
    desktop.pump();
    ASSERT_EQ(painted.size(), 2u);
    EXPECT_EQ(painted[1], (RECT{10, 5, 40, 20}));
    EXPECT_FALSE(GetUpdateRect(wnd.GetSafeHwnd(), &pending));

    wnd.Invalidate();
    wnd.UpdateWindow();  // paints before returning
    EXPECT_EQ(painted.size(), 3u);
}

TEST_F(MessageLayer, ScreenMetricsComeFromTheBackend) {
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 1017);
    EXPECT_EQ(GetWorkArea(), (RECT{0, 0, 1920, 1040}));
    EXPECT_EQ(GetLogicalDpi(), 96);
    desktop.backend().setMetrics(HeadlessBackend::MetricsForScreen({3840, 2160}, 192));
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), 3840);
    EXPECT_EQ(GetSystemMetrics(SM_CYFULLSCREEN), 2160 - 63);
    EXPECT_EQ(GetLogicalDpi(), 192);
}
