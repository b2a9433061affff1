#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Image.h"

namespace zavrin {

class Canvas;

// A picture kept as its pixel runs (PixelRuns.h) in static storage and decoded
// row by row only where it is drawn. The main window's frame is drawn so at
// scale 1: a decoded copy would be a third full-size picture beside the
// window's surface and the desktop's buffer, and decoding it whole is time
// spent before the first frame on memory that is then only read from.
//
// Opening scans the runs once: it checks them as DecodePixelRuns does, notes
// where each row starts, and takes the average colour and whether every pixel
// is opaque. Drawing then costs no more than a copy of what is drawn.
//
// Immutable once opened; safe to share between threads.
class PixelRunsImage {
public:
    // The picture in `bytes`, which must stay valid as long as it is used; null
    // when the runs are broken (see DecodePixelRuns).
    static std::shared_ptr<const PixelRunsImage> Open(std::span<const std::uint8_t> bytes);
    // The same from bytes read at run time (a file), which the picture keeps.
    static std::shared_ptr<const PixelRunsImage> OpenOwned(std::vector<std::uint8_t> bytes);

    int width() const { return width_; }
    int height() const { return height_; }
    SIZE size() const { return SIZE{width_, height_}; }
    RECT bounds() const { return RECT{0, 0, width_, height_}; }
    bool isOpaque() const { return opaque_; }
    // As Image::averageColor gives it for the decoded picture.
    COLORREF averageColor() const { return average_; }

    // Writes pixels [left, right) of row `y` to `out`; the range must lie in
    // the picture.
    void decodeRow(int y, int left, int right, std::uint32_t* out) const;
    // The whole picture.
    Image decode() const;

    // The part `src` of the picture copied 1:1 to `dstTopLeft`, replacing
    // what was there, as Canvas::CopyImage draws the decoded picture; only
    // the rows and columns inside `visible` (target coordinates) are decoded.
    void CopyTo(Canvas& dc, POINT dstTopLeft, const RECT& src, const RECT& visible) const;

private:
    // Where a row's first pixel lies: the byte offset of its block's count
    // word, and how many of that block's pixels come before it.
    struct RowStart {
        std::uint32_t block = 0;
        std::uint32_t skip = 0;
    };

    PixelRunsImage() = default;
    // Scans `bytes` (which outlive the picture) into a new picture.
    static std::shared_ptr<PixelRunsImage> Scan(std::shared_ptr<PixelRunsImage> image,
                                                std::span<const std::uint8_t> bytes);
    std::uint32_t word(std::size_t at) const;

    // Empty unless the picture holds its bytes itself (OpenOwned).
    std::vector<std::uint8_t> owned_;
    std::span<const std::uint8_t> bytes_;
    int width_ = 0;
    int height_ = 0;
    bool opaque_ = true;
    COLORREF average_ = 0;
    std::vector<RowStart> rows_;
};

}  // namespace zavrin
