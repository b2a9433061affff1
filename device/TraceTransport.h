#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>

#include "device/Transport.h"
#include "platform/Clock.h"

namespace zavrin {

// Writes every transfer as one line "<ms> <op> <kind> <bytes>".
// Thread-safe: the UI thread and the reader threads write through one lock.
class HidTraceWriter {
public:
    // Appends to `file`; `clock`'s time since its epoch is the time stamp.
    HidTraceWriter(const std::filesystem::path& file, Clock& clock);

    bool ok() const { return out_.good(); }
    void write(std::string_view op, std::uint16_t productId, std::span<const std::uint8_t> bytes);

    // One trace line without the line end.
    static std::string formatLine(double milliseconds, std::string_view op, std::string_view kind,
                                  std::span<const std::uint8_t> bytes);

private:
    std::mutex mutex_;
    std::ofstream out_;
    Clock& clock_;
};

// A transport that passes everything through to another and traces the
// transfers of the handles it opens.
class TraceTransport final : public Transport {
public:
    TraceTransport(std::unique_ptr<Transport> inner, std::shared_ptr<HidTraceWriter> trace);

    std::vector<HidInterfaceInfo> enumerate() override { return inner_->enumerate(); }
    std::unique_ptr<HidHandle> open(const HidInterfaceInfo& where) override;
    void watchDeviceChanges(DeviceEventSink* sink) override { inner_->watchDeviceChanges(sink); }

    Transport& inner() { return *inner_; }

private:
    std::unique_ptr<Transport> inner_;
    std::shared_ptr<HidTraceWriter> trace_;
};

}  // namespace zavrin
