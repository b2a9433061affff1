#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// The look shared by the vertical level bars: a background picture and, over
// its lower part, as much of a fill picture as the level reaches. Level 0 is the
// bottom, levelCount - 1 the top.
class CLevelBarBase : public CControlBase {
public:
    CLevelBarBase(HWND parent, std::uint32_t id, const RECT& rect, int levelCount, int topMargin, int bottomMargin,
                  std::string text, BOOL shown, BOOL visible, BOOL disabled);

    bool LoadBackgroundImage(const std::filesystem::path& path);
    bool LoadFillImage(const std::filesystem::path& path);

    // The level the point's height stands for.
    int LevelAt(int y) const;

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    void ReleaseImages() override;

    int Level() const { return level; }
    // Shows `value` and repaints the bar when it changed. The owner keeps it
    // inside the levels it offers.
    void SetLevel(int value);
    int LevelCount() const { return levelCount; }

protected:
    Picture backgroundImage;
    Picture fillImage;
    int level = 0;
    int levelCount;
    int topMargin;
    int bottomMargin;
    BOOL dragging = FALSE;
};

// The DPI level slider: press or drag to set the level; every drag move reports
// (ControlNotify::Value, wParam the level).
class CVerticalSliderControl : public CLevelBarBase {
public:
    using CLevelBarBase::CLevelBarBase;

    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;

private:
    int grabOffset = 0;
};

// The same bar for display only: it reports presses and clicks but never drags.
class CDPIValueShowControl : public CLevelBarBase {
public:
    using CLevelBarBase::CLevelBarBase;

    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
};

}  // namespace zavrin
