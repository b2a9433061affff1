#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zavrin {

// Number conversions with the forgiving rules of the data files: leading blanks
// are skipped, a sign is allowed, digits are taken as far as they go and a field
// without digits converts as 0. Values that overflow saturate.
long parseDecimal(std::string_view text);
unsigned long parseUnsignedDecimal(std::string_view text);
// Base 16; an optional "0x"/"0X" prefix after the sign is accepted.
unsigned long parseHex(std::string_view text);

// The two-digit hex byte that starts at `pos` of `text`; a field cut beyond the
// end of the text converts as 0, and a field whose digits are not hex converts as
// far as its digits go.
std::uint8_t hexByteAt(std::string_view text, std::size_t pos);

// "%.2X" of one byte, appended to `out`.
void appendHexByte(std::string& out, std::uint8_t value);
// Colours are 0x00BBGGRR and are written as red, green, blue pairs.
void appendColorRgb(std::string& out, std::uint32_t bgr);
std::uint32_t colorFromRgbAt(std::string_view text, std::size_t pos);

// printf-style "%d"/"%u" without the locale.
std::string decimal(long long value);

}  // namespace zavrin
