#include "platform/Image.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace zavrin {

void Image::allocate(int width, int height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_ = nullptr;
    memory_.reset();
    if (count() == 0) return;
    // The zeroed memory is the transparent picture.
    void* memory = std::calloc(count(), sizeof(std::uint32_t));
    if (memory == nullptr) throw std::bad_alloc();
    memory_ = std::shared_ptr<void>(memory, std::free);
    pixels_ = static_cast<std::uint32_t*>(memory);
}

Image::Image(int width, int height) { allocate(width, height); }

Image::Image(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        return;
    }
    allocate(width, height);
    std::memcpy(pixels_, pixels.data(), count() * sizeof(std::uint32_t));
}

Image Image::Over(int width, int height, std::uint32_t* pixels, std::shared_ptr<void> keeper) {
    Image image;
    if (width <= 0 || height <= 0 || pixels == nullptr) return image;
    image.width_ = width;
    image.height_ = height;
    image.pixels_ = pixels;
    image.memory_ = std::move(keeper);
    return image;
}

Image::Image(const Image& other) {
    allocate(other.width_, other.height_);
    if (count() != 0) std::memcpy(pixels_, other.pixels_, count() * sizeof(std::uint32_t));
}

Image& Image::operator=(const Image& other) {
    if (this != &other) *this = Image(other);
    return *this;
}

Image::Image(Image&& other) noexcept
    : width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)),
      pixels_(std::exchange(other.pixels_, nullptr)), memory_(std::move(other.memory_)) {}

Image& Image::operator=(Image&& other) noexcept {
    if (this == &other) return *this;
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pixels_ = std::exchange(other.pixels_, nullptr);
    memory_ = std::move(other.memory_);
    return *this;
}

void Image::copyFrom(const Image& other) {
    const int w = std::min(width_, other.width_);
    const int h = std::min(height_, other.height_);
    if (w <= 0 || h <= 0) return;
    for (int y = 0; y < h; ++y) {
        std::memcpy(pixels_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_),
                    other.pixels_ + static_cast<std::size_t>(y) * static_cast<std::size_t>(other.width_),
                    static_cast<std::size_t>(w) * sizeof(std::uint32_t));
    }
}

bool Image::isOpaque() const {
    return std::all_of(pixels_, pixels_ + count(), [](std::uint32_t p) { return (p >> 24) == 0xFF; });
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

void Image::fill(COLORREF color) { std::fill(pixels_, pixels_ + count(), OpaqueArgb(color)); }

COLORREF Image::averageColor() const {
    if (count() == 0) return 0;
    std::uint64_t r = 0;
    std::uint64_t g = 0;
    std::uint64_t b = 0;
    for (const std::uint32_t* it = pixels_; it != pixels_ + count(); ++it) {
        const std::uint32_t p = *it;
        r += (p >> 16) & 0xFF;
        g += (p >> 8) & 0xFF;
        b += p & 0xFF;
    }
    const std::uint64_t n = count();
    return RGB(static_cast<std::uint8_t>(r / n), static_cast<std::uint8_t>(g / n), static_cast<std::uint8_t>(b / n));
}

}  // namespace zavrin
