#pragma once

#include <memory>

#include "platform/Canvas.h"

namespace zavrin {

// The drawing backend for Linux and headless runs: cairo for pictures and
// shapes, pango (through fontconfig) for text, cairo's PNG reader and writer for
// PNG and a small reader for uncompressed BMP files.
std::unique_ptr<Graphics> CreateCairoGraphics();

}  // namespace zavrin
