#include "pages/LightingPage.h"

#include "dialogs/CColorPaletteDlg.h"
#include "model/NameTables.h"
#include "ui/CColorSelectButton.h"
#include "ui/CComboButton.h"
#include "ui/CRadioButton.h"
#include "ui/CSliderControl.h"
#include "ui/CStaticText.h"
#include "ui/PopupMenus.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr std::uint32_t kLeftCaption = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr std::uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr std::uint32_t kColourLabel = 3161;
constexpr std::uint32_t kBrightnessLabel = 3162;
constexpr std::uint32_t kSpeedLabel = 3163;
constexpr std::uint32_t kDirectionLabel = 3164;
constexpr std::uint32_t kSpeedTrack = 3190;
constexpr std::uint32_t kBrightnessTrack = 3191;
constexpr int kSpeedSteps = 3;
constexpr int kBrightnessSteps = 4;
constexpr int kOneColourRefused = 153;
constexpr int kTwoColoursRefused = 154;
// Effects as the device numbers them.
constexpr int kOff = 0;
constexpr int kDirectional = 1;
constexpr int kBreathing = 2;
constexpr int kSteady = 3;
constexpr int kNeon = 6;
constexpr int kDualColour = 8;

int CountSelected(const std::array<std::uint8_t, 10>& selected, int first, int last) {
    int n = 0;
    for (int i = first; i <= last; ++i) n += selected[static_cast<std::size_t>(i)] != 0 ? 1 : 0;
    return n;
}

}  // namespace

