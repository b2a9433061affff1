// links: zavrin_device
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/CommandChannel.h"
#include "device/Reports.h"
#include "fuzz/FuzzDevice.h"

// Any run of acknowledgement answers (short, long, failed, garbage): a command is
// written at most four times, each with a new sequence number, and counts as
// accepted only when an answer said so.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    (void)zavrin::isAcknowledged(input);
    if (input.size() < 2) return 0;

    const zavrin::ConnectionKind kind = zavrin::fuzz::kindFromByte(input[0]);
    const std::uint8_t command = input[1];
    zavrin::fuzz::EmptyTransport transport;
    zavrin::DeviceLink link(transport, transport);
    auto owned = std::make_unique<zavrin::fuzz::ScriptedHandle>(kind, input.subspan(2));
    const zavrin::fuzz::ScriptedHandle& handle = *owned;
    link.slot(kind).featureHandle = std::move(owned);
    zavrin::VirtualClock clock;
    zavrin::CommandChannel channel(link, clock);
    channel.sequenceNumber = command;  // any starting point, wrap included

    const std::uint8_t firstSequence = channel.sequenceNumber;
    const bool accepted = channel.SendCommand(command, zavrin::Payload{});
    const int writes = handle.writes;
    if (writes < 1 || writes > zavrin::CommandChannel::kMaxWrites) __builtin_trap();
    if (static_cast<std::uint8_t>(firstSequence + writes) != channel.sequenceNumber) __builtin_trap();
    if (accepted == (channel.unacknowledgedCount != 0)) __builtin_trap();
    if (!accepted && writes != zavrin::CommandChannel::kMaxWrites) __builtin_trap();
    if (!channel.wroteToDevice) __builtin_trap();
    return 0;
}
