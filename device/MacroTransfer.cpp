#include "device/MacroTransfer.h"

#include <algorithm>

#include "device/KeyCodeTable.h"

namespace zavrin {

namespace {

constexpr std::uint8_t kImageCommand = 0x09;
constexpr std::uint8_t kImageMacroType = 0x90;
constexpr std::size_t kImageHeader = 4;
constexpr std::size_t kEventLength = 3;
constexpr std::uint8_t kLoopTimes = 2;  // loopType that plays loopNum times
constexpr int kNoFunctionText = 34;
constexpr std::uint8_t kSlotMask = 0x0F;
constexpr std::chrono::milliseconds kStoreClearWait{10};

// Device event class and value of a device key code `t`.
struct EventClass {
    std::uint8_t eventClass;
    std::uint8_t value;
};

EventClass classify(std::uint8_t t, std::uint8_t amount) {
    const auto bit = static_cast<std::uint8_t>(1u << (t & 7));
    if (t <= 0x90) return {0x30, t};                 // keyboard key
    if (t <= 0xE7) return {0x20, bit};               // modifier bit
    if (t >= 0xF0 && t <= 0xF4) return {0x10, bit};  // mouse button bit
    if (t == 0xF5) return {0x40, amount};            // X movement
    if (t == 0xF6) return {0x50, amount};            // Y movement
    if (t == 0xF7) return {0x60, amount};            // wheel
    return {0x00, t};
}

std::size_t usedActions(const MacroRecord& macro) {
    return std::min<std::size_t>(macro.actionNum, macro.actions.size());
}

int eventCount(const MacroRecord& macro) {
    int events = 0;
    for (std::size_t i = 0; i < usedActions(macro); ++i) {
        if (!isDelay(macro.actions[i])) ++events;
    }
    return events;
}

std::uint8_t slotOf(const KeyAction& action) { return action.value1 & kSlotMask; }

}  // namespace

MacroImage encodeMacroImage(const MacroRecord& macro, std::uint8_t slot) {
    MacroImage image{};
    image[0] = kImageCommand;
    image[1] = kImageMacroType;
    image[2] = slot;
    image[3] = macro.commandActionNum;
    std::size_t at = kImageHeader;
    const std::size_t used = usedActions(macro);
    for (std::size_t i = 0; i < used && at + kEventLength <= image.size(); ++i) {
        const MacroAction& action = macro.actions[i];
        if (isDelay(action)) continue;  // a delay only lengthens the event before it
        std::uint32_t delay = 0;
        if (i + 1 < used && isDelay(macro.actions[i + 1])) {
            delay = std::min(delayMilliseconds(macro.actions[i + 1]), kMaxEventDelay);
        }
        const EventClass c = classify(deviceKeyCode(action.b0), action.b3);
        image[at] = static_cast<std::uint8_t>((action.b1 & kMacroRelease) | ((delay >> 8) & 0x0F) | c.eventClass);
        image[at + 1] = static_cast<std::uint8_t>(delay & 0xFF);
        image[at + 2] = c.value;
        at += kEventLength;
    }
    return image;
}

std::vector<MacroPacket> macroPackets(const MacroImage& image) {
    const std::size_t total = kEventLength * image[3];
    const std::size_t count = std::max<std::size_t>(1, (total + kMacroPacketData - 1) / kMacroPacketData);
    if (count > static_cast<std::size_t>(kMaxMacroPackets)) return {};
    std::vector<MacroPacket> packets;
    std::size_t remaining = total;
    for (std::size_t j = 0; j < count; ++j) {
        MacroPacket p;
        p.packet = packetByte(static_cast<int>(j), static_cast<int>(count));
        if (remaining > kMacroPacketData) {
            p.payload[0] = kFullMacroPacketLength;
            remaining -= kMacroPacketData;
        } else {
            p.payload[0] = static_cast<std::uint8_t>(remaining + 1);
        }
        p.payload[1] = image[2];
        const std::size_t from = kImageHeader + kMacroPacketData * j;
        std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(from), kMacroPacketData, p.payload.begin() + 2);
        packets.push_back(p);
    }
    return packets;
}

