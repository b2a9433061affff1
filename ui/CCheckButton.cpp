#include "ui/CCheckButton.h"

namespace zavrin {

CCheckButton::CCheckButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text,
                           std::uint32_t format, BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE), textFormat(format) {}

void CCheckButton::SetStateTexts(const std::string& unchecked, const std::string& checkedCaption) {
    uncheckedText = unchecked;
    checkedText = checkedCaption;
}

void CCheckButton::SetChecked(bool value) {
    Change(checked, value);
}

int CCheckButton::Frame() const {
    if (state == kStatePressed || checked) return kStatePressed;
    return state;
}

BOOL CCheckButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CCheckButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CCheckButton::OnLButtonUp(WPARAM, POINT p) {
    return StandardLButtonUp(p, 0, [this] { checked = !checked; });
}

void CCheckButton::Draw(Canvas& dc, const RECT&) {
    if (!looks.loaded()) return;
    const int frame = Frame();
    constexpr Look kFrameLooks[] = {Look::Normal, Look::Hover, Look::Checked};
    DrawLook(dc, frame, 3, kFrameLooks[frame]);
    // The state texts replace the caption for good, as owners read it back.
    if (frame == kStatePressed) {
        if (!checkedText.empty()) text = checkedText;
    } else if (!uncheckedText.empty()) {
        text = uncheckedText;
    }
    const COLORREF colors[] = {normalColor, hoverColor, checkedColor};
    DrawCaption(dc, text, colors[frame], textFormat, textLeft, textRight);
}

}  // namespace zavrin
