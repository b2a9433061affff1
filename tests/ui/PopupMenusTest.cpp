#include <gtest/gtest.h>

#include <functional>

#include "tests/ui/UiTestSupport.h"
#include "ui/PopupMenus.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

constexpr UINT kReport = 0x4A0;  // the owner's chosen report message
constexpr int kOwnerParam = 2014;
constexpr POINT kMenuAt{100, 100};

struct Choice {
    WPARAM wParam = 0;
    std::string name;
    KeyAction action;
};

class Popups : public UiTest {
protected:
    void SetUp() override {
        for (int n = 0; n < 300; ++n) uiLanguage.setText(n, "text" + std::to_string(n));
        uiLanguage.setText(36, "DPI Lock");
        uiLanguage.setText(10, "Profiles");
        owner = Open(300, 200, {});
        owner->onMessage = [this](UINT m, WPARAM wp, LPARAM lp) {
            if (m == kReport && lp > 0xFFFF) {
                const auto* c = reinterpret_cast<const ButtonChoice*>(lp);
                choices.push_back(Choice{wp, c->name, c->action});
            }
        };
    }
    void TearDown() override { uiLanguage = LanguageTable{}; }

    template <class Menu>
    Menu* Show(Menu* menu) {
        EXPECT_TRUE(menu->Create(owner->GetSafeHwnd(), RECT{kMenuAt.x, kMenuAt.y, kMenuAt.x, kMenuAt.y}, kReport,
                                 kOwnerParam));
        desktop.pump();
        return menu;
    }
    // The centre of row i in screen coordinates.
    POINT RowCentre(const CItemPopup* menu, int i) const {
        const RECT& r = menu->Items()[static_cast<std::size_t>(i)].itemRect;
        return ClientToScreen(menu->GetSafeHwnd(), POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    }
    void ClickRow(const CItemPopup* menu, int i) {
        desktop.move(RowCentre(menu, i));
        desktop.click(RowCentre(menu, i));
    }
    std::vector<LPARAM> reportsOf(UINT message) const {
        std::vector<LPARAM> out;
        for (const auto& n : owner->received)
            if (n.message == message) out.push_back(n.lParam);
        return out;
    }

    std::unique_ptr<TestDialog> owner;
    std::vector<Choice> choices;
};

TEST_F(Popups, TheStandardLayoutStacksRowsAndSizesTheWindow) {
    auto* menu = Show(new CDPIPopup(PopupPictures{}));
    ASSERT_EQ(menu->Items().size(), 3u);
    EXPECT_EQ(menu->Items()[0].itemRect, (RECT{1, 1, 161, 23}));
    EXPECT_EQ(menu->Items()[2].itemRect, (RECT{1, 45, 161, 67}));
    EXPECT_EQ(GetWindowRect(menu->GetSafeHwnd()), (RECT{100, 100, 262, 168}));
}

TEST_F(Popups, TheLayoutScalesAndTruncates) {
    uiScale = 1.5f;
    auto* menu = Show(new CComboActionInsertPopup(PopupPictures{}));
    ASSERT_EQ(menu->Items().size(), 9u);
    EXPECT_EQ(menu->Items()[0].itemRect, (RECT{1, 1, 175, 34}));
    EXPECT_EQ(menu->Items()[1].itemRect, (RECT{1, 34, 175, 67}));
    const RECT window = GetWindowRect(menu->GetSafeHwnd());
    EXPECT_EQ(window.right - window.left, 177);
    EXPECT_EQ(window.bottom - window.top, static_cast<int>(1.5 + 9 * 33 + 1.5));
}

TEST_F(Popups, AReleaseOnTheHoveredRowSendsExactlyOneResult) {
    auto* menu = Show(new CComboPopup(PopupPictures{}));
    ClickRow(menu, 1);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].wParam, static_cast<WPARAM>(kOwnerParam));
    EXPECT_EQ(choices[0].name, "text21");
    EXPECT_EQ(choices[0].action, (KeyAction{0x10, 0x02, 0x00}));
}

TEST_F(Popups, PressingOneRowAndReleasingOnAnotherSendsNothing) {
    auto* menu = Show(new CMultimediaPopup(PopupPictures{}));
    desktop.move(RowCentre(menu, 1));
    desktop.press(RowCentre(menu, 1));
    desktop.move(RowCentre(menu, 3));
    desktop.release(RowCentre(menu, 3));
    EXPECT_TRUE(choices.empty());
    EXPECT_EQ(menu->HoverIndex(), -1);
    // Releasing outside every row sends nothing either.
    desktop.move(RowCentre(menu, 2));
    desktop.press(RowCentre(menu, 2));
    const POINT edge = ClientToScreen(menu->GetSafeHwnd(), {0, 0});
    desktop.release(edge);
    EXPECT_TRUE(choices.empty());
}

