#include "ui/CLinkButton.h"

namespace zavrin {

CLinkButton::CLinkButton(HWND parent, std::uint32_t, const RECT& rect, std::string text, std::uint32_t format,
                         BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, kId, rect, std::move(text), shown, visible, disabled, TRUE), textFormat(format) {}

BOOL CLinkButton::OnMouseMove(WPARAM, POINT p) {
    if (disabled || state == kStatePressed) return FALSE;
    const int old = state;
    if (Contains(p)) {
        state = kStateHover;
        const BOOL changed = state != old;
        if (!entered) {
            entered = TRUE;
            NotifyCode(ControlNotify::Hover);
        }
        return changed;
    }
    state = kStateNormal;
    const BOOL changed = state != old;
    if (entered) {
        entered = FALSE;
        NotifyCode(ControlNotify::Leave);
    }
    return changed;
}

BOOL CLinkButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }
BOOL CLinkButton::OnLButtonUp(WPARAM, POINT p) { return StandardLButtonUp(p); }

void CLinkButton::Draw(Canvas& dc, const RECT&) {
    if (looks.strip()) {
        DrawLook(dc, state, 3, Look::Normal);
        return;
    }
    DrawCaption(dc, text, TextColorOfFrame(state), textFormat, 0, 0);
}

}  // namespace zavrin
