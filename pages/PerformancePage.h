#pragma once

#include "model/SettingRanges.h"
#include "pages/SettingsPage.h"

namespace zavrin {

class CCheckButton;
class CPowerManageButton;
class CSliderControl;
class CStaticText;

// The lift-off, debounce and sensor-option sections and the power-saving dial
// of the left column with its two hidden option boxes. UI thread only.
class PerformancePage : public SettingsPage {
public:
    static constexpr std::uint32_t kLiftLow = 3510;
    static constexpr std::uint32_t kLiftHigh = 3511;
    static constexpr std::uint32_t kDebounceSlider = 3530;
    static constexpr std::uint32_t kDebounceTrack = 3531;
    static constexpr std::uint32_t kDebounceCaption = 3532;
    static constexpr std::uint32_t kAngleSnapBox = 3540;
    static constexpr std::uint32_t kMotionSyncBox = 3541;
    static constexpr std::uint32_t kRippleBox = 3542;
    static constexpr std::uint32_t kMoveLightingBox = 3501;
    static constexpr std::uint32_t kMotionWakeupBox = 3504;
    static constexpr int kDebounceSteps = kDebounceStops;

    using SettingsPage::SettingsPage;

    void Build(PageHost& window) override;
    void RefreshFromProfile() override;
    void CollectToProfile() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ShowDebounce(int step);
    void OnSensorOptionClicked(std::uint32_t id);
    void OnHiddenOptionClicked(std::uint32_t id);
    void OnPowerDownClicked();

    CSliderControl* debounce_ = nullptr;
    std::array<CCheckButton*, 3> sensorBoxes_{};
    CCheckButton* moveLighting_ = nullptr;
    CCheckButton* motionWakeup_ = nullptr;
};

}  // namespace zavrin
