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
                           BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE) {}

bool CRadioButton::IsSelected() const {
    const auto bit = radioBitOf(id);
    return bit && (radioSelection & bit->bit) != 0;
}

BOOL CRadioButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CRadioButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CRadioButton::OnLButtonUp(WPARAM, POINT p) {
    return StandardLButtonUp(p, 0, [this] {
        if (const auto bit = radioBitOf(id)) radioSelection = (radioSelection & ~bit->groupMask) | bit->bit;
    });
}

void CRadioButton::Draw(Canvas& dc, const RECT&) {
    const int frame = IsSelected() ? kStatePressed : state;
    DrawLook(dc, frame, 3, kFrameLooks[frame]);
}

CDPIRadioButton::CDPIRadioButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown,
                                 BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE) {}

int CDPIRadioButton::Level() const {
    if (id < kFirstId || id >= kFirstId + kLevelCount) return -1;
    return static_cast<int>(id - kFirstId);
}

bool CDPIRadioButton::IsSelected() const {
    const int k = Level();
    return k >= 0 && (dpiLevelMask & (1u << k)) != 0;
}

BOOL CDPIRadioButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CDPIRadioButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CDPIRadioButton::OnLButtonUp(WPARAM, POINT p) {
    return StandardLButtonUp(p, 0, [this] {
        const int k = Level();
        // An id outside the eight levels has no bit to set.
        if (k < 0) return;
        const std::uint32_t lowByte = (1u << (k + 1)) - 1;
        dpiLevelMask = (dpiLevelMask & ~0xFFu) | lowByte;
    });
}

void CDPIRadioButton::Draw(Canvas& dc, const RECT&) {
    const int frame = IsSelected() ? kStatePressed : state;
    DrawLook(dc, frame, 3, kFrameLooks[frame]);
    const RECT label{rect.left, rect.top, rect.right, rect.top + scaled(11, uiScale)};
    dc.DrawText(std::to_string(dpiValue * 50), label, DT_CENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS, font, labelColor);
}

}  // namespace zavrin