bool macroFitsDevice(const MacroRecord& macro) {
    return macro.commandActionNum <= kMaxDeviceMacroEvents && eventCount(macro) <= kMaxDeviceMacroEvents;
}

std::optional<LibraryMacro> findLibraryMacro(const MacroLibrary& library, std::uint32_t macroKeyIndex) {
    const auto matches = [&](const MacroLibraryItem& item) {
        return !item.isFolder && item.macro && item.macro->macroKeyIndex == macroKeyIndex;
    };
    const std::vector<MacroLibraryItem>& top = library.topLevel();
    // The top level first, then every second level, then every third level; each
    // list ends at its first free slot.
    for (std::size_t i = 0; i < top.size() && !top[i].name.empty(); ++i) {
        if (matches(top[i])) return LibraryMacro{&top[i], MacroLocation{0, static_cast<int>(i), 0, 0}};
    }
    for (std::size_t i = 0; i < top.size() && !top[i].name.empty(); ++i) {
        const auto& second = top[i].children;
        for (std::size_t j = 0; j < second.size() && !second[j].name.empty(); ++j) {
            if (matches(second[j])) {
                return LibraryMacro{&second[j], MacroLocation{1, static_cast<int>(i), static_cast<int>(j), 0}};
            }
        }
    }
    for (std::size_t i = 0; i < top.size() && !top[i].name.empty(); ++i) {
        const auto& second = top[i].children;
        for (std::size_t j = 0; j < second.size() && !second[j].name.empty(); ++j) {
            const auto& third = second[j].children;
            for (std::size_t k = 0; k < third.size() && !third[k].name.empty(); ++k) {
                if (matches(third[k])) {
                    return LibraryMacro{&third[k], MacroLocation{2, static_cast<int>(i), static_cast<int>(j),
                                                                 static_cast<int>(k)}};
                }
            }
        }
    }
    return std::nullopt;
}

MacroTransfer::MacroTransfer(const MacroLibrary& library, const LanguageTable& language,
                             CommandChannel& channel, SentImages& images)
    : library_(library), language_(language), channel_(channel), images_(images) {}

std::vector<std::uint8_t> MacroTransfer::reservedSlotsOfHeldKeys() const {
    std::vector<std::uint8_t> reserved;
    const SentImages::CommandImage& keys = images_.command(Command::Keys);
    if (!keys.known) return reserved;
    for (std::size_t position = 0; position < kDeviceKeyOrder.size(); ++position) {
        if (!held_[static_cast<std::size_t>(kDeviceKeyOrder[position])]) continue;
        const std::uint8_t type = keys.bytes[position * kKeyEntryLength];
        const std::uint8_t slot = keys.bytes[position * kKeyEntryLength + 1] & kSlotMask;
        if (type == ActionType::Macro && slot > 0 && slot < kMacroSlotImages) reserved.push_back(slot);
    }
    return reserved;
}

