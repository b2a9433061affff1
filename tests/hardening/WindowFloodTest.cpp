#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "device/DeviceLink.h"
#include "device/sim/SimulatedMouse.h"
#include "platform/headless/HeadlessDesktop.h"
#include "tests/platform/RecordingWindow.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

constexpr UINT kStatusMessage = WM_USER + 0x100;
constexpr UINT kPing = WM_USER + 0x101;
constexpr std::uintptr_t kTickTimer = 1;

// Hands status reports to a window the way the program does: a posted message
// per report, the DPI level in wParam. Counts what the window layer refused.
class PostingSink final : public DeviceEventSink {
public:
    void postStatus(ConnectionKind, const StatusReport& status) override {
        if (!PostMessage(target, kStatusMessage, status.dpiLevel, 0)) ++refused;
    }
    void postDeviceChange(DeviceChange) override {}

    HWND target{};
    std::atomic<int> refused{0};
};

class StatusWindow final : public CWnd {
public:
    int statuses = 0;
    int ticks = 0;
    WPARAM lastLevel = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kStatusMessage) {
            ++statuses;
            lastLevel = wParam;
            return 0;
        }
        if (message == kPing) return 42;
        if (message == WM_TIMER && wParam == kTickTimer) ++ticks;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::vector<std::uint8_t> statusBytes(std::uint8_t level) {
    std::vector<std::uint8_t> report(32, 0);
    report[StatusOffset::ReportId] = ReportId::Status;
    report[StatusOffset::DpiLevel] = level;
    return report;
}

// A reader thread flooding the window with thousands of status reports a second
// for a minute of virtual time: the posted queue never holds more than its
// bound, the window answers sent messages and keeps its timer even while the
// queue is full, and the newest state arrives once the flood is over.
TEST(WindowFlood, StatusFloodKeepsThePostedQueueBoundedAndTheWindowAnswering) {
    HeadlessDesktop desktop;
    StatusWindow wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 100, 100}));
    wnd.SetTimer(kTickTimer, 1000);
    PostingSink sink;
    sink.target = wnd.GetSafeHwnd();
    VirtualClock mouseClock;
    SimulatedMouse sim(mouseClock);
    DeviceLink link(sim, sink);
    link.RegisterForDevices();
    sim.plug(ConnectionKind::Wired);
    link.scanInterfaces();
    ASSERT_TRUE(sim.waitForReader(ConnectionKind::Wired, 30s));

    // Ten seconds' worth of reports while the UI thread is busy elsewhere.
    for (int i = 0; i < 30000; ++i) sim.sendRawInput(ConnectionKind::Wired, statusBytes(1));
    ASSERT_TRUE(sim.waitUntilInputRead(ConnectionKind::Wired, 60s));
    EXPECT_GE(sink.refused, 30000 - 10000 - 1);
    EXPECT_EQ(SendMessage(wnd.GetSafeHwnd(), kPing), 42);
    desktop.pump();
    EXPECT_LE(wnd.statuses, 10000);

    // Fifty seconds at 3000 reports a second with the UI thread running.
    for (int step = 0; step < 5000; ++step) {
        for (int r = 0; r < 30; ++r) sim.sendRawInput(ConnectionKind::Wired, statusBytes(static_cast<std::uint8_t>(step % 6)));
        desktop.advance(10ms);
        if (step % 500 == 0) {
            EXPECT_EQ(SendMessage(wnd.GetSafeHwnd(), kPing), 42);
        }
    }
    // Once the UI thread has caught up, the newest report gets through.
    ASSERT_TRUE(sim.waitUntilInputRead(ConnectionKind::Wired, 60s));
    desktop.pump();
    const int refusedBefore = sink.refused;
    sim.sendRawInput(ConnectionKind::Wired, statusBytes(7));
    ASSERT_TRUE(sim.waitUntilInputRead(ConnectionKind::Wired, 60s));
    // The reader may still be between reading the last report and posting it.
    for (int i = 0; i < 100000 && wnd.lastLevel != 7; ++i) {
        std::this_thread::yield();
        desktop.pump();
    }
    EXPECT_EQ(sink.refused, refusedBefore);
    EXPECT_EQ(wnd.lastLevel, 7u);
    EXPECT_GE(wnd.ticks, 49);  // one a second of the fifty the UI thread ran
    link.stopReaders();
}

}  // namespace
}  // namespace zavrin::test
