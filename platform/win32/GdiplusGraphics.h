#pragma once

#include <memory>

#include "platform/Canvas.h"

namespace zavrin {

// The drawing backend on Windows: GDI+ canvases drawing straight into Images
// (32-bit premultiplied ARGB, the layout GDI+ calls PARGB), PNG and BMP decoding
// and PNG encoding through GDI+'s codecs. GDI+ is started for as long as one
// such backend lives.
std::unique_ptr<Graphics> CreateGdiplusGraphics();

}  // namespace zavrin
