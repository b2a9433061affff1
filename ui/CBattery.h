#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// The battery gauge (id 3406); it never reacts to the mouse. Owners hand it the
// charge with SetCharge, which repaints the gauge.
class CBattery : public CControlBase {
public:
    static constexpr std::uint32_t kId = 3406;

    enum Mode : int { OnBattery = 0, Charging = 1, Charged = 2 };

    // The id argument is kept for the common constructor shape; the gauge always has kId.
    CBattery(HWND parent, std::uint32_t ignoredId, const RECT& rect, std::string text, BOOL shown, BOOL visible,
             BOOL disabled);

    bool LoadFullImage(const std::filesystem::path& path);
    bool LoadEmptyImage(const std::filesystem::path& path);
    bool LoadChargingImage(const std::filesystem::path& path);
    bool LoadLightningImage(const std::filesystem::path& path);

    void Draw(Canvas& dc, const RECT& clip) override;
    void ReleaseImages() override;

    // What the gauge shows: on battery the fill follows `level` (0..100); while
    // charging it follows `chargeStep`, the owner's animation step; charged shows
    // it full. Repaints when anything changed.
    void SetCharge(Mode mode, std::uint8_t level, int chargeStep);
    Mode ChargeMode() const { return mode; }
    std::uint8_t Level() const { return level; }

private:
    Picture fullImage;
    Picture emptyImage;
    Picture chargingImage;
    Picture lightningImage;
    Mode mode = OnBattery;
    std::uint8_t level = 100;
    int bodyTop = 7;
    int bodyHeight = 50;
    int chargeStep = 25;

    void DrawFill(Canvas& dc, const Picture& picture, int percent) const;
};

}  // namespace zavrin
