#pragma once

// Internal to the window layer: what the layer knows of one window. Not for use
// outside platform/.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Canvas.h"
#include "platform/Image.h"
#include "platform/Window.h"

namespace zavrin {

// A plain record kept by WindowTable; the parts of the layer each change the
// fields of their own job (Placement the geometry and the shown, enabled and
// topmost state, PaintQueue the surface and the invalid part, WindowTable the
// life), and the functions of Window.h the title, the styles and the opacity.
struct WindowRecord {
    HWND hwnd;
    CWnd* object = nullptr;
    HWND owner;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t classStyle = 0;
    RECT rect;
    std::string title;
    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool maximized = false;
    std::uint8_t opacity = 255;
    Image surface;
    RECT update;  // bounding box of the invalid part; empty when valid
    bool erase = false;
    bool beganPaint = false;  // BeginPaint ran during the current WM_PAINT
    std::unique_ptr<Canvas> paintCanvas;
    int dispatchDepth = 0;
    bool destroying = false;
    bool destroyed = false;
};

inline bool IsTopmost(const WindowRecord* r) { return r != nullptr && (r->exStyle & WS_EX_TOPMOST) != 0; }

}  // namespace zavrin
