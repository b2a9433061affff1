#include <gtest/gtest.h>

#include <set>

#include "ui/PopupCatalog.h"
#include "ui/RadioGroups.h"
#include "ui/UiGlobals.h"

namespace zavrin {
namespace {

const PopupTableRow* findId(std::span<const PopupTableRow> items, int id) {
    for (const auto& item : items) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

TEST(PopupCatalog, AssignmentMenuRowsCarryTheirActionsAndRequests) {
    const auto items = comboPopupItems();
    ASSERT_EQ(items.size(), 17u);
    EXPECT_EQ(findId(items, 2)->action, (KeyAction{0x10, 0x02, 0x00}));
    EXPECT_EQ(findId(items, 4)->action, (KeyAction{0x10, 0x10, 0x00}));
    EXPECT_EQ(findId(items, 5)->action, (KeyAction{0x10, 0x08, 0x00}));
    EXPECT_EQ(findId(items, 8)->action, (KeyAction{0x30, 50, 3}));
    EXPECT_EQ(findId(items, 14)->action, (KeyAction{0x60, 0x04, 0x00}));
    EXPECT_EQ(findId(items, 17)->action, (KeyAction{0, 0, 0}));
    EXPECT_EQ(findId(items, 7)->message, PopupMessage::OpenFireKeyDialog);
    EXPECT_EQ(findId(items, 16)->message, PopupMessage::OpenQuickLaunchDialog);
    // The DPI-lock row sits between the device-function row and the quick-launch row.
    EXPECT_EQ(items[14].id, 15);
    EXPECT_EQ(items[14].textEntry, 36);
    EXPECT_TRUE(items[14].hasSubmenu);
    int submenus = 0;
    for (const auto& item : items) submenus += item.hasSubmenu ? 1 : 0;
    EXPECT_EQ(submenus, 5);
}

TEST(PopupCatalog, SubmenuActionsUseTheHidUsages) {
    EXPECT_EQ(findId(multimediaPopupItems(), 1)->action, (KeyAction{0x80, 0x83, 0x01}));
    EXPECT_EQ(findId(multimediaPopupItems(), 10)->action, (KeyAction{0x80, 0x92, 0x01}));
    EXPECT_EQ(findId(officePopupItems(), 8)->action, (KeyAction{0x70, 0x08, 0x08}));
    EXPECT_EQ(findId(windowsManagePopupItems(), 1)->action, (KeyAction{0x80, 0x94, 0x01}));
    EXPECT_EQ(findId(windowsManagePopupItems(), 2)->action, (KeyAction{0x70, 0x04, 0x3D}));
    EXPECT_EQ(findId(dpiPopupItems(), 3)->action, (KeyAction{0x40, 0x01, 0x00}));
    EXPECT_EQ(findId(dpiLockPopupItems(), 6)->action, (KeyAction{0x50, 0x06, 0x00}));
    EXPECT_STREQ(findId(dpiLockPopupItems(), 6)->literal, "700");
}

TEST(PopupCatalog, MacroListModesFilterTheRows) {
    std::set<int> mode0, mode2, other;
    for (const auto& item : macroListPopupItems()) {
        if (macroListModeShows(0, item.id)) mode0.insert(item.id);
        if (macroListModeShows(2, item.id)) mode2.insert(item.id);
        if (macroListModeShows(1, item.id)) other.insert(item.id);
    }
    EXPECT_EQ(mode0, (std::set<int>{1, 2, 4, 7, 8}));
    EXPECT_EQ(mode2, (std::set<int>{1, 2, 4, 5, 6, 7, 8}));
    EXPECT_EQ(other.size(), 8u);
}

TEST(PopupCatalog, LightingIdsMapToDeviceModes) {
    EXPECT_EQ(lightingModeOfId(2), 2);
    EXPECT_EQ(lightingModeOfId(7), 8);
    EXPECT_EQ(lightingModeOfId(9), 7);
    EXPECT_EQ(lightingModeOfId(10), 0);
    EXPECT_EQ(lightingModeOfId(11), 0);
}

TEST(RadioGroups, EachIdHasItsBitAndGroup) {
    auto b = radioBitOf(3036);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->bit, 1u << 2);
    EXPECT_EQ(b->groupMask, 0x7Fu);
    EXPECT_EQ(radioBitOf(2010)->groupMask, 0x180u);
    EXPECT_EQ(radioBitOf(3250)->bit, 1u << 12);
    EXPECT_EQ(radioBitOf(2033)->groupMask, 0xE000u);
    EXPECT_EQ(radioBitOf(3033)->bit, 1u << 19);
    EXPECT_EQ(radioBitOf(3511)->groupMask, 0x300000u);
    EXPECT_FALSE(radioBitOf(3041));
}

}  // namespace
}  // namespace zavrin
