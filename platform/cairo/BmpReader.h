#pragma once

#include <cstdint>
#include <span>

#include "platform/Image.h"

namespace zavrin {

// Reads an uncompressed Windows bitmap file (BI_RGB with 24 or 32 bits per
// pixel, or BI_BITFIELDS with the standard 32-bit masks; bottom-up or top-down)
// into an opaque Image, as the dialog frames need it. The alpha byte of 32-bit
// BI_RGB pixels is ignored, as GDI does. False, with `out` unchanged, for any
// other kind of file or a file that is cut short.
bool ReadBmp(std::span<const std::uint8_t> bytes, Image& out);

}  // namespace zavrin
