#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "device/ConnectionKind.h"

namespace zavrin {

// Report ids of the mouse's HID protocol.
namespace ReportId {
inline constexpr std::uint8_t Status = 0x04;      // input, unsolicited
inline constexpr std::uint8_t DeviceInfo = 0x05;  // feature, read on request
inline constexpr std::uint8_t Command = 0x06;     // feature, written then read back
inline constexpr std::uint8_t Pairing = 0xBC;     // feature, receiver only
}  // namespace ReportId

inline constexpr std::size_t kReportLength = 32;
// The lighting command is written with one byte more than the report holds, as
// far as the interface's feature report length allows; the extra byte is always
// 0 and not part of the checksum's meaning.
inline constexpr std::size_t kLightingWriteLength = 33;
inline constexpr std::size_t kPayloadLength = 27;
inline constexpr std::size_t kPairingReportLength = 8;
// Byte 1 of the pairing report: pair the receiver with the mouse.
inline constexpr std::uint8_t kPairingCommand = 0x03;

using Report = std::array<std::uint8_t, kReportLength>;
using Payload = std::array<std::uint8_t, kPayloadLength>;
using PairingReport = std::array<std::uint8_t, kPairingReportLength>;

// Byte offsets of a command report.
namespace CommandOffset {
inline constexpr std::size_t ReportId = 0;
inline constexpr std::size_t Command = 1;
inline constexpr std::size_t Sequence = 2;
inline constexpr std::size_t Packet = 3;  // index in bits 4-7, count in bits 0-3
inline constexpr std::size_t Checksum = 4;
inline constexpr std::size_t Payload = 5;
}  // namespace CommandOffset
static_assert(CommandOffset::Payload + kPayloadLength == kReportLength);

// Command codes of report 6.
namespace Command {
inline constexpr std::uint8_t Keys = 0x01;
inline constexpr std::uint8_t DpiLevels = 0x02;
inline constexpr std::uint8_t DpiColours = 0x03;
inline constexpr std::uint8_t PollingRate = 0x04;
inline constexpr std::uint8_t LiftOff = 0x05;
inline constexpr std::uint8_t Lighting = 0x06;
inline constexpr std::uint8_t PowerSaving = 0x07;
inline constexpr std::uint8_t SensorOptions = 0x08;
inline constexpr std::uint8_t KeyDebounce = 0x09;
inline constexpr std::uint8_t FactoryReset = 0x0F;
inline constexpr std::uint8_t MacroData = 0x10;
inline constexpr std::uint8_t MacroUploadStart = 0x11;
}  // namespace Command

// Packet byte of every command that fits one report: packet 0 of 1.
inline constexpr std::uint8_t kSinglePacket = 0x01;
// Payload byte 0 of the reset and macro-store-clear commands.
inline constexpr std::uint8_t kConfirmByte = 0xFF;

constexpr std::uint8_t packetByte(int index, int count) {
    return static_cast<std::uint8_t>(((index & 0x0F) << 4) | (count & 0x0F));
}

// Low 8 bits of the sum of all bytes.
std::uint8_t reportChecksum(std::span<const std::uint8_t> bytes);

// A complete command report: frame, payload and checksum (computed with byte 4 at 0).
Report encodeCommandReport(std::uint8_t command, std::uint8_t sequence, std::uint8_t packet,
                           const Payload& payload);

// The acknowledgement read: the same report read back, accepted when byte 1 is not 0.
bool isAcknowledged(std::span<const std::uint8_t> answer);

// Device-information report 5.
namespace DeviceInfoOffset {
inline constexpr std::size_t ReportId = 0;
inline constexpr std::size_t Online = 5;
inline constexpr std::size_t RateClass = 6;
}  // namespace DeviceInfoOffset

// Rate classes of the device-information report and of `pollingCapability`.
namespace RateClass {
inline constexpr int UpTo1000 = 1;
inline constexpr int UpTo4000 = 4;
inline constexpr int UpTo8000 = 8;
}  // namespace RateClass

struct DeviceInfo {
    bool online = false;
    std::uint8_t rateClass = 0;  // the raw byte 6
};

// Nullopt for an answer that is too short or does not start with report id 5.
std::optional<DeviceInfo> decodeDeviceInfo(std::span<const std::uint8_t> answer);
Report encodeDeviceInfo(const DeviceInfo& info);

// The rate class the program assumes for the connection an answer came through.
int pollingCapabilityFor(ConnectionKind kind, std::uint8_t rateClassByte);

// Status report 4.
namespace StatusOffset {
inline constexpr std::size_t ReportId = 0;
inline constexpr std::size_t Linked = 1;  // receiver only
inline constexpr std::size_t DpiLevel = 2;
inline constexpr std::size_t RateCode = 3;
inline constexpr std::size_t Battery = 4;
inline constexpr std::size_t Charge = 5;
inline constexpr std::size_t LightingMode = 6;
inline constexpr std::size_t QuickLaunch = 7;
inline constexpr std::size_t End = 8;  // bytes a decoder reads
}  // namespace StatusOffset

enum class ChargeState : std::uint8_t { OnBattery = 0, Charging = 1, Full = 2 };

// The decoded content of one status report. For a receiver that says the mouse
// is not linked only `linked` is meaningful.
struct StatusReport {
    bool linked = true;
    std::uint8_t dpiLevel = 0;
    std::uint8_t pollingRateIndex = 0;
    std::uint8_t battery = 0;
    ChargeState chargeState = ChargeState::OnBattery;
    std::uint8_t lightingMode = 0;
    std::uint8_t launchIndex = 0;  // 0 none, n: quick launch of key n (1-based)

    bool operator==(const StatusReport&) const = default;
};

// Decodes a status report read on `kind`'s input interface. Nullopt for another
// report id or a report shorter than the eight bytes the decoder reads. Safe on
// any thread; `pollingCapability` is the rate class last learnt.
std::optional<StatusReport> DecodeStatus(ConnectionKind kind, std::span<const std::uint8_t> report,
                                         int pollingCapability);

// Polling-rate index (0 = 125 Hz ... 6 = 8000 Hz) to the device's rate code;
// indexes above 6 send the 8000 Hz code.
std::uint8_t pollingRateCode(int index);
inline constexpr int kHighestRateIndex = 6;

PairingReport encodePairingReport();

}  // namespace zavrin
