#pragma once

#include <cstddef>
#include <cstdint>

#include "device/Reports.h"
#include "device/SensorTables.h"
#include "model/ProfileRecord.h"

namespace zavrin {

// The payload of each settings command as built from a profile. Pure functions;
// any thread.

// Profile key index of each device key position: keys 3 and 4 change places.
inline constexpr std::array<int, kKeyCount> kDeviceKeyOrder{0, 1, 2, 4, 3, 5};
inline constexpr std::size_t kKeyEntryLength = 3;
// DPI levels the device takes; the profile holds eight.
inline constexpr int kDeviceDpiLevels = 6;

Payload keysPayload(const ProfileRecord& profile);
Payload dpiLevelsPayload(const ProfileRecord& profile, const SensorTable& sensor);
Payload dpiColoursPayload(const ProfileRecord& profile);
Payload pollingRatePayload(const ProfileRecord& profile);
Payload liftOffPayload(const ProfileRecord& profile);
Payload keyDebouncePayload(const ProfileRecord& profile);
Payload lightingPayload(const ProfileRecord& profile);
Payload powerSavingPayload(const ProfileRecord& profile);
Payload sensorOptionsPayload(const ProfileRecord& profile);

// The payload of any settings command 0x01..0x09.
Payload settingsPayload(std::uint8_t command, const ProfileRecord& profile, const SensorTable& sensor);

// How many leading payload bytes decide whether a command must be sent again.
std::size_t comparedLength(std::uint8_t command);

}  // namespace zavrin
