#pragma once

#include "pages/SettingsPage.h"

namespace zavrin {

// The polling-rate section: seven rate buttons (or four picture buttons for
// receivers that stop at 1000 Hz), chosen by the device's rate capability.
// UI thread only.
class PollingPage : public SettingsPage {
public:
    static constexpr std::uint32_t kFirstFourRate = 3030;
    static constexpr std::uint32_t kFirstSevenRate = 3034;
    static constexpr std::uint32_t kFirstFourCaption = 3142;
    static constexpr std::uint32_t kFirstSevenCaption = 3146;
    static constexpr std::uint32_t kRateBox = 3110;
    static constexpr int kFourRates = 4;
    static constexpr int kSevenRates = 7;

    using SettingsPage::SettingsPage;

    void Build(PageHost& window) override;
    void RefreshFromProfile() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The rate index a selection of the radio word stands for.
    static int SevenRateIndex(std::uint32_t selection);
    static int FourRateIndex(std::uint32_t selection);

private:
    void OnRateChosen(int index);
    void ShowRateControls(int capability, int index);
};

}  // namespace zavrin
