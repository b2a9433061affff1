#include "device/TraceTransport.h"

#include <array>
#include <chrono>
#include <cstdio>

namespace zavrin {

namespace {

constexpr std::string_view kSetFeature = "SET_FEATURE";
constexpr std::string_view kGetFeature = "GET_FEATURE";
constexpr std::string_view kInput = "INPUT";

class TracedHandle final : public HidHandle {
public:
    TracedHandle(std::unique_ptr<HidHandle> inner, std::shared_ptr<HidTraceWriter> trace)
        : inner_(std::move(inner)), trace_(std::move(trace)) {}

    const HidInterfaceInfo& info() const override { return inner_->info(); }

    bool setFeature(std::span<const std::uint8_t> report) override {
        trace_->write(kSetFeature, info().productId, report);
        return inner_->setFeature(report);
    }

    bool getFeature(std::span<std::uint8_t> buffer) override {
        const bool ok = inner_->getFeature(buffer);
        if (ok) trace_->write(kGetFeature, info().productId, buffer);
        return ok;
    }

    std::optional<std::size_t> readInput(std::span<std::uint8_t> buffer) override {
        std::optional<std::size_t> n = inner_->readInput(buffer);
        if (n) trace_->write(kInput, info().productId, buffer.first(std::min(*n, buffer.size())));
        return n;
    }

    void interruptRead() override { inner_->interruptRead(); }

private:
    std::unique_ptr<HidHandle> inner_;
    std::shared_ptr<HidTraceWriter> trace_;
};

}  // namespace

HidTraceWriter::HidTraceWriter(const std::filesystem::path& file, Clock& clock)
    : out_(file, std::ios::app | std::ios::binary), clock_(clock) {}

std::string HidTraceWriter::formatLine(double milliseconds, std::string_view op, std::string_view kind,
                                       std::span<const std::uint8_t> bytes) {
    std::array<char, 32> time{};
    std::snprintf(time.data(), time.size(), "%.3f", milliseconds);
    std::string line = time.data();
    line += ' ';
    line += op;
    line += ' ';
    line += kind;
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (std::uint8_t b : bytes) {
        line += ' ';
        line += kHex[b >> 4];
        line += kHex[b & 0x0F];
    }
    return line;
}

void HidTraceWriter::write(std::string_view op, std::uint16_t product, std::span<const std::uint8_t> bytes) {
    const std::optional<ConnectionKind> kind = kindOfDevice(kZavrinVendorId, product);
    const double ms = std::chrono::duration<double, std::milli>(clock_.now()).count();
    const std::string line = formatLine(ms, op, kind ? kindName(*kind) : "other", bytes);
    std::lock_guard lock(mutex_);
    out_ << line << '\n';
    out_.flush();
}

TraceTransport::TraceTransport(std::unique_ptr<Transport> inner, std::shared_ptr<HidTraceWriter> trace)
    : inner_(std::move(inner)), trace_(std::move(trace)) {}

std::unique_ptr<HidHandle> TraceTransport::open(const HidInterfaceInfo& where) {
    std::unique_ptr<HidHandle> handle = inner_->open(where);
    if (!handle) return nullptr;
    return std::make_unique<TracedHandle>(std::move(handle), trace_);
}

}  // namespace zavrin
