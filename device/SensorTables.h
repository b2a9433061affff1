#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace zavrin {

// One DPI step of a sensor: the DPI value in units of 50 DPI and the 16-bit code
// the sensor takes for it. A profile's `xySetting` holds step indexes.
struct SensorStep {
    std::uint16_t value50 = 0;
    std::uint16_t code = 0;
};

// The DPI step table of one sensor; empty for a sensor the program does not know.
struct SensorTable {
    std::uint16_t sensorId = 0;
    std::span<const SensorStep> steps;

    std::size_t size() const { return steps.size(); }
    // DPI value of a step, or nullopt for a step the table does not have.
    std::optional<int> dpiOfStep(std::size_t step) const;
    // Sensor code of a step; 0 for a step the table does not have, so a damaged
    // profile can never read past the table.
    std::uint16_t codeOfStep(std::size_t step) const;
};

// The table chosen once at start-up by the "Sensor" setting.
SensorTable sensorTable(std::uint16_t sensorId);

}  // namespace zavrin