TEST_F(Popups, AMenuWhoseCaptureWasStolenTakesItBackOnTheNextPress) {
    auto* menu = Show(new CMultimediaPopup(PopupPictures{}));
    desktop.move(RowCentre(menu, 1));
    desktop.press(RowCentre(menu, 1));
    ASSERT_EQ(GetCapture(), menu->GetSafeHwnd());
    // Another window takes the mouse before the release arrives.
    SetCapture(owner->GetSafeHwnd());
    ReleaseCapture();
    desktop.release(RowCentre(menu, 1));
    EXPECT_FALSE(menu->Pointer().capturing());
    desktop.move(RowCentre(menu, 2));
    desktop.press(RowCentre(menu, 2));
    EXPECT_EQ(GetCapture(), menu->GetSafeHwnd());
    // Dragged off the menu and released outside: the release still reaches it.
    desktop.release(ClientToScreen(menu->GetSafeHwnd(), {-40, -40}));
    EXPECT_EQ(GetCapture(), HWND{});
    EXPECT_EQ(menu->HoverIndex(), -1);
}

TEST_F(Popups, TheAssignmentMenuAsksForSubmenusAsTheHoverMoves) {
    auto* menu = Show(new CComboPopup(PopupPictures{}));
    desktop.move(RowCentre(menu, 5));   // DPI switch
    desktop.move(RowCentre(menu, 10));  // multimedia
    desktop.move(RowCentre(menu, 0));   // left button
    std::vector<UINT> asked;
    for (const auto& n : owner->received) {
        if (n.message == PopupMessage::OpenDpiSubmenu || n.message == PopupMessage::OpenMultimediaSubmenu ||
            n.message == PopupMessage::CloseSubmenus) {
            asked.push_back(n.message);
            EXPECT_EQ(n.wParam, static_cast<WPARAM>(kOwnerParam));
        }
    }
    EXPECT_EQ(asked, (std::vector<UINT>{PopupMessage::OpenDpiSubmenu, PopupMessage::OpenMultimediaSubmenu,
                                        PopupMessage::CloseSubmenus}));
    EXPECT_EQ(owner->from(PopupMessage::OpenMultimediaSubmenu).front().lParam, 11);
    // A sub-menu row picks nothing; a dialog row asks for its dialog.
    ClickRow(menu, 5);
    EXPECT_TRUE(choices.empty());
    ClickRow(menu, 6);
    EXPECT_EQ(owner->from(PopupMessage::OpenFireKeyDialog).size(), 1u);
    EXPECT_TRUE(choices.empty());
}

TEST_F(Popups, ThePressOnTheFirstFourAssignmentRowsIsReportedToo) {
    auto* menu = Show(new CComboPopup(PopupPictures{}));
    desktop.move(RowCentre(menu, 3));
    desktop.press(RowCentre(menu, 3));
    EXPECT_EQ(reportsOf(kReport), (std::vector<LPARAM>{0}));
    desktop.release(RowCentre(menu, 3));
    desktop.move(RowCentre(menu, 7));
    desktop.press(RowCentre(menu, 7));
    EXPECT_EQ(reportsOf(kReport).size(), 2u);  // the row-4 press and its result
}

TEST_F(Popups, ClickingOutsideSendsTheKindsDeactivationMessageAndClosingTellsTheOwner) {
    auto* menu = Show(new CWindowsManagePopup(PopupPictures{}));
    const HWND hwnd = menu->GetSafeHwnd();
    EXPECT_EQ(GetActiveWindow(), hwnd);
    desktop.click(owner->GetSafeHwnd(), {150, 150});
    const auto deactivated = owner->from(PopupMessage::WindowsManageDeactivated);
    ASSERT_EQ(deactivated.size(), 1u);
    EXPECT_EQ(deactivated[0].wParam, static_cast<WPARAM>(kOwnerParam));
    EXPECT_EQ(deactivated[0].lParam, PopupKind::WindowsManage);
    // The menu waits for its owner to close it.
    EXPECT_TRUE(IsWindow(hwnd));
    owner->SetPopup(5, menu);
    owner->ClosePopup(5);
    desktop.pump();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(owner->from(PopupMessage::Closed).size(), 1u);
    EXPECT_EQ(owner->GetPopup(5), nullptr);
}

