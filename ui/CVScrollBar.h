#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// The part of a scroll bar a press hit, sent in wParam of
// ControlNotify::Press; the
// owner scrolls by a line or a page.
namespace ScrollPart {
inline constexpr WPARAM Thumb = 0;
inline constexpr WPARAM UpArrow = 6;
inline constexpr WPARAM DownArrow = 7;
inline constexpr WPARAM TrackAbove = 8;
inline constexpr WPARAM TrackBelow = 9;
}  // namespace ScrollPart

// A vertical scroll bar: arrows at both ends (three-frame strips from the
// program's resources), a track and a thumb that the user drags. Dragging
// reports ControlNotify::Value (wParam 0) whenever the position changes; the owner
// reads `position`. Releasing snaps the thumb back to the stored position.
class CVScrollBar : public CControlBase {
public:
    CVScrollBar(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown, BOOL visible,
                BOOL disabled);

    // Loads the arrows (resources 188 up, 187 down) and lays out the parts.
    bool LoadArrows();
    void SetScrollState(int newPosition, int newPage, int newRange);
    // Goes on with a thumb drag from the dialog's own mouse handler once the
    // cursor has left the bar.
    void DragTo(int x, int y);

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    void ReleaseImages() override;

    Picture upArrow;
    Picture downArrow;
    int frameWidth = 0;
    int frameHeight = 0;
    BOOL upHover = FALSE;
    BOOL downHover = FALSE;
    BOOL thumbHover = FALSE;
    RECT upRect{};
    RECT downRect{};
    RECT trackRect{};
    RECT thumbRect{};
    RECT dragRect{};
    BOOL dragging = FALSE;
    int grabOffset = 0;
    int position = 0;
    int page = 1;
    int range = 1;

private:
    void Layout();
    // Moves the dragged thumb towards y; true when it moved.
    bool FollowDrag(int y);
};

}  // namespace zavrin
