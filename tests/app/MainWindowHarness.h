#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "../model/TempDir.h"
#include "app/Startup.h"
#include "device/sim/SimulatedMouse.h"
#include "pages/CVelmorDlg.h"
#include "platform/Resources.h"
#include "platform/headless/HeadlessDesktop.h"
#include "platform/headless/HeadlessServices.h"
#include "ui/OpenDialogs.h"
#include "ui/UiGlobals.h"

namespace zavrin::test {

// The whole main window on the headless desktop: a fresh data folder, the
// simulated mouse on the desktop's virtual clock, headless services. The
// window is created modeless so a test can look at it between steps.
class MainWindowTest : public ::testing::Test {
protected:
    explicit MainWindowTest(std::vector<ConnectionKind> kinds = {ConnectionKind::Dongle},
                            SIZE screen = SIZE{1920, 1080})
        : desktop(HeadlessBackend::MetricsForScreen(screen)), mouse(desktop.clock()) {
        resetUiGlobals();
        openDialogs = {};
        desktop.backend().setStallLimit(std::chrono::milliseconds(0));
        InstallResources(generatedResources());
        skinFolder = ZAVRIN_BIN_DIR;
        for (ConnectionKind k :
             {ConnectionKind::Wired, ConnectionKind::Dongle, ConnectionKind::Bluetooth}) {
            if (std::find(kinds.begin(), kinds.end(), k) == kinds.end())
                mouse.unplug(k);
            else
                mouse.plug(k);
        }
        prepareDataFolder(folder.path());
        installLanguageFiles(ZAVRIN_BIN_DIR, folder.path(), false);
        uiScale =
            computeUiScale(GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN));
        model = std::make_unique<AppModel>(folder.path());
        model->load(uiScale);
        uiLanguage = model->language;
    }

    ~MainWindowTest() override {
        window.reset();
        resetUiGlobals();
        uiScale = 1.0f;
        openDialogs = {};
    }

    void Start() {
        window = std::make_unique<CVelmorDlg>(
            CVelmorDlg::Environment{*model, mouse, services, folder.path()});
        ASSERT_TRUE(window->Create());
        desktop.pump();
    }

    HWND main() const { return window->GetSafeHwnd(); }

    // Reader threads are real: wait (bounded, in real time) until the window
    // has applied `count` more device events.
    bool AwaitDeviceEvents(std::uint64_t count = 1) {
        const std::uint64_t target = window->deviceEventsHandled() + count;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (window->deviceEventsHandled() < target) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            desktop.pump();
            std::this_thread::yield();
        }
        desktop.pump();
        return true;
    }

    // The centre of a shown control of `dialog`, in screen coordinates.
    POINT CentreOf(HWND dialog, std::uint32_t id) {
        auto* dlg = dynamic_cast<CDlgBase*>(CWnd::FromHandle(dialog));
        for (const auto& list : dlg->ControlLists()) {
            for (const auto& c : list) {
                if (c->id == id && c->IsDisplayed()) {
                    return ClientToScreen(dialog, POINT{(c->Rect().left + c->Rect().right) / 2,
                                                        (c->Rect().top + c->Rect().bottom) / 2});
                }
            }
        }
        ADD_FAILURE() << "no shown control " << id;
        return POINT{};
    }
    void ClickControl(HWND dialog, std::uint32_t id) {
        const POINT p = CentreOf(dialog, id);
        desktop.move(p);
        desktop.click(p);
    }

    std::size_t SetFeatureCount() const {
        std::size_t n = 0;
        for (const auto& t : mouse.transfers())
            n += t.op == SimulatedMouse::Transfer::Op::SetFeature ? 1 : 0;
        return n;
    }

    // The topmost visible skinned dialog other than the main window.
    HWND FrontDialog() {
        for (HWND h : desktop.windows().ZOrder()) {
            if (h != main() && IsWindowVisible(h) && dynamic_cast<CDlgBase*>(CWnd::FromHandle(h)))
                return h;
        }
        return HWND{};
    }

    TempDir folder;
    HeadlessDesktop desktop;
    SimulatedMouse mouse;
    HeadlessServices services;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<CVelmorDlg> window;
};

}  // namespace zavrin::test
