#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// A tab button of the main window. Profile tabs (2049..2053) set
// `currentProfileTab`, section tabs (3001..3004, 3007..3009) set
// `currentSectionTab`; the tab whose value is current looks selected.
class CTabControl : public CControlBase {
public:
    CTabControl(HWND parent, std::uint32_t id, const RECT& rect, std::string text, std::uint32_t textFormat,
                BOOL shown, BOOL visible, BOOL disabled);


    // 0 normal, 1 hover, 2 selected, 3 selected and hovered.
    int Frame() const;

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    BOOL OnRButtonUp(WPARAM keyFlags, POINT p) override;

    // The profile index (0..4) of a profile tab, or -1.
    static int ProfileTabIndex(std::uint32_t id);
    // The section value (0..3, 7..9) of a section tab, or -1.
    static int SectionTabValue(std::uint32_t id);

private:
    std::string label;
    std::uint32_t textFormat;
    int textLeft = 6;
    int textRight = 0;
};

}  // namespace zavrin
