#include "ui/CSliderControl.h"

#include <algorithm>

#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

CSliderControl::CSliderControl(HWND parent, std::uint32_t id, const RECT& rect, int stopCount, int start, int end,
                               std::string text, BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE),
      startMargin(start),
      endMargin(end),
      usableLength((rect.right - end) - (rect.left + start)),
      stops(sliderStops(rect.left, rect.right, stopCount, start, end)),
      stopCount(stopCount) {
    thumbRect = ThumbRectOfStop(0);
}

bool CSliderControl::LoadThumbImage(const std::filesystem::path& path) { return LoadInto(thumbImage, path); }

RECT CSliderControl::ThumbRectOfStop(int index) const {
    // A slider without stops keeps its thumb at the start.
    const int x = stops.empty() ? rect.left + startMargin
                                : stops[static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(stops.size()) - 1))];
    return RECT{x - startMargin, rect.top, x + endMargin, rect.bottom};
}

void CSliderControl::SetStopIndex(int index) {
    const int old = stopIndex;
    stopIndex = stops.empty() ? 0 : std::clamp(index, 0, static_cast<int>(stops.size()) - 1);
    thumbRect = ThumbRectOfStop(stopIndex);
    if (stopIndex != old) Invalidate();
}

void CSliderControl::SetRect(int left, int top, int right, int bottom) {
    const RECT moved{left, top, right, bottom};
    if (moved == rect) return;
    CControlBase::SetRect(left, top, right, bottom);
    usableLength = (right - endMargin) - (left + startMargin);
    stops = sliderStops(left, right, stopCount, startMargin, endMargin);
    SetStopIndex(stopIndex);
}

void CSliderControl::FollowDrag(int x) {
    x = std::clamp(x, rect.left, rect.right);
    dragX = x - startMargin;
    stopIndex = lastReported = nearestStop(stops, x);
    Invalidate();
    // Every move reports, changed or not: owners show the value as it goes.
    NotifyCode(ControlNotify::Value, static_cast<WPARAM>(stopIndex));
}

BOOL CSliderControl::OnMouseMove(WPARAM, POINT p) {
    const BOOL changed = StandardMouseMove(p);
    if (state == kStateNormal) dragging = FALSE;
    if (dragging && state != kStateNormal) FollowDrag(p.x);
    return changed;
}

void CSliderControl::DragTo(int x, int) {
    if (!dragging || state == kStateNormal) return;
    FollowDrag(x);
    thumbRect = ThumbRectOfStop(stopIndex);
}

BOOL CSliderControl::OnLButtonDown(WPARAM, POINT p) {
    if (disabled || !Contains(p)) return FALSE;
    const int old = state;
    state = kStatePressed;
    dragging = PtInRect(thumbRect, p);
    dragX = p.x - startMargin;
    const BOOL changed = state != old;
    NotifyCode(ControlNotify::Press);
    return changed;
}

BOOL CSliderControl::OnLButtonUp(WPARAM, POINT p) {
    if (disabled) return FALSE;
    dragging = FALSE;
    return StandardLButtonUp(p, 0, [this, p] {
        dragX = p.x - startMargin;
        SetStopIndex(nearestStop(stops, p.x));
    });
}

void CSliderControl::Draw(Canvas& dc, const RECT&) {
    if (!thumbImage) return;
    const int w = scaled(thumbImage->width(), uiScale);
    const int h = scaled(thumbImage->height(), uiScale);
    int x = 0;
    if (dragging) {
        x = std::clamp(dragX, rect.left, std::max(rect.left, rect.right - w));
    } else {
        x = ThumbRectOfStop(stopIndex).left;
    }
    dc.DrawImage(*thumbImage, RECT{x, rect.top, x + w, rect.top + h});
}

void CSliderControl::ReleaseImages() { thumbImage.reset(); }

}  // namespace zavrin
