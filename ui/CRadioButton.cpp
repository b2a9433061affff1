#include "ui/CRadioButton.h"

#include <string>

#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
// The looks of the three frames: normal, hover, selected.
constexpr Look kFrameLooks[] = {Look::Normal, Look::Hover, Look::Checked};
}  // namespace

CRadioButton::CRadioButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown,
                           BOOL visible, BOOL disabled, RadioGroups& groups)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE), groups_(groups) {}

bool CRadioButton::IsSelected() const { return groups_.IsSelected(id); }

BOOL CRadioButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CRadioButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CRadioButton::OnLButtonUp(WPARAM, POINT p) {
    return StandardLButtonUp(p, 0, [this] {
        groups_.Select(id);
    });
}

void CRadioButton::Draw(Canvas& dc, const RECT&) {
    const int frame = IsSelected() ? kStatePressed : state;
    DrawLook(dc, frame, 3, kFrameLooks[frame]);
}

CDPIRadioButton::CDPIRadioButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown,
                                 BOOL visible, BOOL disabled, std::uint32_t& levelMask)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE), levelMask_(levelMask) {}

void CDPIRadioButton::SetDpiValue(int value) {
    Change(dpiValue, value);
}

void CDPIRadioButton::SetLabelColor(COLORREF color) {
    Change(labelColor, color);
}

int CDPIRadioButton::Level() const {
    if (id < kFirstId || id >= kFirstId + kLevelCount) return -1;
    return static_cast<int>(id - kFirstId);
}

bool CDPIRadioButton::IsSelected() const {
    const int k = Level();
    return k >= 0 && (levelMask_ & (1u << k)) != 0;
}

BOOL CDPIRadioButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CDPIRadioButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CDPIRadioButton::OnLButtonUp(WPARAM, POINT p) {
    return StandardLButtonUp(p, 0, [this] {
        const int k = Level();
        // An id outside the eight levels has no bit to set.
        if (k < 0) return;
        const std::uint32_t lowByte = (1u << (k + 1)) - 1;
        levelMask_ = (levelMask_ & ~0xFFu) | lowByte;
    });
}

void CDPIRadioButton::Draw(Canvas& dc, const RECT&) {
    const int frame = IsSelected() ? kStatePressed : state;
    DrawLook(dc, frame, 3, kFrameLooks[frame]);
    const RECT label{rect.left, rect.top, rect.right, rect.top + scaled(11, uiScale)};
    dc.DrawText(std::to_string(dpiValue * 50), label, DT_CENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS, font, labelColor);
}

}  // namespace zavrin
