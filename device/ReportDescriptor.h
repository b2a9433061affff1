#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace zavrin {

// What a HID report descriptor says about one top-level collection, in the terms
// the device logic uses to tell interfaces apart.
struct CollectionCaps {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    // Longest report of each kind in bytes, the report id byte included (a byte
    // is counted for it even when the descriptor uses no report ids); 0 when the
    // collection has no report of that kind.
    std::uint16_t inputReportLength = 0;
    std::uint16_t outputReportLength = 0;
    std::uint16_t featureReportLength = 0;
};

// Parses a report descriptor into its top-level collections, in order. Any byte
// sequence is accepted: a damaged or truncated descriptor yields what could be
// understood up to the damage. Pure function; any thread.
std::vector<CollectionCaps> parseReportDescriptor(std::span<const std::uint8_t> descriptor);

}  // namespace zavrin
