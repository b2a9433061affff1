#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zavrin {

// Large generated pictures (the main window's frame, the colour palette) are
// compiled into the program as runs of premultiplied ARGB pixels rather than
// as PNG: flat areas and rules make them short, and reading them back is
// little more than filling memory, so the first frame does not wait for an
// inflate and a colour conversion of a million pixels.
//
// Layout (all numbers 32-bit little-endian): the magic "ZRUN", the width, the
// height, then blocks until width x height pixels are given. A block starts
// with a count word: with its top bit set, the next word is one pixel repeated
// (count & 0x7FFFFFFF) times; without it, `count` pixels follow one by one.
inline constexpr std::uint8_t kPixelRunsMagic[4] = {'Z', 'R', 'U', 'N'};

struct PixelRuns {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // rows top to bottom, no padding
};

// Whether `bytes` start like pixel runs (they may still be broken).
bool LooksLikePixelRuns(std::span<const std::uint8_t> bytes);

// The pixels; nothing when the data is cut short, too long, empty or
// describes more pixels than its size allows.
std::optional<PixelRuns> DecodePixelRuns(std::span<const std::uint8_t> bytes);

// `pixels` (width x height, rows top to bottom) as pixel runs.
std::vector<std::uint8_t> EncodePixelRuns(int width, int height, std::span<const std::uint32_t> pixels);

}  // namespace zavrin
