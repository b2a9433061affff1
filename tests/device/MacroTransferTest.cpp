#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "device/MacroTransfer.h"

namespace zavrin {
namespace {

using test::makeMacro;
using test::SyncRig;

TEST(MacroImage, EventsCarryClassReleaseFlagAndTheFollowingDelay) {
    MacroRecord m;
    m.insert(0, MacroAction{0x41, kMacroPress, 0, 0});  // A down
    m.insert(1, makeDelay(5000));
    m.insert(2, MacroAction{0x41, kMacroRelease, 0, 0});  // A up
    m.insert(3, makeDelay(300));
    m.insert(4, makeDelay(700));  // only the first of two delays counts
    m.insert(5, MacroAction{0xA0, kMacroPress, 0, 0});   // left shift: modifier bit
    m.insert(6, MacroAction{0xE1, kMacroRelease, 0, 0}); // right button
    m.insert(7, MacroAction{0xE7, kMacroPress, 0, 0xFD});  // wheel amount
    m.commandActionNum = m.countCommandActions();
    const MacroImage image = encodeMacroImage(m, 3);
    const std::vector<std::uint8_t> head(image.begin(), image.begin() + 4 + 15);
    const std::vector<std::uint8_t> expected{0x09, 0x90, 3, 5,
                                             0x3F, 0xFF, 0x04,   // 4095 ms at most
                                             0xB1, 0x2C, 0x04,   // release, 300 ms
                                             0x20, 0x00, 0x02,   // 0xE1: bit 1
                                             0x90, 0x00, 0x02,   // release of mouse button bit 1
                                             0x60, 0x00, 0xFD};
    EXPECT_EQ(head, expected);
    for (std::size_t i = head.size(); i < image.size(); ++i) ASSERT_EQ(image[i], 0) << i;
}

TEST(MacroImage, EverySideOfTheModifierKeysIsAModifierBit) {
    // Shift, Ctrl and Alt, left and right: HID modifier bits 1, 5, 0, 4, 2 and 6.
    const std::array<std::pair<std::uint8_t, std::uint8_t>, 6> modifiers{
        {{0xA0, 0x02}, {0xA1, 0x20}, {0xA2, 0x01}, {0xA3, 0x10}, {0xA4, 0x04}, {0xA5, 0x40}}};
    for (const auto& [virtualKey, bit] : modifiers) {
        MacroRecord m;
        m.insert(0, MacroAction{virtualKey, kMacroPress, 0, 0});
        m.commandActionNum = 1;
        const MacroImage image = encodeMacroImage(m, 1);
        EXPECT_EQ(image[4], 0x20) << std::hex << int{virtualKey};
        EXPECT_EQ(image[6], bit) << std::hex << int{virtualKey};
    }
}

TEST(MacroImage, DelayAtTheStartIsDropped) {
    MacroRecord m;
    m.insert(0, makeDelay(100));
    m.insert(1, MacroAction{0x42, kMacroPress, 0, 0});
    m.commandActionNum = 1;
    const MacroImage image = encodeMacroImage(m, 1);
    EXPECT_EQ(image[4], 0x30);
    EXPECT_EQ(image[5], 0);
    EXPECT_EQ(image[6], 0x05);
}

TEST(MacroPackets, EightEventsFitOnePacket) {
    const auto packets = macroPackets(encodeMacroImage(makeMacro("m", 1, 8), 1));
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].packet, 0x01);
    EXPECT_EQ(packets[0].payload[0], 25);
    EXPECT_EQ(packets[0].payload[1], 1);
}

TEST(MacroPackets, TenEventsTakeTwoPackets) {
    const MacroImage image = encodeMacroImage(makeMacro("m", 1, 10), 2);
    const auto packets = macroPackets(image);
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(packets[0].packet, 0x02);
    EXPECT_EQ(packets[0].payload[0], 26);
    EXPECT_EQ(packets[1].packet, 0x12);
    EXPECT_EQ(packets[1].payload[0], 6);
    EXPECT_EQ(packets[1].payload[1], 2);
    EXPECT_TRUE(std::equal(image.begin() + 29, image.begin() + 54, packets[1].payload.begin() + 2));
}

TEST(MacroPackets, EmptyMacroStillSendsOnePacket) {
    const auto packets = macroPackets(encodeMacroImage(MacroRecord{}, 1));
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].payload[0], 1);
    EXPECT_EQ(packets[0].packet, 0x01);
}

