#pragma once

#include <array>
#include <string_view>

#include "model/NameTables.h"

namespace zavrin {

// The values the window offers for the settings with fixed choices. The pages
// that show them and zavrinctl's settings keys both take them from here, so
// that the command line takes exactly what the window can show.

// The polling rates in code order (0 = 125 Hz): the profile's own spelling, as
// the rate buttons store it, and the rate in Hz.
inline constexpr std::array<std::string_view, kPollingRateCount> kPollingRateProfileNames{
    "125HZ", "250HZ", "500HZ", "1000HZ", "2000HZ", "4000HZ", "8000HZ"};
inline constexpr std::array<int, kPollingRateCount> kPollingRateHz{125, 250, 500, 1000, 2000, 4000, 8000};

// Key debounce in ms: the slider has one stop per millisecond.
inline constexpr int kMinDebounceMs = 0;
inline constexpr int kMaxDebounceMs = 30;
inline constexpr int kDebounceStops = kMaxDebounceMs - kMinDebounceMs + 1;

// The power-saving dial's positions (the sleep delay).
inline constexpr int kFirstSleepPosition = 1;
inline constexpr int kLastSleepPosition = 8;

}  // namespace zavrin
