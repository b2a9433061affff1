#pragma once

#include <cstdint>

#include "model/MacroRecord.h"

namespace zavrin {

// Turns captured key events into the actions of a macro: one key action per
// press or release, with the pause before it as a delay action when delays
// are recorded. Auto-repeat (the same key in the same state again) records
// nothing. A macro takes at most kMaxEvents key events, the most the mouse
// can play.
class MacroRecorder {
public:
    static constexpr std::uint8_t kMaxEvents = 125;
    // Longest pause a recorded delay holds; longer pauses are cut to it.
    static constexpr std::uint32_t kMaxRecordedDelay = 4095;

    enum class Outcome { Ignored, Recorded, Full };

    // Discards the macro's actions and starts afresh.
    void start(MacroRecord& macro);
    // Full: the event was not recorded and the recording must stop.
    Outcome onKey(MacroRecord& macro, std::uint32_t virtualKey, bool released, std::uint32_t stamp,
                  bool recordDelays);

private:
    std::uint8_t lastKey_ = 0;
    bool lastReleased_ = false;
    std::uint32_t lastStamp_ = 0;
};

}  // namespace zavrin
