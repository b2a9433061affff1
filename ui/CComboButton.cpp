#include "ui/CComboButton.h"

namespace zavrin {

namespace {
constexpr const char* kDisableText = "Disable";
constexpr int kStripFrames = 5;
constexpr int kLockedFrame = 3;
constexpr int kLockedHoverFrame = 4;
}  // namespace

CComboButton::CComboButton(HWND parent, UINT message, std::uint32_t id, const RECT& rect, std::string text,
                           std::uint32_t format, BOOL shown, BOOL visible, BOOL disabled, std::string value)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE),
      valueText(std::move(value)),
      notifyMessage(message),
      textFormat(format) {}

BOOL CComboButton::OnMouseMove(WPARAM, POINT p) {
    if (disabled || state == kStatePressed) return FALSE;
    const int old = state;
    if (Contains(p)) {
        state = kStateHover;
        const BOOL changed = state != old;
        if (!hoverReported_) {
            // The counter reaches 4 on the fourth report; the fifth marks the
            // visit's reports as done, so five reports go out in all.
            if (hoverCount_ < kHoverReports - 1) {
                ++hoverCount_;
            } else {
                hoverReported_ = true;
            }
            left_ = false;
            Notify(notifyMessage, id, ControlNotify::Hover);
        }
        return changed;
    }
    state = kStateNormal;
    const BOOL changed = state != old;
    if (!left_ && !popupOpen) {
        hoverCount_ = 0;
        hoverReported_ = false;
        left_ = true;
        Notify(notifyMessage, id, ControlNotify::Leave);
    }
    return changed;
}

BOOL CComboButton::OnLButtonDown(WPARAM, POINT p) {
    if (disabled || !Contains(p)) return FALSE;
    const int old = state;
    state = kStatePressed;
    const BOOL changed = state != old;
    if (!lockLook) NotifyCode(ControlNotify::Press);
    return changed;
}

BOOL CComboButton::OnLButtonUp(WPARAM, POINT p) {
    if (disabled) return FALSE;
    const int old = state;
    if (Contains(p)) {
        state = kStateHover;
        const BOOL changed = state != old;
        if (!lockLook) Notify(notifyMessage, id, ControlNotify::Click);
        return changed;
    }
    state = kStateNormal;
    return state != old;
}

void CComboButton::SetLockLook(bool locked) {
    if ((lockLook != FALSE) == locked) return;
    lockLook = locked ? TRUE : FALSE;
    Invalidate();
}

void CComboButton::Draw(Canvas& dc, const RECT&) {
    const std::string caption = showDisable ? std::string(kDisableText) : valueText;
    COLORREF color = UiColor::TextNormal;
    if (looks.strip()) {
        int frame = state;
        if (lockLook) {
            frame = state == kStateHover ? kLockedHoverFrame : kLockedFrame;
        } else if (popupOpen) {
            frame = kStateHover;
        }
        DrawLook(dc, frame, kStripFrames, Look::Normal);
        color = (lockLook || frame != kStateNormal) ? UiColor::TextHover : UiColor::TextNormal;
    } else {
        const bool lit = popupOpen || state != kStateNormal;
        DrawLook(dc, 0, kStripFrames, lit ? Look::Hover : Look::Normal);
        color = lit ? UiColor::TextHover : UiColor::TextNormal;
    }
    // Without pictures the value is still shown.
    DrawCaption(dc, caption, color, textFormat, textLeft, textRight);
}

}  // namespace zavrin
