#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// A text the owner sets in `displayText`; never reacts to the mouse. Long texts
// wrap unless the owner adds DT_SINGLELINE to `textFormat`.
class CStaticText : public CControlBase {
public:
    CStaticText(HWND parent, std::uint32_t id, const RECT& rect, COLORREF textColor, std::uint32_t textFormat,
                std::string text, BOOL shown, BOOL visible, BOOL disabled);

    void Draw(Canvas& dc, const RECT& clip) override;

    std::string displayText;
    COLORREF textColor;
    std::uint32_t textFormat;
};

}  // namespace zavrin
