#pragma once

#include "device/SensorTables.h"
#include "pages/SettingsPage.h"
#include "ui/CRadioButton.h"

namespace zavrin {

class CCheckButton;
class CColorSelectButton;
class CDPIValueShowControl;
class CVerticalSliderControl;

// The DPI section: per level an enable box, a value button that also makes
// the level current, a bar that opens the value dialog and a colour swatch
// that opens the palette. Levels 6 and 7 exist hidden and keep their values.
// UI thread only.
class DpiPage : public SettingsPage {
public:
    static constexpr std::uint32_t kFirstEnableBox = 3260;
    static constexpr std::uint32_t kFirstColour = 3270;
    static constexpr std::uint32_t kFirstSlider = 3280;
    static constexpr std::uint32_t kFirstValueButton = 3290;
    static constexpr std::uint32_t kFirstBar = 3300;
    static constexpr int kShownLevels = 6;
    static constexpr COLORREF kCurrentLevelColor = 0x0000FF;

    using SettingsPage::SettingsPage;

    void Build(PageHost& window) override;
    void RefreshFromProfile() override;
    void CollectToProfile() override;
    void LayOut(Section section, const RECT& content) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    int dpiLevelShown() const { return dpiLevelShown_; }

private:
    void OnLevelEnableClicked(int k);
    void OnLevelColourClicked(int k);
    void OnCurrentLevelClicked(int k);
    void OnLevelValueClicked(int k);
    void OnLevelSliderMoved(int k, int step, bool released);
    void CollectRefreshAndApply();
    SensorTable sensor() const;
    int valueOfStep(int step) const;

    struct Level {
        CCheckButton* enable = nullptr;
        CColorSelectButton* colour = nullptr;
        CVerticalSliderControl* slider = nullptr;
        CDPIRadioButton* value = nullptr;
        CDPIValueShowControl* bar = nullptr;
    };
    std::array<Level, kDpiLevelCount> levels_{};
    int dpiLevelShown_ = 0;
    // Which value buttons look selected: the levels up to the current one.
    std::uint32_t levelMask_ = CDPIRadioButton::kInitialLevelMask;
};

}  // namespace zavrin
