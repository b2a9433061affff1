#include "pages/PerformancePage.h"

#include "ui/CCheckButton.h"
#include "ui/CPowerManageButton.h"
#include "ui/CRadioButton.h"
#include "ui/CSliderControl.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr std::uint32_t kLeftCaption = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr int kLowText = 270;
constexpr int kHighText = 271;
constexpr int kFirstSensorText = 286;
constexpr int kSleepBeforeText = 266;
constexpr int kSleepAfterText = 267;
constexpr int kMoveLightingText = 268;
constexpr int kMotionWakeupText = 274;
constexpr std::uint32_t kHiddenCaption = 3402;
constexpr std::uint32_t kFirstSensorCaption = 3543;
constexpr int kLowerPowerPosition = kFirstSleepPosition;
constexpr int kUpperPowerPosition = kLastSleepPosition;
constexpr std::array<int, 3> kSensorSettings{Setting::AngleSnap, Setting::MotionSync,
                                             Setting::RippleControl};
constexpr std::array<ProfileField, 3> kSensorFields{
    ProfileField::AngleSnap, ProfileField::MotionSync, ProfileField::RippleControl};

int BoxValue(const CCheckButton* box) {
    return box != nullptr && box->IsChecked() ? 1 : 0;
}

}  // namespace

void PerformancePage::Build(PageHost&) {
    AddRadio(Section::LiftOff, kLiftLow, RECT{40, 35, 55, 50}, "radio", TRUE);
    AddSectionText(Section::LiftOff, 3520, RECT{62, 33, 130, 52}, languageText(kLowText),
                   kLeftCaption);
    AddRadio(Section::LiftOff, kLiftHigh, RECT{145, 35, 160, 50}, "radio", TRUE);
    AddSectionText(Section::LiftOff, 3521, RECT{167, 33, 240, 52}, languageText(kHighText),
                   kLeftCaption);

    debounce_ = AddSlider(Section::Debounce, kDebounceSlider, kDebounceTrack, RECT{20, 36, 200, 49},
                          kDebounceSteps, "Slider_bar.png", TRUE);
    AddSectionText(Section::Debounce, kDebounceCaption, RECT{206, 33, 256, 52}, "0ms",
                   kLeftCaption);

    for (int i = 0; i < 3; ++i) {
        const int top = 14 + 22 * i;
        const auto offset = static_cast<std::uint32_t>(i);
        sensorBoxes_[static_cast<std::size_t>(i)] = AddCheckBox(
            Section::SensorOptions, kAngleSnapBox + offset, RECT{30, top + 3, 41, top + 14}, TRUE);
        AddSectionText(Section::SensorOptions, kFirstSensorCaption + offset,
                       RECT{50, top, 250, top + 18}, languageText(kFirstSensorText + i),
                       kLeftCaption);
    }

    // Two options of the left column that carry profile values without a
    // place on screen.
    const HWND self = hwnd();
    const std::array<std::pair<std::uint32_t, int>, 2> hidden{
        {{kMoveLightingBox, kMoveLightingText}, {kMotionWakeupBox, kMotionWakeupText}}};
    for (std::size_t i = 0; i < hidden.size(); ++i) {
        const int top = 640 + 14 * static_cast<int>(i);
        auto* box =
            window_.AddControl(CDlgBase::kCommonList,
                               std::make_unique<CCheckButton>(
                                   self, hidden[i].first, PageHost::Scaled(50, top, 61, top + 11),
                                   "", DT_CENTER, TRUE, FALSE, FALSE));
        box->LoadLooks("skins\\check");
        auto* caption = window_.AddControl(
            CDlgBase::kCommonList,
            std::make_unique<CStaticText>(self, kHiddenCaption,
                                          PageHost::Scaled(66, top - 3, 250, top + 14),
                                          UiColor::TextNormal, kLeftCaption,
                                          languageText(hidden[i].second), TRUE, FALSE, FALSE));
        caption->ShowCaption();
        (i == 0 ? moveLighting_ : motionWakeup_) = box;
    }
}

void PerformancePage::ShowDebounce(int step) {
    SetShownText(find<CStaticText>(kDebounceCaption), std::to_string(step) + "ms");
}

