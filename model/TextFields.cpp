#include "model/TextFields.h"

#include <algorithm>
#include <limits>

namespace zavrin {
namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Digits from `pos` on in `base`, as far as they go, saturating.
unsigned long long digitsFrom(std::string_view text, std::size_t pos, int base) {
    constexpr unsigned long long kMax = std::numeric_limits<unsigned long>::max();
    unsigned long long value = 0;
    for (; pos < text.size(); ++pos) {
        const int d = digitValue(text[pos]);
        if (d >= base) break;
        // Saturate before the multiplication could wrap.
        value = value > kMax / static_cast<unsigned>(base)
                    ? kMax
                    : std::min(kMax, value * static_cast<unsigned>(base) + static_cast<unsigned>(d));
    }
    return value;
}

struct Prefix {
    std::size_t pos = 0;
    bool negative = false;
};

Prefix skipBlanksAndSign(std::string_view text) {
    Prefix p;
    while (p.pos < text.size() && isBlank(text[p.pos])) ++p.pos;
    if (p.pos < text.size() && (text[p.pos] == '+' || text[p.pos] == '-')) {
        p.negative = text[p.pos] == '-';
        ++p.pos;
    }
    return p;
}

}  // namespace

long parseDecimal(std::string_view text) {
    const Prefix p = skipBlanksAndSign(text);
    const unsigned long long magnitude = digitsFrom(text, p.pos, 10);
    constexpr auto kMax = static_cast<unsigned long long>(std::numeric_limits<long>::max());
    const long value = static_cast<long>(magnitude > kMax ? kMax : magnitude);
    return p.negative ? -value : value;
}

unsigned long parseUnsignedDecimal(std::string_view text) {
    const Prefix p = skipBlanksAndSign(text);
    const auto magnitude = static_cast<unsigned long>(digitsFrom(text, p.pos, 10));
    return p.negative ? 0UL - magnitude : magnitude;
}

unsigned long parseHex(std::string_view text) {
    Prefix p = skipBlanksAndSign(text);
    if (p.pos + 1 < text.size() && text[p.pos] == '0' && (text[p.pos + 1] == 'x' || text[p.pos + 1] == 'X') &&
        p.pos + 2 < text.size() && digitValue(text[p.pos + 2]) < 16) {
        p.pos += 2;
    }
    const auto magnitude = static_cast<unsigned long>(digitsFrom(text, p.pos, 16));
    return p.negative ? 0UL - magnitude : magnitude;
}

std::uint8_t hexByteAt(std::string_view text, std::size_t pos) {
    if (pos >= text.size()) return 0;
    // Two clean digits are by far the common case; anything else takes the
    // forgiving general conversion.
    if (pos + 1 < text.size()) {
        const int high = digitValue(text[pos]);
        const int low = digitValue(text[pos + 1]);
        if (high < 16 && low < 16) return static_cast<std::uint8_t>(high * 16 + low);
    }
    return static_cast<std::uint8_t>(parseHex(text.substr(pos, 2)));
}

void appendHexByte(std::string& out, std::uint8_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out.push_back(kDigits[value >> 4]);
    out.push_back(kDigits[value & 0x0F]);
}

void appendColorRgb(std::string& out, std::uint32_t bgr) {
    appendHexByte(out, static_cast<std::uint8_t>(bgr & 0xFF));
    appendHexByte(out, static_cast<std::uint8_t>((bgr >> 8) & 0xFF));
    appendHexByte(out, static_cast<std::uint8_t>((bgr >> 16) & 0xFF));
}

std::uint32_t colorFromRgbAt(std::string_view text, std::size_t pos) {
    return std::uint32_t{hexByteAt(text, pos)} | (std::uint32_t{hexByteAt(text, pos + 2)} << 8) |
           (std::uint32_t{hexByteAt(text, pos + 4)} << 16);
}

std::string decimal(long long value) { return std::to_string(value); }

}  // namespace zavrin
