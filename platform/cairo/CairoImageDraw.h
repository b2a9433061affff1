#pragma once

#include <cairo.h>

#include <cstdint>

#include "platform/Canvas.h"

namespace zavrin {

// Draws a block of premultiplied ARGB pixels (`first` is its top-left pixel,
// `srcWidth` x `srcHeight` of them, rows `strideBytes` apart) stretched onto
// `dst` of `cr`, with the filter, edge rule and operator Canvas::DrawImage
// promises. It is the one place that says how a picture is scaled with cairo:
// the canvas draws through it, and so does the skin generator when it makes
// the frames the program would otherwise scale at start, so that the two
// cannot drift apart.
void CairoDrawImage(cairo_t* cr, const std::uint32_t* first, int srcWidth, int srcHeight, int strideBytes,
                    const RECT& dst, const ImageDrawOptions& options);

}  // namespace zavrin
