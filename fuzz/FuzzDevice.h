#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "device/DeviceLink.h"
#include "device/Transport.h"

namespace zavrin::fuzz {

// A feature interface whose answers come from the fuzzer's bytes: each read takes
// the next chunk (its first byte says how long it is and whether the read fails),
// so one input can play a whole conversation of short, long, failed and garbage
// answers.
class ScriptedHandle final : public HidHandle {
public:
    ScriptedHandle(ConnectionKind kind, std::span<const std::uint8_t> script) : script_(script) {
        info_.productId = productId(kind);
        info_.usagePage = DeviceLink::kFeatureUsagePage;
    }

    const HidInterfaceInfo& info() const override { return info_; }
    bool setFeature(std::span<const std::uint8_t> report) override {
        ++writes;
        return !report.empty();
    }
    bool getFeature(std::span<std::uint8_t> buffer) override {
        if (script_.empty()) return false;
        const std::uint8_t head = script_.front();
        script_ = script_.subspan(1);
        if (head == kFailedRead) return false;
        const std::size_t n = std::min<std::size_t>({head, script_.size(), buffer.size()});
        std::copy_n(script_.begin(), n, buffer.begin());
        script_ = script_.subspan(n);
        return true;
    }
    std::optional<std::size_t> readInput(std::span<std::uint8_t>) override { return std::nullopt; }
    void interruptRead() override {}

    int writes = 0;

private:
    static constexpr std::uint8_t kFailedRead = 0xFF;
    std::span<const std::uint8_t> script_;
    HidInterfaceInfo info_;
};

// A machine with no HID interfaces at all; the fuzzed handle is put into the
// link's slot by hand.
class EmptyTransport final : public Transport, public DeviceEventSink {
public:
    std::vector<HidInterfaceInfo> enumerate() override { return {}; }
    std::unique_ptr<HidHandle> open(const HidInterfaceInfo&) override { return nullptr; }
    void watchDeviceChanges(DeviceEventSink*) override {}
    void postStatus(ConnectionKind, const StatusReport&) override {}
    void postDeviceChange(DeviceChange) override {}
};

// The connection kind named by one byte of the input.
inline ConnectionKind kindFromByte(std::uint8_t b) { return kSendPriority[b % kSendPriority.size()]; }

}  // namespace zavrin::fuzz
