#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zavrin {

// UTF-8 to and from code points. Malformed input (a bad lead byte, a missing
// or wrong continuation byte, a surrogate, a value past U+10FFFF) decodes to
// U+FFFD and consumes one byte, so foreign bytes never stop a conversion.

// Decodes the sequence that starts at text[i] and moves i past it.
char32_t decodeUtf8(std::string_view text, std::size_t& i);
void appendUtf8(std::string& out, char32_t c);

std::u32string utf8ToCodePoints(std::string_view text);
std::string codePointsToUtf8(std::u32string_view codePoints);

}  // namespace zavrin
