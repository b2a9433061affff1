#pragma once

#include <chrono>
#include <cstdint>
#include <optional>

#include "device/DeviceLink.h"
#include "device/Reports.h"
#include "platform/Clock.h"

namespace zavrin {

// The acknowledged command send, the device-information query and the pairing
// request, over the link's send handle. Every wait goes through the Clock.
//
// Threads: UI thread only; the waits block it (about half a second for a
// command the device never acknowledges).
class CommandChannel {
public:
    static constexpr std::chrono::milliseconds kAckWait{60};
    static constexpr std::chrono::milliseconds kMacroAckWait{120};
    static constexpr std::chrono::milliseconds kRetryWait{60};
    static constexpr int kMaxWrites = 4;

    CommandChannel(DeviceLink& link, Clock& clock);

    // Frames `payload` as command `command`, writes it and reads the
    // acknowledgement; an unacknowledged command is written again with a new
    // sequence number, four writes at most. Sets `wroteToDevice`. The result says
    // whether the device acknowledged; the program itself does not act on it.
    // A write refused by an interface whose device has gone closes that feature
    // handle; the command then goes on through the next open handle in send
    // priority or, with none left, ends at once (false) without further writes
    // or waits.
    bool SendCommand(std::uint8_t command, const Payload& payload, std::uint8_t packet = kSinglePacket,
                     std::chrono::milliseconds ackWait = kAckWait);

    // Reads the device information through the first open handle in send
    // priority and applies it to `deviceOnline` and `pollingCapability`. Nullopt,
    // and nothing changed, when no handle is open or the answer is unusable.
    std::optional<DeviceInfo> QueryDeviceInfo();

    // Reads the device information through one given handle without applying it.
    static std::optional<DeviceInfo> readDeviceInfo(HidHandle& handle);

    // Asks the receiver to pair; false when no receiver handle is open.
    bool SendPairing();

    Clock& clock() { return clock_; }
    DeviceLink& link() { return link_; }

    // Taken by every write, resends included; wraps from 255 to 0.
    std::uint8_t sequenceNumber = 1;
    bool wroteToDevice = false;
    // Commands given up after four writes since the counter was last cleared.
    int unacknowledgedCount = 0;
    // Commands that never reached the device because it went away (a write
    // refused by a vanished interface with no other connection left, or no
    // connection at all). Not counted as unacknowledged.
    int undeliveredCount = 0;

private:
    static bool writeReport(HidHandle& handle, std::uint8_t command, const Report& report);

    DeviceLink& link_;
    Clock& clock_;
};

}  // namespace zavrin
