#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// A box that shows a value and opens a pop-up menu when clicked. It reports
// under its own notification message with its id in wParam: a click (the owner opens
// the menu and calls SetPopupOpen), the first five moves inside (hover) and
// leaving (unless its menu is open). Only the press goes out under its id.
class CComboButton : public CControlBase {
public:
    // The number of hover reports one visit sends.
    static constexpr int kHoverReports = 5;

    CComboButton(HWND parent, UINT notifyMessage, std::uint32_t id, const RECT& rect, std::string text,
                 std::uint32_t textFormat, BOOL shown, BOOL visible, BOOL disabled, std::string valueText);


    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;

    const std::string& ValueText() const { return valueText; }
    // Replaces the value shown on the box and repaints it when it changed.
    void SetValueText(const std::string& value) {
        if (value == valueText) return;
        valueText = value;
        Invalidate();
    }
    // Whether the box's menu is open: an open menu lights the value and keeps
    // the leave report back. The setter repaints the box when it changes.
    void SetPopupOpen(bool open) {
        if (IsPopupOpen() == open) return;
        popupOpen = open ? TRUE : FALSE;
        Invalidate();
    }
    bool IsPopupOpen() const { return popupOpen != FALSE; }

    // A locked combo keeps the look of its value and reports no press or
    // click; a change repaints the box.
    void SetLockLook(bool locked);

private:
    std::string valueText;
    UINT notifyMessage;
    BOOL lockLook = FALSE;
    // Shows the word "Disable" whatever the value.
    BOOL showDisable = FALSE;
    std::uint32_t textFormat;
    int textLeft = 0;
    int textRight = 0;
    BOOL popupOpen = FALSE;
    int hoverCount_ = 0;
    bool hoverReported_ = false;  // the visit's hover reports are all sent
    bool left_ = true;            // the mouse is outside and the leave was reported
};

}  // namespace zavrin
