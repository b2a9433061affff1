#pragma once

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "platform/Geometry.h"

namespace zavrin {

namespace detail {

// Memory for pixels that comes zeroed from the system (calloc), so that a new
// picture is not cleared by a pass of its own: a window surface that is
// painted over at once is then written once, and the pages of a large one
// are touched first by the paint. Elements made without a value are left as
// the memory holds them, zero; the pixels of an Image are only ever made so
// when their memory is new.
template <class T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <class U>
    ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        void* p = std::calloc(n, sizeof(T));
        if (p == nullptr) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }
    template <class U>
    void construct(U*) noexcept {}
    template <class U, class... Args>
    void construct(U* p, Args&&... args) {
        ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
    }
    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};

}  // namespace detail

// A picture in memory: width x height pixels, each a 32-bit premultiplied ARGB
// value (alpha in the high byte, then red, green, blue), rows top to bottom with
// no padding. This is the layout cairo's ARGB32 surfaces and GDI+'s PARGB
// bitmaps use, so a canvas can draw straight into it. Window surfaces, off-screen
// bitmaps and loaded skin pictures are all Images.
//
// An Image is a plain value; it is not thread-safe, but independent images may
// be used on different threads.
class Image {
public:
    Image() = default;
    // A transparent (all-zero) picture; sizes below 0 count as 0.
    Image(int width, int height);
    // A picture made of rows of premultiplied ARGB pixels, width by height of
    // them (copied). Pixels that do not match the size make an empty picture.
    // A decoder writes into data() of a new picture instead: that costs no
    // clearing either.
    Image(int width, int height, const std::vector<std::uint32_t>& pixels);

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

    std::uint32_t* data() { return pixels_.data(); }
    const std::uint32_t* data() const { return pixels_.data(); }
    int strideBytes() const { return width_ * 4; }

    // Average colour over all pixels (integer mean of each of red, green and blue,
    // alpha ignored), as the dialog frame cache needs it; 0 for an empty picture.
    COLORREF averageColor() const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t, detail::ZeroedAllocator<std::uint32_t>> pixels_;
};

// Premultiplied ARGB of an opaque colour.
constexpr std::uint32_t OpaqueArgb(COLORREF c) {
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace zavrin
