#include "ui/CColorSelectButton.h"

#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

CColorSelectButton::CColorSelectButton(HWND parent, std::uint32_t id, const RECT& rect, const RECT& swatch,
                                       std::string text, BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE), swatchRect(swatch) {}

BOOL CColorSelectButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CColorSelectButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }
BOOL CColorSelectButton::OnLButtonUp(WPARAM, POINT p) { return StandardLButtonUp(p); }

void CColorSelectButton::SetColor(COLORREF value) {
    Change(color, value);
}

void CColorSelectButton::Draw(Canvas& dc, const RECT&) { dc.FillRect(swatchRect, color); }

CColorSelectCheckButton::CColorSelectCheckButton(HWND parent, std::uint32_t id, const RECT& rect,
                                                 const RECT& swatch, std::string text, BOOL shown, BOOL visible,
                                                 BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE), swatchRect(swatch) {}

BOOL CColorSelectCheckButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CColorSelectCheckButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }
// The owner decides which swatch is checked, so a click changes nothing here.
BOOL CColorSelectCheckButton::OnLButtonUp(WPARAM, POINT p) { return StandardLButtonUp(p); }

BOOL CColorSelectCheckButton::OnLButtonDblClk(WPARAM, POINT p) { return StandardLButtonDblClk(p); }

void CColorSelectCheckButton::SetColor(COLORREF value) {
    Change(color, value);
}

void CColorSelectCheckButton::SetChecked(bool value) {
    Change(checked, value);
}

void CColorSelectCheckButton::Draw(Canvas& dc, const RECT&) {
    DrawLook(dc, checked ? 1 : 0, 2, checked ? Look::Checked : Look::Normal);
    const int inset = scaled(3, uiScale);
    swatchRect = InflateRect(rect, -inset, -inset);
    dc.FillRect(swatchRect, color);
}

}  // namespace zavrin
