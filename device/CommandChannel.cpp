#include "device/CommandChannel.h"

namespace zavrin {

CommandChannel::CommandChannel(DeviceLink& link, Clock& clock) : link_(link), clock_(clock) {}

bool CommandChannel::SendCommand(std::uint8_t command, const Payload& payload, std::uint8_t packet,
                                 std::chrono::milliseconds ackWait) {
    bool reachedInterface = false;
    for (int write = 0; write < kMaxWrites; ++write) {
        if (write > 0) clock_.sleepFor(kRetryWait);
        const Report report = encodeCommandReport(command, sequenceNumber++, packet, payload);
        if (const std::optional<ConnectionKind> kind = link_.sendKind()) {
            HidHandle& handle = *link_.featureHandle(*kind);
            if (!writeReport(handle, command, report) && link_.interfaceGone(handle.info())) {
                // The device went away during this command. Another open connection
                // takes the next write; with none left nothing can answer, and
                // waiting out the remaining writes would only hold up the UI thread.
                link_.closeFeature(*kind);
                if (!link_.SendHandle()) {
                    ++undeliveredCount;
                    return false;
                }
                continue;
            }
            reachedInterface = true;
        }
        wroteToDevice = true;
        clock_.sleepFor(ackWait);
        Report answer{};
        answer[CommandOffset::ReportId] = ReportId::Command;
        if (HidHandle* handle = link_.SendHandle()) {
            if (!handle->getFeature(answer)) answer.fill(0);
        }
        if (isAcknowledged(answer)) return true;
    }
    // A command that found no interface at all was never written, which is not
    // the same as a device that did not answer.
    if (reachedInterface) {
        ++unacknowledgedCount;
    } else {
        ++undeliveredCount;
    }
    return false;
}

bool CommandChannel::writeReport(HidHandle& handle, std::uint8_t command, const Report& report) {
    if (command != Command::Lighting) return handle.setFeature(report);
    // The lighting command goes out one byte longer (the extra byte is 0), but
    // never longer than the interface's feature report: Windows would cut the
    // buffer to that length anyway, while Linux passes it whole to a device
    // that may refuse the transfer. Both systems thus send the same bytes.
    std::array<std::uint8_t, kLightingWriteLength> longer{};
    std::copy(report.begin(), report.end(), longer.begin());
    std::size_t length = longer.size();
    const std::size_t reportLength = handle.info().featureReportLength;
    if (reportLength >= kReportLength && reportLength < length) length = reportLength;
    return handle.setFeature(std::span<const std::uint8_t>(longer.data(), length));
}

std::optional<DeviceInfo> CommandChannel::readDeviceInfo(HidHandle& handle) {
    Report buffer{};
    buffer.fill(0xFF);
    buffer[DeviceInfoOffset::ReportId] = ReportId::DeviceInfo;
    if (!handle.getFeature(buffer)) return std::nullopt;
    return decodeDeviceInfo(buffer);
}

std::optional<DeviceInfo> CommandChannel::QueryDeviceInfo() {
    const std::optional<ConnectionKind> kind = link_.sendKind();
    if (!kind) return std::nullopt;
    const std::optional<DeviceInfo> info = readDeviceInfo(*link_.featureHandle(*kind));
    if (!info) return std::nullopt;
    link_.onDeviceInfo(*info);
    link_.pollingCapability = pollingCapabilityFor(*kind, info->rateClass);
    return info;
}

bool CommandChannel::SendPairing() {
    HidHandle* dongle = link_.featureHandle(ConnectionKind::Dongle);
    if (!dongle) return false;
    dongle->setFeature(encodePairingReport());
    return true;
}

}  // namespace zavrin
