#include "platform/cairo/BmpReader.h"

#include <cstdlib>
#include <limits>

namespace zavrin {

namespace {

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
// Larger pictures than this are refused rather than allocated.
constexpr std::int64_t kMaxPixels = std::int64_t{16384} * 16384;

}  // namespace

bool ReadBmp(std::span<const std::uint8_t> b, Image& out) {
    if (b.size() < kFileHeaderSize + kInfoHeaderSize || b[0] != 'B' || b[1] != 'M') return false;
    const std::uint32_t dataOffset = U32(b, 10);
    const std::uint32_t headerSize = U32(b, 14);
    if (headerSize < kInfoHeaderSize) return false;
    const auto width = static_cast<std::int32_t>(U32(b, 18));
    const auto rawHeight = static_cast<std::int32_t>(U32(b, 22));
    const std::uint16_t bits = U16(b, 28);
    const std::uint32_t compression = U32(b, 30);
    if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min()) return false;
    if (bits != 24 && bits != 32) return false;
    if (compression != kBiRgb && !(compression == kBiBitfields && bits == 32)) return false;

    const bool topDown = rawHeight < 0;
    const std::int64_t height = std::llabs(rawHeight);
    if (std::int64_t{width} * height > kMaxPixels) return false;
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    const std::size_t needed = static_cast<std::size_t>(dataOffset) + rowBytes * static_cast<std::size_t>(height);
    if (dataOffset < kFileHeaderSize + headerSize || needed > b.size()) return false;

    Image image(width, static_cast<int>(height));
    const std::size_t bytesPerPixel = bits / 8;
    for (std::int64_t row = 0; row < height; ++row) {
        const std::int64_t y = topDown ? row : height - 1 - row;
        const std::size_t at = dataOffset + rowBytes * static_cast<std::size_t>(row);
        for (std::int32_t x = 0; x < width; ++x) {
            const std::size_t p = at + static_cast<std::size_t>(x) * bytesPerPixel;
            const std::uint32_t blue = b[p];
            const std::uint32_t green = b[p + 1];
            const std::uint32_t red = b[p + 2];
            image.setArgb(x, static_cast<int>(y), 0xFF000000u | (red << 16) | (green << 8) | blue);
        }
    }
    out = std::move(image);
    return true;
}

}  // namespace zavrin
