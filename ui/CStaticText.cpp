#include "ui/CStaticText.h"

namespace zavrin {

CStaticText::CStaticText(HWND parent, std::uint32_t id, const RECT& rect, COLORREF color, std::uint32_t format,
                         std::string text, BOOL shown, BOOL visible, BOOL)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, TRUE, TRUE),
      textColor(color),
      textFormat(format) {}

void CStaticText::SetDisplayText(const std::string& value) {
    Change(displayText, value);
}

void CStaticText::ShowText(const std::string& value) {
    if (displayText == value && text == value) return;
    displayText = value;
    text = value;
    Invalidate();
}

void CStaticText::SetTextColor(COLORREF value) {
    Change(textColor, value);
}

void CStaticText::Draw(Canvas& dc, const RECT&) {
    if (displayText.empty()) return;
    dc.DrawText(displayText, rect, textFormat | DT_VCENTER | DT_WORD_ELLIPSIS, font, textColor);
}

}  // namespace zavrin
