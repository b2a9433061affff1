#pragma once

#include <memory>

#include "platform/Canvas.h"

namespace zavrin {

// The fonts the canvases of one GDI+ backend share: each Font resolved once to
// an installed face at the right size. Safe to use from several threads.
class GdiplusFontCache;
std::shared_ptr<GdiplusFontCache> CreateGdiplusFontCache();

// A canvas over `target` with the text, alignment, ellipsis and clipping rules
// of Canvas.h. GDI+ must be started (CreateGdiplusGraphics does that).
std::unique_ptr<Canvas> CreateGdiplusCanvas(Image& target, std::shared_ptr<GdiplusFontCache> fonts);

}  // namespace zavrin
