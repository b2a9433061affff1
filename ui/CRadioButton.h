#pragma once

#include "ui/CControlBase.h"
#include "ui/RadioGroups.h"

namespace zavrin {

// A picture-only option button. Its choice lives in the radio groups of the
// dialog that holds it: a click sets the button's bit and clears the rest of
// its group, and the button looks selected while its bit is set.
class CRadioButton : public CControlBase {
public:
    // `groups` belongs to the dialog and outlives the button.
    CRadioButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown, BOOL visible,
                 BOOL disabled, RadioGroups& groups);


    bool IsSelected() const;

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;

private:
    RadioGroups& groups_;
};

// One of the eight DPI level buttons (ids 3290..3297). Level k looks selected
// while bit k of the owner's level mask is set; clicking level k selects
// levels 0..k (the mask's bits above the eight levels stay). The label under
// the picture shows the level's DPI.
class CDPIRadioButton : public CControlBase {
public:
    static constexpr std::uint32_t kFirstId = 3290;
    static constexpr int kLevelCount = 8;
    // The mask a DPI page starts with: level 1 selected.
    static constexpr std::uint32_t kInitialLevelMask = 2;

    // `levelMask` belongs to the owner of the eight buttons and outlives them.
    CDPIRadioButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown, BOOL visible,
                    BOOL disabled, std::uint32_t& levelMask);


    // The level this button stands for, or -1 for an id outside 3290..3297.
    int Level() const;
    bool IsSelected() const;

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;

    // The DPI the label shows, in steps of 50 DPI; repaints on a change.
    int DpiValue() const { return dpiValue; }
    void SetDpiValue(int value);
    COLORREF LabelColor() const { return labelColor; }
    void SetLabelColor(COLORREF color);

private:
    std::uint32_t& levelMask_;
    int dpiValue = 0;
    COLORREF labelColor = UiColor::TextNormal;
};

}  // namespace zavrin
