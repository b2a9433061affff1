#include "pages/DpiPage.h"

#include "dialogs/CColorPaletteDlg.h"
#include "dialogs/CDPIValueSettingDlg.h"
#include "ui/CCheckButton.h"
#include "ui/CColorSelectButton.h"
#include "ui/CRadioButton.h"
#include "ui/CVerticalSliderControl.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

// One column per level inside the section, design units.
constexpr int kColumnLeft = 5;
constexpr int kColumnStep = 42;
constexpr RECT kEnablePlace{14, 6, 28, 20};
constexpr RECT kValuePlace{1, 26, 41, 54};
constexpr RECT kBarPlace{13, 58, 29, 178};
constexpr RECT kColourPlace{13, 181, 29, 193};
constexpr int kBarMargin = 0;

RECT InColumn(int k, const RECT& r) {
    const int left = kColumnLeft + kColumnStep * k;
    return RECT{left + r.left, r.top, left + r.right, r.bottom};
}

bool LevelOf(UINT message, std::uint32_t first, int& k) {
    if (message < first || message >= first + kDpiLevelCount) return false;
    k = static_cast<int>(message - first);
    return true;
}

}  // namespace

SensorTable DpiPage::sensor() const {
    return sensorTable(window_.model().store.sensorId());
}

int DpiPage::valueOfStep(int step) const {
    const auto dpi = sensor().dpiOfStep(static_cast<std::size_t>(step));
    return dpi ? *dpi / 50 : 0;
}

void DpiPage::Build(PageHost&) {
    const HWND self = hwnd();
    const int steps = std::max<int>(1, static_cast<int>(sensor().size()));
    for (int k = 0; k < kDpiLevelCount; ++k) {
        const BOOL shown = k < kShownLevels ? TRUE : FALSE;
        const auto id = [k](std::uint32_t first) { return first + static_cast<std::uint32_t>(k); };
        Level& level = levels_[static_cast<std::size_t>(k)];
        level.enable =
            AddToSection(Section::Dpi, InColumn(k, kEnablePlace),
                         std::make_unique<CCheckButton>(self, id(kFirstEnableBox), RECT{}, "",
                                                        DT_CENTER, TRUE, shown, FALSE));
        level.enable->LoadLooks("skins\\check_button_dpi");
        level.colour =
            AddToSection(Section::Dpi, InColumn(k, kColourPlace),
                         std::make_unique<CColorSelectButton>(self, id(kFirstColour), RECT{},
                                                              RECT{}, "", TRUE, shown, FALSE));
        level.bar = AddToSection(
            Section::Dpi, InColumn(k, kBarPlace),
            std::make_unique<CDPIValueShowControl>(self, id(kFirstBar), RECT{}, steps, kBarMargin,
                                                   kBarMargin, "", TRUE, shown, FALSE));
        level.bar->LoadBackgroundImage(SkinPath("skins\\mouse\\dpi_bar_1.png"));
        level.bar->LoadFillImage(SkinPath("skins\\mouse\\dpi_bar_2.png"));
        level.value =
            AddToSection(Section::Dpi, InColumn(k, kValuePlace),
                         std::make_unique<CDPIRadioButton>(self, id(kFirstValueButton), RECT{}, "",
                                                           TRUE, shown, FALSE, levelMask_));
        // One picture for every look: the current level shows by its text colour.
        level.value->LoadLook({Look::Normal, Look::Hover, Look::Checked}, SkinPath("skins\\dpi_value.png"));
        level.value->SetFont(static_cast<int>(12 * uiScale), "Tahoma");
        // The sliders are an alternative to the bars that this window never shows.
        level.slider = AddToSection(Section::Dpi, InColumn(k, kBarPlace),
                                    std::make_unique<CVerticalSliderControl>(
                                        self, id(kFirstSlider), RECT{}, steps, kBarMargin,
                                        kBarMargin, "", TRUE, FALSE, FALSE));
        level.slider->LoadBackgroundImage(SkinPath("skins\\mouse\\dpi_bar_1.png"));
        level.slider->LoadFillImage(SkinPath("skins\\mouse\\dpi_bar_2.png"));
    }
}

void DpiPage::LayOut(Section section, const RECT& content) {
    SettingsPage::LayOut(section, content);
    if (section != Section::Dpi) return;
    // The swatch is the whole button.
    for (Level& level : levels_) level.colour->SetSwatchRect(level.colour->Rect());
}

void DpiPage::RefreshFromProfile() {
    const ProfileRecord& p = profile();
    dpiLevelShown_ = p.currentDpiLevel < kDpiLevelCount ? p.currentDpiLevel : 0;
    for (int k = 0; k < kDpiLevelCount; ++k) {
        Level& level = levels_[static_cast<std::size_t>(k)];
        const bool enabled = (p.dpiOffOnFlag & (1u << k)) != 0;
        const int step = p.xySetting[static_cast<std::size_t>(k)];
        level.enable->SetChecked(enabled);
        level.value->SetLabelColor(k == dpiLevelShown_ ? kCurrentLevelColor : UiColor::TextNormal);
        level.value->SetDpiValue(valueOfStep(step));
        level.value->SetDisabled(!enabled);
        level.colour->SetColor(p.dpiLevelIndication[static_cast<std::size_t>(k)]);
        level.bar->SetLevel(std::clamp(step, 0, level.bar->LevelCount() - 1));
        level.slider->SetLevel(level.bar->Level());
    }
    // The value buttons up to the current level look selected.
    levelMask_ = (levelMask_ & ~0xFFu) | ((1u << (dpiLevelShown_ + 1)) - 1);
}

