#pragma once

#include <cstdint>
#include <string_view>

namespace zavrin {

// Names that are fixed in the program rather than taken from the language file.
// Every lookup outside its table yields an empty text, except keyName, which
// covers all 256 codes.

// Windows virtual-key code to name; 0xE0..0xE7 are the mouse pseudo-keys of macros.
std::string_view keyName(std::uint8_t code);

inline constexpr int kPollingRateCount = 7;
// Polling-rate code 0..6 to "125Hz" ... "8000Hz".
std::string_view pollingRateName(int code);

inline constexpr int kDpiLockCount = 11;
// DPI-lock value 1..11 to "200" ... "1200".
std::string_view dpiLockName(int n);

// Lighting brightness, taken modulo 4, to "25%" ... "100%".
std::string_view brightnessName(int b);

}  // namespace zavrin
