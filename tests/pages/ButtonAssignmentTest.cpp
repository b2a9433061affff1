#include "MainWindowFixture.h"
#include "dialogs/CNameDialogs.h"
#include "ui/CComboButton.h"
#include "ui/ControlIds.h"
#include "ui/PopupMenus.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

constexpr std::uint32_t kBox1 = 2013;
constexpr std::uint32_t kBox2 = 2014;
// Rows of the function menu, top to bottom from 0.
constexpr std::size_t kRightClickRow = 1;
constexpr std::size_t kMiddleClickRow = 2;
constexpr std::size_t kFireKeyRow = 6;
constexpr std::size_t kOfficeRow = 11;
constexpr std::size_t kDpiLockRow = 14;
constexpr std::size_t kDisableRow = 16;

class ButtonAssignment : public MainWindowTest {
protected:
    std::string boxText(std::uint32_t id) { return as<CComboButton>(id)->ValueText(); }
    // The three bytes of profile key `key` in the keys report.
    static std::vector<std::uint8_t> keyEntry(const std::vector<std::uint8_t>& report, int key) {
        const auto at = static_cast<std::size_t>(CommandOffset::Payload + 3 * key);
        return {report[at], report[at + 1], report[at + 2]};
    }
};

TEST_F(ButtonAssignment, MiddleClickReachesTheMouseInOnePassAndIsSavedTenSecondsLater) {
    click(kBox2);
    CItemPopup* menu = topMenu();
    ASSERT_NE(dynamic_cast<CComboPopup*>(menu), nullptr);
    EXPECT_TRUE(as<CComboButton>(kBox2)->IsPopupOpen());
    clickRow(menu, kMiddleClickRow);

    EXPECT_EQ(profile().keys[1].action, (KeyAction{0x10, 0x04, 0x00}));
    EXPECT_EQ(boxText(kBox2), "Middle Click");
    EXPECT_FALSE(as<CComboButton>(kBox2)->IsPopupOpen());
    EXPECT_EQ(topMenu(), nullptr);
    desktop.advance(19ms);
    EXPECT_TRUE(sent(Command::Keys).empty());
    desktop.advance(1ms);
    const auto reports = sent(Command::Keys);
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(settingsReports(), 1u);
    EXPECT_EQ(keyEntry(reports[0], 1), (std::vector<std::uint8_t>{0x10, 0x04, 0x00}));
    EXPECT_EQ(keyEntry(reports[0], 0), (std::vector<std::uint8_t>{0x10, 0x01, 0x00}));

    desktop.advance(9s);
    EXPECT_EQ(savedProfile(0)->keys[1].action, (KeyAction{0x10, 0x02, 0x00}));
    desktop.advance(2s);
    const auto saved = savedProfile(0);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->keys[1].action, (KeyAction{0x10, 0x04, 0x00}));
    EXPECT_EQ(saved->keys[1].name, "Middle Click");
}

TEST_F(ButtonAssignment, TheLastLeftClickStaysAndTheWarningFollowsAfterAHundredMilliseconds) {
    click(kBox1);
    clickRow(topMenu(), kRightClickRow);
    EXPECT_EQ(profile().keys[0].action, kLeftClick);
    EXPECT_EQ(boxText(kBox1), "Left Click");
    desktop.advance(99ms);
    EXPECT_EQ(notice(), "");
    desktop.advance(1ms);
    EXPECT_EQ(notice(), "At least one button must stay on Left Click.");
    desktop.advance(500ms);
    EXPECT_EQ(settingsReports(), 0u);
}

TEST_F(ButtonAssignment, WithASecondLeftClickTheFirstMayChange) {
    click(kBox2);
    clickRow(topMenu(), 0);
    desktop.advance(1s);
    mouse->clearTransfers();
    click(kBox1);
    clickRow(topMenu(), kRightClickRow);
    EXPECT_EQ(profile().keys[0].action, (KeyAction{0x10, 0x02, 0x00}));
    desktop.advance(20ms);
    ASSERT_EQ(sent(Command::Keys).size(), 1u);
    EXPECT_EQ(notice(), "");
}

