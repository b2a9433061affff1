#include "model/MacroEditor.h"

#include <gtest/gtest.h>

namespace zavrin {
namespace {

MacroRecord MacroWithKeys(int presses) {
    MacroRecord m;
    for (int i = 0; i < presses; ++i) {
        m.insert(m.actionNum, MacroAction{0x41, kMacroPress, 0, 0});
        m.insert(m.actionNum, MacroAction{0x41, kMacroRelease, 0, 0});
    }
    m.commandActionNum = m.countCommandActions();
    return m;
}

TEST(MacroEditorTest, InsertionGoesAfterTheSelectionOrAtTheEnd) {
    MacroRecord m = MacroWithKeys(2);
    MacroEditor editor(m);
    EXPECT_EQ(editor.insertionPoint(-1), 4u);
    EXPECT_EQ(editor.insertionPoint(0), 1u);
    EXPECT_EQ(editor.insertionPoint(3), 4u);
}

TEST(MacroEditorTest, ACommittedClickIsPressPauseReleaseAndCountsTwoEvents) {
    MacroRecord m = MacroWithKeys(1);
    MacroEditor editor(m);
    const auto click = editor.placeClick(1, MacroEditor::kRightButtonCode);
    EXPECT_EQ(m.commandActionNum, 2) << "nothing counts before the user confirms";
    editor.commit(click);
    EXPECT_EQ(m.actionNum, 5u);
    EXPECT_EQ(m.actions[1], (MacroAction{0xE1, kMacroPress, 0, 0}));
    EXPECT_EQ(m.actions[2], makeDelay(MacroEditor::kClickDelay));
    EXPECT_EQ(m.actions[3], (MacroAction{0xE1, kMacroRelease, 0, 0}));
    EXPECT_EQ(m.commandActionNum, 4);
    EXPECT_EQ(click.last(), 3) << "the release is selected after";
}

TEST(MacroEditorTest, AKeyClickTakesTheChosenKeyForPressAndRelease) {
    MacroRecord m;
    MacroEditor editor(m);
    const auto click = editor.placeClick(0, MacroEditor::kDefaultKey);
    editor.setClickKey(click, 0x5A);
    EXPECT_EQ(m.actions[0].b0, 0x5A);
    EXPECT_EQ(m.actions[2].b0, 0x5A);
    EXPECT_TRUE(MacroEditor::isDelayCode(m.actions[1].b0));
}

TEST(MacroEditorTest, AWithdrawnInsertionLeavesTheMacroAsItWas) {
    MacroRecord m = MacroWithKeys(3);
    const MacroRecord before = m;
    MacroEditor editor(m);
    editor.withdraw(editor.placeClick(2, MacroEditor::kLeftButtonCode));
    editor.withdraw(editor.placeDelay(0));
    editor.withdraw(editor.placeMove(6, MacroEditor::Move::Up));
    EXPECT_EQ(m, before);
}

TEST(MacroEditorTest, MovesStepOnePixelTowardsTheirDirection) {
    MacroRecord m;
    MacroEditor editor(m);
    const struct {
        MacroEditor::Move move;
        MacroAction action;
    } cases[] = {{MacroEditor::Move::Left, {0xE5, 0, 0, 0xFF}},
                 {MacroEditor::Move::Right, {0xE5, 0, 0, 0x01}},
                 {MacroEditor::Move::Up, {0xE6, 0, 0, 0xFF}},
                 {MacroEditor::Move::Down, {0xE6, 0, 0, 0x01}}};
    for (const auto& c : cases) {
        const auto move = editor.placeMove(0, c.move);
        EXPECT_EQ(m.actions[0], c.action);
        editor.commit(move);
    }
    EXPECT_EQ(m.commandActionNum, 4) << "each move is one event";
}

TEST(MacroEditorTest, InsertionsAreRefusedWholeAtTheEventAndSlotLimits) {
    MacroRecord m;
    MacroEditor editor(m);
    m.commandActionNum = MacroEditor::kMaxEventsBeforePair;
    EXPECT_TRUE(editor.clickFits());
    EXPECT_TRUE(editor.moveFits());
    m.commandActionNum = MacroEditor::kMaxEventsBeforeSingle;
    EXPECT_FALSE(editor.clickFits()) << "a click needs two free events";
    EXPECT_TRUE(editor.moveFits());
    m.commandActionNum = MacroEditor::kMaxEventsBeforeSingle + 1;
    EXPECT_FALSE(editor.moveFits());
    EXPECT_TRUE(editor.delayFits()) << "a delay is no event";

    m.commandActionNum = 0;
    m.actionNum = kMacroActionCapacity - 3;
    EXPECT_TRUE(editor.clickFits());
    m.actionNum = kMacroActionCapacity - 2;
    EXPECT_FALSE(editor.clickFits()) << "a click needs three slots";
    EXPECT_TRUE(editor.delayFits());
    m.actionNum = kMacroActionCapacity;
    EXPECT_FALSE(editor.delayFits());
    EXPECT_FALSE(editor.moveFits());
}

TEST(MacroEditorTest, ADelayBeforeTheInsertionPointIsChangedRatherThanDoubled) {
    MacroRecord m = MacroWithKeys(1);
    m.insert(1, makeDelay(30));
    MacroEditor editor(m);
    EXPECT_FALSE(editor.delayBefore(0));
    EXPECT_FALSE(editor.delayBefore(1));
    EXPECT_TRUE(editor.delayBefore(2));
    EXPECT_FALSE(editor.delayBefore(3));
}

TEST(MacroEditorTest, DeletingAnEventUncountsItAndTheSelectionStaysInTheList) {
    MacroRecord m = MacroWithKeys(1);
    m.insert(1, makeDelay(30));
    MacroEditor editor(m);
    ASSERT_EQ(m.commandActionNum, 2);
    EXPECT_EQ(editor.remove(1), 1) << "the row after the deleted delay is selected";
    EXPECT_EQ(m.commandActionNum, 2) << "a delay is no event";
    EXPECT_EQ(editor.remove(1), 0) << "the last row deleted: the new last row is selected";
    EXPECT_EQ(m.commandActionNum, 1);
    EXPECT_EQ(editor.remove(0), -1);
    EXPECT_EQ(m.commandActionNum, 0);
    EXPECT_EQ(editor.remove(0), -1) << "nothing left to delete";
    EXPECT_EQ(m.actionNum, 0u);
}

TEST(MacroEditorTest, OnlyKeysAndDelaysAreEditable) {
    MacroRecord m;
    MacroEditor editor(m);
    editor.commit(editor.placeClick(0, MacroEditor::kLeftButtonCode));
    editor.commit(editor.placeClick(3, MacroEditor::kDefaultKey));
    EXPECT_FALSE(editor.editable(0)) << "mouse pseudo-keys are not edited";
    EXPECT_TRUE(editor.editable(1));
    EXPECT_TRUE(editor.editable(3));
    EXPECT_FALSE(editor.editable(6));
    EXPECT_FALSE(editor.editable(-1));
}

}  // namespace
}  // namespace zavrin
