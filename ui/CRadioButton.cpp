#include "ui/CRadioButton.h"

#include <string>

#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

// Strip frame or picture for the three looks: normal, hover, selected.
void DrawThreeLooks(Canvas& dc, const Picture& strip, const Picture& normal, const Picture& hover,
                    const Picture& selected, int frame, const RECT& rect) {
    if (strip) {
        DrawStripFrame(dc, strip, strip->width() / 3, frame, rect);
        return;
    }
    const Picture* pictures[] = {&normal, &hover, &selected};
    DrawPicture(dc, *pictures[frame], rect);
}

}  // namespace

CRadioButton::CRadioButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown,
                           BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE) {}

bool CRadioButton::LoadStrip(const std::filesystem::path& path) { return LoadInto(strip, path); }
bool CRadioButton::LoadNormalImage(const std::filesystem::path& path) { return LoadInto(normalImage, path); }
bool CRadioButton::LoadHoverImage(const std::filesystem::path& path) { return LoadInto(hoverImage, path); }
bool CRadioButton::LoadSelectedImage(const std::filesystem::path& path) { return LoadInto(selectedImage, path); }

bool CRadioButton::IsSelected() const {
    const auto bit = radioBitOf(id);
    return bit && (radioSelection & bit->bit) != 0;
}

BOOL CRadioButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CRadioButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CRadioButton::OnLButtonUp(WPARAM, POINT p) {
    return StandardLButtonUp(p, 0, [this] {
        if (const auto bit = radioBitOf(id)) radioSelection = (radioSelection & ~bit->groupMask) | bit->bit;
    });
}

void CRadioButton::Draw(Canvas& dc, const RECT&) {
    DrawThreeLooks(dc, strip, normalImage, hoverImage, selectedImage, IsSelected() ? kStatePressed : state, rect);
}

void CRadioButton::ReleaseImages() {
    strip.reset();
    normalImage.reset();
    hoverImage.reset();
    selectedImage.reset();
}

CDPIRadioButton::CDPIRadioButton(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown,
                                 BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, disabled, TRUE) {}

bool CDPIRadioButton::LoadStrip(const std::filesystem::path& path) { return LoadInto(strip, path); }
bool CDPIRadioButton::LoadNormalImage(const std::filesystem::path& path) { return LoadInto(normalImage, path); }
bool CDPIRadioButton::LoadHoverImage(const std::filesystem::path& path) { return LoadInto(hoverImage, path); }
bool CDPIRadioButton::LoadSelectedImage(const std::filesystem::path& path) { return LoadInto(selectedImage, path); }

int CDPIRadioButton::Level() const {
    if (id < kFirstId || id >= kFirstId + kLevelCount) return -1;
    return static_cast<int>(id - kFirstId);
}

bool CDPIRadioButton::IsSelected() const {
    const int k = Level();
    return k >= 0 && (dpiLevelMask & (1u << k)) != 0;
}

BOOL CDPIRadioButton::OnMouseMove(WPARAM, POINT p) { return StandardMouseMove(p); }
BOOL CDPIRadioButton::OnLButtonDown(WPARAM, POINT p) { return StandardLButtonDown(p); }

BOOL CDPIRadioButton::OnLButtonUp(WPARAM, POINT p) {
    return StandardLButtonUp(p, 0, [this] {
        const int k = Level();
        // An id outside the eight levels has no bit to set.
        if (k < 0) return;
        const std::uint32_t lowByte = (1u << (k + 1)) - 1;
        dpiLevelMask = (dpiLevelMask & ~0xFFu) | lowByte;
    });
}

void CDPIRadioButton::Draw(Canvas& dc, const RECT&) {
    DrawThreeLooks(dc, strip, normalImage, hoverImage, selectedImage, IsSelected() ? kStatePressed : state, rect);
    const RECT label{rect.left, rect.top, rect.right, rect.top + scaled(11, uiScale)};
    dc.DrawText(std::to_string(dpiValue * 50), label, DT_CENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS, font, labelColor);
}

void CDPIRadioButton::ReleaseImages() {
    strip.reset();
    normalImage.reset();
    hoverImage.reset();
    selectedImage.reset();
}

}  // namespace zavrin
