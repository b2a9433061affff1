#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Geometry.h"

namespace zavrin {

// A picture in memory: width x height pixels, each a 32-bit premultiplied ARGB
// value (alpha in the high byte, then red, green, blue), rows top to bottom with
// no padding. This is the layout cairo's ARGB32 surfaces and GDI+'s PARGB
// bitmaps use, so a canvas can draw straight into it. Window surfaces, off-screen
// bitmaps and loaded skin pictures are all Images.
//
// An Image is a plain value: a copy has pixels of its own. It is not
// thread-safe, but independent images may be used on different threads.
//
// New pictures get zeroed memory from the system (calloc) instead of a
// clearing pass of their own: a window surface that is painted over at once is
// then written once, and the pages of a large one are first touched by the
// paint, which is what new memory costs.
class Image {
public:
    Image() = default;
    Image(const Image& other);
    Image& operator=(const Image& other);
    Image(Image&& other) noexcept;
    Image& operator=(Image&& other) noexcept;
    ~Image() = default;
    // A transparent (all-zero) picture; sizes below 0 count as 0.
    Image(int width, int height);
    // A picture made of rows of premultiplied ARGB pixels, width by height of
    // them (copied). Pixels that do not match the size make an empty picture.
    // A decoder writes into data() of a new picture instead: that costs no
    // clearing either.
    Image(int width, int height, const std::vector<std::uint32_t>& pixels);

    // A picture over memory that `keeper` holds alive: a window surface the
    // desktop reads directly, so that frames are painted in place instead of
    // being copied. `pixels` holds width x height pixels with no padding. A
    // copy of such a picture is an ordinary one.
    static Image Over(int width, int height, std::uint32_t* pixels, std::shared_ptr<void> keeper);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ <= 0 || height_ <= 0; }
    SIZE size() const { return SIZE{width_, height_}; }
    RECT bounds() const { return RECT{0, 0, width_, height_}; }

    // Raw premultiplied ARGB; 0 outside the picture.
    std::uint32_t argb(int x, int y) const;
    void setArgb(int x, int y, std::uint32_t value);

    // The colour at (x, y) as 0x00BBGGRR, un-premultiplied; 0 outside the picture.
    COLORREF colorAt(int x, int y) const;
    // Alpha at (x, y), 0 (transparent) to 255 (opaque); 0 outside the picture.
    std::uint8_t alphaAt(int x, int y) const;

    // Whether every pixel is fully opaque (an empty picture is).
    bool isOpaque() const;

    // Fills the whole picture with an opaque colour.
    void fill(COLORREF color);

    // Copies the part of `other` that fits into this picture, at the same
    // place, and keeps this picture's memory (a surface shown in place).
    void copyFrom(const Image& other);

    std::uint32_t* data() { return pixels_; }
    const std::uint32_t* data() const { return pixels_; }
    int strideBytes() const { return width_ * 4; }

    // Average colour over all pixels (integer mean of each of red, green and blue,
    // alpha ignored), as the dialog frame cache needs it; 0 for an empty picture.
    COLORREF averageColor() const;

private:
    std::size_t count() const { return static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_); }
    void allocate(int width, int height);

    int width_ = 0;
    int height_ = 0;
    std::uint32_t* pixels_ = nullptr;
    std::shared_ptr<void> memory_;  // keeps pixels_ alive
};

// Premultiplied ARGB of an opaque colour.
constexpr std::uint32_t OpaqueArgb(COLORREF c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace zavrin
