#include "device/CommandPayloads.h"

namespace zavrin {

namespace {

constexpr std::size_t kKeysLength = kKeyEntryLength * kKeyCount;  // 18
constexpr std::uint8_t kKeysFiller = 0xFF;
constexpr int kLiftOffLow = 1;
constexpr int kLiftOffHigh = 2;

std::uint8_t lowByte(int value) { return static_cast<std::uint8_t>(value & 0xFF); }

// A per-mode lighting entry; a damaged profile's mode code past the table reads 0.
std::uint8_t modeEntry(const std::array<std::uint8_t, kLightingModeCount>& entries, std::uint8_t mode) {
    return mode < kLightingModeCount ? entries[mode] : 0;
}

}  // namespace

Payload keysPayload(const ProfileRecord& profile) {
    Payload payload{};
    payload.fill(kKeysFiller);
    for (std::size_t position = 0; position < kDeviceKeyOrder.size(); ++position) {
        const KeyAction& action = profile.keys[static_cast<std::size_t>(kDeviceKeyOrder[position])].action;
        payload[position * kKeyEntryLength] = action.type;
        payload[position * kKeyEntryLength + 1] = action.value1;
        payload[position * kKeyEntryLength + 2] = action.value2;
    }
    return payload;
}

Payload dpiLevelsPayload(const ProfileRecord& profile, const SensorTable& sensor) {
    Payload payload{};
    payload[0] = profile.currentDpiLevel;
    payload[1] = profile.dpiOffOnFlag;
    for (int level = 0; level < kDeviceDpiLevels; ++level) {
        const std::uint16_t code = sensor.codeOfStep(profile.xySetting[static_cast<std::size_t>(level)]);
        payload[2 + 2 * static_cast<std::size_t>(level)] = static_cast<std::uint8_t>(code & 0xFF);
        payload[3 + 2 * static_cast<std::size_t>(level)] = static_cast<std::uint8_t>(code >> 8);
    }
    return payload;
}

Payload dpiColoursPayload(const ProfileRecord& profile) {
    Payload payload{};
    for (std::size_t level = 0; level < kDpiLevelCount; ++level) {
        const std::uint32_t colour = profile.dpiLevelIndication[level];
        payload[3 * level] = static_cast<std::uint8_t>(colour & 0xFF);
        payload[3 * level + 1] = static_cast<std::uint8_t>((colour >> 8) & 0xFF);
        payload[3 * level + 2] = static_cast<std::uint8_t>((colour >> 16) & 0xFF);
    }
    return payload;
}

Payload pollingRatePayload(const ProfileRecord& profile) {
    Payload payload{};
    payload[0] = pollingRateCode(profile.pollingRateValue[0]);
    return payload;
}

Payload liftOffPayload(const ProfileRecord& profile) {
    Payload payload{};
    payload[0] = getSettingInt(profile, Setting::LiftDetectionHeight) == kLiftOffLow ? kLiftOffLow
                                                                                     : kLiftOffHigh;
    return payload;
}

Payload keyDebouncePayload(const ProfileRecord& profile) {
    Payload payload{};
    payload[0] = lowByte(getSettingInt(profile, Setting::KeyDebounce));
    return payload;
}

Payload lightingPayload(const ProfileRecord& profile) {
    const Lighting1Settings& lighting = profile.lighting1;
    const std::uint8_t mode = lighting.modeValue[0];
    Payload payload{};
    payload[0] = 0;
    payload[1] = mode;
    const int brightness = modeEntry(lighting.brightness, mode) + 1;
    const int speed = modeEntry(lighting.speed, mode) + 1;
    payload[2] = lowByte((brightness << 4) | (speed & 0x0F));
    // Only effect 1 offers a direction, so its direction travels whatever the effect.
    const std::size_t directionMode = 1;
    payload[3] = lighting.direction[directionMode];
    return payload;
}

Payload powerSavingPayload(const ProfileRecord& profile) {
    Payload payload{};
    payload[0] = lowByte(getSettingInt(profile, Setting::PowerDownTime));
    payload[1] = lowByte(getSettingInt(profile, Setting::MoveLightingOnOffMode));
    return payload;
}

Payload sensorOptionsPayload(const ProfileRecord& profile) {
    Payload payload{};
    payload[0] = lowByte(getSettingInt(profile, Setting::AngleSnap));
    payload[1] = lowByte(getSettingInt(profile, Setting::MotionSync));
    payload[2] = lowByte(getSettingInt(profile, Setting::RippleControl));
    return payload;
}

Payload settingsPayload(std::uint8_t command, const ProfileRecord& profile, const SensorTable& sensor) {
    switch (command) {
    case Command::Keys: return keysPayload(profile);
    case Command::DpiLevels: return dpiLevelsPayload(profile, sensor);
    case Command::DpiColours: return dpiColoursPayload(profile);
    case Command::PollingRate: return pollingRatePayload(profile);
    case Command::LiftOff: return liftOffPayload(profile);
    case Command::Lighting: return lightingPayload(profile);
    case Command::PowerSaving: return powerSavingPayload(profile);
    case Command::SensorOptions: return sensorOptionsPayload(profile);
    case Command::KeyDebounce: return keyDebouncePayload(profile);
    default: return Payload{};
    }
}

std::size_t comparedLength(std::uint8_t command) {
    switch (command) {
    case Command::Keys: return kKeysLength;
    case Command::DpiLevels: return 17;  // level, mask, six codes, three zero bytes
    case Command::DpiColours: return 3 * kDpiLevelCount;
    case Command::PollingRate: return 1;
    case Command::LiftOff: return 1;
    case Command::Lighting: return 4;
    case Command::PowerSaving: return 2;
    case Command::SensorOptions: return 3;
    case Command::KeyDebounce: return 1;
    default: return 0;
    }
}

}  // namespace zavrin