void PerformancePage::RefreshFromProfile() {
    const ProfileRecord& p = profile();
    window_.radios().Select(getSettingInt(p, Setting::LiftDetectionHeight) == 1 ? kLiftLow : kLiftHigh);
    const int debounce = getSettingInt(p, Setting::KeyDebounce);
    debounce_->SetStopIndex(debounce);
    ShowDebounce(debounce_->StopIndex());
    moveLighting_->SetChecked(getSettingInt(p, Setting::MoveLightingOnOffMode) == 1);
    motionWakeup_->SetChecked(getSettingInt(p, Setting::MotionWakeup) == 1);
    for (std::size_t i = 0; i < kSensorSettings.size(); ++i)
        sensorBoxes_[i]->SetChecked(getSettingInt(p, kSensorSettings[i]) == 1);

    const int position = getSettingInt(p, Setting::PowerDownTime);
    if (auto* dial = find<CPowerManageButton>(ControlId::PowerSelector)) {
        // A hand-edited value outside the dial would show no picture.
        dial->SetPosition(std::clamp(position, kLowerPowerPosition, kUpperPowerPosition));
    }
    SetShownText(
        find<CStaticText>(ControlId::PowerCaption),
        languageText(kSleepBeforeText) + std::to_string(position) + languageText(kSleepAfterText));
}

void PerformancePage::CollectToProfile() {
    ProfileRecord& p = profile();
    setSettingInt(p, Setting::MoveLightingOnOffMode, BoxValue(moveLighting_));
    setSettingInt(p, Setting::MotionWakeup, BoxValue(motionWakeup_));
    for (std::size_t i = 0; i < kSensorSettings.size(); ++i)
        setSettingInt(p, kSensorSettings[i], BoxValue(sensorBoxes_[i]));
    if (auto* dial = find<CPowerManageButton>(ControlId::PowerSelector))
        setSettingInt(p, Setting::PowerDownTime, dial->Position());
    const bool low = window_.radios().IsSelected(kLiftLow);
    setSettingInt(p, Setting::LiftDetectionHeight, low ? 1 : 2);
    setSettingInt(p, Setting::KeyDebounce, debounce_->StopIndex());
}

bool PerformancePage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    WatchDragEnd(message, wParam);
    const bool click = lParam == ControlNotify::Click;
    switch (message) {
        case kLiftLow:
        case kLiftHigh:
            if (!click) return true;
            repaint(window_.FindControl(kLiftLow));
            repaint(window_.FindControl(kLiftHigh));
            window_.CollectToProfile();
            edited(ProfileField::LiftOff);
            return true;
        case kDebounceSlider:
            if (click) {
                ShowDebounce(debounce_->StopIndex());
                window_.CollectToProfile();
                edited(ProfileField::Debounce);
            } else if (lParam == ControlNotify::Value) {
                ShowDebounce(static_cast<int>(wParam));
                window_.CollectToProfile();
                NoteDrag(ProfileField::Debounce);
            }
            return true;
        case kAngleSnapBox:
        case kMotionSyncBox:
        case kRippleBox:
            if (click) OnSensorOptionClicked(message);
            return true;
        case kMoveLightingBox:
        case kMotionWakeupBox:
            if (click) OnHiddenOptionClicked(message);
            return true;
        case ControlId::PowerSelector:
            if (click) OnPowerDownClicked();
            return true;
        default:
            return false;
    }
}

void PerformancePage::OnSensorOptionClicked(std::uint32_t id) {
    const auto i = static_cast<std::size_t>(id - kAngleSnapBox);
    setSettingInt(profile(), kSensorSettings[i], BoxValue(sensorBoxes_[i]));
    edited(kSensorFields[i]);
    window_.RefreshFromProfile();
}

void PerformancePage::OnHiddenOptionClicked(std::uint32_t id) {
    if (id == kMoveLightingBox) {
        setSettingInt(profile(), Setting::MoveLightingOnOffMode, BoxValue(moveLighting_));
        edited(ProfileField::MoveLighting);
    } else {
        setSettingInt(profile(), Setting::MotionWakeup, BoxValue(motionWakeup_));
        edited(ProfileField::MotionWakeup);
    }
    window_.RefreshFromProfile();
}

void PerformancePage::OnPowerDownClicked() {
    if (auto* dial = find<CPowerManageButton>(ControlId::PowerSelector))
        setSettingInt(profile(), Setting::PowerDownTime, dial->Position());
    edited(ProfileField::PowerSaving);
    window_.RefreshFromProfile();
}

}  // namespace zavrin