TEST(MacroPackets, HundredTwentyFiveEventsFillFifteenPacketsAndOneMoreIsRefused) {
    const auto full = macroPackets(encodeMacroImage(makeMacro("m", 1, 125), 1));
    ASSERT_EQ(full.size(), 15u);
    EXPECT_EQ(full.back().packet, 0xEF);
    EXPECT_EQ(full.back().payload[0], 26);
    EXPECT_TRUE(macroPackets(encodeMacroImage(makeMacro("m", 1, 126), 1)).empty());
    EXPECT_TRUE(macroFitsDevice(makeMacro("m", 1, 125)));
    EXPECT_FALSE(macroFitsDevice(makeMacro("m", 1, 126)));
}

class MacroSync : public ::testing::Test {
protected:
    void SetUp() override { rig.start({ConnectionKind::Wired}); }
    ProfileRecord& profile() { return rig.store.currentProfile(); }
    void apply() {
        rig.sim.clearTransfers();
        rig.sync.markDirty(DirtyGroup::Buttons);
        rig.sync.ApplyToDevice();
    }
    SyncRig rig;
};

TEST_F(MacroSync, TwoKeysWithOneMacroShareASlotAndItTravelsOnce) {
    rig.giveMacro(1, makeMacro("a", 0, 4));
    const std::uint32_t id = profile().keys[1].macroKeyIndex;
    assignKey(profile(), 2, "a", "", KeyAction{ActionType::Macro, 0, 0}, &profile().keys[1].macro);
    ASSERT_EQ(profile().keys[2].macroKeyIndex, id);
    apply();
    EXPECT_EQ(profile().keys[1].action, (KeyAction{0x90, 0x21, 1}));
    EXPECT_EQ(profile().keys[2].action, (KeyAction{0x90, 0x21, 1}));
    const auto codes = test::commandCodes(rig.sim);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Command::MacroData), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Command::MacroUploadStart), 1);
    EXPECT_EQ(rig.sim.macros().at(1).bytes.size(), 12u);
}

TEST_F(MacroSync, MovingAMacroToALaterKeyReassignsSlotsAndResendsBoth) {
    rig.giveMacro(0, makeMacro("A", 0, 2));
    rig.giveMacro(3, makeMacro("B", 0, 3));
    assignKey(profile(), 1, "left", "", kLeftClick, nullptr);
    apply();
    EXPECT_EQ(profile().keys[0].action.value1 & 0x0F, 1);
    EXPECT_EQ(profile().keys[3].action.value1 & 0x0F, 2);
    const MacroRecord a = profile().keys[0].macro;
    assignKey(profile(), 5, "A", "", KeyAction{ActionType::Macro, 0, 0}, &a);
    assignKey(profile(), 0, "left", "", kLeftClick, nullptr);
    apply();
    EXPECT_EQ(profile().keys[3].action.value1 & 0x0F, 1);
    EXPECT_EQ(profile().keys[5].action.value1 & 0x0F, 2);
    const auto codes = test::commandCodes(rig.sim);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Command::MacroData), 2);
    const auto stored = rig.sim.macros();
    EXPECT_EQ(stored.at(1).bytes.size(), 9u);  // B: three events
    EXPECT_EQ(stored.at(2).bytes.size(), 6u);  // A: two events
}

TEST_F(MacroSync, ChangingOnlyTheRepeatCountSendsTheKeysButNoMacro) {
    rig.giveMacro(4, makeMacro("A", 0, 2));
    apply();
    rig.library.itemAt(MacroLocation{0, 0, 0, 0})->macro->loopNum = 7;
    apply();
    EXPECT_EQ(profile().keys[4].action, (KeyAction{0x90, 0x21, 7}));
    EXPECT_EQ(test::commandCodes(rig.sim), (std::vector<std::uint8_t>{Command::Keys}));
}

TEST_F(MacroSync, DeletedLibraryMacroTurnsTheKeyIntoNoFunction) {
    rig.giveMacro(4, makeMacro("A", 0, 2));
    apply();
    rig.library.deleteItem(MacroLocation{0, 0, 0, 0});
    apply();
    EXPECT_EQ(profile().keys[4].action, KeyAction{});
    EXPECT_EQ(profile().keys[4].name, "text34");
    const auto keys = rig.sim.lastCommand(Command::Keys);
    ASSERT_TRUE(keys);
    EXPECT_EQ((*keys)[9], 0);  // key 4 sits at device position 3
}

