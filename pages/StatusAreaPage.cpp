#include "pages/StatusAreaPage.h"

#include <algorithm>
#include <array>
#include <utility>

#include "pages/LeftColumn.h"
#include "pages/PageHost.h"
#include "ui/CBattery.h"
#include "ui/CDlgBase.h"
#include "ui/CImageButton.h"
#include "ui/CLinkButton.h"
#include "ui/CPowerManageButton.h"
#include "ui/CStaticImage.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr int kSettingsText = 1;
constexpr int kVersionText = 3;
constexpr int kApplyText = 6;
constexpr int kResetText = 7;
constexpr int kProfilesText = 10;
constexpr int kBatteryText = 15;
constexpr int kFirstBatteryLegendText = 16;
constexpr int kPowerSavingText = 265;
constexpr int kNotLinkedText = 284;
constexpr const char* kVersionSuffix = ":1.1.2";
constexpr int kCommonList = CDlgBase::kCommonList;

constexpr std::array<std::pair<std::uint32_t, ConnectionKind>, 3> kConnectionIcons{
    {{ControlId::StatusWired, ConnectionKind::Wired},
     {ControlId::StatusWireless, ConnectionKind::Dongle},
     {ControlId::StatusBluetooth, ConnectionKind::Bluetooth}}};

RECT Scaled(int left, int top, int right, int bottom) {
    return PageHost::Scaled(left, top, right, bottom);
}

}  // namespace

void StatusAreaPage::Build(PageHost&) {
    BuildConnection();
    BuildBattery();
    BuildPower();
    BuildFoot();
}

void StatusAreaPage::BuildConnection() {
    const HWND self = window_.GetSafeHwnd();
    const std::array<std::pair<std::uint32_t, const char*>, 3> icons{
        {{ControlId::StatusWired, "skins\\Status_Wired.png"},
         {ControlId::StatusWireless, "skins\\Status_Wireless.png"},
         {ControlId::StatusBluetooth, "skins\\Status_BLE.png"}}};
    for (const auto& [id, picture] : icons) {
        auto* icon = window_.AddControl(
            kCommonList, std::make_unique<CStaticImage>(self, id, Scaled(550, 600, 580, 630), "",
                                                        TRUE, FALSE, FALSE));
        icon->LoadImage(SkinPath(picture));
    }
    ShowingItsText(window_.AddControl(
        kCommonList,
        std::make_unique<CStaticText>(self, ControlId::NotLinkedText, Scaled(420, 640, 710, 662),
                                      UiColor::TextNormal, kCaption, "", TRUE, FALSE, FALSE)));
}

void StatusAreaPage::BuildBattery() {
    const HWND self = window_.GetSafeHwnd();
    AddTitleBar(window_, ControlId::BatteryTitle, Scaled(36, 398, 266, 423),
                languageText(kBatteryText), TRUE);
    auto* battery = window_.AddControl(
        kCommonList, std::make_unique<CBattery>(self, ControlId::BatteryGauge,
                                                Scaled(62, 432, 94, 496), "", TRUE, TRUE, FALSE));
    battery->LoadFullImage(SkinPath("skins\\battery_full.png"));
    battery->LoadEmptyImage(SkinPath("skins\\battery_empty.png"));
    battery->LoadChargingImage(SkinPath("skins\\battery_charging.png"));
    battery->LoadLightningImage(SkinPath("skins\\battery_lighting.png"));
    ShowingItsText(window_.AddControl(
        kCommonList,
        std::make_unique<CStaticText>(self, ControlId::BatteryText, Scaled(52, 480, 104, 500),
                                      UiColor::TextNormal, kCaption, "100%", FALSE, TRUE, FALSE)));
    const std::array<const char*, 3> dots{"skins\\battery_green.png", "skins\\battery_orange.png",
                                          "skins\\battery_red.png"};
    for (int i = 0; i < 3; ++i) {
        const int top = 442 + 18 * i;
        auto* dot = window_.AddControl(
            kCommonList, std::make_unique<CStaticImage>(self, ControlId::BatteryLegendDot,
                                                        Scaled(120, top + 3, 130, top + 13), "",
                                                        TRUE, TRUE, FALSE));
        dot->LoadImage(SkinPath(dots[static_cast<std::size_t>(i)]));
        ShowingItsText(window_.AddControl(
            kCommonList, std::make_unique<CStaticText>(
                             self, ControlId::BatteryLegendText, Scaled(136, top, 262, top + 16),
                             UiColor::TextNormal, kLeftCaption,
                             languageText(kFirstBatteryLegendText + i), TRUE, TRUE, FALSE)));
    }
}

