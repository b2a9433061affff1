#include "device/Reports.h"

#include <algorithm>

namespace zavrin {

namespace {

// Rate code by polling-rate index.
constexpr std::array<std::uint8_t, kHighestRateIndex + 1> kRateCodes{0x08, 0x04, 0x02, 0x01,
                                                                    0x11, 0x12, 0x14};

constexpr std::uint8_t kChargingByte = 1;
constexpr std::uint8_t kFullByte = 2;
constexpr std::uint8_t kFullBattery = 100;

// A wired mouse without the 8000 Hz class reports only the four classic rates;
// every code it does not know means 1000 Hz there.
int decodeRateIndex(std::uint8_t code, bool fullRange) {
    const int classicLastIndex = 3;
    const int lastIndex = fullRange ? kHighestRateIndex : classicLastIndex;
    for (int i = 0; i < lastIndex; ++i) {
        if (kRateCodes[static_cast<std::size_t>(i)] == code) return i;
    }
    return lastIndex;
}

}  // namespace

std::uint8_t reportChecksum(std::span<const std::uint8_t> bytes) {
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    return static_cast<std::uint8_t>(sum & 0xFF);
}

Report encodeCommandReport(std::uint8_t command, std::uint8_t sequence, std::uint8_t packet,
                           const Payload& payload) {
    Report report{};
    report[CommandOffset::ReportId] = ReportId::Command;
    report[CommandOffset::Command] = command;
    report[CommandOffset::Sequence] = sequence;
    report[CommandOffset::Packet] = packet;
    std::copy(payload.begin(), payload.end(), report.begin() + CommandOffset::Payload);
    report[CommandOffset::Checksum] = reportChecksum(report);
    return report;
}

bool isAcknowledged(std::span<const std::uint8_t> answer) {
    return answer.size() > CommandOffset::Command && answer[CommandOffset::Command] != 0;
}

std::optional<DeviceInfo> decodeDeviceInfo(std::span<const std::uint8_t> answer) {
    if (answer.size() <= DeviceInfoOffset::RateClass) return std::nullopt;
    if (answer[DeviceInfoOffset::ReportId] != ReportId::DeviceInfo) return std::nullopt;
    return DeviceInfo{answer[DeviceInfoOffset::Online] != 0, answer[DeviceInfoOffset::RateClass]};
}

Report encodeDeviceInfo(const DeviceInfo& info) {
    Report report{};
    report.fill(0xFF);
    report[DeviceInfoOffset::ReportId] = ReportId::DeviceInfo;
    report[DeviceInfoOffset::Online] = info.online ? 1 : 0;
    report[DeviceInfoOffset::RateClass] = info.rateClass;
    return report;
}

int pollingCapabilityFor(ConnectionKind kind, std::uint8_t rateClassByte) {
    switch (kind) {
    case ConnectionKind::Wired:
        return rateClassByte == RateClass::UpTo8000 ? RateClass::UpTo8000 : RateClass::UpTo1000;
    case ConnectionKind::Bluetooth: return RateClass::UpTo1000;
    case ConnectionKind::Dongle:
        if (rateClassByte == RateClass::UpTo8000) return RateClass::UpTo8000;
        if (rateClassByte == RateClass::UpTo4000) return RateClass::UpTo4000;
        return RateClass::UpTo1000;
    }
    return RateClass::UpTo1000;
}

std::optional<StatusReport> DecodeStatus(ConnectionKind kind, std::span<const std::uint8_t> report,
                                         int pollingCapability) {
    if (report.size() < StatusOffset::End) return std::nullopt;
    if (report[StatusOffset::ReportId] != ReportId::Status) return std::nullopt;
    StatusReport status;
    if (kind == ConnectionKind::Dongle && report[StatusOffset::Linked] == 0) {
        status.linked = false;
        return status;
    }
    status.dpiLevel = report[StatusOffset::DpiLevel];
    status.battery = report[StatusOffset::Battery];
    const std::uint8_t charge = report[StatusOffset::Charge];
    if (charge == kChargingByte) {
        status.chargeState = ChargeState::Charging;
    } else if (charge == kFullByte) {
        status.chargeState = ChargeState::Full;
        status.battery = kFullBattery;
    }
    status.lightingMode = report[StatusOffset::LightingMode];
    status.launchIndex = report[StatusOffset::QuickLaunch];
    const bool fullRange = kind != ConnectionKind::Wired || pollingCapability == RateClass::UpTo8000;
    status.pollingRateIndex =
        static_cast<std::uint8_t>(decodeRateIndex(report[StatusOffset::RateCode], fullRange));
    return status;
}

std::uint8_t pollingRateCode(int index) {
    const int clamped = std::clamp(index, 0, kHighestRateIndex);
    return kRateCodes[static_cast<std::size_t>(clamped)];
}

PairingReport encodePairingReport() {
    PairingReport report{};
    report[0] = ReportId::Pairing;
    report[1] = kPairingCommand;
    return report;
}

}  // namespace zavrin