std::optional<int> LightingPage::DeselectRefusal(int m,
                                                 const std::array<std::uint8_t, 10>& selected) {
    switch (m) {
        case kSteady:
            return kOneColourRefused;
        case kBreathing:
            if (CountSelected(selected, 0, 6) == 1) return kOneColourRefused;
            return std::nullopt;
        case kDualColour:
            if (CountSelected(selected, 0, 1) == 1) return kOneColourRefused;
            return std::nullopt;
        case kNeon:
            if (CountSelected(selected, 0, 7) == 2) return kTwoColoursRefused;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

void LightingPage::Build(PageHost&) {
    const HWND self = hwnd();
    effectBox_ =
        AddToSection(Section::Lighting, RECT{72, 8, 189, 28},
                     std::make_unique<CComboButton>(self, ComboNotify::LightingEffect, kEffectBox,
                                                    RECT{}, "", kCentred, TRUE, TRUE, FALSE, ""));
    effectBox_->LoadLooks("skins\\combo3");

    AddSectionText(Section::Lighting, kBrightnessLabel, RECT{10, 38, 84, 56}, languageText(120),
                   kLeftCaption);
    brightness_ = AddSlider(Section::Lighting, kBrightnessSlider, kBrightnessTrack,
                            RECT{86, 41, 216, 54}, kBrightnessSteps, "Slider_bar.png", TRUE);
    AddSectionText(Section::Lighting, kBrightnessCaption, RECT{218, 38, 258, 56}, "", kCentred)
        ->SetFont(static_cast<int>(12 * uiScale), "Tahoma");
    AddSectionText(Section::Lighting, kSpeedLabel, RECT{10, 38, 84, 56}, languageText(121),
                   kLeftCaption);
    speed_ = AddSlider(Section::Lighting, kSpeedSlider, kSpeedTrack, RECT{86, 41, 216, 54},
                       kSpeedSteps, "Slider_bar.png", TRUE);
    AddSectionText(Section::Lighting, kSpeedCaption, RECT{218, 38, 258, 56}, "", kCentred)
        ->SetFont(static_cast<int>(12 * uiScale), "Tahoma");

    AddSectionText(Section::Lighting, kColourLabel, RECT{10, 68, 84, 86}, languageText(122),
                   kLeftCaption);
    for (int i = 0; i < kSlots; ++i) {
        const int left = 86 + 28 * i;
        auto* slot = AddToSection(Section::Lighting, RECT{left, 65, left + 24, 89},
                                  std::make_unique<CColorSelectCheckButton>(
                                      self, kFirstSlot + static_cast<std::uint32_t>(i), RECT{},
                                      RECT{}, "", TRUE, TRUE, FALSE));
        slot->LoadLooks("skins\\color_select");
        slots_[static_cast<std::size_t>(i)] = slot;
    }
    AddSectionText(Section::Lighting, kDirectionLabel, RECT{10, 68, 84, 86}, languageText(123),
                   kLeftCaption);
    for (const auto& [id, picture, left] :
         {std::tuple{kUp, "up", 86}, std::tuple{kDown, "down", 116}}) {
        auto* arrow =
            AddToSection(Section::Lighting, RECT{left, 65, left + 24, 89},
                         std::make_unique<CRadioButton>(self, id, RECT{}, "", TRUE, TRUE, FALSE, window_.radios()));
        const std::string name = picture;
        arrow->LoadLooks("skins\\" + name);
    }
}

std::optional<int> LightingPage::effect() const {
    const int m = window_.model().store.currentProfile().lighting1.modeValue[0];
    if (m < 0 || m >= kLightingModeCount) return std::nullopt;
    return m;
}

void LightingPage::ShowCaptions(int speed, int brightness) {
    SetShownText(find<CStaticText>(kSpeedCaption), std::to_string(speed + 1));
    SetShownText(find<CStaticText>(kBrightnessCaption), std::string(brightnessName(brightness)));
}

void LightingPage::ApplyVisibility(int m) {
    const bool brightness = m == kSteady || m == kNeon;
    const bool speed = m != kOff && !brightness;
    for (std::uint32_t id :
         {kBrightnessLabel, kBrightnessTrack, kBrightnessSlider, kBrightnessCaption})
        setVisible(window_.FindControl(id), brightness);
    for (std::uint32_t id : {kSpeedLabel, kSpeedTrack, kSpeedSlider, kSpeedCaption})
        setVisible(window_.FindControl(id), speed);
    setVisible(window_.FindControl(kColourLabel), m == kDualColour);
    for (int i = 0; i < kSlots; ++i)
        setVisible(slots_[static_cast<std::size_t>(i)], m == kDualColour && i < 2);
    for (std::uint32_t id : {kDirectionLabel, kUp, kDown})
        setVisible(window_.FindControl(id), m == kDirectional);
}

void LightingPage::RefreshFromProfile() {
    const Lighting1Settings& l = profile().lighting1;
    effectBox_->SetValueText(l.name);
    const auto m = effect();
    // An effect the tables do not know shows the box alone.
    ApplyVisibility(m.value_or(kOff));
    if (!m) return;
    const auto e = static_cast<std::size_t>(*m);
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        slots_[i]->SetColor(l.fixedColor[e][i]);
        slots_[i]->SetChecked(l.colorSelected[e][i] != 0);
    }
    speed_->SetStopIndex(l.speed[e]);
    brightness_->SetStopIndex(l.brightness[e]);
    ShowCaptions(speed_->StopIndex(), l.brightness[e]);
    window_.radios().Select(l.direction[e] != 0 ? kUp : kDown);
}

void LightingPage::CollectToProfile() {
    const auto m = effect();
    if (!m) return;
    Lighting1Settings& l = profile().lighting1;
    const auto e = static_cast<std::size_t>(*m);
    l.speed[e] = static_cast<std::uint8_t>(speed_->StopIndex());
    l.brightness[e] = static_cast<std::uint8_t>(brightness_->StopIndex());
    l.direction[e] = window_.radios().IsSelected(kUp) ? 1 : 0;
}

bool LightingPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    WatchDragEnd(message, wParam);
    if (message == ComboNotify::LightingEffect) {
        if (lParam == ControlNotify::Click) OpenEffectMenu();
        return lParam == ControlNotify::Click;
    }
    if (message == kEffectChosen) {
        if (lParam != 0) {
            const ButtonChoice choice = *reinterpret_cast<const ButtonChoice*>(lParam);
            OnEffectChosen(choice.name, choice.action.type);
        }
        return true;
    }
    if (message == PopupMessage::ComboLightingDeactivated) {
        CloseEffectMenu();
        return true;
    }
    if (message == kSpeedSlider || message == kBrightnessSlider) {
        OnSlider(message, lParam, wParam);
        return true;
    }
    if (message == kUp || message == kDown) {
        if (lParam != ControlNotify::Click) return true;
        repaint(window_.FindControl(kUp));
        repaint(window_.FindControl(kDown));
        window_.CollectToProfile();
        edited(ProfileField::Lighting);
        return true;
    }
    if (message >= kFirstSlot && message < kFirstSlot + kSlots) {
        OnSlotClicked(static_cast<int>(message - kFirstSlot), lParam);
        return true;
    }
    if (message == WM_TIMER) {
        const auto id = static_cast<int>(wParam);
        if (id < MainTimer::FirstColourSlot || id >= MainTimer::FirstColourSlot + kSlots)
            return false;
        OnSlotTimer(id - MainTimer::FirstColourSlot);
        return true;
    }
    return false;
}

