// The automatic-profiles dialog: Remove and the pause box change the rules at
// once and report it; pictures at scales 1 and 2 in English and Chinese.

#include <filesystem>

#include "../ui/UiTestSupport.h"
#include "dialogs/CAppProfilesDlg.h"
#include "dialogs/CAppRuleList.h"
#include "model/TextFile.h"
#include "platform/headless/HeadlessServices.h"
#include "platform/Resources.h"
#include "ui/CCheckButton.h"
#include "ui/CVScrollBar.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin::test {
namespace {

class AppProfilesDialog : public UiTest {
protected:
    AppProfilesDialog() {
        skinFolder = ZAVRIN_BIN_DIR;
        InstallResources(generatedResources());
        rules.add("/usr/games/quake3/quake3.x86_64", 2);
        rules.add("C:\\Program Files\\Editor\\editor.exe", 0);
        rules.add("blender", 4);  // slot 5 is not listed: the rule is inactive
        slots.names = {"Desktop", "Office", "Shooter", "Spare", "Modelling"};
        slots.listed = {true, true, true, false, false};
        slots.listedCount = 3;
    }
    void LoadTexts(const char* file) {
        const auto lines = readTextFile(std::filesystem::path(ZAVRIN_BIN_DIR) / "config" / file);
        ASSERT_TRUE(lines.has_value());
        uiLanguage.loadLines(*lines, uiScale);
    }
    CAppProfilesDlg::Environment Env(std::string note = {}) {
        return CAppProfilesDlg::Environment{rules, slots, {}, std::move(note), services, [this] { ++changes; }};
    }
    void Click(CAppProfilesDlg& dialog, std::uint32_t id) {
        CControlBase* control = dialog.FindControl(id);
        ASSERT_NE(control, nullptr);
        const RECT r = control->Rect();
        At(dialog, POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }

    // A person moves the mouse onto a control before pressing it.
    void At(CAppProfilesDlg& dialog, POINT client) {
        desktop.move(dialog.GetSafeHwnd(), client);
        desktop.click(dialog.GetSafeHwnd(), client);
    }

    AppProfiles rules;
    CAppProfilesDlg::Slots slots;
    HeadlessServices services;
    int changes = 0;
};

TEST_F(AppProfilesDialog, RemoveAndPauseChangeTheRulesAtOnce) {
    CAppProfilesDlg dialog(Env(), HWND{});
    desktop.backend().whenIdle([&] {
        auto* list = dynamic_cast<CAppRuleList*>(dialog.FindControl(CAppProfilesDlg::kRuleList));
        const RECT r = list->Rect();
        // The second row: the editor.
        At(dialog, POINT{r.left + 10, r.top + (r.bottom - r.top) * 3 / 16});
        Click(dialog, CAppProfilesDlg::kRemoveButton);
        Click(dialog, CAppProfilesDlg::kPauseBox);
        SendMessage(dialog.GetSafeHwnd(), ControlId::DialogClose, 0, ControlNotify::Click);
    });
    dialog.DoModal();
    ASSERT_EQ(rules.rules().size(), 2u);
    EXPECT_EQ(rules.rules()[1].program, "blender");
    EXPECT_TRUE(rules.paused);
    EXPECT_EQ(changes, 2);
}

TEST_F(AppProfilesDialog, TheBarAndTheWheelScrollAListLongerThanTheDialog) {
    for (int i = 1; i <= 17; ++i) rules.add("/opt/games/game" + std::to_string(i), i % 3);
    CAppProfilesDlg dialog(Env(), HWND{});
    desktop.backend().whenIdle([&] {
        auto* list = dynamic_cast<CAppRuleList*>(dialog.FindControl(CAppProfilesDlg::kRuleList));
        auto* bar = dynamic_cast<CVScrollBar*>(dialog.FindControl(CAppProfilesDlg::kRuleScrollBar));
        ASSERT_NE(bar, nullptr);
        // Towards the user (down the list) for positive notches, one event each.
        const auto wheel = [&](int notches) {
            const RECT r = list->Rect();
            InputEvent e;
            e.kind = InputEvent::Kind::Wheel;
            e.screen = ClientToScreen(dialog.GetSafeHwnd(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            e.wheelDelta = notches > 0 ? -120 : 120;
            for (int i = 0; i < std::abs(notches); ++i) desktop.backend().inject(e);
            desktop.pump();
        };
        const auto press = [&](POINT client) {
            At(dialog, client);
            desktop.pump();
        };
        wheel(1);
        EXPECT_EQ(list->TopRow(), 1);
        press(POINT{(bar->DownRect().left + bar->DownRect().right) / 2, (bar->DownRect().top + bar->DownRect().bottom) / 2});
        EXPECT_EQ(list->TopRow(), 2);
        // The track below the thumb: a page further, and no further than the last rule.
        press(POINT{bar->TrackRect().left + 2, bar->TrackRect().bottom - 2});
        EXPECT_EQ(list->TopRow(), 10);
        press(POINT{bar->TrackRect().left + 2, bar->TrackRect().bottom - 2});
        EXPECT_EQ(list->TopRow(), 20 - CAppRuleList::kRowsShown);
        EXPECT_EQ(bar->Position(), list->TopRow());
        wheel(-30);
        EXPECT_EQ(list->TopRow(), 0);
        EXPECT_EQ(bar->Position(), 0);

        // Removing rules until all fit brings the first row back into view.
        list->SelectRow(19);
        list->RulesChanged();
        EXPECT_EQ(list->TopRow(), 12);
        while (rules.rules().size() > 5) {
            list->SelectRow(static_cast<int>(rules.rules().size()) - 1);
            Click(dialog, CAppProfilesDlg::kRemoveButton);
        }
        EXPECT_EQ(list->TopRow(), 0);
        wheel(1);
        EXPECT_EQ(list->TopRow(), 0);
        SendMessage(dialog.GetSafeHwnd(), ControlId::DialogClose, 0, ControlNotify::Click);
    });
    dialog.DoModal();
}

class AppProfilesGallery : public AppProfilesDialog,
                           public ::testing::WithParamInterface<std::tuple<float, bool>> {};

TEST_P(AppProfilesGallery, Pictures) {
    const auto [scale, chinese] = GetParam();
    uiScale = scale;
    LoadTexts(chinese ? "Lan.txt" : "Lan_EN.txt");
    const std::string name = std::string("auto_profiles_") + (chinese ? "zh" : "en") + "_" +
                             std::to_string(static_cast<int>(scale)) + "x";
    CAppProfilesDlg dialog(Env(languageText(359)), HWND{});
    desktop.backend().whenIdle([&] {
        auto* list = dynamic_cast<CAppRuleList*>(dialog.FindControl(CAppProfilesDlg::kRuleList));
        list->SelectRow(0);
        InvalidateRect(dialog.GetSafeHwnd(), nullptr, FALSE);
        std::filesystem::create_directories(ZAVRIN_GALLERY_DIR);
        desktop.pump();
        UpdateWindow(dialog.GetSafeHwnd());
        EXPECT_TRUE(desktop.writePng(dialog.GetSafeHwnd(), std::filesystem::path(ZAVRIN_GALLERY_DIR) / (name + ".png")));
        // More rules than rows, scrolled part of the way: the bar shows where the rows in view lie.
        for (int i = 1; i <= 9; ++i) rules.add("/opt/games/game" + std::to_string(i) + "/bin/game", i % 3);
        list->RulesChanged();
        list->ScrollTo(3);
        InvalidateRect(dialog.GetSafeHwnd(), nullptr, FALSE);
        UpdateWindow(dialog.GetSafeHwnd());
        EXPECT_TRUE(desktop.writePng(dialog.GetSafeHwnd(),
                                     std::filesystem::path(ZAVRIN_GALLERY_DIR) / (name + "_long.png")));
        SendMessage(dialog.GetSafeHwnd(), ControlId::DialogClose, 0, ControlNotify::Click);
    });
    dialog.DoModal();
}

INSTANTIATE_TEST_SUITE_P(ScalesAndLanguages, AppProfilesGallery,
                         ::testing::Combine(::testing::Values(1.0f, 2.0f), ::testing::Bool()));

}  // namespace
}  // namespace zavrin::test
