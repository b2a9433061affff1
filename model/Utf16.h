#pragma once

namespace zavrin {

// UTF-16 surrogate pairs: a code point past U+FFFF travels as a high unit
// (D800-DBFF) followed by a low unit (DC00-DFFF). Either one alone stands for
// nothing; what to do with it is the reader's choice.
constexpr bool isHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
constexpr bool isLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }
constexpr bool isSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDFFF; }

// The code point of a high and a low unit.
constexpr char32_t joinSurrogates(char32_t high, char32_t low) {
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

static_assert(joinSurrogates(0xD83D, 0xDE00) == 0x1F600);
static_assert(joinSurrogates(0xDBFF, 0xDFFF) == 0x10FFFF);

}  // namespace zavrin