void DpiPage::CollectToProfile() {
    ProfileRecord& p = profile();
    p.currentDpiLevel = static_cast<std::uint8_t>(dpiLevelShown_);
    std::uint8_t mask = 0;
    for (int k = 0; k < kDpiLevelCount; ++k) {
        if (levels_[static_cast<std::size_t>(k)].enable->IsChecked()) mask |= 1u << k;
    }
    p.dpiOffOnFlag = mask;
}

bool DpiPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    int k = 0;
    if (LevelOf(message, kFirstSlider, k)) {
        if (lParam == ControlNotify::Value || lParam == ControlNotify::Click) {
            const int step = lParam == ControlNotify::Value
                                 ? static_cast<int>(wParam)
                                 : levels_[static_cast<std::size_t>(k)].slider->Level();
            OnLevelSliderMoved(k, step, lParam == ControlNotify::Click);
        }
        return true;
    }
    if (lParam != ControlNotify::Click) {
        return LevelOf(message, kFirstEnableBox, k) || LevelOf(message, kFirstColour, k) ||
               LevelOf(message, kFirstValueButton, k) || LevelOf(message, kFirstBar, k);
    }
    if (LevelOf(message, kFirstEnableBox, k)) {
        OnLevelEnableClicked(k);
    } else if (LevelOf(message, kFirstColour, k)) {
        OnLevelColourClicked(k);
    } else if (LevelOf(message, kFirstValueButton, k)) {
        OnCurrentLevelClicked(k);
    } else if (LevelOf(message, kFirstBar, k)) {
        OnLevelValueClicked(k);
    } else {
        return false;
    }
    return true;
}

void DpiPage::CollectRefreshAndApply() {
    window_.CollectToProfile();
    window_.RefreshFromProfile();
    edited(ProfileField::DpiLevels);
}

void DpiPage::OnLevelEnableClicked(int k) {
    const std::uint8_t oldMask = profile().dpiOffOnFlag;
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << k);
    CCheckButton* box = levels_[static_cast<std::size_t>(k)].enable;
    if (oldMask == bit) {
        // The last enabled level stays on.
        box->SetChecked(true);
        return;
    }
    if (!box->IsChecked() && k == dpiLevelShown_) {
        // The current level goes off: the next enabled level after it takes over.
        for (int tries = 0; tries < kDpiLevelCount; ++tries) {
            dpiLevelShown_ = (dpiLevelShown_ + 1) % kDpiLevelCount;
            if ((oldMask & (1u << dpiLevelShown_)) != 0 && dpiLevelShown_ != k) break;
        }
    }
    CollectRefreshAndApply();
}

void DpiPage::OnCurrentLevelClicked(int k) {
    if (k == dpiLevelShown_) {
        // The button's click set the selection look; put it back as it was.
        RefreshFromProfile();
        window_.Invalidate(FALSE);
        return;
    }
    dpiLevelShown_ = k;
    CollectRefreshAndApply();
}

void DpiPage::OnLevelValueClicked(int k) {
    // Without the sensor's step table there is no value to offer.
    if (sensor().size() == 0) return;
    Level& level = levels_[static_cast<std::size_t>(k)];
    CDPIValueSettingDlg dialog(*level.bar, static_cast<int>(sensor().size()), sensor(), hwnd());
    if (dialog.DoModal() != IDOK) return;
    const int step = level.bar->Level();
    profile().xySetting[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(step);
    level.value->SetDpiValue(valueOfStep(step));
    edited(ProfileField::DpiLevels);
}

void DpiPage::OnLevelColourClicked(int k) {
    CColorPaletteDlg dialog(profile(), CColorPaletteDlg::Target::DpiLevel, k, 0, hwnd());
    if (dialog.DoModal() != IDOK) return;
    Level& level = levels_[static_cast<std::size_t>(k)];
    level.colour->SetColor(profile().dpiLevelIndication[static_cast<std::size_t>(k)]);
    edited(ProfileField::DpiColours);
}

void DpiPage::OnLevelSliderMoved(int k, int step, bool released) {
    Level& level = levels_[static_cast<std::size_t>(k)];
    level.value->SetDpiValue(valueOfStep(step));
    profile().xySetting[static_cast<std::size_t>(k)] = static_cast<std::uint16_t>(step);
    if (released) {
        edited(ProfileField::DpiLevels);
    } else {
        editing(ProfileField::DpiLevels);
    }
}

}  // namespace zavrin
