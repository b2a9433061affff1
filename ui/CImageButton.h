#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// The plain picture button: normal picture, hover picture (also shown while
// pressed) and an optional caption. Reports its clicks with its own id in wParam.
class CImageButton : public CControlBase {
public:
    // The button whose moves ask for help text.
    static constexpr std::uint32_t kHelpButtonId = 3502;

    CImageButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text, std::uint32_t textFormat,
                 BOOL shown, BOOL visible, BOOL disabled);


    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;

private:
    std::uint32_t textFormat;
    int textLeft = 0;
    int textRight = 0;
};

}  // namespace zavrin
