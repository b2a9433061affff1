#include "platform/PixelRuns.h"

#include <algorithm>
#include <cstring>

namespace zavrin {

namespace {

constexpr std::uint32_t kRepeatBit = 0x80000000u;
constexpr std::size_t kHeaderBytes = 12;
// Runs shorter than this cost more as a repeat block than as literal pixels.
constexpr std::size_t kShortestRepeat = 3;

std::uint32_t ReadWord(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

bool LooksLikePixelRuns(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= sizeof kPixelRunsMagic &&
           std::memcmp(bytes.data(), kPixelRunsMagic, sizeof kPixelRunsMagic) == 0;
}

std::optional<PixelRuns> DecodePixelRuns(std::span<const std::uint8_t> bytes) {
    if (!LooksLikePixelRuns(bytes) || bytes.size() < kHeaderBytes || bytes.size() % 4 != 0) return std::nullopt;
    const std::uint32_t width = ReadWord(bytes, 4);
    const std::uint32_t height = ReadWord(bytes, 8);
    // A picture of at most 16384 x 16384: the product fits easily, and nothing
    // generated comes near it.
    if (width == 0 || height == 0 || width > 16384 || height > 16384) return std::nullopt;
    const std::size_t total = static_cast<std::size_t>(width) * height;
    PixelRuns result;
    result.width = static_cast<int>(width);
    result.height = static_cast<int>(height);
    result.pixels.resize(total);
    std::uint32_t* out = result.pixels.data();
    std::size_t filled = 0;
    std::size_t at = kHeaderBytes;
    while (filled < total) {
        if (at + 4 > bytes.size()) return std::nullopt;
        const std::uint32_t count = ReadWord(bytes, at);
        at += 4;
        const std::size_t n = count & ~kRepeatBit;
        if (n == 0 || n > total - filled) return std::nullopt;
        if ((count & kRepeatBit) != 0) {
            if (at + 4 > bytes.size()) return std::nullopt;
            std::fill_n(out + filled, n, ReadWord(bytes, at));
            at += 4;
        } else {
            if (n > (bytes.size() - at) / 4) return std::nullopt;
            for (std::size_t i = 0; i < n; ++i, at += 4) out[filled + i] = ReadWord(bytes, at);
        }
        filled += n;
    }
    if (at != bytes.size()) return std::nullopt;
    return result;
}

std::vector<std::uint8_t> EncodePixelRuns(int width, int height, std::span<const std::uint32_t> pixels) {
    std::vector<std::uint8_t> out(kPixelRunsMagic, kPixelRunsMagic + sizeof kPixelRunsMagic);
    PutWord(out, static_cast<std::uint32_t>(width));
    PutWord(out, static_cast<std::uint32_t>(height));
    const std::size_t total = std::min(pixels.size(), static_cast<std::size_t>(std::max(width, 0)) *
                                                          static_cast<std::size_t>(std::max(height, 0)));
    std::size_t i = 0;
    std::size_t literalStart = 0;
    auto flushLiterals = [&](std::size_t end) {
        if (end > literalStart) {
            PutWord(out, static_cast<std::uint32_t>(end - literalStart));
            for (std::size_t k = literalStart; k < end; ++k) PutWord(out, pixels[k]);
        }
    };
    while (i < total) {
        std::size_t run = 1;
        while (i + run < total && pixels[i + run] == pixels[i] && run < (kRepeatBit - 1)) ++run;
        if (run >= kShortestRepeat) {
            flushLiterals(i);
            PutWord(out, kRepeatBit | static_cast<std::uint32_t>(run));
            PutWord(out, pixels[i]);
            i += run;
            literalStart = i;
        } else {
            i += run;
        }
    }
    flushLiterals(total);
    return out;
}

}  // namespace zavrin
