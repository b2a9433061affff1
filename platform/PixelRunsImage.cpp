#include "platform/PixelRunsImage.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/Canvas.h"
#include "platform/PixelRuns.h"

namespace zavrin {

namespace {

constexpr std::uint32_t kRepeatBit = 0x80000000u;
constexpr std::size_t kHeaderBytes = 12;
constexpr int kLargestSide = 16384;
// Rows are decoded into a strip of about this size and copied from there: small
// enough to stay in the cache and on the heap's reused memory, large enough
// that the copies are few.
constexpr std::size_t kStripBytes = 64 * 1024;

}  // namespace

std::uint32_t PixelRunsImage::word(std::size_t at) const {
    return static_cast<std::uint32_t>(bytes_[at]) | (static_cast<std::uint32_t>(bytes_[at + 1]) << 8) |
           (static_cast<std::uint32_t>(bytes_[at + 2]) << 16) | (static_cast<std::uint32_t>(bytes_[at + 3]) << 24);
}

std::shared_ptr<const PixelRunsImage> PixelRunsImage::Open(std::span<const std::uint8_t> bytes) {
    return Scan(std::shared_ptr<PixelRunsImage>(new PixelRunsImage), bytes);
}

std::shared_ptr<const PixelRunsImage> PixelRunsImage::OpenOwned(std::vector<std::uint8_t> bytes) {
    std::shared_ptr<PixelRunsImage> image(new PixelRunsImage);
    image->owned_ = std::move(bytes);
    const std::span<const std::uint8_t> held(image->owned_);
    return Scan(std::move(image), held);
}

std::shared_ptr<PixelRunsImage> PixelRunsImage::Scan(std::shared_ptr<PixelRunsImage> image,
                                                     std::span<const std::uint8_t> bytes) {
    if (!LooksLikePixelRuns(bytes) || bytes.size() < kHeaderBytes || bytes.size() % 4 != 0) return nullptr;
    image->bytes_ = bytes;
    const std::uint32_t width = image->word(4);
    const std::uint32_t height = image->word(8);
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide) return nullptr;
    image->width_ = static_cast<int>(width);
    image->height_ = static_cast<int>(height);
    image->rows_.reserve(height);

    const std::size_t total = static_cast<std::size_t>(width) * height;
    std::uint64_t red = 0;
    std::uint64_t green = 0;
    std::uint64_t blue = 0;
    bool opaque = true;
    auto account = [&](std::uint32_t p, std::size_t n) {
        red += ((p >> 16) & 0xFF) * n;
        green += ((p >> 8) & 0xFF) * n;
        blue += (p & 0xFF) * n;
        opaque = opaque && (p >> 24) == 0xFF;
    };
    std::size_t filled = 0;
    std::size_t at = kHeaderBytes;
    while (filled < total) {
        if (at + 4 > bytes.size()) return nullptr;
        const std::size_t block = at;
        const std::uint32_t count = image->word(at);
        at += 4;
        const std::size_t n = count & ~kRepeatBit;
        if (n == 0 || n > total - filled) return nullptr;
        if ((count & kRepeatBit) != 0) {
            if (at + 4 > bytes.size()) return nullptr;
            account(image->word(at), n);
            at += 4;
        } else {
            if (n > (bytes.size() - at) / 4) return nullptr;
            for (std::size_t i = 0; i < n; ++i, at += 4) account(image->word(at), 1);
        }
        // Every row whose first pixel lies in this block starts here.
        for (std::size_t row = image->rows_.size(); row < height && row * width < filled + n; ++row) {
            image->rows_.push_back(
                RowStart{static_cast<std::uint32_t>(block), static_cast<std::uint32_t>(row * width - filled)});
        }
        filled += n;
    }
    if (at != bytes.size()) return nullptr;
    image->opaque_ = opaque;
    image->average_ = RGB(static_cast<std::uint8_t>(red / total), static_cast<std::uint8_t>(green / total),
                          static_cast<std::uint8_t>(blue / total));
    return image;
}

void PixelRunsImage::decodeRow(int y, int left, int right, std::uint32_t* out) const {
    const RowStart start = rows_[static_cast<std::size_t>(y)];
    std::size_t at = start.block;
    std::size_t skip = start.skip + static_cast<std::size_t>(left);
    std::size_t need = static_cast<std::size_t>(right - left);
    while (need > 0) {
        const std::uint32_t count = word(at);
        const std::size_t n = count & ~kRepeatBit;
        const bool repeat = (count & kRepeatBit) != 0;
        const std::size_t blockBytes = 4 + (repeat ? 4 : 4 * n);
        if (skip >= n) {
            skip -= n;
            at += blockBytes;
            continue;
        }
        const std::size_t take = std::min(n - skip, need);
        if (repeat) {
            std::fill_n(out, take, word(at + 4));
        } else if constexpr (std::endian::native == std::endian::little) {
            // The runs are stored little-endian: literal pixels are copied as they lie.
            std::memcpy(out, bytes_.data() + at + 4 + 4 * skip, take * 4);
        } else {
            for (std::size_t i = 0; i < take; ++i) out[i] = word(at + 4 + 4 * (skip + i));
        }
        out += take;
        need -= take;
        skip = 0;
        at += blockBytes;
    }
}

Image PixelRunsImage::decode() const {
    Image image(width_, height_);
    for (int y = 0; y < height_; ++y) decodeRow(y, 0, width_, image.data() + static_cast<std::size_t>(y) * width_);
    return image;
}

void PixelRunsImage::CopyTo(Canvas& dc, POINT dstTopLeft, const RECT& src, const RECT& visible) const {
    // What is visible, in the picture's own coordinates.
    const int dx = src.left - dstTopLeft.x;
    const int dy = src.top - dstTopLeft.y;
    const RECT seen{visible.left + dx, visible.top + dy, visible.right + dx, visible.bottom + dy};
    const RECT part = IntersectRect(IntersectRect(src, bounds()), seen);
    if (IsRectEmpty(part)) return;
    const int w = part.width();
    const int stripRows =
        std::min(part.height(), std::max(1, static_cast<int>(kStripBytes / (static_cast<std::size_t>(w) * 4))));
    Image strip(w, stripRows);
    for (int y = part.top; y < part.bottom; y += stripRows) {
        const int rows = std::min(stripRows, part.bottom - y);
        for (int i = 0; i < rows; ++i)
            decodeRow(y + i, part.left, part.right, strip.data() + static_cast<std::size_t>(i) * w);
        dc.CopyImage(strip, POINT{part.left - dx, y - dy}, RECT{0, 0, w, rows});
    }
}

}  // namespace zavrin
