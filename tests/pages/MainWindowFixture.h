#pragma once

#include <filesystem>
#include <memory>

#include "../model/TempDir.h"
#include "../ui/UiTestSupport.h"
#include "app/Startup.h"
#include "device/sim/SimulatedMouse.h"
#include "dialogs/CAttentionDlg.h"
#include "model/DataPaths.h"
#include "model/ProfileFile.h"
#include "pages/CVelmorDlg.h"
#include "platform/headless/HeadlessServices.h"
#include "ui/CCheckButton.h"
#include "ui/CWndPopup.h"

namespace zavrin::test {

// The whole main window on the headless desktop, with the simulated mouse on
// the desktop's virtual clock, its model in a fresh data folder and the
// installed skins and language. Start-up traffic is cleared, so a test sees
// only what its own clicks send.
class MainWindowTest : public UiTest {
protected:
    void SetUp() override { Start(); }
    void TearDown() override {
        if (window) window->DestroyWindow();
        desktop.pump();
        window.reset();
    }

    void Start() {
        skinFolder = ZAVRIN_BIN_DIR;
        InstallResources(generatedResources());
        prepareDataFolder(data.path());
        installLanguageFiles(ZAVRIN_BIN_DIR, data.path(), false);
        BeforeLoad();
        model = std::make_unique<AppModel>(data.path());
        model->load(uiScale);
        uiLanguage = model->language;
        mouse = std::make_unique<SimulatedMouse>(desktop.clock());
        mouse->plug(ConnectionKind::Dongle);
        window = std::make_unique<CVelmorDlg>(
            CVelmorDlg::Environment{*model, *mouse, services, data.path()});
        ASSERT_TRUE(window->Create());
        desktop.pump();
        mouse->clearTransfers();
    }
    // Runs before the model loads: a test may prepare files here.
    virtual void BeforeLoad() {}

    HWND hwnd() const { return window->GetSafeHwnd(); }
    ProfileRecord& profile() { return model->store.currentProfile(); }

    CControlBase* control(std::uint32_t id) const {
        for (const auto& list : window->ControlLists())
            for (const auto& c : list)
                if (c->id == id && c->IsDisplayed()) return c.get();
        return nullptr;
    }
    template <class C>
    C* as(std::uint32_t id) const {
        return dynamic_cast<C*>(window->FindControl(id));
    }
    static POINT centre(const RECT& r) {
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    // Paints first, so controls of a section just opened are in place.
    void click(std::uint32_t id) {
        desktop.pump();
        CControlBase* c = control(id);
        ASSERT_NE(c, nullptr) << "no shown control " << id;
        clickAt(centre(c->Rect()));
    }
    void doubleClick(std::uint32_t id) {
        desktop.pump();
        CControlBase* c = control(id);
        ASSERT_NE(c, nullptr) << "no shown control " << id;
        desktop.move(hwnd(), centre(c->Rect()));
        desktop.doubleClick(hwnd(), centre(c->Rect()));
    }
    // As a person does: the pointer arrives first, then the button.
    void clickAt(POINT client) {
        desktop.move(hwnd(), client);
        desktop.click(hwnd(), client);
    }
    void openSection(std::uint32_t headerId) {
        auto* header = as<CCheckButton>(headerId);
        ASSERT_NE(header, nullptr);
        if (!header->IsChecked()) click(headerId);
        desktop.pump();
    }

    // The topmost shown pop-up menu.
    CItemPopup* topMenu() {
        for (HWND h : desktop.windows().ZOrder()) {
            auto* menu = dynamic_cast<CItemPopup*>(CWnd::FromHandle(h));
            if (menu != nullptr && IsWindowVisible(h)) return menu;
        }
        return nullptr;
    }
    void hoverRow(CItemPopup* menu, std::size_t row) {
        desktop.move(menu->GetSafeHwnd(), centre(menu->Items().at(row).itemRect));
    }
    void clickRow(CItemPopup* menu, std::size_t row) {
        const HWND h = menu->GetSafeHwnd();
        const POINT p = centre(menu->Items().at(row).itemRect);
        desktop.move(h, p);
        desktop.click(h, p);
        desktop.pump();
    }

    // The topmost skinned dialog other than the main window.
    CDlgBase* frontDialog() {
        for (HWND h : desktop.windows().ZOrder()) {
            auto* dialog = dynamic_cast<CDlgBase*>(CWnd::FromHandle(h));
            if (dialog != nullptr && dialog != window.get() && IsWindowVisible(h)) return dialog;
        }
        return nullptr;
    }
    // The message of the notice the window shows now, or empty.
    std::string notice() const {
        auto* dlg = dynamic_cast<CAttentionDlg*>(CWnd::FromHandle(window->noticeWindow()));
        return dlg != nullptr && IsWindow(window->noticeWindow()) ? dlg->message() : std::string();
    }

    // Feature reports of one command the mouse received.
    std::vector<std::vector<std::uint8_t>> sent(std::uint8_t command) const {
        std::vector<std::vector<std::uint8_t>> out;
        for (const auto& t : mouse->transfers()) {
            if (t.op == SimulatedMouse::Transfer::Op::SetFeature && t.bytes.size() > 1 &&
                t.bytes[0] == ReportId::Command && t.bytes[1] == command)
                out.push_back(t.bytes);
        }
        return out;
    }
    std::size_t settingsReports() const {
        std::size_t n = 0;
        for (const auto& t : mouse->transfers())
            if (t.op == SimulatedMouse::Transfer::Op::SetFeature) ++n;
        return n;
    }

    std::filesystem::path slotFile(int slot) const { return defaultProfilePath(data.path(), slot); }
    std::optional<ProfileRecord> savedProfile(int slot) const {
        return parseProfileFile(slotFile(slot));
    }

    TempDir data;
    HeadlessServices services;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<SimulatedMouse> mouse;
    std::unique_ptr<CVelmorDlg> window;
};

}  // namespace zavrin::test
