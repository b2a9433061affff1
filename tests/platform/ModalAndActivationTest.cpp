#include <gtest/gtest.h>

#include "platform/headless/HeadlessDesktop.h"
#include "tests/platform/RecordingWindow.h"

using namespace zavrin;
using namespace zavrin::test;
using namespace std::chrono_literals;

namespace {

constexpr UINT kOpenChild = WM_USER + 20;

class Modal : public ::testing::Test {
protected:
    Modal() { desktop.backend().setStallLimit(0ms); }
    HeadlessDesktop desktop;
};

// A dialog placed where a test can click it.
class TestDialog : public RecordingDialog {
public:
    TestDialog(HWND owner, RECT rect) : RecordingDialog(owner) { dialogRect = rect; }
    std::function<BOOL()> onInit;
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        return onInit ? onInit() : TRUE;
    }
};

}  // namespace

TEST_F(Modal, DoModalReturnsTheEndDialogValueWithTheOwnerDisabledMeanwhile) {
    RecordingWnd owner;
    ASSERT_TRUE(CreatePopup(owner, {0, 0, 400, 300}));
    const HWND ownerHwnd = owner.GetSafeHwnd();
    TestDialog dlg(ownerHwnd, {100, 100, 200, 200});
    bool ownerWasDisabled = false;
    bool dialogWasActive = false;
    dlg.handlers[WM_LBUTTONUP] = [&](WPARAM, LPARAM) -> LRESULT {
        dlg.EndDialog(17);
        return 0;
    };
    desktop.backend().whenIdle([&] {
        ownerWasDisabled = !IsWindowEnabled(ownerHwnd);
        dialogWasActive = GetActiveWindow() == dlg.GetSafeHwnd();
        desktop.click({10, 10});  // on the disabled owner: nothing happens
        desktop.click({150, 150});
    });
    EXPECT_EQ(dlg.DoModal(), 17);
    EXPECT_TRUE(ownerWasDisabled);
    EXPECT_TRUE(dialogWasActive);
    EXPECT_EQ(owner.count(WM_LBUTTONDOWN), 0);
    EXPECT_TRUE(IsWindowEnabled(ownerHwnd));
    EXPECT_EQ(GetActiveWindow(), ownerHwnd);
    EXPECT_FALSE(IsWindow(dlg.GetSafeHwnd()));
    EXPECT_EQ(dlg.count(WM_INITDIALOG), 1);
}

TEST_F(Modal, NestedModalLoopsEachReturnTheirOwnValue) {
    RecordingWnd owner;
    ASSERT_TRUE(CreatePopup(owner, {0, 0, 400, 300}));
    TestDialog outer(owner.GetSafeHwnd(), {50, 50, 250, 250});
    int innerResult = 0;
    outer.handlers[kOpenChild] = [&](WPARAM, LPARAM) -> LRESULT {
        TestDialog inner(outer.GetSafeHwnd(), {100, 100, 150, 150});
        inner.handlers[WM_LBUTTONUP] = [&](WPARAM, LPARAM) -> LRESULT {
            EXPECT_FALSE(IsWindowEnabled(outer.GetSafeHwnd()));
            EXPECT_FALSE(IsWindowEnabled(owner.GetSafeHwnd()));
            inner.EndDialog(5);
            return 0;
        };
        innerResult = inner.DoModal();
        EXPECT_TRUE(IsWindowEnabled(outer.GetSafeHwnd()));
        EXPECT_EQ(GetActiveWindow(), outer.GetSafeHwnd());
        outer.EndDialog(innerResult * 10);
        return 0;
    };
    desktop.backend().whenIdle([&] { PostMessage(outer.GetSafeHwnd(), kOpenChild, 0, 0); });
    desktop.backend().whenIdle([&] { desktop.click({120, 120}); });
    EXPECT_EQ(outer.DoModal(), 50);
    EXPECT_EQ(innerResult, 5);
    EXPECT_TRUE(IsWindowEnabled(owner.GetSafeHwnd()));
}