void LightingPage::OpenEffectMenu() {
    CloseEffectMenu();
    const POINT at = ClientToScreen(hwnd(), POINT{effectBox_->Rect().left, effectBox_->Rect().bottom});
    if (window_.OpenPopup(MainPopupSlot::EffectMenu, std::make_unique<CComboLightingPopup>(LoadStandardPopupPictures()),
                          at, kEffectChosen, static_cast<int>(kEffectBox)) == nullptr)
        return;
    effectBox_->SetPopupOpen(true);
}

void LightingPage::CloseEffectMenu() {
    window_.ClosePopup(MainPopupSlot::EffectMenu);
    effectBox_->SetPopupOpen(false);
}

void LightingPage::OnEffectChosen(const std::string& name, int effectNumber) {
    CloseEffectMenu();
    Lighting1Settings& l = profile().lighting1;
    l.name = name;
    l.modeValue = {static_cast<std::uint8_t>(effectNumber), 0, 0};
    window_.RefreshFromProfile();
    edited(ProfileField::Lighting);
}

void LightingPage::OnSlider(std::uint32_t id, LPARAM code, WPARAM step) {
    const bool isSpeed = id == kSpeedSlider;
    if (code == ControlNotify::Click) {
        ShowCaptions(speed_->StopIndex(), brightness_->StopIndex());
        window_.CollectToProfile();
        edited(ProfileField::Lighting);
    } else if (code == ControlNotify::Value) {
        const int value = static_cast<int>(step);
        ShowCaptions(isSpeed ? value : speed_->StopIndex(), isSpeed ? brightness_->StopIndex() : value);
        window_.CollectToProfile();
        NoteDrag(ProfileField::Lighting);
    }
}

void LightingPage::OnSlotClicked(int i, LPARAM code) {
    const int timer = MainTimer::FirstColourSlot + i;
    if (code == ControlNotify::Click) {
        // Wait to see whether this click is the first of a double click.
        window_.SetTimer(static_cast<std::uintptr_t>(timer), kSlotTimerMs);
        return;
    }
    if (code != ControlNotify::DoubleClick) return;
    window_.KillTimer(static_cast<std::uintptr_t>(timer));
    const auto m = effect();
    if (!m) return;
    CColorPaletteDlg dialog(profile(), CColorPaletteDlg::Target::LightingSlot, *m, i, hwnd());
    if (dialog.DoModal() != IDOK) return;
    CColorSelectCheckButton* slot = slots_[static_cast<std::size_t>(i)];
    slot->SetColor(
        profile().lighting1.fixedColor[static_cast<std::size_t>(*m)][static_cast<std::size_t>(i)]);
    edited(ProfileField::Lighting);
}

void LightingPage::OnSlotTimer(int i) {
    window_.KillTimer(static_cast<std::uintptr_t>(MainTimer::FirstColourSlot + i));
    const auto m = effect();
    if (!m) return;
    auto& selected = profile().lighting1.colorSelected[static_cast<std::size_t>(*m)];
    CColorSelectCheckButton* slot = slots_[static_cast<std::size_t>(i)];
    if (!slot->IsChecked()) {
        slot->SetChecked(true);
    } else if (const auto refusal = DeselectRefusal(*m, selected)) {
        window_.showAttention(*refusal);
    } else {
        slot->SetChecked(false);
    }
    selected[static_cast<std::size_t>(i)] = slot->IsChecked() ? 1 : 0;
    edited(ProfileField::Lighting);
}

}  // namespace zavrin
