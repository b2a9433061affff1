#include <gtest/gtest.h>

#include "model/LanguageTable.h"
#include "model/NameTables.h"
#include "model/ProfileRecord.h"

namespace zavrin {
namespace {

LanguageTable englishTexts() {
    LanguageTable t;
    t.setText(20, "Left Click");
    t.setText(21, "Right Click");
    t.setText(42, "DPI Loop");
    for (int i = 0; i < 5; ++i) t.setText(85 + i, "Profile " + std::to_string(i + 1));
    t.setText(109, "Off");
    t.setText(100, "Wave");
    return t;
}

int leftClickCount(const ProfileRecord& r) {
    int n = 0;
    for (const auto& k : r.keys) n += k.action == kLeftClick ? 1 : 0;
    return n;
}

class ProfileRecordTest : public ::testing::Test {
protected:
    void SetUp() override { resetProfile(record, 0, texts, 0x3311); }
    LanguageTable texts = englishTexts();
    ProfileRecord record;
};

TEST_F(ProfileRecordTest, ResetGivesTheDefaultButtonsAndExactlyOneLeftClick) {
    EXPECT_EQ(leftClickCount(record), 1);
    EXPECT_EQ(record.keys[0].action, kLeftClick);
    EXPECT_EQ(record.keys[3].action, (KeyAction{0x10, 0x10, 0}));  // forward
    EXPECT_EQ(record.keys[4].action, (KeyAction{0x10, 0x08, 0}));  // back
    EXPECT_EQ(record.keys[5].action, (KeyAction{0x40, 0x01, 0}));
    EXPECT_EQ(record.keys[5].name, "DPI Loop");
    EXPECT_EQ(record.keys[0].macro.loopType, 2);
    EXPECT_EQ(record.keys[0].macro.loopNum, 1);
    EXPECT_EQ(record.pollingRateName, "1000HZ");
    EXPECT_EQ(record.lighting1.name, "Off");
    EXPECT_EQ(record.lighting2.name, "Wave");
    EXPECT_EQ(record.lighting1.fixedColor[6][7], 0xFF46FAU);
    EXPECT_EQ(record.lighting1.colorSelected[2][6], 1);
    EXPECT_EQ(record.lighting1.colorSelected[2][7], 0);
    EXPECT_EQ(record.lighting1.direction[1], 1);
    EXPECT_EQ(record.liftDetectionValue, 1);
    EXPECT_EQ(getSetting(record, 0, 1), "Profile 1");
    EXPECT_EQ(getSetting(record, 22, 0), "RippleControl");
}

TEST_F(ProfileRecordTest, ProfilesBeyondTheFiveAreNamedByNumber) {
    resetProfile(record, 7, texts, 0x3311);
    EXPECT_EQ(getSetting(record, 0, 1), "Profile8");
}

TEST_F(ProfileRecordTest, SettingAccessorsIgnoreIndexesBeyondTheTable) {
    EXPECT_EQ(getSetting(record, 23, 1), "");
    EXPECT_EQ(getSetting(record, -1, 0), "");
    setSettingInt(record, 23, 5);
    setSettingInt(record, Setting::KeyDebounce, 8);
    EXPECT_EQ(getSetting(record, Setting::KeyDebounce, 1), "8");
    EXPECT_EQ(getSettingInt(record, Setting::KeyDebounce), 8);
}

TEST_F(ProfileRecordTest, SensorDefaultsSetLevelsColoursAndSteps) {
    EXPECT_EQ(record.dpiOffOnFlag, 0x3F);
    EXPECT_EQ(record.currentDpiLevel, 2);
    EXPECT_EQ(record.xySetting, (std::array<std::uint16_t, 8>{3, 7, 15, 23, 35, 47, 119, 119}));
    EXPECT_EQ(record.dpiLevelIndication[0], 0x0000FFU);
    applySensorDpiDefaults(record, 0x3395);
    EXPECT_EQ(record.xySetting[5], 519);
    applySensorDpiDefaults(record, 0x3389);
    EXPECT_EQ(record.xySetting, (std::array<std::uint16_t, 8>{3, 7, 15, 31, 49, 59, 59, 59}));
}

TEST_F(ProfileRecordTest, UnknownSensorKeepsStepsButResetsTheRest) {
    record.xySetting[0] = 77;
    record.dpiOffOnFlag = 1;
    record.currentDpiLevel = 5;
    applySensorDpiDefaults(record, 0x1234);
    EXPECT_EQ(record.xySetting[0], 77);
    EXPECT_EQ(record.dpiOffOnFlag, 0x3F);
    EXPECT_EQ(record.currentDpiLevel, 2);
}

TEST_F(ProfileRecordTest, TheOnlyLeftClickCannotBeAssignedAway) {
    assignKey(record, 0, "Right Click", "", {0x10, 0x02, 0}, nullptr);
    EXPECT_TRUE(enforceLeftClick(record, 0, texts));
    EXPECT_EQ(record.keys[0].action, kLeftClick);
    EXPECT_EQ(record.keys[0].name, "Left Click");
}

TEST_F(ProfileRecordTest, LeftClickMayMoveOnceAnotherKeyHoldsIt) {
    assignKey(record, 1, "Left Click", "", kLeftClick, nullptr);
    EXPECT_FALSE(enforceLeftClick(record, 1, texts));
    assignKey(record, 0, "Right Click", "", {0x10, 0x02, 0}, nullptr);
    EXPECT_FALSE(enforceLeftClick(record, 0, texts));
    EXPECT_EQ(record.keys[0].action, (KeyAction{0x10, 0x02, 0}));
}

TEST_F(ProfileRecordTest, LeftAndRightTogetherIsNotTheLeftClick) {
    assignKey(record, 0, "Both", "", {0x10, 0x03, 0}, nullptr);
    EXPECT_TRUE(enforceLeftClick(record, 0, texts));
    EXPECT_EQ(record.keys[0].action, kLeftClick);
}

TEST_F(ProfileRecordTest, AssigningAMacroCopiesItAndAssigningWithoutClearsOnlyTheActions) {
    MacroRecord m;
    m.name = "combo";
    m.macroKeyIndex = 42;
    m.loopType = 4;
    m.loopNum = 3;
    m.insert(0, {0x41, 0x00, 0, 0});
    m.insert(1, makeDelay(300));
    m.insert(2, {0x41, 0x80, 0, 0});
    m.commandActionNum = 2;
    assignKey(record, 2, "combo", "", {0x90, 0x40, 0}, &m);
    EXPECT_EQ(record.keys[2].macro, m);
    EXPECT_EQ(record.keys[2].macroKeyIndex, 42U);

    assignKey(record, 2, "Middle", "", {0x10, 0x04, 0}, nullptr);
    EXPECT_EQ(record.keys[2].macro.actionNum, 0U);
    EXPECT_EQ(record.keys[2].macro.actions[1], MacroAction{});
    EXPECT_EQ(record.keys[2].macro.name, "combo");
    EXPECT_EQ(record.keys[2].macroKeyIndex, 42U);
}

TEST_F(ProfileRecordTest, AShorterMacroLeavesNoStaleActionsBehind) {
    MacroRecord longer;
    for (std::size_t i = 0; i < 5; ++i) longer.insert(i, {0x42, 0, 0, 0});
    MacroRecord shorter;
    shorter.insert(0, {0x43, 0, 0, 0});
    assignKey(record, 1, "long", "", {0x90, 0x21, 1}, &longer);
    assignKey(record, 1, "short", "", {0x90, 0x21, 1}, &shorter);
    EXPECT_EQ(record.keys[1].macro.actionNum, 1U);
    EXPECT_EQ(record.keys[1].macro.actions[0].b0, 0x43);
    EXPECT_EQ(record.keys[1].macro.actions[1], MacroAction{});
    EXPECT_EQ(record.keys[1].macro.actions[4], MacroAction{});
}

TEST(MacroRecordOperations, InsertFailsWhenFullAndAppendsBeyondTheEnd) {
    MacroRecord m;
    EXPECT_TRUE(m.insert(100, {1, 0, 0, 0}));  // beyond actionNum: appended at 0
    EXPECT_EQ(m.actions[0].b0, 1);
    EXPECT_TRUE(m.insert(0, {2, 0, 0, 0}));
    EXPECT_EQ(m.actions[0].b0, 2);
    EXPECT_EQ(m.actions[1].b0, 1);
    while (m.actionNum < kMacroActionCapacity) m.insert(m.actionNum, {9, 0, 0, 0});
    const MacroRecord full = m;
    EXPECT_FALSE(m.insert(0, {7, 0, 0, 0}));
    EXPECT_EQ(m, full);
}

TEST(MacroRecordOperations, RemoveClosesTheGapAndZeroesTheTail) {
    MacroRecord m;
    m.insert(0, {5, 0, 0, 1});
    EXPECT_FALSE(m.remove(1));
    EXPECT_TRUE(m.remove(0));
    EXPECT_EQ(m.actionNum, 0U);
    EXPECT_EQ(m, MacroRecord{});
}

TEST(MacroRecordOperations, OutOfRangeAccessIsHarmless) {
    MacroRecord m;
    m.set(0, {4, 0, 0, 0});
    EXPECT_EQ(m.get(250).b0, 4);
    EXPECT_FALSE(m.set(250, {1, 1, 1, 1}));
    EXPECT_TRUE(m.set(249, {1, 1, 1, 1}));
    EXPECT_EQ(m.actionNum, 0U);
}

TEST(MacroRecordOperations, DelaysAreBigEndianAndNotCountedAsEvents) {
    const MacroAction d = makeDelay(0x012345);
    EXPECT_EQ(d, (MacroAction{0x03, 0x01, 0x23, 0x45}));
    EXPECT_EQ(delayMilliseconds(d), 0x012345U);
    MacroRecord m;
    m.insert(0, {0x41, 0, 0, 0});
    m.insert(1, d);
    m.insert(2, {0x41, 0x80, 0, 0});
    EXPECT_EQ(m.countCommandActions(), 2);
}

TEST(FixedNames, KeyRateLockAndBrightnessNames) {
    EXPECT_EQ(keyName(0xBC), ",");
    EXPECT_EQ(keyName(0x20), "Space");
    EXPECT_EQ(keyName(0xE5), "Mouse X");
    EXPECT_EQ(keyName(0x5A), "Z");
    EXPECT_EQ(keyName(0x87), "F24");
    EXPECT_EQ(keyName(0xDC), "\\");
    int undefined = 0;
    for (int c = 0; c < 256; ++c) undefined += keyName(static_cast<std::uint8_t>(c)) == "Undefined" ? 1 : 0;
    EXPECT_EQ(undefined, 109);
    EXPECT_EQ(pollingRateName(3), "1000Hz");
    EXPECT_EQ(pollingRateName(7), "");
    EXPECT_EQ(dpiLockName(1), "200");
    EXPECT_EQ(dpiLockName(11), "1200");
    EXPECT_EQ(dpiLockName(0), "");
    EXPECT_EQ(brightnessName(5), "50%");
}

}  // namespace
}  // namespace zavrin
