#pragma once

#include <memory>

#include "platform/Canvas.h"

// The drawing backend the canvas and picture tests run against: cairo on Linux,
// GDI+ on Windows (the same tests then check both against one set of rules).
#ifdef _WIN32
#include "platform/win32/GdiplusGraphics.h"
inline std::unique_ptr<zavrin::Graphics> CreateTestGraphics() { return zavrin::CreateGdiplusGraphics(); }
#else
#include "platform/cairo/CairoGraphics.h"
inline std::unique_ptr<zavrin::Graphics> CreateTestGraphics() { return zavrin::CreateCairoGraphics(); }
#endif
