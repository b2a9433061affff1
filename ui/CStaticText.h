#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// A text the owner shows with SetDisplayText; never reacts to the mouse. Long
// texts wrap unless the format given at construction has DT_SINGLELINE.
class CStaticText : public CControlBase {
public:
    CStaticText(HWND parent, std::uint32_t id, const RECT& rect, COLORREF textColor, std::uint32_t textFormat,
                std::string text, BOOL shown, BOOL visible, BOOL disabled);

    void Draw(Canvas& dc, const RECT& clip) override;

    const std::string& DisplayText() const { return displayText; }
    // Each setter repaints the text when the value changed.
    void SetDisplayText(const std::string& value);
    void SetTextColor(COLORREF value);
    // Shows the caption given at construction.
    void ShowCaption() { SetDisplayText(text); }
    // Makes `value` both the caption and the shown text, so that owners reading
    // the caption back see what is shown; repaints when either changed.
    void ShowText(const std::string& value);

private:
    std::string displayText;
    COLORREF textColor;
    std::uint32_t textFormat;
};

}  // namespace zavrin
