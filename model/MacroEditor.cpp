#include "model/MacroEditor.h"

namespace zavrin {

std::size_t MacroEditor::insertionPoint(int selected) const {
    return selected >= 0 ? static_cast<std::size_t>(selected) + 1 : macro_.actionNum;
}

bool MacroEditor::holds(int selected) const {
    return selected >= 0 && selected < static_cast<int>(macro_.actionNum);
}

bool MacroEditor::editable(int selected) const {
    return holds(selected) && !isMouseCode(macro_.actions[static_cast<std::size_t>(selected)].b0);
}

bool MacroEditor::clickFits() const {
    return macro_.commandActionNum <= kMaxEventsBeforePair && macro_.actionNum + 3 <= kMacroActionCapacity;
}

bool MacroEditor::delayFits() const { return macro_.actionNum < kMacroActionCapacity; }

bool MacroEditor::moveFits() const {
    return macro_.commandActionNum <= kMaxEventsBeforeSingle && macro_.actionNum < kMacroActionCapacity;
}

bool MacroEditor::delayBefore(std::size_t at) const {
    return at > 0 && at <= macro_.actionNum && isDelayCode(macro_.actions[at - 1].b0);
}

MacroEditor::Insertion MacroEditor::placeClick(std::size_t at, std::uint8_t code) {
    macro_.insert(at, MacroAction{code, kMacroPress, 0, 0});
    macro_.insert(at + 1, makeDelay(kClickDelay));
    macro_.insert(at + 2, MacroAction{code, kMacroRelease, 0, 0});
    return Insertion{at, 3, 2};
}

void MacroEditor::setClickKey(const Insertion& click, std::uint8_t code) {
    macro_.actions[click.at].b0 = code;
    macro_.actions[click.at + 2].b0 = code;
}

MacroEditor::Insertion MacroEditor::placeDelay(std::size_t at) {
    macro_.insert(at, makeDelay(kNewDelay));
    return Insertion{at, 1, 0};
}

MacroEditor::Insertion MacroEditor::placeMove(std::size_t at, Move direction) {
    const bool horizontal = direction == Move::Left || direction == Move::Right;
    const bool negative = direction == Move::Left || direction == Move::Up;
    // b3 is the signed step: one pixel towards the direction.
    macro_.insert(at, MacroAction{horizontal ? kMoveXCode : kMoveYCode, 0, 0,
                                  static_cast<std::uint8_t>(negative ? 0xFF : 0x01)});
    return Insertion{at, 1, 1};
}

void MacroEditor::commit(const Insertion& insertion) {
    macro_.commandActionNum = static_cast<std::uint8_t>(macro_.commandActionNum + insertion.events);
}

void MacroEditor::withdraw(const Insertion& insertion) {
    for (std::size_t i = 0; i < insertion.count; ++i) macro_.remove(insertion.at);
}

int MacroEditor::remove(int selected) {
    if (!holds(selected)) return -1;
    const auto at = static_cast<std::size_t>(selected);
    const bool event = !isDelayCode(macro_.actions[at].b0);
    macro_.remove(at);
    if (event && macro_.commandActionNum > 0) --macro_.commandActionNum;
    if (selected >= static_cast<int>(macro_.actionNum)) selected = static_cast<int>(macro_.actionNum) - 1;
    return selected;
}

}  // namespace zavrin