TEST_F(Modal, EndDialogDuringInitialisationEndsWithoutShowing) {
    TestDialog dlg({}, {0, 0, 50, 50});
    dlg.onInit = [&] {
        dlg.EndDialog(IDOK);
        return TRUE;
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.count(WM_SHOWWINDOW), 0);
}

TEST_F(Modal, CloseEndsAModalDialogWithCancel) {
    TestDialog dlg({}, {0, 0, 50, 50});
    desktop.backend().whenIdle([&] { desktop.backend().closeRequest(dlg.GetSafeHwnd().value); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}

TEST_F(Modal, TimersKeepRunningInsideAModalLoop) {
    TestDialog dlg({}, {0, 0, 50, 50});
    int ticks = 0;
    dlg.onInit = [&] {
        dlg.SetTimer(3, 300);
        return TRUE;
    };
    dlg.handlers[WM_TIMER] = [&](WPARAM, LPARAM) -> LRESULT {
        if (++ticks == 5) dlg.EndDialog(ticks);
        return 0;
    };
    const auto start = desktop.clock().now();
    EXPECT_EQ(dlg.DoModal(), 5);
    EXPECT_EQ(desktop.clock().now() - start, Clock::Duration(1500ms));
}

TEST_F(Modal, AQuitEndsEveryModalLoopWithMinusOne) {
    TestDialog outer({}, {0, 0, 50, 50});
    int inner = 0;
    outer.handlers[kOpenChild] = [&](WPARAM, LPARAM) -> LRESULT {
        TestDialog child(outer.GetSafeHwnd(), {0, 0, 20, 20});
        desktop.backend().whenIdle([&] { PostMessage(child.GetSafeHwnd(), WM_QUIT, 0, 0); });
        inner = child.DoModal();
        return 0;
    };
    desktop.backend().whenIdle([&] { PostMessage(outer.GetSafeHwnd(), kOpenChild, 0, 0); });
    EXPECT_EQ(outer.DoModal(), -1);
    EXPECT_EQ(inner, -1);
    EXPECT_TRUE(desktop.windows().QuitPending());
}

TEST_F(Modal, ALoopThatNothingCanWakeEndsInsteadOfHanging) {
    TestDialog dlg({}, {0, 0, 50, 50});
    EXPECT_EQ(dlg.DoModal(), -1);
}

namespace {

// A window that swallows Escape before any window it owns gets it.
class EscapeFilter : public RecordingWnd {
public:
    std::vector<HWND> seenFor;
    BOOL PreTranslateMessage(MSG& msg) override {
        if (msg.message != WM_KEYDOWN) return FALSE;
        seenFor.push_back(msg.hwnd);
        return msg.wParam == VK_ESCAPE ? TRUE : FALSE;
    }
};

}  // namespace

TEST(Activation, KeysPressedInAnOwnedPopupPassTheOwnersPreTranslateFirst) {
    HeadlessDesktop desktop;
    EscapeFilter owner;
    RecordingWnd popup;
    ASSERT_TRUE(CreatePopup(owner, {0, 0, 400, 300}));
    ASSERT_TRUE(CreatePopup(popup, {100, 100, 200, 200}, owner.GetSafeHwnd(), WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    ASSERT_EQ(GetActiveWindow(), popup.GetSafeHwnd());
    desktop.key(VK_ESCAPE);
    desktop.key('A');
    EXPECT_EQ(owner.seenFor, (std::vector<HWND>{popup.GetSafeHwnd(), popup.GetSafeHwnd()}));
    ASSERT_EQ(popup.count(WM_KEYDOWN), 1);
    EXPECT_EQ(popup.only(WM_KEYDOWN)[0].wParam, static_cast<WPARAM>('A'));
    EXPECT_EQ(owner.count(WM_KEYDOWN), 0);
}

TEST(Activation, ClickingTheOwnerDeactivatesAPopupWithNcActivateFalse) {
    HeadlessDesktop desktop;
    RecordingWnd owner;
    RecordingWnd popup;
    ASSERT_TRUE(CreatePopup(owner, {0, 0, 400, 300}));
    ASSERT_TRUE(CreatePopup(popup, {100, 100, 200, 200}, owner.GetSafeHwnd(), WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_EQ(GetActiveWindow(), popup.GetSafeHwnd());
    ASSERT_EQ(owner.only(WM_NCACTIVATE).back().wParam, static_cast<WPARAM>(FALSE));

    std::vector<std::pair<UINT, WPARAM>> seen;
    popup.handlers[WM_NCACTIVATE] = [&](WPARAM w, LPARAM) -> LRESULT {
        seen.emplace_back(WM_NCACTIVATE, w);
        return TRUE;
    };
    popup.handlers[WM_ACTIVATE] = [&](WPARAM w, LPARAM l) -> LRESULT {
        seen.emplace_back(WM_ACTIVATE, w);
        EXPECT_EQ(HandleFromLParam(l), owner.GetSafeHwnd());
        return 0;
    };
    desktop.click({10, 10});
    EXPECT_EQ(GetActiveWindow(), owner.GetSafeHwnd());
    EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{{WM_NCACTIVATE, FALSE}, {WM_ACTIVATE, WA_INACTIVE}}));
    EXPECT_EQ(owner.only(WM_ACTIVATE).back().wParam, WA_CLICKACTIVE);
    // The owned popup stays above its owner.
    EXPECT_EQ(desktop.windows().ZOrder().front(), popup.GetSafeHwnd());
}

TEST(Activation, AClickOnTheBareDesktopOrAnotherApplicationDeactivates) {
    HeadlessDesktop desktop;
    RecordingWnd wnd;
    ASSERT_TRUE(CreatePopup(wnd, {0, 0, 100, 100}));
    desktop.click({1000, 1000});
    EXPECT_FALSE(GetActiveWindow());
    EXPECT_EQ(wnd.only(WM_NCACTIVATE).back().wParam, static_cast<WPARAM>(FALSE));
    desktop.click({50, 50});
    EXPECT_EQ(GetActiveWindow(), wnd.GetSafeHwnd());
    desktop.backend().focusLostToOtherApplication(wnd.GetSafeHwnd().value);
    desktop.pump();
    EXPECT_FALSE(GetActiveWindow());
}

TEST(Activation, DestroyingTheActiveWindowActivatesItsOwner) {
    HeadlessDesktop desktop;
    RecordingWnd other;
    RecordingWnd owner;
    RecordingWnd popup;
    ASSERT_TRUE(CreatePopup(owner, {0, 0, 400, 300}));
    ASSERT_TRUE(CreatePopup(other, {500, 0, 600, 100}));
    ASSERT_TRUE(CreatePopup(popup, {100, 100, 200, 200}, owner.GetSafeHwnd()));
    popup.DestroyWindow();
    EXPECT_EQ(GetActiveWindow(), owner.GetSafeHwnd());
}

TEST(Activation, ShowingWithoutActivationLeavesTheActiveWindowAlone) {
    HeadlessDesktop desktop;
    RecordingWnd main;
    RecordingWnd osd;
    ASSERT_TRUE(CreatePopup(main, {0, 0, 400, 300}));
    ASSERT_TRUE(osd.CreateEx(WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_TOOLWINDOW, WS_POPUP, {1740, 900, 1920, 1040}, {}));
    osd.SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    SetLayeredWindowAttributes(osd.GetSafeHwnd(), 128);
    EXPECT_TRUE(IsWindowVisible(osd.GetSafeHwnd()));
    EXPECT_EQ(GetActiveWindow(), main.GetSafeHwnd());
    EXPECT_EQ(desktop.backend().window(osd.GetSafeHwnd().value)->opacity, 128);
}
