#include "ui/CVScrollBar.h"

#include "platform/Resources.h"
#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr COLORREF kTrackColor = 0x101010;
constexpr COLORREF kThumbEdge = 0x1F1F1F;
constexpr COLORREF kThumbCore = 0x323232;
}  // namespace

CVScrollBar::CVScrollBar(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown,
                         BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE) {
    Layout();
}

bool CVScrollBar::LoadArrows() {
    upArrow = LoadPngResource(kPngScrollUpArrow);
    downArrow = LoadPngResource(kPngScrollDownArrow);
    const Picture& any = upArrow ? upArrow : downArrow;
    if (any) {
        frameWidth = any->width() / 3;
        frameHeight = any->height();
    }
    Layout();
    return upArrow && downArrow;
}

void CVScrollBar::Layout() {
    // The arrow rectangles follow the arrows as drawn, at the UI scale.
    const int h = scaled(frameHeight, uiScale);
    upRect = RECT{rect.left, rect.top, rect.right, rect.top + h - 1};
    downRect = RECT{rect.left, rect.bottom - h + 1, rect.right, rect.bottom};
    trackRect = RECT{rect.left, rect.top + h, rect.right, rect.bottom - h};
    thumbRect = trackRect;
    dragRect = thumbRect;
}

void CVScrollBar::SetScrollState(int newPosition, int newPage, int newRange) {
    if (newRange == 0) {
        position = newPosition;
        // A list that came to fit must lose its short thumb on screen too.
        if (thumbRect != trackRect) {
            thumbRect = trackRect;
            Invalidate();
        }
        return;
    }
    position = newPosition;
    page = newPage;
    range = newRange;
    const ThumbSpan t = scrollThumb(trackRect.top, trackRect.bottom, position, page, range);
    thumbRect = RECT{trackRect.left, t.top, trackRect.right, t.bottom};
    Invalidate();
}

bool CVScrollBar::FollowDrag(int y) {
    const int top = trackRect.top;
    const int bottom = trackRect.bottom;
    const int anchor = dragRect.top + grabOffset;
    bool moved = false;
    if (y > anchor && dragRect.bottom < bottom) {
        dragRect = OffsetRect(dragRect, 0, y - anchor);
        if (dragRect.bottom > bottom) dragRect = OffsetRect(dragRect, 0, bottom - dragRect.bottom);
        moved = true;
    } else if (y < anchor && dragRect.top > top) {
        dragRect = OffsetRect(dragRect, 0, -(anchor - y));
        if (dragRect.top < top) dragRect = OffsetRect(dragRect, 0, top - dragRect.top);
        moved = true;
    }
    if (!moved) return false;
    Invalidate();
    const int newPosition = scrollPositionOfThumb(top, bottom, dragRect.top, range);
    if (newPosition != position) {
        position = newPosition;
        NotifyCode(ControlNotify::Value);
    }
    return true;
}

BOOL CVScrollBar::OnMouseMove(WPARAM, POINT p) {
    if (disabled || state == kStatePressed) {
        if (dragging) FollowDrag(p.y);
        return FALSE;
    }
    const int oldState = state;
    const BOOL oldUp = upHover, oldDown = downHover, oldThumb = thumbHover;
    if (Contains(p)) {
        state = kStateHover;
        upHover = PtInRect(upRect, p);
        downHover = PtInRect(downRect, p);
        thumbHover = PtInRect(thumbRect, p);
    } else {
        state = kStateNormal;
        upHover = downHover = thumbHover = FALSE;
    }
    if (state == kStateNormal) dragging = FALSE;
    if (dragging) FollowDrag(p.y);
    return state != oldState || upHover != oldUp || downHover != oldDown || thumbHover != oldThumb;
}

void CVScrollBar::DragTo(int, int y) {
    if (!dragging) return;
    FollowDrag(std::clamp(y, rect.top, rect.bottom));
}

BOOL CVScrollBar::OnLButtonDown(WPARAM, POINT p) {
    if (disabled || !Contains(p)) return FALSE;
    const int old = state;
    state = kStatePressed;
    WPARAM part = ScrollPart::TrackBelow;
    if (PtInRect(upRect, p)) {
        part = ScrollPart::UpArrow;
    } else if (PtInRect(downRect, p)) {
        part = ScrollPart::DownArrow;
    } else if (PtInRect(thumbRect, p)) {
        part = ScrollPart::Thumb;
    } else if (p.y < thumbRect.top) {
        part = ScrollPart::TrackAbove;
    }
    if (PtInRect(thumbRect, p)) {
        dragging = TRUE;
        grabOffset = p.y - thumbRect.top;
        dragRect = thumbRect;
    }
    const BOOL changed = state != old;
    NotifyCode(ControlNotify::Press, part);
    return changed;
}

BOOL CVScrollBar::OnLButtonUp(WPARAM, POINT p) {
    if (disabled) return FALSE;
    const int old = state;
    const BOOL oldThumb = thumbHover;
    if (Contains(p)) {
        state = kStateHover;
        dragging = FALSE;
        NotifyCode(ControlNotify::Click);
    } else {
        state = kStateNormal;
        if (dragging) {
            thumbHover = FALSE;
            dragging = FALSE;
            NotifyCode(ControlNotify::Click);
        }
    }
    // The thumb snaps to the position it stands for.
    SetScrollState(position, page, range);
    return state != old || thumbHover != oldThumb;
}

void CVScrollBar::Draw(Canvas& dc, const RECT&) {
    const int s = scaled(1, uiScale);
    dc.FillRect(rect, kTrackColor);
    const int w = scaled(frameWidth, uiScale);
    const int h = scaled(frameHeight, uiScale);
    if (upArrow) {
        DrawStripFrame(dc, upArrow, frameWidth, upHover ? 1 : 0, RECT{rect.left, rect.top, rect.left + w, rect.top + h});
    }
    if (downArrow) {
        const int top = rect.bottom - h + s;
        DrawStripFrame(dc, downArrow, frameWidth, downHover ? 1 : 0, RECT{rect.left, top, rect.left + w, top + h});
    }
    const RECT& r = dragging ? dragRect : thumbRect;
    dc.FillRect(RECT{r.left, r.top, r.right, r.bottom + s}, thumbHover ? UiColor::Accent : kThumbEdge);
    dc.FillRect(RECT{r.left + s, r.top + s, r.right - s, r.bottom}, thumbHover ? kThumbEdge : kThumbCore);
}

void CVScrollBar::ReleaseImages() {
    upArrow.reset();
    downArrow.reset();
}

}  // namespace zavrin
