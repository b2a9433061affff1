#include <gtest/gtest.h>

#include "macros/MacroRecorder.h"

namespace zavrin::test {
namespace {

constexpr std::uint32_t kShift = 0xA0;
constexpr std::uint32_t kA = 0x41;

class Recording : public ::testing::Test {
protected:
    MacroRecorder::Outcome press(std::uint32_t key, std::uint32_t at) {
        return recorder.onKey(macro, key, false, at, delays);
    }
    MacroRecorder::Outcome release(std::uint32_t key, std::uint32_t at) {
        return recorder.onKey(macro, key, true, at, delays);
    }
    void SetUp() override {
        macro.name = "m";
        macro.macroKeyIndex = 7;
        macro.actionNum = 2;
        macro.actions[0] = MacroAction{0x42, 0, 0, 0};
        macro.commandActionNum = 9;
        recorder.start(macro);
    }

    MacroRecord macro;
    MacroRecorder recorder;
    bool delays = true;
};

TEST_F(Recording, ShiftAGivesSevenActionsWithThePausesBetween) {
    EXPECT_EQ(macro.actionNum, 0u) << "starting discards the old actions";
    EXPECT_EQ(macro.macroKeyIndex, 7u);
    press(kShift, 1000);
    press(kA, 1120);
    release(kA, 1200);
    release(kShift, 1300);
    ASSERT_EQ(macro.actionNum, 7u);
    const MacroAction expected[] = {{0xA0, 0x00, 0, 0}, {0x03, 0, 0, 120},  {0x41, 0x00, 0, 0},
                                    {0x03, 0, 0, 80},   {0x41, 0x80, 0, 0}, {0x03, 0, 0, 100},
                                    {0xA0, 0x80, 0, 0}};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(macro.actions[i], expected[i]) << i;
    EXPECT_EQ(macro.commandActionNum, 4);
}

TEST_F(Recording, WithoutDelaysOnlyTheKeysAreKept) {
    delays = false;
    press(kShift, 0);
    press(kA, 10);
    release(kA, 20);
    release(kShift, 30);
    ASSERT_EQ(macro.actionNum, 4u);
    EXPECT_EQ(macro.actions[1], (MacroAction{0x41, 0x00, 0, 0}));
    EXPECT_EQ(macro.commandActionNum, 4);
}

TEST_F(Recording, AutoRepeatRecordsOnePressAndLowCodesNothing) {
    press(kA, 0);
    EXPECT_EQ(press(kA, 30), MacroRecorder::Outcome::Ignored);
    EXPECT_EQ(press(kA, 60), MacroRecorder::Outcome::Ignored);
    EXPECT_EQ(press(0x01, 70), MacroRecorder::Outcome::Ignored);
    release(kA, 90);
    ASSERT_EQ(macro.actionNum, 3u);
    EXPECT_EQ(delayMilliseconds(macro.actions[1]), 90u) << "the pause counts from the first press";
}

TEST_F(Recording, LongPausesAreCutTo4095AndTheStampMayWrap) {
    press(kA, 1000);
    release(kA, 6000);
    EXPECT_EQ(macro.actions[1], (MacroAction{0x03, 0x00, 0x0F, 0xFF}));
    // The stamp counts modulo 2^31: 0x7FFFFFF0 to 0x10 is 32 ms.
    press(kShift, 0x7FFFFFF0);
    release(kShift, 0x10);
    EXPECT_EQ(delayMilliseconds(macro.actions[5]), 32u);
}

TEST_F(Recording, The126thEventStopsAndTheFirst125Stay) {
    std::uint32_t t = 0;
    for (int i = 0; i < 125; ++i) {
        const auto outcome = i % 2 == 0 ? press(kA, t += 10) : release(kA, t += 10);
        ASSERT_EQ(outcome, MacroRecorder::Outcome::Recorded) << i;
    }
    EXPECT_EQ(press(kShift, t + 10), MacroRecorder::Outcome::Full);
    EXPECT_EQ(macro.commandActionNum, 125);
    EXPECT_EQ(macro.actionNum, 249u);
    EXPECT_EQ(macro.actions[248], (MacroAction{0x41, 0x00, 0, 0}));
}

}  // namespace
}  // namespace zavrin::test
