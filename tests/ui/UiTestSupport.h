#pragma once

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/Resources.h"
#include "platform/headless/HeadlessDesktop.h"
#include "ui/CControlBase.h"
#include "ui/CDlgBase.h"
#include "ui/OpenDialogs.h"
#include "ui/UiGlobals.h"

namespace zavrin::test {

struct Notification {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A skinned dialog whose controls a test supplies; it writes down every
// application message it gets (control notifications and pop-up reports) and
// lets a test answer any of them.
class TestDialog : public CDlgBase {
public:
    static constexpr COLORREF kBackground = 0x202020;

    TestDialog(int width, int height) {
        windowWidth = width;
        windowHeight = height;
    }

    std::function<void(TestDialog&)> build;
    std::function<void(UINT, WPARAM, LPARAM)> onMessage;
    std::vector<Notification> received;
    int paints = 0;

    void BuildControls(const RECT&) override {
        if (build) build(*this);
    }
    void DrawWindow(Canvas& dc, const RECT& client) override {
        ++paints;
        dc.FillRect(client, kBackground);
        DrawControls(dc, client);
    }

    std::vector<Notification> from(UINT message) const {
        std::vector<Notification> out;
        for (const auto& n : received)
            if (n.message == message) out.push_back(n);
        return out;
    }
    std::vector<LPARAM> codes(UINT message) const {
        std::vector<LPARAM> out;
        for (const auto& n : received)
            if (n.message == message) out.push_back(n.lParam);
        return out;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_USER && message < WM_APP) {
            received.push_back(Notification{message, wParam, lParam});
            if (onMessage) onMessage(message, wParam, lParam);
            return 0;
        }
        return CDlgBase::WindowProc(message, wParam, lParam);
    }
};

// A control with the standard behaviour that counts how often it is drawn and
// fills its rectangle with a colour for its look.
class ProbeControl : public CControlBase {
public:
    ProbeControl(HWND parent, std::uint32_t id, RECT rect, BOOL mouseActive = TRUE)
        : CControlBase(parent, id, rect, "", TRUE, TRUE, FALSE, mouseActive) {}
    int draws = 0;
    int focusLost = 0;
    static constexpr COLORREF kLooks[3] = {0x400000, 0x004000, 0x000040};
    void Draw(Canvas& dc, const RECT&) override {
        ++draws;
        dc.FillRect(rect, kLooks[state]);
    }
    BOOL OnFocus(BOOL) override {
        ++focusLost;
        return 0;
    }
    BOOL OnMouseMove(WPARAM, POINT p) override { return StandardMouseMove(p); }
    BOOL OnLButtonDown(WPARAM, POINT p) override { return StandardLButtonDown(p); }
    BOOL OnLButtonUp(WPARAM, POINT p) override { return StandardLButtonUp(p); }
    BOOL OnRButtonUp(WPARAM, POINT) override {
        NotifyCode(ControlNotify::RightClick);
        return FALSE;
    }
};

// A headless desktop with the UI's program-wide values at their start values.
class UiTest : public ::testing::Test {
protected:
    UiTest() {
        resetUiGlobals();
        uiScale = 1.0f;
        openDialogs = {};
        desktop.backend().setStallLimit(std::chrono::milliseconds(0));
    }
    ~UiTest() override {
        resetUiGlobals();
        uiScale = 1.0f;
        openDialogs = {};
    }

    // Creates a modeless test dialog of the given size built by `build`.
    std::unique_ptr<TestDialog> Open(int width, int height, std::function<void(TestDialog&)> build) {
        auto dlg = std::make_unique<TestDialog>(width, height);
        dlg->build = std::move(build);
        EXPECT_TRUE(dlg->Create());
        desktop.pump();
        return dlg;
    }

    HeadlessDesktop desktop;
};

}  // namespace zavrin::test

namespace zavrin::test {

// A scratch folder of this test process: CTest runs tests in parallel
// processes, which must not write each other's pictures.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::random_device random;
        auto path = std::filesystem::temp_directory_path() / ("zavrin_ui_tests_" + std::to_string(random()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// Writes a one-colour opaque PNG of the given size into the test's scratch
// folder and returns its path.
inline std::filesystem::path SolidPng(const std::string& name, int width, int height, COLORREF color) {
    const auto& folder = ScratchFolder();
    Image image(width, height);
    image.fill(color);
    const auto path = folder / (name + ".png");
    EXPECT_TRUE(WritePngFile(image, path));
    return path;
}

}  // namespace zavrin::test
