// The parts of the window layer that keep state without any window: their
// rules are checked here directly, at exact virtual moments.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/KeyState.h"
#include "platform/Messages.h"
#include "platform/TimerQueue.h"

namespace zavrin {
namespace {

using std::chrono::milliseconds;

TEST(TimerQueue, TimersDueTogetherTakeTurnsAndMissedPeriodsAreNotMadeUp) {
    TimerQueue timers;
    const HWND a{1};
    const HWND b{2};
    timers.set(a, 7, 10, milliseconds(0));
    timers.set(b, 8, 10, milliseconds(0));
    EXPECT_FALSE(timers.takeDue(milliseconds(9)));
    ASSERT_EQ(timers.nextDeadline(), milliseconds(10));

    // Equal deadlines: the one set first goes first, then the other.
    auto first = timers.takeDue(milliseconds(10));
    auto second = timers.takeDue(milliseconds(10));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->hwnd, a);
    EXPECT_EQ(second->hwnd, b);
    EXPECT_FALSE(timers.takeDue(milliseconds(10)));

    // Long after: each fires once, and counts its next period from now.
    EXPECT_EQ(timers.takeDue(milliseconds(55))->hwnd, a);
    EXPECT_EQ(timers.takeDue(milliseconds(55))->hwnd, b);
    EXPECT_FALSE(timers.takeDue(milliseconds(55)));
    EXPECT_EQ(timers.nextDeadline(), milliseconds(65));

    // Setting again restarts the period and puts the timer behind the others.
    timers.set(a, 7, 10, milliseconds(55));
    EXPECT_EQ(timers.takeDue(milliseconds(65))->hwnd, b);
    EXPECT_EQ(timers.takeDue(milliseconds(65))->hwnd, a);

    timers.removeWindow(a);
    EXPECT_FALSE(timers.kill(a, 7));
    EXPECT_TRUE(timers.kill(b, 8));
    EXPECT_FALSE(timers.nextDeadline());
}

TEST(KeyState, SidedModifiersHoldTheGenericKeyAndAGenericReleaseLetsGoOfBoth) {
    KeyState keys;
    keys.note(static_cast<std::uint32_t>(VK_LSHIFT), true);
    keys.note(static_cast<std::uint32_t>(VK_RSHIFT), true);
    EXPECT_TRUE(keys.isDown(static_cast<int>(VK_SHIFT)));
    keys.note(static_cast<std::uint32_t>(VK_SHIFT), false);
    EXPECT_FALSE(keys.isDown(static_cast<int>(VK_LSHIFT)));
    EXPECT_FALSE(keys.isDown(static_cast<int>(VK_RSHIFT)));

    keys.note(static_cast<std::uint32_t>(VK_RCONTROL), true);
    EXPECT_TRUE(keys.isDown(static_cast<int>(VK_CONTROL)));
    EXPECT_FALSE(keys.isDown(-1));
    EXPECT_FALSE(keys.isDown(256));
}

}  // namespace
}  // namespace zavrin
