#include "model/MacroRecord.h"

#include <algorithm>

#include "model/TextFields.h"

namespace zavrin {

MacroAction makeDelay(std::uint32_t milliseconds) {
    return MacroAction{kMacroDelayCode, static_cast<std::uint8_t>((milliseconds >> 16) & 0xFF),
                       static_cast<std::uint8_t>((milliseconds >> 8) & 0xFF),
                       static_cast<std::uint8_t>(milliseconds & 0xFF)};
}

MacroAction MacroRecord::get(std::size_t i) const { return i < actions.size() ? actions[i] : actions[0]; }

bool MacroRecord::set(std::size_t i, MacroAction v) {
    if (i >= actions.size()) return false;
    actions[i] = v;
    return true;
}

bool MacroRecord::insert(std::size_t pos, MacroAction v) {
    if (actionNum >= kMacroActionCapacity) return false;
    pos = std::min<std::size_t>(pos, actionNum);
    // Entries pos..248 move up; the last entry lies beyond actionNum and is dropped.
    std::move_backward(actions.begin() + static_cast<std::ptrdiff_t>(pos), actions.end() - 1, actions.end());
    actions[pos] = v;
    ++actionNum;
    return true;
}

bool MacroRecord::remove(std::size_t i) {
    if (i >= actionNum) return false;
    std::move(actions.begin() + static_cast<std::ptrdiff_t>(i) + 1, actions.end(),
              actions.begin() + static_cast<std::ptrdiff_t>(i));
    actions.back() = MacroAction{};
    --actionNum;
    return true;
}

void MacroRecord::copyFrom(const MacroRecord& from) {
    actionNum = 0;
    actions.fill(MacroAction{});
    name = from.name;
    macroKeyIndex = from.macroKeyIndex;
    commandActionNum = from.commandActionNum;
    loopNum = from.loopNum;
    loopType = from.loopType;
    const std::size_t count = std::min<std::size_t>(from.actionNum, kMacroActionCapacity);
    for (std::size_t i = 0; i < count; ++i) insert(i, from.actions[i]);
}

void MacroRecord::makeEmpty() { *this = MacroRecord{}; }

std::uint8_t MacroRecord::countCommandActions() const {
    const std::size_t used = std::min<std::size_t>(actionNum, kMacroActionCapacity);
    const auto events = std::count_if(actions.begin(), actions.begin() + static_cast<std::ptrdiff_t>(used),
                                      [](const MacroAction& a) { return !isDelay(a); });
    return static_cast<std::uint8_t>(std::min<std::ptrdiff_t>(events, 255));
}

void appendActionsHex(std::string& out, const MacroRecord& macro) {
    out.reserve(out.size() + kAllActionDigits);
    for (const MacroAction& a : macro.actions) {
        appendHexByte(out, a.b0);
        appendHexByte(out, a.b1);
        appendHexByte(out, a.b2);
        appendHexByte(out, a.b3);
    }
}

bool actionsFromHex(std::string_view digits, MacroRecord& macro) {
    if (digits.size() != kAllActionDigits) return false;
    for (std::size_t i = 0; i < kMacroActionCapacity; ++i) {
        macro.actions[i] = {hexByteAt(digits, 8 * i), hexByteAt(digits, 8 * i + 2), hexByteAt(digits, 8 * i + 4),
                            hexByteAt(digits, 8 * i + 6)};
    }
    return true;
}

}  // namespace zavrin
