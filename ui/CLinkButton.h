#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// A text link (id 3503) that reports entering once per visit and leaving.
class CLinkButton : public CControlBase {
public:
    static constexpr std::uint32_t kId = 3503;

    // The id argument is kept for the common constructor shape; the link always has kId.
    CLinkButton(HWND parent, std::uint32_t ignoredId, const RECT& rect, std::string text, std::uint32_t textFormat,
                BOOL shown, BOOL visible, BOOL disabled);


    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;

private:
    std::uint32_t textFormat;
    BOOL entered = FALSE;
};

}  // namespace zavrin
