#pragma once

#include <cstddef>
#include <cstdint>

#include "model/MacroRecord.h"

namespace zavrin {

// The rules for editing a macro by hand, apart from the dialogs that ask the
// user for values: where an insertion goes, whether it fits, what it inserts,
// how the event count follows, and what is selected afterwards.
//
// An insertion has two steps so that the list can show the new actions while
// the user edits them: a place* call puts them into the macro and returns the
// Insertion; then commit() counts its events, or withdraw() takes the actions
// out again and leaves the macro as it was.
class MacroEditor {
public:
    // The mouse pseudo-keys (b0 of an event action).
    static constexpr std::uint8_t kLeftButtonCode = 0xE0;
    static constexpr std::uint8_t kRightButtonCode = 0xE1;
    static constexpr std::uint8_t kMiddleButtonCode = 0xE2;
    static constexpr std::uint8_t kMoveXCode = 0xE5;
    static constexpr std::uint8_t kMoveYCode = 0xE6;
    static constexpr std::uint8_t kFirstMouseCode = 0xE0;
    static constexpr std::uint8_t kLastMouseCode = 0xE7;
    // The key a new key click starts with, before the user picks one (A).
    static constexpr std::uint8_t kDefaultKey = 0x41;
    // Codes below this are delays.
    static constexpr std::uint8_t kFirstEventCode = 8;
    // The pause between an inserted click's press and release, and a new delay.
    static constexpr std::uint32_t kClickDelay = 50;
    static constexpr std::uint32_t kNewDelay = 100;
    // Event limits of the insertions: the mouse plays 125 events, so a press
    // and release need the count at 123 or below, a move at 124 or below.
    static constexpr int kMaxEventsBeforePair = 123;
    static constexpr int kMaxEventsBeforeSingle = 124;

    enum class Move { Left, Right, Up, Down };

    // Actions placed into the macro and not yet committed.
    struct Insertion {
        std::size_t at = 0;
        std::size_t count = 0;
        std::uint8_t events = 0;
        // The row to select once committed: the last action placed.
        int last() const { return static_cast<int>(at + count) - 1; }
    };

    explicit MacroEditor(MacroRecord& macro) : macro_(macro) {}

    static bool isDelayCode(std::uint8_t code) { return code < kFirstEventCode; }
    static bool isMouseCode(std::uint8_t code) { return code >= kFirstMouseCode && code <= kLastMouseCode; }

    // After the selected action, or at the end when nothing is selected.
    std::size_t insertionPoint(int selected) const;
    // Whether `selected` names one of the macro's actions.
    bool holds(int selected) const;
    // Whether the action at `selected` may be edited: a key or a delay, not a
    // mouse pseudo-key.
    bool editable(int selected) const;

    // Each false when the insertion would overrun the events the mouse plays or
    // the macro's action slots: refused whole rather than half inserted.
    bool clickFits() const;
    bool delayFits() const;
    bool moveFits() const;
    // A delay right before `at`, which a delay inserted there changes instead
    // of adding a second one.
    bool delayBefore(std::size_t at) const;

    // Press, 50 ms, release of `code` at `at` (two events).
    Insertion placeClick(std::size_t at, std::uint8_t code);
    // Gives the placed click another key, for its press and its release.
    void setClickKey(const Insertion& click, std::uint8_t code);
    // A 100 ms delay (no event).
    Insertion placeDelay(std::size_t at);
    // A one-step move in `direction` (one event).
    Insertion placeMove(std::size_t at, Move direction);

    void commit(const Insertion& insertion);
    void withdraw(const Insertion& insertion);

    // Deletes the action at `selected` (an event leaves the count) and returns
    // the selection after: the same row, or the last one when it was the last.
    // Nothing happens (and -1 comes back) for a row the macro does not hold.
    int remove(int selected);

private:
    MacroRecord& macro_;
};

}  // namespace zavrin
