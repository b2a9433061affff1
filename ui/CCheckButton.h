#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// A button that toggles its checked state on every click and looks pressed
// while checked. Optional state texts replace the caption by look.
class CCheckButton : public CControlBase {
public:
    CCheckButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text, std::uint32_t textFormat,
                 BOOL shown, BOOL visible, BOOL disabled);


    // Texts shown instead of the caption when unchecked and when checked; an
    // empty text keeps the caption.
    void SetStateTexts(const std::string& unchecked, const std::string& checkedCaption);

    // 0 normal, 1 hover, 2 checked or pressed.
    int Frame() const;

    bool IsChecked() const { return checked; }
    // Stores the checked state and repaints the button when it changed.
    void SetChecked(bool value);

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;

private:
    bool checked = false;
    std::uint32_t textFormat;
    int textLeft = 0;
    int textRight = 0;
    std::string uncheckedText;
    std::string checkedText;
    COLORREF normalColor = UiColor::TextNormal;
    COLORREF hoverColor = UiColor::TextHover;
    COLORREF checkedColor = UiColor::TextPressed;
};

}  // namespace zavrin
