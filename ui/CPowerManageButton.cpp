#include "ui/CPowerManageButton.h"

#include "ui/UiGlobals.h"

namespace zavrin {

CPowerManageButton::CPowerManageButton(HWND parent, std::uint32_t, const RECT& rect, std::string text, int,
                                       BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, kId, rect, std::move(text), shown, visible, disabled, TRUE),
      hitRegions(powerDialTriangles(rect.left, rect.top, uiScale)) {}

bool CPowerManageButton::LoadPositionImage(int pos, const std::filesystem::path& path) {
    if (pos < 1 || pos > kPositions) return false;
    return LoadInto(positionImages[static_cast<std::size_t>(pos - 1)], path);
}

BOOL CPowerManageButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CPowerManageButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CPowerManageButton::OnLButtonUp(WPARAM, POINT p) {
    if (disabled) return FALSE;
    // The look never depends on the mouse state, but the state must still leave
    // "pressed", or hover tracking would stop for good.
    if (!Contains(p)) {
        state = kStateNormal;
        return FALSE;
    }
    state = kStateHover;
    const int segment = powerDialSegmentAt(hitRegions, p.x, p.y);
    // Inside the rectangle but off the dial: nothing is chosen or sent.
    if (segment < 0) return FALSE;
    const int old = position;
    position = segment + 1;
    NotifyCode(ControlNotify::Click);
    return position != old;
}

void CPowerManageButton::Draw(Canvas& dc, const RECT&) {
    if (position < 1 || position > kPositions) return;
    DrawPicture(dc, positionImages[static_cast<std::size_t>(position - 1)], rect);
}

void CPowerManageButton::SetPosition(int value) {
    Change(position, value);
}

void CPowerManageButton::ReleaseImages() {
    for (Picture& p : positionImages) p.reset();
}

}  // namespace zavrin
