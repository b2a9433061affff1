#include "platform/Image.h"

#include <algorithm>

namespace zavrin {

Image::Image(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      // Made without a value: the zeroed memory is the transparent picture.
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_)) {}

Image::Image(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return;
    }
    width_ = width;
    height_ = height;
    pixels_.assign(pixels.begin(), pixels.end());
}

bool Image::isOpaque() const {
    return std::all_of(pixels_.begin(), pixels_.end(), [](std::uint32_t p) { return (p >> 24) == 0xFF; });
}

std::uint32_t Image::argb(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
}

void Image::setArgb(int x, int y, std::uint32_t value) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)] = value;
}

std::uint8_t Image::alphaAt(int x, int y) const { return static_cast<std::uint8_t>(argb(x, y) >> 24); }

COLORREF Image::colorAt(int x, int y) const {
    const std::uint32_t p = argb(x, y);
    const std::uint32_t a = p >> 24;
    if (a == 0) return 0;
    // Undo the premultiplication with rounding, so that an opaque colour comes
    // back exactly and a blended one as close as 8 bits allow.
    auto channel = [&](int shift) {
        const std::uint32_t c = (p >> shift) & 0xFF;
        return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
    };
    return RGB(channel(16), channel(8), channel(0));
}

void Image::fill(COLORREF color) { std::fill(pixels_.begin(), pixels_.end(), OpaqueArgb(color)); }

COLORREF Image::averageColor() const {
    if (pixels_.empty()) return 0;
    std::uint64_t r = 0;
    std::uint64_t g = 0;
    std::uint64_t b = 0;
    for (std::uint32_t p : pixels_) {
        r += (p >> 16) & 0xFF;
        g += (p >> 8) & 0xFF;
        b += p & 0xFF;
    }
    const std::uint64_t n = pixels_.size();
    return RGB(static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n), static_cast<std::uint8_t>(b / n));
}

}  // namespace zavrin
