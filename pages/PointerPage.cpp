#include "pages/PointerPage.h"

#include "ui/CCheckButton.h"
#include "ui/CImageButton.h"
#include "ui/CRadioButton.h"
#include "ui/CSliderControl.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr int kSystemSettingsText = 260;
constexpr std::uint32_t kLeftCaption = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr std::uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

struct Label {
    std::uint32_t id;
    int text;
    RECT place;
};
constexpr std::array<Label, 6> kLabels{{
    {3133, 130, {10, 4, 120, 20}},
    {3134, 131, {30, 26, 250, 42}},
    {3135, 132, {30, 48, 120, 64}},
    {3137, 133, {150, 48, 250, 64}},
    {3136, 134, {10, 66, 120, 82}},
    {3138, 135, {10, 88, 120, 104}},
}};

}  // namespace

namespace {
// The three hidden sliders: their controls, steps and profile settings.
struct SliderSetting {
    std::uint32_t id;
    std::uint32_t trackId;
    std::uint32_t captionId;
    int steps;
    int setting;
    int top;
};
constexpr std::array<SliderSetting, 3> kSliders{{
    {PointerPage::kPointerSpeed, 3139, 3130, 11, Setting::PointerSpeed, 6},
    {PointerPage::kScrollSpeed, 3140, 3131, 10, Setting::ScrollWheelSpeed, 68},
    {PointerPage::kDoubleClickSpeed, 3141, 3132, 11, Setting::DoubleClickSpeed, 90},
}};

const SliderSetting* SliderOf(UINT id) {
    for (const SliderSetting& s : kSliders) {
        if (s.id == id) return &s;
    }
    return nullptr;
}
}  // namespace

void PointerPage::Build(PageHost&) {
    auto* system =
        AddToSection(Section::Pointer, RECT{71, 43, 191, 67},
                     std::make_unique<CImageButton>(hwnd(), ControlId::PointerSettings, RECT{},
                                                    languageText(kSystemSettingsText), kCentred,
                                                    TRUE, TRUE, FALSE));
    system->LoadLooks("skins\\button4");
    for (const Label& label : kLabels) {
        AddSectionText(Section::Pointer, label.id, label.place, languageText(label.text),
                       kLeftCaption)
            ->SetVisible(FALSE);
    }
    for (const SliderSetting& s : kSliders) {
        AddSlider(Section::Pointer, s.id, s.trackId, RECT{120, s.top, 220, s.top + 13}, s.steps,
                  "Slider_bar2.png", FALSE);
        AddSectionText(Section::Pointer, s.captionId, RECT{225, s.top - 2, 255, s.top + 15}, "",
                       kLeftCaption)
            ->SetVisible(FALSE);
    }
    acceleration_ = AddCheckBox(Section::Pointer, kAcceleration, RECT{12, 29, 23, 40}, FALSE);
    AddRadio(Section::Pointer, kScrollLines, RECT{12, 49, 27, 64}, "radio", FALSE);
    AddRadio(Section::Pointer, kScrollPage, RECT{132, 49, 147, 64}, "radio", FALSE);
}

void PointerPage::ShowStep(std::uint32_t captionId, int step) {
    SetShownText(find<CStaticText>(captionId), std::to_string(step + 1));
}

void PointerPage::RefreshFromProfile() {
    const ProfileRecord& p = profile();
    const bool pageMode = getSettingInt(p, Setting::ScrollWheelPageEnable) == 1;
    window_.radios().Select(pageMode ? kScrollPage : kScrollLines);
    for (const SliderSetting& s : kSliders) {
        if (auto* slider = find<CSliderControl>(s.id)) {
            slider->SetStopIndex(getSettingInt(p, s.setting));
            ShowStep(s.captionId, slider->StopIndex());
        }
    }
    if (auto* scroll = find<CSliderControl>(kScrollSpeed))
        scroll->SetDisabled(pageMode);
    acceleration_->SetChecked(getSettingInt(p, Setting::AccelerationEnable) == 1);
}

void PointerPage::CollectToProfile() {
    ProfileRecord& p = profile();
    const bool pageMode = window_.radios().IsSelected(kScrollPage);
    setSettingInt(p, Setting::ScrollWheelPageEnable, pageMode ? 1 : 0);
    for (const SliderSetting& s : kSliders) {
        if (const auto* slider = find<CSliderControl>(s.id))
            setSettingInt(p, s.setting, slider->StopIndex());
    }
    setSettingInt(p, Setting::AccelerationEnable, acceleration_->IsChecked() ? 1 : 0);
}

bool PointerPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    WatchDragEnd(message, wParam);
    const bool click = lParam == ControlNotify::Click;
    if (const SliderSetting* s = SliderOf(message)) {
        if (click) {
            if (const auto* slider = find<CSliderControl>(s->id))
                ShowStep(s->captionId, slider->StopIndex());
            window_.CollectToProfile();
            edited(ProfileField::PointerSettings);
        } else if (lParam == ControlNotify::Value) {
            ShowStep(s->captionId, static_cast<int>(wParam));
            window_.CollectToProfile();
            NoteDrag(ProfileField::PointerSettings);
        }
        return true;
    }
    if (message == kScrollLines || message == kScrollPage) {
        if (!click) return true;
        if (auto* scroll = find<CSliderControl>(kScrollSpeed)) scroll->SetDisabled(message == kScrollPage);
        repaint(window_.FindControl(kScrollLines));
        repaint(window_.FindControl(kScrollPage));
        window_.CollectToProfile();
        edited(ProfileField::PointerSettings);
        return true;
    }
    if (message == kAcceleration) {
        if (click) {
            window_.CollectToProfile();
            edited(ProfileField::PointerSettings);
        }
        return true;
    }
    return false;
}

}  // namespace zavrin
