#include "ui/CControlBase.h"

#include <string>
#include <utility>

#include "platform/Resources.h"
#include "ui/UiGlobals.h"

namespace zavrin {

Font MakeUiFont() {
    Font f;
    f.face = uiLanguage.uiFontFace;
    f.height = uiLanguage.uiFontHeight;
    f.weight = FW_DONTCARE;
    f.charset = uiLanguage.uiFontCharset;
    return f;
}

std::filesystem::path SkinPath(std::string_view relative) {
    // Names are written with Windows separators; the folder layout is the same
    // everywhere.
    std::string native(relative);
    for (char& c : native) {
        if (c == '\\') c = '/';
    }
    return skinFolder / std::filesystem::path(native);
}

CControlBase::CControlBase(HWND parentWindow, std::uint32_t controlId, const RECT& controlRect, std::string caption,
                           BOOL isShown, BOOL isVisible, BOOL isDisabled, BOOL isMouseActive)
    : id(controlId),
      rect(controlRect),
      shown(isShown),
      visible(isVisible),
      disabled(isDisabled),
      text(std::move(caption)),
      parent(parentWindow),
      font(MakeUiFont()),
      mouseActive(isMouseActive) {}

CControlBase::~CControlBase() = default;

BOOL CControlBase::OnFocus(BOOL) { return 0; }

void CControlBase::SetRect(int left, int top, int right, int bottom) { rect = RECT{left, top, right, bottom}; }

RECT* CControlBase::GetRect(RECT* out) const {
    if (out != nullptr) *out = rect;
    return out;
}

void CControlBase::SetText(const std::string& newText) {
    if (newText == text) return;
    text = newText;
    Invalidate();
}

std::string CControlBase::GetText() const { return text; }
void CControlBase::SetShown(BOOL value) { shown = value; }
void CControlBase::SetVisible(BOOL value) { visible = value; }

void CControlBase::SetDisabled(bool value) {
    if (IsDisabled() == value) return;
    disabled = value ? TRUE : FALSE;
    // A control disabled while hovered or held would keep that look until the
    // mouse came back; enabled again it starts from the normal look.
    state = kStateNormal;
    Invalidate();
}

BOOL CControlBase::OnMouseMove(WPARAM, POINT) { return FALSE; }
BOOL CControlBase::OnLButtonDown(WPARAM, POINT) { return FALSE; }
BOOL CControlBase::OnLButtonUp(WPARAM, POINT) { return FALSE; }
BOOL CControlBase::OnRButtonUp(WPARAM, POINT) { return FALSE; }
BOOL CControlBase::OnLButtonDblClk(WPARAM, POINT) { return FALSE; }
void CControlBase::ReleaseImages() { looks.Release(); }

void CControlBase::SetFont(int height, const std::string& face) {
    font = MakeUiFont();
    font.height = height;
    font.face = face;
}

LRESULT CControlBase::Notify(UINT message, WPARAM wParam, LPARAM code) const {
    return SendMessage(parent, message, wParam, code);
}

void CControlBase::Invalidate() const { InvalidateRect(parent, &rect, TRUE); }

BOOL CControlBase::StandardMouseMove(POINT p) {
    if (disabled || state == kStatePressed) return FALSE;
    const int old = state;
    state = Contains(p) ? kStateHover : kStateNormal;
    return state != old;
}

BOOL CControlBase::StandardLButtonDown(POINT p) {
    if (disabled || !Contains(p)) return FALSE;
    const int old = state;
    state = kStatePressed;
    const BOOL changed = state != old;
    NotifyCode(ControlNotify::Press);
    return changed;
}

BOOL CControlBase::StandardLButtonDblClk(POINT p) {
    if (disabled) return FALSE;
    const int old = state;
    if (Contains(p)) {
        state = kStateHover;
        const BOOL changed = state != old;
        NotifyCode(ControlNotify::DoubleClick);
        return changed;
    }
    state = kStateNormal;
    return state != old;
}

void DrawPicture(Canvas& dc, const Picture& picture, const RECT& dst) {
    if (picture && !picture->empty()) dc.DrawImage(*picture, dst);
}

void DrawStripFrame(Canvas& dc, const Picture& strip, int frameWidth, int index, const RECT& dst) {
    if (!strip || strip->empty() || frameWidth <= 0) return;
    const RECT src{index * frameWidth, 0, (index + 1) * frameWidth, strip->height()};
    dc.DrawImage(*strip, dst, src);
}

void CControlBase::DrawLook(Canvas& dc, int frame, int frameCount, Look look) const {
    if (const Picture& strip = looks.strip()) {
        DrawStripFrame(dc, strip, strip->width() / frameCount, frame, rect);
        return;
    }
    DrawPicture(dc, looks[look], rect);
}

void CControlBase::DrawCaption(Canvas& dc, std::string_view caption, COLORREF color, std::uint32_t format,
                               int insetLeft, int insetRight) const {
    if (caption.empty()) return;
    const RECT r{rect.left + insetLeft, rect.top, rect.right - insetRight, rect.bottom};
    dc.DrawText(caption, r, format | DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS, font, color);
}

bool CControlBase::LoadInto(Picture& slot, const std::filesystem::path& path) {
    slot = LoadImageFile(path);
    if (!slot) return false;
    imageWidth = slot->width();
    imageHeight = slot->height();
    return true;
}

COLORREF TextColorOfFrame(int frame) {
    switch (frame) {
        case kStateHover: return UiColor::TextHover;
        case kStatePressed: return UiColor::TextPressed;
        default: return UiColor::TextNormal;
    }
}

BOOL CControlBase::OnKeyDown(WPARAM) { return FALSE; }
BOOL CControlBase::OnChar(std::uint32_t) { return FALSE; }
void CControlBase::OnKeyboardFocus(BOOL) {}

}  // namespace zavrin