void MacroTransfer::AssignMacroSlots(ProfileRecord& profile) {
    struct Found {
        std::size_t key;
        LibraryMacro macro;
    };
    std::vector<Found> found;
    held_.fill(false);
    for (std::size_t k = 0; k < profile.keys.size(); ++k) {
        KeyAssignment& key = profile.keys[k];
        if (key.action.type != ActionType::Macro) continue;
        const std::optional<LibraryMacro> match = findLibraryMacro(library_, key.macroKeyIndex);
        if (!match) {
            // The macro was deleted from the library: the key loses its function.
            key.name = language_.languageText(kNoFunctionText);
            key.action = KeyAction{};
            continue;
        }
        if (refreshNameFlag) {
            const MacroRecord& source = *match->item->macro;
            key.macro.name = source.name;
            key.macro.macroKeyIndex = source.macroKeyIndex;
            key.macro.loopType = source.loopType;
            key.macro.loopNum = source.loopNum;
            key.macro.commandActionNum = source.commandActionNum;
            key.macro.actionNum = source.actionNum;
            key.macro.actions = source.actions;
        }
        if (!macroFitsDevice(key.macro)) {
            held_[k] = true;
            continue;
        }
        found.push_back(Found{k, *match});
    }
    reserved_ = reservedSlotsOfHeldKeys();

    std::vector<std::pair<MacroLocation, std::uint8_t>> slotMap;
    std::uint8_t nextSlot = 1;
    for (const Found& f : found) {
        auto entry = std::find_if(slotMap.begin(), slotMap.end(),
                                  [&](const auto& e) { return e.first == f.macro.location; });
        std::uint8_t slot = 0;
        if (entry != slotMap.end()) {
            slot = entry->second;
        } else {
            while (std::find(reserved_.begin(), reserved_.end(), nextSlot) != reserved_.end()) ++nextSlot;
            slot = nextSlot++;
            slotMap.emplace_back(f.macro.location, slot);
        }
        const MacroRecord& source = *f.macro.item->macro;
        KeyAssignment& key = profile.keys[f.key];
        key.action = KeyAction{ActionType::Macro,
                               static_cast<std::uint8_t>((source.loopType << 4) | (slot & kSlotMask)),
                               static_cast<std::uint8_t>(source.loopType == kLoopTimes ? source.loopNum : 0)};
    }
    refreshNameFlag = false;
}

void MacroTransfer::sendPackets(const MacroImage& image) {
    for (const MacroPacket& p : macroPackets(image)) {
        // An unplug during the upload ends it; the rest could reach no device.
        if (!channel_.link().SendHandle()) return;
        channel_.SendCommand(Command::MacroData, p.payload, p.packet, CommandChannel::kMacroAckWait);
    }
}

void MacroTransfer::SyncMacros(const ProfileRecord& profile, bool send) {
    // The keys that take part: macro keys the device can take, with a slot it keeps.
    std::vector<std::pair<const KeyAssignment*, std::uint8_t>> keys;
    for (std::size_t k = 0; k < profile.keys.size(); ++k) {
        const KeyAssignment& key = profile.keys[k];
        if (key.action.type != ActionType::Macro || held_[k]) continue;
        const std::uint8_t slot = slotOf(key.action);
        if (slot >= kMacroSlotImages) continue;
        keys.emplace_back(&key, slot);
    }

    bool uploadNeeded = false;
    for (const auto& [key, slot] : keys) {
        const MacroImage image = encodeMacroImage(key->macro, slot);
        const bool differs = !images_.macroSlotKnown[slot] || image != images_.macroSlots[slot];
        images_.macroSlots[slot] = image;
        images_.macroSlotKnown[slot] = true;
        if (differs && send) uploadNeeded = true;
    }
    if (!uploadNeeded) return;

    Payload clear{};
    clear[0] = kConfirmByte;
    channel_.SendCommand(Command::MacroUploadStart, clear);
    channel_.clock().sleepFor(kStoreClearWait);

    // Clearing the store also wipes the macros of held keys; they are sent back
    // into the slots those keys still name on the device.
    std::vector<std::pair<std::uint8_t, MacroImage>> keptForHeld;
    for (std::uint8_t slot : reserved_) {
        if (images_.macroSlotKnown[slot] && images_.macroSlots[slot][0] != 0) {
            keptForHeld.emplace_back(slot, images_.macroSlots[slot]);
        }
    }
    for (std::size_t s = 0; s < images_.macroSlots.size(); ++s) {
        images_.macroSlots[s].fill(0);
        images_.macroSlotKnown[s] = true;
    }
    for (const auto& [key, slot] : keys) {
        const MacroImage image = encodeMacroImage(key->macro, slot);
        if (image == images_.macroSlots[slot]) continue;  // a slot shared by two keys travels once
        images_.macroSlots[slot] = image;
        sendPackets(image);
    }
    for (const auto& [slot, image] : keptForHeld) {
        images_.macroSlots[slot] = image;
        sendPackets(image);
    }
    // An upload cut short by an unplug left the device's store partly written;
    // forgetting the images makes the next pass upload every macro again.
    if (!channel_.link().SendHandle()) images_.macroSlotKnown.fill(false);
}

}  // namespace zavrin
