#include "macros/MacroRecorder.h"

#include <algorithm>

namespace zavrin {

namespace {
// Codes 0..7 are mouse buttons and the like on the keyboard's side; a macro
// keeps codes below 8 for its delays.
constexpr std::uint32_t kFirstKeyCode = 8;
constexpr std::uint32_t kLastKeyCode = 0xFF;
constexpr std::uint32_t kStampMask = 0x7FFFFFFFu;
}  // namespace

void MacroRecorder::start(MacroRecord& macro) {
    // Only the actions go: name, id and loop settings stay.
    macro.actions = {};
    macro.actionNum = 0;
    macro.commandActionNum = 0;
    lastKey_ = 0;
    lastReleased_ = false;
    lastStamp_ = 0;
}

MacroRecorder::Outcome MacroRecorder::onKey(MacroRecord& macro, std::uint32_t virtualKey,
                                            bool released, std::uint32_t stamp, bool recordDelays) {
    if (virtualKey < kFirstKeyCode || virtualKey > kLastKeyCode) return Outcome::Ignored;
    const auto key = static_cast<std::uint8_t>(virtualKey);
    if (key == lastKey_ && released == lastReleased_) return Outcome::Ignored;
    if (macro.actionNum > 0) {
        if (macro.commandActionNum >= kMaxEvents) return Outcome::Full;
        if (recordDelays) {
            const std::uint32_t pause = (stamp - lastStamp_) & kStampMask;
            macro.insert(macro.actionNum, makeDelay(std::min(pause, kMaxRecordedDelay)));
        }
    }
    macro.insert(macro.actionNum, MacroAction{key, released ? kMacroRelease : kMacroPress, 0, 0});
    ++macro.commandActionNum;
    lastKey_ = key;
    lastReleased_ = released;
    lastStamp_ = stamp;
    return Outcome::Recorded;
}

}  // namespace zavrin
