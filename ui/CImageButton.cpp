#include "ui/CImageButton.h"

namespace zavrin {

CImageButton::CImageButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text,
                           std::uint32_t format, BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE), textFormat(format) {}

BOOL CImageButton::OnMouseMove(WPARAM, POINT p) {
    const BOOL changed = StandardMouseMove(p);
    if (id == kHelpButtonId && !disabled && state != kStatePressed && Contains(p)) {
        NotifyCode(ControlNotify::Help);
    }
    return changed;
}

BOOL CImageButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CImageButton::OnLButtonUp(WPARAM, POINT p) { return StandardLButtonUp(p, id, [] {}); }

void CImageButton::Draw(Canvas& dc, const RECT&) {
    const int frame = state;
    if (looks.strip()) {
        DrawLook(dc, frame, 3, Look::Normal);
        return;
    }
    // Without its normal picture the button shows nothing, caption included.
    if (!looks[Look::Normal]) return;
    // The hover picture stands for the pressed look too.
    DrawLook(dc, frame, 3, frame == kStateNormal ? Look::Normal : Look::Hover);
    DrawCaption(dc, text, TextColorOfFrame(frame), textFormat, textLeft, textRight);
}

}  // namespace zavrin
