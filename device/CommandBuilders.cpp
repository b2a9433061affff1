#include "device/CommandBuilders.h"

#include <algorithm>

namespace zavrin {

namespace {

constexpr std::array<std::uint8_t, 6> kPerformanceCommands{
    Command::DpiLevels, Command::DpiColours, Command::PollingRate,
    Command::LiftOff,   Command::KeyDebounce, Command::Lighting};
constexpr std::array<std::uint8_t, 9> kAllSettingsCommands{
    Command::Keys,        Command::DpiLevels, Command::DpiColours,
    Command::PollingRate, Command::LiftOff,   Command::Lighting,
    Command::PowerSaving, Command::SensorOptions, Command::KeyDebounce};

}  // namespace

CommandBuilders::CommandBuilders(CommandChannel& channel, SentImages& images)
    : channel_(channel), images_(images) {}

bool CommandBuilders::anyHandleOpen() const { return channel_.link().SendHandle() != nullptr; }

void CommandBuilders::sendIfChanged(std::uint8_t command, const Payload& payload) {
    // The connection can go away in the middle of a group (an unplug during the
    // pass); what is left of the group then waits, unsent and unrecorded.
    if (!anyHandleOpen()) return;
    SentImages::CommandImage& image = images_.command(command);
    const std::size_t length = comparedLength(command);
    if (image.known && std::equal(payload.begin(), payload.begin() + static_cast<std::ptrdiff_t>(length),
                                  image.bytes.begin())) {
        return;
    }
    image.bytes = payload;
    image.known = true;
    channel_.SendCommand(command, payload);
    // The connection went away during the send: the device may not have the
    // payload, so the image must not claim it has.
    if (!anyHandleOpen()) image.known = false;
}

Payload CommandBuilders::keysPayloadKeepingHeld(const ProfileRecord& profile, const HeldKeys& held) const {
    Payload payload = keysPayload(profile);
    const SentImages::CommandImage& image = images_.command(Command::Keys);
    for (std::size_t position = 0; position < kDeviceKeyOrder.size(); ++position) {
        if (!held[static_cast<std::size_t>(kDeviceKeyOrder[position])]) continue;
        for (std::size_t b = 0; b < kKeyEntryLength; ++b) {
            const std::size_t at = position * kKeyEntryLength + b;
            payload[at] = image.known ? image.bytes[at] : 0;
        }
    }
    return payload;
}

void CommandBuilders::sendKeys(const ProfileRecord& profile, const HeldKeys& held) {
    if (!anyHandleOpen()) return;
    sendIfChanged(Command::Keys, keysPayloadKeepingHeld(profile, held));
}

void CommandBuilders::sendPerformance(const ProfileRecord& profile, const SensorTable& sensor) {
    if (!anyHandleOpen()) return;
    for (std::uint8_t command : kPerformanceCommands) {
        sendIfChanged(command, settingsPayload(command, profile, sensor));
    }
}

void CommandBuilders::sendPowerSaving(const ProfileRecord& profile) {
    if (!anyHandleOpen()) return;
    sendIfChanged(Command::PowerSaving, powerSavingPayload(profile));
}

void CommandBuilders::sendSensorOptions(const ProfileRecord& profile) {
    if (!anyHandleOpen()) return;
    sendIfChanged(Command::SensorOptions, sensorOptionsPayload(profile));
}

void CommandBuilders::rebuildImages(const ProfileRecord& profile, const SensorTable& sensor, const HeldKeys& held) {
    for (std::uint8_t command : kAllSettingsCommands) {
        // A held key's macro never reached the device, so its entry must stay
        // what the device was last told; the key's action in the profile names
        // a slot the device does not have for it.
        Payload payload = command == Command::Keys ? keysPayloadKeepingHeld(profile, held)
                                                   : settingsPayload(command, profile, sensor);
        SentImages::CommandImage& image = images_.command(command);
        image.bytes = payload;
        image.known = true;
    }
    // The builder's first lighting byte is always 0, so this image never matches
    // and the next pass that runs the lighting group sends it again.
    images_.command(Command::Lighting).bytes[0] = 1;
}

}  // namespace zavrin
