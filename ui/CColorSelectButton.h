#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// A colour swatch: fills its swatch rectangle with its colour, nothing else.
class CColorSelectButton : public CControlBase {
public:
    static constexpr COLORREF kInitialColor = 0x00FF00;

    CColorSelectButton(HWND parent, std::uint32_t id, const RECT& rect, const RECT& swatchRect, std::string text,
                       BOOL shown, BOOL visible, BOOL disabled);

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;

    COLORREF Color() const { return color; }
    // Stores the colour and repaints the swatch when it changed.
    void SetColor(COLORREF value);
    // Where the colour is filled; the owner moves it with the button.
    void SetSwatchRect(const RECT& value) { swatchRect = value; }

private:
    RECT swatchRect;
    COLORREF color = kInitialColor;
};

// A colour swatch inside a frame picture that shows whether it is the chosen
// one. Its owner sets the checked state; a double click asks the owner to edit
// the colour.
class CColorSelectCheckButton : public CControlBase {
public:
    CColorSelectCheckButton(HWND parent, std::uint32_t id, const RECT& rect, const RECT& swatchRect,
                            std::string text, BOOL shown, BOOL visible, BOOL disabled);


    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDblClk(WPARAM keyFlags, POINT p) override;

    COLORREF Color() const { return color; }
    // Each setter repaints the swatch when the value changed.
    void SetColor(COLORREF value);
    bool IsChecked() const { return checked; }
    void SetChecked(bool value);

private:
    RECT swatchRect;
    COLORREF color = CColorSelectButton::kInitialColor;
    bool checked = false;
};

}  // namespace zavrin
