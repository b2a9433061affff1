#pragma once

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "platform/Resources.h"
#include "platform/headless/HeadlessServices.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/ControlIds.h"

namespace zavrin::test {

// A headless desktop with the installed skins, the English texts and the
// headless platform services, for driving the macro screens like a user.
class MacroUiTest : public UiTest {
protected:
    MacroUiTest() {
        skinFolder = ZAVRIN_BIN_DIR;
        InstallResources(generatedResources());
        LoadEnglishTexts();
    }
    ~MacroUiTest() override {
        InstallResources({});
        uiLanguage = LanguageTable{};
    }

    // The English texts the build ships, through the program's own reader.
    static void LoadEnglishTexts() {
        std::ifstream in(ZAVRIN_LANGUAGE_SOURCE);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        uiLanguage = LanguageTable{};
        EXPECT_TRUE(uiLanguage.loadLines(lines, uiScale));
    }

    // The skinned window in front (the innermost modal dialog).
    static CDlgBase* Front() {
        for (HWND h : WindowSystem::Current()->ZOrder()) {
            if (!IsWindowVisible(h)) continue;
            if (auto* dialog = dynamic_cast<CDlgBase*>(CWnd::FromHandle(h))) return dialog;
        }
        return nullptr;
    }
    template <class Dialog>
    static Dialog* FrontAs() {
        return dynamic_cast<Dialog*>(Front());
    }

    // Clicks the middle of the first shown control `id` of the front window.
    void Click(std::uint32_t id) {
        CDlgBase* front = Front();
        ASSERT_NE(front, nullptr);
        const CControlBase* control = nullptr;
        for (const auto& list : front->ControlLists())
            for (const auto& c : list)
                if (control == nullptr && c->id == id && c->IsDisplayed()) control = c.get();
        ASSERT_NE(control, nullptr) << "no control " << id;
        const POINT centre{(control->Rect().left + control->Rect().right) / 2,
                           (control->Rect().top + control->Rect().bottom) / 2};
        desktop.move(front->GetSafeHwnd(), centre);
        desktop.click(front->GetSafeHwnd(), centre);
    }
    // A click at design units of the front window.
    void ClickAt(int x, int y, MouseButton button = MouseButton::Left) {
        CDlgBase* front = Front();
        const POINT p{static_cast<int>(static_cast<float>(x) * uiScale),
                      static_cast<int>(static_cast<float>(y) * uiScale)};
        desktop.move(front->GetSafeHwnd(), p);
        desktop.click(front->GetSafeHwnd(), p, button);
    }
    void Type(const std::string& text) {
        for (char c : text) {
            InputEvent e;
            e.kind = InputEvent::Kind::Char;
            e.key = static_cast<std::uint8_t>(c);
            desktop.backend().inject(e);
        }
        desktop.pump();
    }
    // A captured key, as the keyboard capture hands it over.
    void Capture(std::uint32_t vk, bool released, std::uint32_t stamp) {
        services.CaptureKey(vk, released, stamp);
        desktop.pump();
    }
    // Runs `step` when a (modal) message loop next waits.
    void Then(std::function<void()> step) { desktop.backend().whenIdle(std::move(step)); }

    // Writes the front window (or `hwnd`) into the gallery.
    void Shoot(const std::string& name, HWND hwnd = {}) {
        if (!hwnd) hwnd = Front()->GetSafeHwnd();
        std::filesystem::create_directories(ZAVRIN_GALLERY_DIR);
        desktop.pump();
        UpdateWindow(hwnd);
        EXPECT_TRUE(
            desktop.writePng(hwnd, std::filesystem::path(ZAVRIN_GALLERY_DIR) / (name + ".png")));
    }

    HeadlessServices services;
    TempDir dir;
};

}  // namespace zavrin::test
