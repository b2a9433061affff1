#include "ui/CBattery.h"

#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {

CBattery::CBattery(HWND parent, std::uint32_t, const RECT& rect, std::string text, BOOL shown, BOOL visible, BOOL)
    : CControlBase(parent, kId, rect, std::move(text), shown, visible, TRUE, TRUE) {}

bool CBattery::LoadFullImage(const std::filesystem::path& path) { return LoadInto(fullImage, path); }
bool CBattery::LoadEmptyImage(const std::filesystem::path& path) { return LoadInto(emptyImage, path); }
bool CBattery::LoadChargingImage(const std::filesystem::path& path) { return LoadInto(chargingImage, path); }
bool CBattery::LoadLightningImage(const std::filesystem::path& path) { return LoadInto(lightningImage, path); }

void CBattery::SetCharge(Mode newMode, std::uint8_t newLevel, int newChargeStep) {
    if (mode == newMode && level == newLevel && chargeStep == newChargeStep) return;
    mode = newMode;
    level = newLevel;
    chargeStep = newChargeStep;
    Invalidate();
}

void CBattery::DrawFill(Canvas& dc, const Picture& picture, int percent) const {
    if (!picture) return;
    const float s = uiScale;
    const int h = picture->height();
    const FillSpan fill = batteryFill(rect.top, rect.bottom, percent, bodyTop, bodyHeight, h, s);
    const RECT src{0, fill.sourceRow, picture->width(), h};
    const RECT dst{rect.left, fill.fillTop, rect.left + scaled(picture->width(), s),
                   fill.fillTop + scaled(h - fill.sourceRow, s)};
    dc.DrawImage(*picture, dst, src);
}

void CBattery::Draw(Canvas& dc, const RECT&) {
    switch (mode) {
        case OnBattery:
            DrawPicture(dc, emptyImage, rect);
            DrawFill(dc, fullImage, level);
            break;
        case Charging:
            DrawFill(dc, chargingImage, chargeStep);
            DrawPicture(dc, lightningImage, rect);
            break;
        case Charged:
            DrawPicture(dc, fullImage, rect);
            DrawPicture(dc, lightningImage, rect);
            break;
        default:
            break;
    }
}

void CBattery::ReleaseImages() {
    fullImage.reset();
    emptyImage.reset();
    chargingImage.reset();
    lightningImage.reset();
}

}  // namespace zavrin
