#pragma once

#include <array>

#include "device/CommandChannel.h"
#include "device/CommandPayloads.h"
#include "device/SensorTables.h"
#include "device/SentImages.h"
#include "model/ProfileRecord.h"

namespace zavrin {

// Keys whose macro the device cannot take; their device entry stays as last sent.
using HeldKeys = std::array<bool, kKeyCount>;

// The builders of the settings command groups: each compares the new payload with
// its sent image and sends only what differs. Every builder returns at once when
// no feature handle is open. UI thread only.
class CommandBuilders {
public:
    CommandBuilders(CommandChannel& channel, SentImages& images);

    // Command 0x01.
    void sendKeys(const ProfileRecord& profile, const HeldKeys& held);
    // Commands 0x02, 0x03, 0x04, 0x05, 0x09, 0x06 in this order.
    void sendPerformance(const ProfileRecord& profile, const SensorTable& sensor);
    // Command 0x07.
    void sendPowerSaving(const ProfileRecord& profile);
    // Command 0x08.
    void sendSensorOptions(const ProfileRecord& profile);

    // Refills the settings images from `profile` exactly as the builders would
    // (held keys keep the entry last sent), except the lighting image, whose
    // first byte is made non-zero so that the next pass with the lighting group
    // sends the lighting again.
    void rebuildImages(const ProfileRecord& profile, const SensorTable& sensor, const HeldKeys& held);

    // The keys payload with held keys keeping the entry last sent (no function
    // when nothing was sent yet).
    Payload keysPayloadKeepingHeld(const ProfileRecord& profile, const HeldKeys& held) const;

private:
    bool anyHandleOpen() const;
    void sendIfChanged(std::uint8_t command, const Payload& payload);

    CommandChannel& channel_;
    SentImages& images_;
};

}  // namespace zavrin
