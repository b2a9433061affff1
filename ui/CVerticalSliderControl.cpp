#include "ui/CVerticalSliderControl.h"

#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

CLevelBarBase::CLevelBarBase(HWND parent, std::uint32_t id, const RECT& rect, int count, int top, int bottom,
                             std::string text, BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE),
      levelCount(count),
      topMargin(top),
      bottomMargin(bottom) {}

bool CLevelBarBase::LoadBackgroundImage(const std::filesystem::path& path) { return LoadInto(backgroundImage, path); }
bool CLevelBarBase::LoadFillImage(const std::filesystem::path& path) { return LoadInto(fillImage, path); }

void CLevelBarBase::SetLevel(int value) {
    Change(level, value);
}

int CLevelBarBase::LevelAt(int y) const { return verticalSliderLevel(rect.top, rect.bottom, levelCount, y); }

BOOL CLevelBarBase::OnMouseMove(WPARAM, POINT p) {
    const BOOL changed = StandardMouseMove(p);
    if (state == kStateNormal) dragging = FALSE;
    return changed;
}

BOOL CLevelBarBase::OnLButtonUp(WPARAM, POINT p) {
    if (disabled) return FALSE;
    dragging = FALSE;
    return StandardLButtonUp(p);
}

void CLevelBarBase::Draw(Canvas& dc, const RECT&) {
    const float s = uiScale;
    if (backgroundImage) {
        dc.DrawImage(*backgroundImage,
                     RECT{rect.left, rect.top, rect.left + scaled(backgroundImage->width(), s),
                          rect.top + scaled(backgroundImage->height(), s)});
    }
    if (!fillImage) return;
    const int h = fillImage->height();
    const FillSpan fill = verticalSliderFill(rect.top, rect.bottom, level, levelCount, h, s);
    const RECT src{0, fill.sourceRow, fillImage->width(), h};
    const RECT dst{rect.left, fill.fillTop, rect.left + scaled(fillImage->width(), s),
                   fill.fillTop + scaled(h - fill.sourceRow, s)};
    dc.DrawImage(*fillImage, dst, src);
}

void CLevelBarBase::ReleaseImages() {
    backgroundImage.reset();
    fillImage.reset();
}

BOOL CVerticalSliderControl::OnLButtonDown(WPARAM, POINT p) {
    if (disabled || !Contains(p)) return FALSE;
    const int old = state;
    state = kStatePressed;
    dragging = TRUE;
    grabOffset = p.y - topMargin;
    level = LevelAt(p.y);
    const BOOL changed = state != old;
    NotifyCode(ControlNotify::Press);
    return changed;
}

BOOL CVerticalSliderControl::OnMouseMove(WPARAM flags, POINT p) {
    const BOOL changed = CLevelBarBase::OnMouseMove(flags, p);
    if (dragging && state != kStateNormal) {
        level = LevelAt(p.y);
        Invalidate();
        NotifyCode(ControlNotify::Value, static_cast<WPARAM>(level));
    }
    return changed;
}

BOOL CDPIValueShowControl::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

}  // namespace zavrin
