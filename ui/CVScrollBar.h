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
// reads Position(). Releasing snaps the thumb back to the stored position.
class CVScrollBar : public CControlBase {
public:
    CVScrollBar(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown, BOOL visible,
                BOOL disabled);

    // Loads the arrows (resources 188 up, 187 down) and lays out the parts.
    bool LoadArrows();
    // Stores the position and lays the thumb out over the track; a range of 0
    // (everything fits) keeps the page and range and shows the thumb over the
    // whole track. Repaints the bar when the thumb was laid out again or came
    // to cover the whole track.
    void SetScrollState(int newPosition, int newPage, int newRange);
    int Position() const { return position; }
    bool IsDragging() const { return dragging != FALSE; }
    // The parts' rectangles: the arrows, the track, the thumb at rest and the
    // thumb as dragged.
    const RECT& UpRect() const { return upRect; }
    const RECT& DownRect() const { return downRect; }
    const RECT& TrackRect() const { return trackRect; }
    const RECT& ThumbRect() const { return thumbRect; }
    const RECT& DragRect() const { return dragRect; }
    // Shows the up arrow and the thumb in their hover looks without a pointer
    // over them, for pictures of the looks.
    void ShowHoverLooks(bool upArrowHover, bool thumbHoverLook) {
        upHover = upArrowHover ? TRUE : FALSE;
        thumbHover = thumbHoverLook ? TRUE : FALSE;
        Invalidate();
    }
    // Goes on with a thumb drag from the dialog's own mouse handler once the
    // cursor has left the bar.
    void DragTo(int x, int y);

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    void ReleaseImages() override;

private:
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

    void Layout();
    // Moves the dragged thumb towards y; true when it moved.
    bool FollowDrag(int y);
};

}  // namespace zavrin
