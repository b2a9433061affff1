#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "device/Reports.h"

namespace zavrin {

inline constexpr std::size_t kMacroImageLength = 512;
// Device macro slots whose images the program keeps (slot 0 is never given out).
inline constexpr int kMacroSlotImages = 11;
using MacroImage = std::array<std::uint8_t, kMacroImageLength>;

// What was last sent for each settings command and each macro slot, so that an
// apply pass sends only what changed. An image that is not `known` differs from
// every payload: a fresh set of images makes the next pass a full write.
// UI thread only.
struct SentImages {
    struct CommandImage {
        Payload bytes{};
        bool known = false;
    };

    static constexpr std::uint8_t kLastSettingsCommand = 0x09;

    CommandImage& command(std::uint8_t code) { return commands[code]; }
    const CommandImage& command(std::uint8_t code) const { return commands[code]; }

    // Forgets everything, so the next pass writes every group it runs in full.
    void forgetAll() { *this = SentImages{}; }

    std::array<CommandImage, kLastSettingsCommand + 1> commands{};
    std::array<MacroImage, kMacroSlotImages> macroSlots{};
    std::array<bool, kMacroSlotImages> macroSlotKnown{};
};

}  // namespace zavrin