TEST_F(MacroSync, MacroTooLongForTheDeviceIsRefusedAndTheKeyKeepsItsDeviceFunction) {
    rig.giveMacro(4, makeMacro("short", 0, 3));
    rig.giveMacro(3, makeMacro("other", 0, 2));
    apply();
    const auto keysBefore = *rig.sim.lastCommand(Command::Keys);
    const auto slotsBefore = rig.sim.macros();
    // Key 4 now carries a macro of 130 events; key 3's macro changes too, which
    // forces the device's macro store to be cleared and refilled.
    rig.giveMacro(4, makeMacro("long", 0, 130));
    *rig.library.itemAt(MacroLocation{0, 1, 0, 0})->macro = makeMacro("other", rig.library.itemAt(MacroLocation{0, 1, 0, 0})->macro->macroKeyIndex, 5);
    rig.sync.setMacroLibraryChanged();
    apply();
    EXPECT_TRUE(rig.sync.macroTransfer().heldKeys()[4]);
    const auto keysAfter = *rig.sim.lastCommand(Command::Keys);
    // Device position 3 is key 4: unchanged on the device.
    EXPECT_TRUE(std::equal(keysBefore.begin() + 9, keysBefore.begin() + 12, keysAfter.begin() + 9));
    const auto slots = rig.sim.macros();
    const int heldSlot = keysBefore[10] & 0x0F;
    ASSERT_TRUE(slots.count(heldSlot));
    EXPECT_EQ(slots.at(heldSlot).bytes, slotsBefore.at(heldSlot).bytes);
    const int otherSlot = keysAfter[13] & 0x0F;  // key 3 at device position 4
    EXPECT_NE(otherSlot, heldSlot);
    EXPECT_EQ(slots.at(otherSlot).bytes.size(), 15u);
    for (const auto& w : test::commandWrites(rig.sim)) {
        if (w[1] == Command::MacroData) {
            EXPECT_LE(w[3] & 0x0F, 15);
        }
    }
}

TEST_F(MacroSync, RefusedMacroKeepsItsDeviceEntryAcrossARebuildOfTheImages) {
    rig.giveMacro(3, makeMacro("other", 0, 2));
    rig.giveMacro(4, makeMacro("short", 0, 3));
    apply();
    const auto keysBefore = *rig.sim.lastCommand(Command::Keys);
    const auto slotsBefore = rig.sim.macros();
    // The long macro's key names slot 1 in the profile, which is key 3's slot.
    rig.giveMacro(4, makeMacro("long", 0, 130));
    // A change on the mouse rebuilds the images from the profile.
    rig.sim.pressDpiButton();
    ASSERT_TRUE(rig.applyEvents());
    assignKey(profile(), 2, "right", "", KeyAction{ActionType::MouseButton, 0x02, 0}, nullptr);
    apply();
    const auto keysAfter = *rig.sim.lastCommand(Command::Keys);
    EXPECT_EQ(keysAfter[6], ActionType::MouseButton);  // key 2 went out
    // Device position 3 is key 4: still the short macro in its own slot.
    EXPECT_TRUE(std::equal(keysBefore.begin() + 9, keysBefore.begin() + 12, keysAfter.begin() + 9));
    EXPECT_EQ(keysAfter[13] & 0x0F, keysBefore[13] & 0x0F);  // key 3 keeps its slot
    const auto codes = test::commandCodes(rig.sim);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), Command::MacroUploadStart), 0);
    EXPECT_EQ(rig.sim.macros().at(keysBefore[10] & 0x0F).bytes, slotsBefore.at(keysBefore[10] & 0x0F).bytes);
}

TEST_F(MacroSync, RebuildingTheImagesSendsNothing) {
    rig.giveMacro(1, makeMacro("A", 0, 2));
    rig.sim.clearTransfers();
    rig.sync.RebuildSentImages();
    EXPECT_TRUE(rig.sim.transfers().empty());
    rig.sync.markDirty(DirtyGroup::Buttons);
    rig.sync.ApplyToDevice();
    EXPECT_TRUE(test::commandWrites(rig.sim).empty());
}

}  // namespace
}  // namespace zavrin