void StatusAreaPage::BuildPower() {
    const HWND self = window_.GetSafeHwnd();
    AddTitleBar(window_, ControlId::PowerTitle, Scaled(36, 525, 266, 550),
                languageText(kPowerSavingText), TRUE);
    auto* power = window_.AddControl(
        kCommonList,
        std::make_unique<CPowerManageButton>(self, ControlId::PowerSelector,
                                             Scaled(81, 556, 221, 636), "", 0, TRUE, TRUE, FALSE));
    for (int position = 1; position <= 8; ++position) {
        power->LoadPositionImage(
            position, SkinPath("skins\\power_manage_" + std::to_string(position + 2) + "min.png"));
    }
    ShowingItsText(window_.AddControl(
        kCommonList,
        std::make_unique<CStaticText>(self, ControlId::PowerCaption, Scaled(36, 638, 266, 656),
                                      UiColor::TextNormal, kCaption, "", TRUE, TRUE, FALSE)));
}

void StatusAreaPage::BuildFoot() {
    const HWND self = window_.GetSafeHwnd();
    auto* profiles = window_.AddControl(
        kCommonList,
        std::make_unique<CImageButton>(self, ControlId::ProfileSelector, Scaled(118, 664, 183, 687),
                                       languageText(kSettingsText), kCaption, TRUE, TRUE, FALSE));
    profiles->LoadLooks("skins\\button2");
    AddTitleBar(window_, ControlId::HiddenTitle, Scaled(36, 700, 266, 725),
                languageText(kProfilesText), FALSE);
    ShowingItsText(window_.AddControl(
        kCommonList,
        std::make_unique<CStaticText>(
            self, ControlId::VersionText, Scaled(36, 708, 336, 728), UiColor::TextNormal,
            kLeftCaption, languageText(kVersionText) + kVersionSuffix, TRUE, TRUE, FALSE)));
    auto* reset = window_.AddControl(
        kCommonList,
        std::make_unique<CImageButton>(self, ControlId::FactoryReset, Scaled(1043, 705, 1108, 728),
                                       languageText(kResetText), kCaption, TRUE, TRUE, FALSE));
    reset->LoadLooks("skins\\button2");
    auto* apply = window_.AddControl(
        kCommonList,
        std::make_unique<CImageButton>(self, ControlId::ImmediateApply, Scaled(968, 705, 1033, 728),
                                       languageText(kApplyText), kCaption, TRUE, FALSE, FALSE));
    apply->LoadLooks("skins\\button2");
    window_.AddControl(kCommonList, std::make_unique<CLinkButton>(
                                        self, ControlId::MakerLink, Scaled(500, 708, 630, 728),
                                        "Zavrin", kCaption, TRUE, FALSE, FALSE));
}

void StatusAreaPage::ShowConnection(std::optional<ConnectionKind> kind) {
    for (const auto& [id, k] : kConnectionIcons) {
        if (CControlBase* icon = window_.FindControl(id)) {
            icon->SetVisible(kind && *kind == k ? TRUE : FALSE);
            window_.InvalidateRect(&icon->Rect(), FALSE);
        }
    }
}

void StatusAreaPage::ShowNotLinkedText(bool shown) {
    if (auto* text = dynamic_cast<CStaticText*>(window_.FindControl(ControlId::NotLinkedText))) {
        if (shown) text->ShowText(languageText(kNotLinkedText));
        text->SetVisible(shown ? TRUE : FALSE);
        window_.InvalidateRect(&text->Rect(), FALSE);
    }
}

void StatusAreaPage::ShowBattery(int percent, ChargeState state, int animationStep) {
    if (auto* battery = dynamic_cast<CBattery*>(window_.FindControl(ControlId::BatteryGauge))) {
        battery->SetCharge(static_cast<CBattery::Mode>(state),
                           static_cast<std::uint8_t>(std::clamp(percent, 0, 100)), animationStep);
    }
    if (auto* text = dynamic_cast<CStaticText*>(window_.FindControl(ControlId::BatteryText))) {
        // Kept current but never drawn: the gauge already shows the charge, and
        // the text stays readable for scripts and tests.
        text->ShowText(std::to_string(percent) + "%");
    }
}

}  // namespace zavrin
