#pragma once

#include <optional>

#include "pages/SettingsPage.h"

namespace zavrin {

class CColorSelectCheckButton;
class CComboButton;
class CSliderControl;

// The lighting section: the effect menu and, for the chosen effect, its
// speed, brightness, colour slots and direction, each effect keeping its own
// values. A click on a colour slot toggles it after a short wait unless a
// double click, which opens the palette, follows. UI thread only.
class LightingPage : public SettingsPage {
public:
    static constexpr std::uint32_t kEffectBox = 3120;
    static constexpr UINT kEffectChosen = 1145;
    static constexpr std::uint32_t kSpeedSlider = 3200;
    static constexpr std::uint32_t kBrightnessSlider = 3220;
    static constexpr std::uint32_t kSpeedCaption = 3210;
    static constexpr std::uint32_t kBrightnessCaption = 3230;
    static constexpr std::uint32_t kFirstSlot = 3180;
    static constexpr std::uint32_t kUp = 3240;
    static constexpr std::uint32_t kDown = 3250;
    static constexpr int kSlots = 8;
    static constexpr std::uint32_t kSlotTimerMs = 150;

    using SettingsPage::SettingsPage;

    void Build(PageHost& window) override;
    void RefreshFromProfile() override;
    void CollectToProfile() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // The language text that refuses deselecting a slot of effect `m` with
    // these selections, or nothing when deselecting is allowed.
    static std::optional<int> DeselectRefusal(int m, const std::array<std::uint8_t, 10>& selected);

private:
    // The effect number when it indexes the tables; a device may report others.
    std::optional<int> effect() const;
    void OpenEffectMenu();
    void CloseEffectMenu();
    void OnEffectChosen(const std::string& name, int effectNumber);
    void OnSlider(std::uint32_t id, LPARAM code, WPARAM step);
    void OnSlotClicked(int i, LPARAM code);
    void OnSlotTimer(int i);
    void ShowCaptions(int speed, int brightness);
    void ApplyVisibility(int m);

    CComboButton* effectBox_ = nullptr;
    CSliderControl* speed_ = nullptr;
    CSliderControl* brightness_ = nullptr;
    std::array<CColorSelectCheckButton*, kSlots> slots_{};
};

}  // namespace zavrin
