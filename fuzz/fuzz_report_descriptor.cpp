// links: zavrin_device
#include <cstddef>
#include <cstdint>
#include <span>

#include "device/ReportDescriptor.h"

// Any descriptor a HID node may hand the hidraw backend.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto collections = zavrin::parseReportDescriptor(std::span<const std::uint8_t>(data, size));
    if (collections.size() > size) __builtin_trap();  // every collection costs at least one item
    return 0;
}
