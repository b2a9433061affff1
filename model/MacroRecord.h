#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zavrin {

inline constexpr std::size_t kMacroActionCapacity = 250;

// One macro step, bytes [b0, b1, b2, b3].
// A key or button event: b0 = virtual-key code (0xE0..0xE7 are the mouse
// pseudo-keys), b1 = 0x00 press or 0x80 release, b2 = 0, b3 = the amount for
// movement and wheel events. A delay: b0 = 0x03 and b1..b3 the milliseconds as a
// 24-bit big-endian number.
struct MacroAction {
    std::uint8_t b0 = 0;
    std::uint8_t b1 = 0;
    std::uint8_t b2 = 0;
    std::uint8_t b3 = 0;

    bool operator==(const MacroAction&) const = default;
};

inline constexpr std::uint8_t kMacroDelayCode = 0x03;
inline constexpr std::uint8_t kMacroPress = 0x00;
inline constexpr std::uint8_t kMacroRelease = 0x80;

inline bool isDelay(const MacroAction& a) { return a.b0 == kMacroDelayCode; }
inline std::uint32_t delayMilliseconds(const MacroAction& a) {
    return (std::uint32_t{a.b1} << 16) | (std::uint32_t{a.b2} << 8) | a.b3;
}
MacroAction makeDelay(std::uint32_t milliseconds);

// Playback modes of a macro; the device gives 1 and 4 their meaning, the program
// only stores and sends them.
inline constexpr std::uint8_t kLoopTypeCount = 2;

// A macro of the library, and the copy every button carries. Entries beyond
// `actionNum` are zero after construction, insert and remove.
struct MacroRecord {
    std::string name;
    std::uint32_t macroKeyIndex = 0;
    std::uint32_t actionNum = 0;
    std::array<MacroAction, kMacroActionCapacity> actions{};
    std::uint8_t loopType = kLoopTypeCount;
    std::uint8_t loopNum = 1;
    std::uint8_t commandActionNum = 0;

    bool operator==(const MacroRecord&) const = default;

    // Entry i, or entry 0 for an index beyond the array.
    MacroAction get(std::size_t i) const;
    // Stores `v` at i (i <= 249) without changing actionNum; false for a larger index.
    bool set(std::size_t i, MacroAction v);
    // Inserts at min(pos, actionNum); false and unchanged when the macro is full.
    bool insert(std::size_t pos, MacroAction v);
    // Removes entry i; false and unchanged when i >= actionNum.
    bool remove(std::size_t i);

    // Takes over `from`'s name, id, loop fields, event count and its used actions;
    // the entries beyond them are zero afterwards.
    void copyFrom(const MacroRecord& from);

    // Name empty, id 0, no actions, loop mode 2 once, no events.
    void makeEmpty();

    // The number of key and button events among the used actions (delays do not
    // count), saturated at 255.
    std::uint8_t countCommandActions() const;
};

// The form both the profile file and the macro library file give the actions:
// all 250, each as eight hex digits b0 b1 b2 b3, 2000 digits in all.
inline constexpr std::size_t kAllActionDigits = kMacroActionCapacity * 8;
void appendActionsHex(std::string& out, const MacroRecord& macro);
// Fills all 250 actions from exactly 2000 digits; false (nothing changed) for any other length.
bool actionsFromHex(std::string_view digits, MacroRecord& macro);

}  // namespace zavrin
