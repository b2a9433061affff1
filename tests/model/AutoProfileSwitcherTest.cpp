#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <set>
#include <vector>

#include "model/AutoProfileSwitcher.h"

namespace zavrin {
namespace {

using namespace std::chrono_literals;

// The host on virtual time: a one-shot timer and the profile switches made.
class FakeHost : public AutoProfileSwitcher::Host {
public:
    void armSettleTimer(std::chrono::milliseconds after) override {
        deadline = now + after;
        ++arms;
    }
    void cancelSettleTimer() override { deadline.reset(); }
    int currentSlot() const override { return current; }
    bool slotListed(int slot) const override { return listed.count(slot) != 0; }
    void makeCurrent(int slot) override {
        current = slot;
        switches.push_back(slot);
    }

    void advance(AutoProfileSwitcher& s, std::chrono::milliseconds by) {
        const auto end = now + by;
        while (deadline && *deadline <= end) {
            now = *deadline;
            deadline.reset();
            s.settleTimeElapsed();
        }
        now = end;
    }

    std::chrono::milliseconds now{0};
    std::optional<std::chrono::milliseconds> deadline;
    int arms = 0;
    int current = 0;
    std::set<int> listed{0, 1, 2};
    std::vector<int> switches;
};

const FrontProgram kGame{"/opt/game/bin/game", "game"};
const FrontProgram kEditor{"/usr/bin/editor", "editor"};
const FrontProgram kShell{"/usr/bin/shell", "shell"};
const FrontProgram kDesktop{};

class AutoProfileSwitcherTest : public ::testing::Test {
protected:
    AutoProfileSwitcherTest() {
        rules.add(kGame.path, 2);
        rules.add("editor", 1);
    }
    AppProfiles rules;
    FakeHost host;
    AutoProfileSwitcher switcher{host, rules};
};

TEST_F(AutoProfileSwitcherTest, ARuleAppliesOnceItsProgramStayedInFrontAndNoRuleGoesBackToTheHandChoice) {
    switcher.frontChanged(kGame);
    host.advance(switcher, 299ms);
    EXPECT_TRUE(host.switches.empty());
    host.advance(switcher, 1ms);
    EXPECT_EQ(host.switches, std::vector<int>{2});
    EXPECT_EQ(switcher.ruleSlot(), 2);

    switcher.frontChanged(kShell);
    host.advance(switcher, 300ms);
    EXPECT_EQ(host.switches, (std::vector<int>{2, 0}));
    EXPECT_EQ(switcher.ruleSlot(), std::nullopt);
    // Nothing is armed while focus stays put.
    EXPECT_FALSE(host.deadline.has_value());
}

TEST_F(AutoProfileSwitcherTest, ProgramsPassedOverQuicklyChangeNothing) {
    switcher.frontChanged(kGame);
    host.advance(switcher, 100ms);
    switcher.frontChanged(kEditor);
    host.advance(switcher, 100ms);
    switcher.frontChanged(kShell);
    host.advance(switcher, 1000ms);
    EXPECT_TRUE(host.switches.empty());  // the shell has no rule and slot 0 is already current

    switcher.frontChanged(kEditor);
    host.advance(switcher, 1000ms);
    ASSERT_EQ(host.switches, std::vector<int>{1});
    // Alt+Tab away and straight back: the editor never left as far as the rules go.
    switcher.frontChanged(kGame);
    host.advance(switcher, 50ms);
    switcher.frontChanged(kEditor);
    host.advance(switcher, 1000ms);
    EXPECT_EQ(host.switches, std::vector<int>{1});
}

TEST_F(AutoProfileSwitcherTest, UnknownFocusKeepsTheProfileInForce) {
    switcher.frontChanged(kGame);
    host.advance(switcher, 400ms);
    switcher.frontChanged(kDesktop);
    host.advance(switcher, 1000ms);
    switcher.frontChanged(FrontProgram{"", ""});
    host.advance(switcher, 1000ms);
    EXPECT_EQ(host.switches, std::vector<int>{2});
    EXPECT_EQ(switcher.ruleSlot(), 2);
    // Unknown focus also cuts a program short that was still settling.
    switcher.frontChanged(kEditor);
    host.advance(switcher, 100ms);
    switcher.frontChanged(kDesktop);
    host.advance(switcher, 1000ms);
    EXPECT_EQ(host.switches, std::vector<int>{2});
}

TEST_F(AutoProfileSwitcherTest, TheHandChoiceHoldsUntilAnotherProgramComesToTheFront) {
    switcher.frontChanged(kGame);
    host.advance(switcher, 300ms);
    host.current = 1;  // the user picks slot 1 in the profile menu
    switcher.handChosen(1);
    EXPECT_EQ(switcher.ruleSlot(), std::nullopt);
    switcher.frontChanged(kShell);
    host.advance(switcher, 300ms);
    EXPECT_EQ(host.switches, std::vector<int>{2});  // slot 1 is the hand choice and already current
    switcher.frontChanged(kGame);
    host.advance(switcher, 300ms);
    switcher.frontChanged(kShell);
    host.advance(switcher, 300ms);
    EXPECT_EQ(host.switches, (std::vector<int>{2, 2, 1}));
}

TEST_F(AutoProfileSwitcherTest, PausingReturnsToTheHandChoiceAndStopsSwitching) {
    switcher.frontChanged(kGame);
    host.advance(switcher, 300ms);
    rules.paused = true;
    switcher.rulesChanged();
    EXPECT_EQ(host.switches, (std::vector<int>{2, 0}));
    switcher.frontChanged(kEditor);
    host.advance(switcher, 300ms);
    EXPECT_EQ(host.switches, (std::vector<int>{2, 0}));
    rules.paused = false;
    switcher.rulesChanged();
    EXPECT_EQ(host.switches, (std::vector<int>{2, 0, 1}));
}

TEST_F(AutoProfileSwitcherTest, RulesChangedWhileRunningApplyToTheProgramInFront) {
    switcher.frontChanged(kShell);
    host.advance(switcher, 300ms);
    EXPECT_TRUE(host.switches.empty());
    rules.add("shell", 2);
    switcher.rulesChanged();
    EXPECT_EQ(host.switches, std::vector<int>{2});
    rules.remove("shell");
    switcher.rulesChanged();
    EXPECT_EQ(host.switches, (std::vector<int>{2, 0}));
}

TEST_F(AutoProfileSwitcherTest, ARuleForARemovedSlotIsInactive) {
    host.listed = {0, 1};
    switcher.frontChanged(kGame);
    host.advance(switcher, 300ms);
    EXPECT_TRUE(host.switches.empty());
    EXPECT_EQ(switcher.ruleSlot(), std::nullopt);
    host.listed = {0, 1, 2};
    switcher.rulesChanged();
    EXPECT_EQ(host.switches, std::vector<int>{2});
}

TEST_F(AutoProfileSwitcherTest, RecentProgramsAreNewestFirstAndEachOnce) {
    switcher.frontChanged(kGame);
    switcher.frontChanged(kDesktop);
    switcher.frontChanged(kEditor);
    switcher.frontChanged(kGame);
    ASSERT_EQ(switcher.recentPrograms().size(), 2u);
    EXPECT_EQ(switcher.recentPrograms()[0], kGame);
    EXPECT_EQ(switcher.recentPrograms()[1], kEditor);
}

}  // namespace
}  // namespace zavrin
