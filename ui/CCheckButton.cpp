#include "ui/CCheckButton.h"

namespace zavrin {

CCheckButton::CCheckButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text,
                           std::uint32_t format, BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE), textFormat(format) {}

bool CCheckButton::LoadStrip(const std::filesystem::path& path) { return LoadInto(strip, path); }
bool CCheckButton::LoadNormalImage(const std::filesystem::path& path) { return LoadInto(normalImage, path); }
bool CCheckButton::LoadHoverImage(const std::filesystem::path& path) { return LoadInto(hoverImage, path); }
bool CCheckButton::LoadCheckedImage(const std::filesystem::path& path) { return LoadInto(checkedImage, path); }

void CCheckButton::SetStateTexts(const std::string& unchecked, const std::string& checkedCaption) {
    uncheckedText = unchecked;
    checkedText = checkedCaption;
}

int CCheckButton::Frame() const {
    if (state == kStatePressed || checked) return kStatePressed;
    return state;
}

BOOL CCheckButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CCheckButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CCheckButton::OnLButtonUp(WPARAM, POINT p) {
    return StandardLButtonUp(p, 0, [this] { checked = !checked; });
}

void CCheckButton::Draw(Canvas& dc, const RECT&) {
    if (!normalImage && !strip) return;
    const int frame = Frame();
    if (strip) {
        DrawStripFrame(dc, strip, strip->width() / 3, frame, rect);
    } else {
        const Picture* pictures[] = {&normalImage, &hoverImage, &checkedImage};
        DrawPicture(dc, *pictures[frame], rect);
    }
    // The state texts replace the caption for good, as owners read it back.
    if (frame == kStatePressed) {
        if (!checkedText.empty()) text = checkedText;
    } else if (!uncheckedText.empty()) {
        text = uncheckedText;
    }
    const COLORREF colors[] = {normalColor, hoverColor, checkedColor};
    DrawCaption(dc, text, colors[frame], textFormat, textLeft, textRight);
}

void CCheckButton::ReleaseImages() {
    strip.reset();
    normalImage.reset();
    hoverImage.reset();
    checkedImage.reset();
}

}  // namespace zavrin