TEST_F(ButtonAssignment, SubmenusStoreTheirBytesAndNames) {
    click(kBox2);
    hoverRow(topMenu(), kDpiLockRow);
    auto* lock = dynamic_cast<CDPILockPopup*>(topMenu());
    ASSERT_NE(lock, nullptr);
    clickRow(lock, 6);  // "800"
    EXPECT_EQ(profile().keys[1].action, (KeyAction{0x50, 0x07, 0x00}));
    EXPECT_EQ(boxText(kBox2), "DPI Lock-800");
    EXPECT_EQ(topMenu(), nullptr);

    click(kBox2);
    hoverRow(topMenu(), kOfficeRow);
    auto* office = dynamic_cast<COfficePopup*>(topMenu());
    ASSERT_NE(office, nullptr);
    // Moving back to a plain row closes the sub-menu.
    hoverRow(dynamic_cast<CItemPopup*>(window->GetPopup(0)), kMiddleClickRow);
    desktop.pump();
    EXPECT_EQ(dynamic_cast<COfficePopup*>(topMenu()), nullptr);
    hoverRow(topMenu(), kOfficeRow);
    clickRow(topMenu(), 7);  // Win E
    EXPECT_EQ(profile().keys[1].action, (KeyAction{0x70, 0x08, 0x08}));

    click(kBox2);
    clickRow(topMenu(), kDisableRow);
    EXPECT_EQ(profile().keys[1].action, (KeyAction{0x00, 0x00, 0x00}));
    EXPECT_EQ(boxText(kBox2), "Disable");
}

TEST_F(ButtonAssignment, ClickingTheRowThatOpenedASubmenuKeepsItOpen) {
    click(kBox2);
    auto* menu = dynamic_cast<CItemPopup*>(window->GetPopup(0));
    ASSERT_NE(menu, nullptr);
    hoverRow(menu, kOfficeRow);
    ASSERT_NE(dynamic_cast<COfficePopup*>(window->GetPopup(1)), nullptr);
    // The press activates the main menu, which the sub-menu notices as its
    // loss of activation: the sub-menu still stays, as the release on such a
    // row does nothing.
    clickRow(menu, kOfficeRow);
    desktop.pump();
    auto* office = dynamic_cast<COfficePopup*>(window->GetPopup(1));
    ASSERT_NE(office, nullptr);
    EXPECT_TRUE(IsWindowVisible(office->GetSafeHwnd()));
    EXPECT_TRUE(as<CComboButton>(kBox2)->IsPopupOpen());
    clickRow(office, 7);  // Win E
    EXPECT_EQ(profile().keys[1].action, (KeyAction{0x70, 0x08, 0x08}));
    EXPECT_EQ(topMenu(), nullptr);
}

TEST_F(ButtonAssignment, ClickingElsewhereClosesTheMenuWithoutAChoice) {
    const KeyAction before = profile().keys[1].action;
    click(kBox2);
    ASSERT_NE(topMenu(), nullptr);
    clickAt(POINT{600, 650});
    desktop.pump();
    EXPECT_EQ(topMenu(), nullptr);
    EXPECT_FALSE(as<CComboButton>(kBox2)->IsPopupOpen());
    EXPECT_EQ(profile().keys[1].action, before);
}

TEST_F(ButtonAssignment, TheFireKeyDialogOpensAfterTheMenuAndItsChoiceIsStored) {
    click(kBox2);
    bool menuGone = false;
    desktop.backend().whenIdle([&] {
        CDlgBase* dialog = frontDialog();
        ASSERT_NE(dynamic_cast<CFireKeyDlg*>(dialog), nullptr);
        menuGone = topMenu() == nullptr;
        SendMessage(dialog->GetSafeHwnd(), ControlId::DialogOk, 0, ControlNotify::Click);
    });
    clickRow(topMenu(), kFireKeyRow);
    desktop.pump();
    EXPECT_TRUE(menuGone);
    EXPECT_EQ(profile().keys[1].action.type, ActionType::FireKey);
    EXPECT_EQ(boxText(kBox2), profile().keys[1].name);
    desktop.advance(20ms);
    EXPECT_EQ(sent(Command::Keys).size(), 1u);
}

TEST_F(ButtonAssignment, AChoiceForAHiddenBoxChangesNoKey) {
    const auto before = profile().keys;
    ButtonChoice choice{"Right Click", KeyAction{0x10, 0x02, 0x00}};
    SendMessage(hwnd(), 1027, 2019, reinterpret_cast<LPARAM>(&choice));
    EXPECT_EQ(profile().keys, before);
    desktop.advance(100ms);
    EXPECT_EQ(settingsReports(), 0u);
}

}  // namespace
}  // namespace zavrin::test
