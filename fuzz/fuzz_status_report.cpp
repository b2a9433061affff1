// links: zavrin_device
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/Reports.h"

// Any bytes a reader thread may receive: every connection and rate class.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> report(data, size);
    for (zavrin::ConnectionKind kind : zavrin::kSendPriority) {
        for (int capability : {1, 4, 8}) {
            const auto status = zavrin::DecodeStatus(kind, report, capability);
            if (status && status->pollingRateIndex > zavrin::kHighestRateIndex) __builtin_trap();
        }
    }
    (void)zavrin::decodeDeviceInfo(report);
    return 0;
}