TEST_F(Popups, MacroListModeZeroShowsFiveRowsWithTheirIndexes) {
    auto* menu = new CMacroListPopup(PopupPictures{});
    menu->SetMode(0);
    Show(menu);
    ASSERT_EQ(menu->Items().size(), 5u);
    for (int i = 0; i < 5; ++i) ClickRow(menu, i);
    std::vector<int> results;
    for (const auto& c : choices) {
        results.push_back(c.action.type);
        EXPECT_TRUE(c.name.empty());
    }
    EXPECT_EQ(results, (std::vector<int>{0, 1, 3, 6, 7}));
}

TEST_F(Popups, TheDpiLockRowSevenHundredNamesItself) {
    auto* menu = Show(new CDPILockPopup(PopupPictures{}));
    ASSERT_EQ(menu->Items().size(), 11u);
    ClickRow(menu, 5);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].action, (KeyAction{0x50, 0x06, 0x00}));
    EXPECT_EQ(choices[0].name, "DPI Lock-700");
}

TEST_F(Popups, TheProfileListCannotChooseAnEmptySlotAndTellsLeftFromRight) {
    auto* menu = new CComboProfilePopup(nullptr);
    menu->SetProfileName(2, "");
    Show(menu);
    ASSERT_EQ(menu->Items().size(), 7u);
    EXPECT_EQ(menu->Items()[0].itemRect, (RECT{0, 1, 230, 26}));
    ClickRow(menu, 0);  // header
    ClickRow(menu, 3);  // empty slot
    EXPECT_TRUE(reportsOf(kReport).empty());
    ClickRow(menu, 4);
    EXPECT_EQ(owner->from(kReport).back().wParam, CComboProfilePopup::kLeftChoice);
    EXPECT_EQ(owner->from(kReport).back().lParam, 5);
    desktop.rightClick(RowCentre(menu, 1));
    EXPECT_EQ(owner->from(kReport).back().wParam, CComboProfilePopup::kRightChoice);
    EXPECT_EQ(owner->from(kReport).back().lParam, 2);
    const std::size_t before = owner->from(kReport).size();
    desktop.rightClick(RowCentre(menu, 6));  // the last row takes no right click
    EXPECT_EQ(owner->from(kReport).size(), before);
    ClickRow(menu, 6);
    EXPECT_EQ(owner->from(kReport).back().lParam, 7);
}

// Every menu: its kind, its rows, and what its first row hands over.
struct MenuCase {
    const char* name;
    std::function<CItemPopup*()> make;
    std::size_t rows;
    UINT deactivation;
    int row;
    KeyAction action;
    std::string choiceName;
};

void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }

