#include "platform/cairo/CairoGraphics.h"

#include <algorithm>

#include <cairo.h>

#include <cstring>

#include "platform/cairo/BmpReader.h"
#include "platform/cairo/CairoCanvas.h"

namespace zavrin {

namespace {

struct ReadCursor {
    std::span<const std::uint8_t> bytes;
    std::size_t offset = 0;
};

cairo_status_t ReadFromSpan(void* closure, unsigned char* data, unsigned int length) {
    auto* cursor = static_cast<ReadCursor*>(closure);
    if (cursor->offset + length > cursor->bytes.size()) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, cursor->bytes.data() + cursor->offset, length);
    cursor->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t AppendToVector(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

bool DecodePng(std::span<const std::uint8_t> bytes, Image& out) {
    ReadCursor cursor{bytes, 0};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(ReadFromSpan, &cursor);
    bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    if (ok) {
        cairo_surface_flush(surface);
        const int w = cairo_image_surface_get_width(surface);
        const int h = cairo_image_surface_get_height(surface);
        const int stride = cairo_image_surface_get_stride(surface);
        const cairo_format_t format = cairo_image_surface_get_format(surface);
        const unsigned char* data = cairo_image_surface_get_data(surface);
        ok = data != nullptr && (format == CAIRO_FORMAT_ARGB32 || format == CAIRO_FORMAT_RGB24);
        if (ok) {
            Image image(w, h);
            std::uint32_t* pixels = image.data();
            for (int y = 0; y < h; ++y) {
                // Cairo's rows are 32-bit pixels at a 4-byte aligned stride.
                const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
                std::copy(row, row + w, pixels + static_cast<std::size_t>(y) * w);
            }
            // RGB24 leaves the top byte undefined; such pictures are opaque.
            if (format == CAIRO_FORMAT_RGB24) {
                const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
                for (std::size_t i = 0; i < count; ++i) pixels[i] |= 0xFF000000u;
            }
            out = std::move(image);
        }
    }
    cairo_surface_destroy(surface);
    return ok;
}

class CairoGraphics final : public Graphics {
public:
    std::unique_ptr<Canvas> CreateCanvas(Image& target) override {
        return std::make_unique<CairoCanvas>(target, fonts_);
    }

    bool DecodeImage(std::span<const std::uint8_t> bytes, Image& out) override {
        static constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        if (bytes.size() >= sizeof kPngSignature && std::memcmp(bytes.data(), kPngSignature, sizeof kPngSignature) == 0) {
            return DecodePng(bytes, out);
        }
        if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return ReadBmp(bytes, out);
        return false;
    }

    bool EncodePng(const Image& image, std::vector<std::uint8_t>& out) override {
        if (image.empty()) return false;
        cairo_surface_t* surface = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.data())), CAIRO_FORMAT_ARGB32,
            image.width(), image.height(), image.strideBytes());
        out.clear();
        const bool ok = cairo_surface_write_to_png_stream(surface, AppendToVector, &out) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
        return ok;
    }

private:
    FontCache fonts_;
};

}  // namespace

std::unique_ptr<Graphics> CreateCairoGraphics() { return std::make_unique<CairoGraphics>(); }

}  // namespace zavrin
