#include "ui/CImageButton.h"

namespace zavrin {

CImageButton::CImageButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text,
                           std::uint32_t format, BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE), textFormat(format) {}

bool CImageButton::LoadStrip(const std::filesystem::path& path) { return LoadInto(strip, path); }
bool CImageButton::LoadNormalImage(const std::filesystem::path& path) { return LoadInto(normalImage, path); }
bool CImageButton::LoadHoverImage(const std::filesystem::path& path) { return LoadInto(hoverImage, path); }

BOOL CImageButton::OnMouseMove(WPARAM, POINT p) {
    const BOOL changed = StandardMouseMove(p);
    if (id == kHelpButtonId && !disabled && state != kStatePressed && Contains(p)) {
        NotifyCode(ControlNotify::Help);
    }
    return changed;
}

BOOL CImageButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CImageButton::OnLButtonUp(WPARAM, POINT p) { return StandardLButtonUp(p, id, [] {}); }

void CImageButton::Draw(Canvas& dc, const RECT&) {
    const int frame = state;
    if (strip) {
        DrawStripFrame(dc, strip, strip->width() / 3, frame, rect);
        return;
    }
    // Without its normal picture the button shows nothing, caption included.
    if (!normalImage) return;
    DrawPicture(dc, frame == kStateNormal ? normalImage : hoverImage, rect);
    DrawCaption(dc, text, TextColorOfFrame(frame), textFormat, textLeft, textRight);
}

void CImageButton::ReleaseImages() {
    strip.reset();
    normalImage.reset();
    hoverImage.reset();
}

}  // namespace zavrin
