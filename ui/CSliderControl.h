#pragma once

#include <vector>

#include "ui/CControlBase.h"

namespace zavrin {

// A horizontal slider with fixed stops. A click anywhere jumps to the nearest
// stop; dragging the thumb reports the nearest stop on every move
// (ControlNotify::Value, wParam the stop) and lets the thumb follow the mouse.
class CSliderControl : public CControlBase {
public:
    // The margins are the thumb's half widths in pixels: the first stop lies
    // startMargin right of the left edge, the last endMargin left of the right edge.
    CSliderControl(HWND parent, std::uint32_t id, const RECT& rect, int stopCount, int startMargin, int endMargin,
                   std::string text, BOOL shown, BOOL visible, BOOL disabled);

    bool LoadThumbImage(const std::filesystem::path& path);

    // Moves the thumb to stop `index` (clamped to the stops) and repaints the
    // slider when the stop changed.
    void SetStopIndex(int index);
    int StopIndex() const { return stopIndex; }
    // The stops' x positions and the thumb's rectangle at rest.
    const std::vector<int>& Stops() const { return stops; }
    const RECT& ThumbRect() const { return thumbRect; }
    // True while the user drags the thumb.
    bool IsDragging() const { return dragging != FALSE; }
    // Moving the slider moves its stops and its thumb with it.
    void SetRect(int left, int top, int right, int bottom) override;
    // Goes on with a thumb drag from the dialog's own mouse handler once the
    // cursor has left the slider.
    void DragTo(int x, int y);

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    void ReleaseImages() override;

private:
    Picture thumbImage;
    int dragX = 0;
    int startMargin;
    int endMargin;
    int stopIndex = 0;
    int lastReported = 0;
    RECT thumbRect{};
    int usableLength = 0;
    std::vector<int> stops;
    int stopCount;
    BOOL dragging = FALSE;

    RECT ThumbRectOfStop(int index) const;
    // The drag step shared by mouse moves and DragTo.
    void FollowDrag(int x);
};

}  // namespace zavrin
