// links: zavrin_device
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/CommandChannel.h"
#include "device/Reports.h"
#include "fuzz/FuzzDevice.h"

// Any device-information answer, raw and through the query that applies it: the
// link state and rate class must stay within what the rest of the program knows.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    if (const auto info = zavrin::decodeDeviceInfo(input)) {
        const auto again = zavrin::decodeDeviceInfo(zavrin::encodeDeviceInfo(*info));
        if (!again || again->online != info->online || again->rateClass != info->rateClass) __builtin_trap();
    }
    if (input.empty()) return 0;

    const zavrin::ConnectionKind kind = zavrin::fuzz::kindFromByte(input[0]);
    zavrin::fuzz::EmptyTransport transport;
    zavrin::DeviceLink link(transport, transport);
    link.slot(kind).featureHandle = std::make_unique<zavrin::fuzz::ScriptedHandle>(kind, input.subspan(1));
    zavrin::VirtualClock clock;
    zavrin::CommandChannel channel(link, clock);
    const bool onlineBefore = link.deviceOnline();
    const int capabilityBefore = link.pollingCapability;
    const auto applied = channel.QueryDeviceInfo();
    const int capability = link.pollingCapability;
    if (capability != 1 && capability != 4 && capability != 8) __builtin_trap();
    if (!applied && (link.deviceOnline() != onlineBefore || capability != capabilityBefore)) __builtin_trap();
    if (kind == zavrin::ConnectionKind::Bluetooth && capability != 1) __builtin_trap();
    return 0;
}