class EveryMenu : public Popups, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(EveryMenu, HasItsRowsResultAndDeactivationMessage) {
    const MenuCase& c = GetParam();
    auto* menu = Show(c.make());
    EXPECT_EQ(menu->Items().size(), c.rows);
    EXPECT_EQ(CWndPopup::DeactivationMessage(menu->Kind()), c.deactivation);
    ClickRow(menu, c.row);
    ASSERT_EQ(choices.size(), 1u);
    EXPECT_EQ(choices[0].action, c.action);
    EXPECT_EQ(choices[0].name, c.choiceName);
    // Hover follows the mouse and is drawn.
    EXPECT_EQ(menu->HoverIndex(), c.row);
    desktop.click(owner->GetSafeHwnd(), {150, 150});
    EXPECT_EQ(owner->from(c.deactivation).size(), 1u);
    SendMessage(menu->GetSafeHwnd(), WM_CLOSE);
    EXPECT_EQ(owner->from(PopupMessage::Closed).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Menus, EveryMenu,
    ::testing::Values(
        MenuCase{"Combo", [] { return new CComboPopup(PopupPictures{}); }, 17, 0x405, 13, {0x60, 0x04, 0}, "text33"},
        MenuCase{"Profile", [] { return new CProfilePopup(); }, 3, 0x408, 2, {18, 0, 0}, ""},
        MenuCase{"Dpi", [] { return new CDPIPopup(PopupPictures{}); }, 3, 0x412, 0, {0x40, 2, 0}, "text40"},
        MenuCase{"Multimedia", [] { return new CMultimediaPopup(PopupPictures{}); }, 10, 0x415, 5, {0x80, 0xE2, 0},
                 "text50"},
        MenuCase{"PollingRate", [] { return new CComboPollingRatePopup(); }, 4, 0x470, 3, {3, 0, 0}, "1000Hz"},
        MenuCase{"Lighting", [] { return new CComboLightingPopup(PopupPictures{}); }, 3, 0x47A, 2, {0, 0, 0},
                 "text109"},
        MenuCase{"DpiLock", [] { return new CDPILockPopup(PopupPictures{}); }, 11, 0x484, 10, {0x50, 11, 0},
                 "DPI Lock-1200"},
        MenuCase{"WindowsManage", [] { return new CWindowsManagePopup(PopupPictures{}); }, 6, 0x487, 2,
                 {0x70, 0x08, 0x07}, "text77"},
        MenuCase{"Office", [] { return new COfficePopup(PopupPictures{}); }, 9, 0x48A, 0, {0x70, 0x01, 0x06},
                 "text60"},
        MenuCase{"ProfileRKey", [] { return new CProfileRKeyPopup(PopupPictures{}); }, 4, 0x48D, 3, {3, 0, 0},
                 "text93"},
        MenuCase{"ActionInsert", [] { return new CComboActionInsertPopup(PopupPictures{}); }, 9, 0x490, 4, {4, 0, 0},
                 "text206"},
        MenuCase{"MacroList", [] { return new CMacroListPopup(PopupPictures{}); }, 8, 0x492, 2, {2, 0, 0}, ""}),
    [](const ::testing::TestParamInfo<MenuCase>& info) { return std::string(info.param.name); });

TEST_F(Popups, ThePollingRateMenuLightsTheHoveredRow) {
    auto* menu = Show(new CComboPollingRatePopup());
    desktop.move(RowCentre(menu, 1));
    const Image* surface = GetWindowSurface(menu->GetSafeHwnd());
    ASSERT_NE(surface, nullptr);
    const RECT r = menu->Items()[1].itemRect;
    EXPECT_EQ(surface->colorAt(r.left + 2, r.top + 2), 0x004B53u);
    EXPECT_EQ(surface->colorAt(menu->Items()[0].itemRect.left + 2, menu->Items()[0].itemRect.top + 2), 0x000000u);
}

TEST_F(Popups, PictureMenusDrawTheirRowPictures) {
    PopupPictures pictures;
    pictures.row = LoadImageFile(SolidPng("menu_nr", 162, 22, 0x303030));
    pictures.rowHover = LoadImageFile(SolidPng("menu_ov", 162, 22, 0x3060A0));
    auto* menu = Show(new CDPIPopup(pictures));
    desktop.move(RowCentre(menu, 2));
    const Image* surface = GetWindowSurface(menu->GetSafeHwnd());
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->colorAt(3, menu->Items()[0].itemRect.top + 2), 0x303030u);
    EXPECT_EQ(surface->colorAt(3, menu->Items()[2].itemRect.top + 2), 0x3060A0u);
    EXPECT_EQ(surface->colorAt(0, 0), 0x000000u);
}

TEST_F(Popups, TheProfileListFillsEachKindOfRow) {
    auto* menu = new CComboProfilePopup(nullptr);
    menu->SetProfileName(3, "");
    menu->SetCurrentProfileRow(1);
    Show(menu);
    desktop.move(RowCentre(menu, 2));
    const Image* surface = GetWindowSurface(menu->GetSafeHwnd());
    ASSERT_NE(surface, nullptr);
    auto edge = [&](int i) {
        const RECT& r = menu->Items()[static_cast<std::size_t>(i)].itemRect;
        return surface->colorAt(r.left + 1, r.top + 2);
    };
    EXPECT_EQ(edge(1), 0x000078u);  // the current profile
    EXPECT_EQ(edge(2), 0x373737u);  // hovered
    EXPECT_EQ(edge(3), 0x1F1F1Fu);  // plain
    EXPECT_EQ(edge(4), 0x1F1F1Fu);  // no name
    EXPECT_EQ(edge(6), 0x000049u);  // the last row
}

TEST_F(Popups, TheProfileFunctionMenuFillsTheHoveredRowWithTheAccent) {
    auto* menu = Show(new CProfilePopup());
    desktop.move(RowCentre(menu, 1));
    const Image* surface = GetWindowSurface(menu->GetSafeHwnd());
    ASSERT_NE(surface, nullptr);
    const RECT& hovered = menu->Items()[1].itemRect;
    const RECT& plain = menu->Items()[0].itemRect;
    EXPECT_EQ(surface->colorAt(hovered.right - 2, hovered.top + 2), 0xDEA035u);
    EXPECT_EQ(surface->colorAt(plain.right - 2, plain.top + 2), 0x000000u);
}

}  // namespace
}  // namespace zavrin::test
