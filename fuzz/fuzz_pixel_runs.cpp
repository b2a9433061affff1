// links: zavrin_platform
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/PixelRuns.h"
#include "platform/PixelRunsImage.h"
#include "platform/ReadyMadeFrames.h"

// Any pixel runs, as a ready-made frame file from the skins folder brings
// them: the row-by-row reader must accept exactly what the whole-picture
// decoder accepts and give the same pixels, and a frame file's header must
// never let a frame through for another picture.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    zavrin::PictureFingerprint nothing;
    if (const auto runs = zavrin::ReadyMadeFrameRuns(input, nothing)) {
        if (nothing.size() != 0 || runs->size() + 20 != input.size()) __builtin_trap();
    }
    const auto image = zavrin::PixelRunsImage::OpenOwned(std::vector<std::uint8_t>(input.begin(), input.end()));
    // Pictures that claim up to a million pixels are also decoded whole and
    // compared; larger ones only have their first row read, so that a run
    // stays quick and small.
    std::size_t claimed = 0;
    if (size >= 12) {
        auto word = [&](std::size_t at) {
            return static_cast<std::size_t>(data[at]) | static_cast<std::size_t>(data[at + 1]) << 8 |
                   static_cast<std::size_t>(data[at + 2]) << 16 | static_cast<std::size_t>(data[at + 3]) << 24;
        };
        claimed = word(4) * word(8);
    }
    const bool small = claimed <= (1u << 20);
    const auto decoded = small ? zavrin::DecodePixelRuns(input) : std::nullopt;
    if (small && static_cast<bool>(image) != decoded.has_value()) __builtin_trap();
    if (!image) return 0;
    std::vector<std::uint32_t> row(static_cast<std::size_t>(image->width()));
    const int rows = decoded ? image->height() : 1;
    for (int y = 0; y < rows; ++y) {
        image->decodeRow(y, 0, image->width(), row.data());
        if (!decoded) continue;
        for (int x = 0; x < image->width(); ++x) {
            if (row[static_cast<std::size_t>(x)] !=
                decoded->pixels[static_cast<std::size_t>(y) * image->width() + static_cast<std::size_t>(x)])
                __builtin_trap();
        }
    }
    return 0;
}
