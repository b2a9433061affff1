#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "device/CommandBuilders.h"
#include "device/CommandChannel.h"
#include "device/SentImages.h"
#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"
#include "model/ProfileRecord.h"

namespace zavrin {

inline constexpr std::size_t kMacroPacketData = 25;
// Packet length byte: data bytes + 1; 26 marks a full packet with more to come.
inline constexpr std::uint8_t kFullMacroPacketLength = 26;
// The packet count is four bits wide, so fifteen packets of 25 bytes are the most
// one macro can take: 125 events of 3 bytes.
inline constexpr int kMaxMacroPackets = 15;
inline constexpr int kMaxDeviceMacroEvents = 125;
// Longest delay an event can carry, in milliseconds.
inline constexpr std::uint32_t kMaxEventDelay = 0x0FFF;

// The device form of a macro: header (0x09, 0x90, slot, event count) and three
// bytes per key or button event.
MacroImage encodeMacroImage(const MacroRecord& macro, std::uint8_t slot);

struct MacroPacket {
    std::uint8_t packet = kSinglePacket;  // index << 4 | count
    Payload payload{};
};

// The data packets of one image; empty when the image names more events than
// fifteen packets carry.
std::vector<MacroPacket> macroPackets(const MacroImage& image);

// Whether the device can take the macro (at most 125 key and button events).
bool macroFitsDevice(const MacroRecord& macro);

// A macro of the library found by id, with where it lies.
struct LibraryMacro {
    const MacroLibraryItem* item = nullptr;
    MacroLocation location;
};
std::optional<LibraryMacro> findLibraryMacro(const MacroLibrary& library, std::uint32_t macroKeyIndex);

// Device macro slots and the macro upload. UI thread only.
class MacroTransfer {
public:
    MacroTransfer(const MacroLibrary& library, const LanguageTable& language, CommandChannel& channel,
                  SentImages& images);

    // Gives every macro of the profile's keys a device slot and rewrites those
    // keys' actions from the library; a key whose macro left the library becomes
    // the no-function assignment. A key whose macro the device cannot take is
    // held: it keeps its action, gets no slot, and its slot on the device (if
    // any) is kept free for it.
    void AssignMacroSlots(ProfileRecord& profile);

    // Builds the images, compares them with what was sent and, when `send` is
    // true and any differs, clears the device's macro store and sends every
    // macro of the profile again.
    void SyncMacros(const ProfileRecord& profile, bool send);

    const HeldKeys& heldKeys() const { return held_; }

    // Set by the macro manager after it changed the library; the next slot
    // assignment refreshes the keys' macro copies from the library.
    bool refreshNameFlag = false;

private:
    void sendPackets(const MacroImage& image);
    std::vector<std::uint8_t> reservedSlotsOfHeldKeys() const;

    const MacroLibrary& library_;
    const LanguageTable& language_;
    CommandChannel& channel_;
    SentImages& images_;
    HeldKeys held_{};
    std::vector<std::uint8_t> reserved_;
};

}  // namespace zavrin
