#include "ui/CEditBox.h"

#include <algorithm>

#include "model/Utf8.h"
#include "platform/Canvas.h"
#include "platform/Image.h"

namespace zavrin {

namespace {

constexpr WPARAM kVkEnd = 0x23;
constexpr WPARAM kVkHome = 0x24;
constexpr WPARAM kVkA = 'A';
constexpr WPARAM kVkC = 'C';
constexpr WPARAM kVkV = 'V';
constexpr WPARAM kVkX = 'X';
constexpr COLORREF kSelectionColor = 0xD77800;


// A canvas only for measuring text outside painting (caret placement by click).
int MeasureWidth(std::u32string_view chars, const Font& font) {
    Graphics* graphics = GetGraphics();
    if (graphics == nullptr) return static_cast<int>(chars.size()) * std::max(1, font.height / 2);
    static Image scratch(1, 1);
    auto canvas = graphics->CreateCanvas(scratch);
    return canvas->MeasureText(codePointsToUtf8(chars), font).cx;
}

bool ControlHeld() {
    return GetKeyState(VK_CONTROL) < 0;
}
bool ShiftHeld() {
    return GetKeyState(VK_SHIFT) < 0;
}

}  // namespace

CEditBox::CEditBox(HWND parent, std::uint32_t id, const RECT& rect, std::string text)
    : CControlBase(parent, id, rect, "", TRUE, TRUE, FALSE, TRUE), chars_(utf8ToCodePoints(text)) {
    caret_ = anchor_ = chars_.size();
    font.face = "Tahoma";
}

void CEditBox::SetText(const std::string& newText) {
    chars_ = utf8ToCodePoints(newText);
    caret_ = anchor_ = chars_.size();
    Invalidate();
}

std::string CEditBox::GetText() const {
    return codePointsToUtf8(chars_);
}

void CEditBox::SelectAll() {
    anchor_ = 0;
    caret_ = chars_.size();
    Invalidate();
}

int CEditBox::textLeft(Canvas& dc) const {
    const int width = dc.MeasureText(codePointsToUtf8(chars_), font).cx;
    return rect.left + std::max(2, (rect.width() - width) / 2);
}

std::size_t CEditBox::indexAt(int x) const {
    const int total = MeasureWidth(chars_, font);
    const int left = rect.left + std::max(2, (rect.width() - total) / 2);
    std::size_t best = 0;
    int bestDistance = std::abs(x - left);
    for (std::size_t i = 1; i <= chars_.size(); ++i) {
        const int at = left + MeasureWidth(std::u32string_view(chars_).substr(0, i), font);
        if (std::abs(x - at) < bestDistance) {
            best = i;
            bestDistance = std::abs(x - at);
        }
    }
    return best;
}

void CEditBox::Draw(Canvas& dc, const RECT&) {
    dc.FillRect(rect, fillColor);
    dc.PushClip(rect);
    const std::string all = codePointsToUtf8(chars_);
    const int left = textLeft(dc);
    const int height = dc.MeasureText(all.empty() ? std::string("X") : all, font).cy;
    const int top = rect.top + (rect.height() - height) / 2;
    auto xOf = [&](std::size_t index) {
        return left + dc.MeasureText(codePointsToUtf8(std::u32string_view(chars_).substr(0, index)), font).cx;
    };
    if (focused_ && hasSelection()) {
        const std::size_t from = std::min(caret_, anchor_);
        const std::size_t to = std::max(caret_, anchor_);
        dc.FillRect(RECT{xOf(from), top, xOf(to), top + height}, kSelectionColor);
    }
    dc.TextOut(POINT{left, top}, all, font, textColor);
    if (focused_ && hasSelection()) {
        const std::size_t from = std::min(caret_, anchor_);
        const std::size_t to = std::max(caret_, anchor_);
        dc.TextOut(POINT{xOf(from), top},
                   codePointsToUtf8(std::u32string_view(chars_).substr(from, to - from)), font, 0xFFFFFF);
    }
    if (focused_) {
        const int x = xOf(caret_);
        dc.FillRect(RECT{x, top, x + 1, top + height}, textColor);
    }
    dc.PopClip();
}

BOOL CEditBox::OnMouseMove(WPARAM, POINT p) {
    if (!selecting_) return FALSE;
    const std::size_t at = indexAt(p.x);
    if (at == caret_) return FALSE;
    caret_ = at;
    return TRUE;
}

BOOL CEditBox::OnLButtonDown(WPARAM, POINT p) {
    if (!Contains(p)) return FALSE;
    caret_ = anchor_ = indexAt(p.x);
    selecting_ = true;
    return TRUE;
}

BOOL CEditBox::OnLButtonUp(WPARAM, POINT) {
    selecting_ = false;
    return FALSE;
}

void CEditBox::OnKeyboardFocus(BOOL focused) {
    focused_ = focused != FALSE;
    selecting_ = false;
    Invalidate();
}

void CEditBox::moveCaret(std::size_t to, bool extend) {
    caret_ = std::min(to, chars_.size());
    if (!extend) anchor_ = caret_;
    Invalidate();
}

std::u32string CEditBox::selectedText() const {
    const std::size_t from = std::min(caret_, anchor_);
    return chars_.substr(from, std::max(caret_, anchor_) - from);
}

void CEditBox::replaceSelection(const std::u32string& insert) {
    const std::size_t from = std::min(caret_, anchor_);
    chars_.replace(from, std::max(caret_, anchor_) - from, insert);
    caret_ = anchor_ = from + insert.size();
    changed();
}

void CEditBox::changed() {
    Invalidate();
    if (onChange) onChange();
}

BOOL CEditBox::OnKeyDown(WPARAM key) {
    const bool shift = ShiftHeld();
    if (ControlHeld()) {
        switch (key) {
            case kVkA:
                SelectAll();
                return TRUE;
            case kVkC:
                if (setClipboard && hasSelection()) setClipboard(codePointsToUtf8(selectedText()));
                return TRUE;
            case kVkX:
                if (setClipboard && hasSelection()) {
                    setClipboard(codePointsToUtf8(selectedText()));
                    replaceSelection(U"");
                }
                return TRUE;
            case kVkV:
                if (getClipboard) {
                    std::u32string pasted = utf8ToCodePoints(getClipboard());
                    // One line only: a pasted line break ends the text.
                    pasted = pasted.substr(0, pasted.find_first_of(U"\r\n"));
                    replaceSelection(pasted);
                }
                return TRUE;
            default:
                break;
        }
    }
    switch (key) {
        case VK_LEFT:
            moveCaret(hasSelection() && !shift ? std::min(caret_, anchor_)
                                               : (caret_ > 0 ? caret_ - 1 : 0),
                      shift);
            return TRUE;
        case VK_RIGHT:
            moveCaret(hasSelection() && !shift ? std::max(caret_, anchor_) : caret_ + 1, shift);
            return TRUE;
        case kVkHome:
            moveCaret(0, shift);
            return TRUE;
        case kVkEnd:
            moveCaret(chars_.size(), shift);
            return TRUE;
        case VK_BACK:
            if (!hasSelection() && caret_ > 0) anchor_ = caret_ - 1;
            if (hasSelection()) replaceSelection(U"");
            return TRUE;
        case VK_DELETE:
            if (!hasSelection() && caret_ < chars_.size()) anchor_ = caret_ + 1;
            if (hasSelection()) replaceSelection(U"");
            return TRUE;
        default:
            return FALSE;
    }
}

BOOL CEditBox::OnChar(std::uint32_t codePoint) {
    // Control characters (Backspace, Enter, Escape, Tab, Ctrl+letter) are keys, not text.
    if (codePoint < 0x20 || codePoint == 0x7F) return FALSE;
    replaceSelection(std::u32string(1, static_cast<char32_t>(codePoint)));
    return TRUE;
}

}  // namespace zavrin
