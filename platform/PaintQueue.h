#pragma once

// Internal to the window layer. Not for use outside platform/.

#include "platform/Backend.h"
#include "platform/ZOrder.h"

namespace zavrin {

class Graphics;

// The invalid part of each window and its painting: WM_PAINT comes when the
// loop has nothing else to do, topmost window first; BeginPaint hands out a
// canvas on the window's surface clipped to the invalid part, and EndPaint
// presents what was drawn. UI thread only.
class PaintQueue {
public:
    PaintQueue(WindowTable& table, const ZOrder& zorder, Backend& backend, Graphics* graphics)
        : table_(table), zorder_(zorder), backend_(backend), graphics_(graphics) {}

    Graphics* graphics() const { return graphics_; }

    bool invalidate(HWND h, const RECT* rect, bool erase);
    bool validate(HWND h, const RECT* rect);
    // Paints the window now if it is visible and has an invalid part.
    bool updateWindow(HWND h);
    Canvas* beginPaint(HWND h, PAINTSTRUCT& ps);
    void endPaint(HWND h, const PAINTSTRUCT& ps);
    // The picture becomes the window's whole content (layered windows).
    bool updateLayered(HWND h, const Image& picture);
    // Sends WM_PAINT to the topmost window that needs it; false when none does.
    bool paintNext();
    // The window changed size: a new surface, all of it invalid.
    void resize(WindowRecord& rec);

private:
    void sendPaint(HWND h);
    // The window's surface, asked of the backend when the window is first
    // painted at its present size: windows are made at one size and given
    // their own before they are shown, and a backend's surface may be memory
    // shared with the desktop, worth setting up once.
    Image& surfaceOf(WindowRecord& rec);

    WindowTable& table_;
    const ZOrder& zorder_;
    Backend& backend_;
    Graphics* graphics_;
};

}  // namespace zavrin
