#include "ctl/ApplyCommand.h"

#include <array>
#include <string_view>

#include "device/CommandBuilders.h"
#include "device/MacroTransfer.h"
#include "model/DataPaths.h"
#include "model/FileResult.h"
#include "model/LanguageTable.h"
#include "model/ProfileFile.h"

namespace zavrin {

namespace {

// What each settings command carries, in the order an apply pass sends them.
struct CommandName {
    std::uint8_t command;
    std::string_view name;
};
constexpr std::array<CommandName, 9> kCommandNames{{
    {Command::Keys, "button assignments"},
    {Command::DpiLevels, "DPI levels"},
    {Command::DpiColours, "DPI colours"},
    {Command::PollingRate, "polling rate"},
    {Command::LiftOff, "lift-off distance"},
    {Command::KeyDebounce, "key debounce"},
    {Command::Lighting, "lighting"},
    {Command::PowerSaving, "power saving"},
    {Command::SensorOptions, "sensor options"},
}};

// What a full apply pass did not deliver. Every image starts unknown; the
// builders mark an image known once its command has gone out, and forget it
// (as the macro upload forgets the slots) when the mouse went away meanwhile.
std::string undeliveredParts(const ProfileRecord& profile, const SentImages& images) {
    std::string parts;
    const auto add = [&](std::string_view name) {
        if (!parts.empty()) parts += ", ";
        parts += name;
    };
    for (const CommandName& c : kCommandNames) {
        if (!images.command(c.command).known) add(c.name);
    }
    for (const KeyAssignment& key : profile.keys) {
        if (key.action.type != ActionType::Macro) continue;
        const std::size_t slot = key.action.value1 & 0x0F;
        if (slot >= images.macroSlotKnown.size() || !images.macroSlotKnown[slot]) {
            add("macros");
            break;
        }
    }
    return parts;
}

std::string hex16(std::uint16_t value) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text = "0x";
    for (int shift = 12; shift >= 0; shift -= 4) text += kHex[(value >> shift) & 0xF];
    return text;
}

}  // namespace

std::optional<ApplyInput> readApplyInput(const std::filesystem::path& file, const std::filesystem::path& libraryFile,
                                         bool libraryGiven, std::uint16_t sensorId, std::string& error) {
    ApplyInput input;
    const FileRead read = readProfileRecord(input.profile, file);
    if (read.status == ReadStatus::Missing) {
        error = "no such file: " + pathToUtf8(file);
        return std::nullopt;
    }
    if (read.status == ReadStatus::Unreadable) {
        error = "cannot read " + pathToUtf8(file) + ": " + englishReason(read.problem);
        return std::nullopt;
    }
    if (!read.ok()) {
        error = pathToUtf8(file) + " is not a readable profile file";
        return std::nullopt;
    }
    input.sensor = sensorTable(sensorId);
    if (input.sensor.size() == 0) {
        error = "unknown sensor " + hex16(sensorId) + "; give it with --sensor";
        return std::nullopt;
    }
    bool libraryNeeded = false;
    for (const KeyAssignment& key : input.profile.keys) libraryNeeded |= key.action.type == ActionType::Macro;
    if ((libraryGiven || libraryNeeded) && !input.library.readLibraryFile(libraryFile)) {
        error = "cannot read the macro library " + pathToUtf8(libraryFile);
        return std::nullopt;
    }
    for (std::size_t k = 0; k < input.profile.keys.size(); ++k) {
        const KeyAssignment& key = input.profile.keys[k];
        if (key.action.type != ActionType::Macro) continue;
        const auto found = findLibraryMacro(input.library, key.macroKeyIndex);
        if (!found) {
            error = "button " + std::to_string(k) + ": macro \"" + key.macro.name + "\" (id " +
                    std::to_string(key.macroKeyIndex) + ") is not in " + pathToUtf8(libraryFile);
            return std::nullopt;
        }
        const MacroRecord& macro = *found->item->macro;
        if (!macroFitsDevice(macro)) {
            error = "button " + std::to_string(k) + ": macro \"" + macro.name + "\" has " +
                    std::to_string(macro.countCommandActions()) + " events; the mouse takes at most " +
                    std::to_string(kMaxDeviceMacroEvents);
            return std::nullopt;
        }
    }
    return input;
}

std::string applyPass(ApplyInput& input, CommandChannel& channel, SentImages& images) {
    images.forgetAll();  // every group is written in full
    const int undelivered = channel.undeliveredCount;
    const int unacknowledged = channel.unacknowledgedCount;
    const LanguageTable language;
    CommandBuilders builders(channel, images);
    MacroTransfer macros(input.library, language, channel, images);
    // The macros travel as the library holds them, not as the copies the
    // profile file kept when the buttons were assigned.
    macros.refreshNameFlag = true;
    ProfileRecord& profile = input.profile;
    macros.AssignMacroSlots(profile);
    builders.sendKeys(profile, macros.heldKeys());
    builders.sendPerformance(profile, input.sensor);
    builders.sendPowerSaving(profile);
    builders.sendSensorOptions(profile);
    macros.SyncMacros(profile, true);
    // A mouse unplugged in the middle of the pass holds only part of the profile.
    const std::string missing = undeliveredParts(profile, images);
    if (!missing.empty() || channel.undeliveredCount > undelivered) {
        return "the mouse went away during the apply pass; not written: " +
               (missing.empty() ? std::string("the last command") : missing);
    }
    if (channel.unacknowledgedCount > unacknowledged) {
        return "the mouse did not acknowledge " + std::to_string(channel.unacknowledgedCount - unacknowledged) +
               " of the commands";
    }
    return {};
}

}  // namespace zavrin
