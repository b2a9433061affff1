#pragma once

// Internal to the window layer. Not for use outside platform/.

#include <cstdint>

#include "platform/Activation.h"
#include "platform/MouseCapture.h"
#include "platform/PaintQueue.h"

namespace zavrin {

// Showing, hiding, minimising, enabling, moving, sizing and restacking a
// window (ShowWindow, EnableWindow, SetWindowPos), with the messages each
// change sends and the native window kept in step. UI thread only.
class Placement {
public:
    Placement(WindowTable& table, ZOrder& zorder, Activation& activation, MouseCapture& capture, PaintQueue& paint,
              Backend& backend)
        : table_(table), zorder_(zorder), activation_(activation), capture_(capture), paint_(paint),
          backend_(backend) {}

    // Returns whether the window was disabled before.
    bool enable(HWND h, bool on);
    // Returns whether the window was visible before (SW_HIDE: whether it hid).
    bool show(HWND h, int command);
    bool setPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags);

private:
    bool hide(WindowRecord& rec);
    bool minimize(WindowRecord& rec);
    // Every other command: shows and restores, then activates or raises.
    bool showNormal(WindowRecord& rec, int command);
    void restack(WindowRecord& rec, HWND insertAfter);
    // Moves and sizes to `r`, with WM_MOVE, WM_SIZE and WM_WINDOWPOSCHANGED.
    void moveTo(WindowRecord& rec, const RECT& r);

    WindowTable& table_;
    ZOrder& zorder_;
    Activation& activation_;
    MouseCapture& capture_;
    PaintQueue& paint_;
    Backend& backend_;
};

}  // namespace zavrin
