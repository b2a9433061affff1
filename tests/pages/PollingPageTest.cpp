#include "MainWindowFixture.h"
#include "pages/PollingPage.h"
#include "ui/CCheckButton.h"
#include "ui/CPowerManageButton.h"
#include "ui/CSliderControl.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

class PollingPageTest : public MainWindowTest {};

TEST_F(PollingPageTest, TwoThousandHertzStoresItsIndexAndNameAndSendsTheRate) {
    window->link().pollingCapability = RateClass::UpTo8000;
    window->RefreshFromProfile();
    openSection(ControlId::PollingRateHeader);
    click(3038);
    EXPECT_EQ(profile().pollingRateValue, (std::array<std::uint8_t, 3>{4, 0, 0}));
    EXPECT_EQ(profile().pollingRateName, "2000HZ");
    desktop.advance(20ms);
    const auto rate = sent(Command::PollingRate);
    ASSERT_EQ(rate.size(), 1u);
    EXPECT_EQ(rate[0][CommandOffset::Payload], pollingRateCode(4));
}

TEST_F(PollingPageTest, TheRateButtonsFollowTheCapability) {
    profile().pollingRateValue = {3, 0, 0};
    window->link().pollingCapability = RateClass::UpTo1000;
    window->RefreshFromProfile();
    EXPECT_TRUE(as<CControlBase>(3033)->IsVisible());
    EXPECT_FALSE(as<CControlBase>(3034)->IsVisible());
    EXPECT_TRUE(as<CStaticText>(3145)->IsVisible());
    EXPECT_FALSE(as<CStaticText>(3144)->IsVisible());
    EXPECT_EQ(window->radios().Bits() & 0xF0000u, 0x80000u);

    profile().pollingRateValue = {6, 0, 0};
    window->link().pollingCapability = RateClass::UpTo4000;
    window->RefreshFromProfile();
    EXPECT_EQ(window->radios().Bits() & 0x7Fu, 0x20u);
    EXPECT_FALSE(as<CControlBase>(3040)->IsVisible());
    EXPECT_EQ(profile().pollingRateValue[0], 6);
}

TEST_F(PollingPageTest, SensorOptionsPowerAndDebounceReachTheirGroups) {
    openSection(ControlId::SensorOptionsHeader);
    const int before = getSettingInt(profile(), Setting::MotionSync);
    click(3541);
    EXPECT_EQ(getSettingInt(profile(), Setting::MotionSync), 1 - before);
    desktop.advance(20ms);
    EXPECT_EQ(sent(Command::SensorOptions).size(), 1u);

    auto* dial = as<CPowerManageButton>(ControlId::PowerSelector);
    // Inside the last sector of the fan, at the dial's right end.
    clickAt(
        POINT{dial->Rect().left + CVelmorDlg::Scale(119), dial->Rect().top + CVelmorDlg::Scale(64)});
    EXPECT_EQ(dial->Position(), 8);
    EXPECT_EQ(getSettingInt(profile(), Setting::PowerDownTime), dial->Position());
    EXPECT_EQ(as<CStaticText>(ControlId::PowerCaption)->DisplayText(),
              languageText(266) + std::to_string(dial->Position()) + languageText(267));
    desktop.advance(20ms);
    EXPECT_EQ(sent(Command::PowerSaving).size(), 1u);

    setSettingInt(profile(), Setting::KeyDebounce, 0);
    window->RefreshFromProfile();
    EXPECT_EQ(as<CStaticText>(3532)->DisplayText(), "0ms");
}

TEST_F(PollingPageTest, MouseSettingsOpenTheDesktopsPanelOrSaySoWhereThereIsNone) {
    openSection(ControlId::PointerHeader);
    click(ControlId::PointerSettings);
    EXPECT_EQ(services.pointerSettingsOpened, 1);
    EXPECT_EQ(notice(), "");
    services.pointerSettingsAvailable = false;
    click(ControlId::PointerSettings);
    EXPECT_EQ(services.pointerSettingsOpened, 2);
    EXPECT_EQ(notice(), "No mouse settings panel was found on this desktop.");
}

TEST_F(PollingPageTest, PageScrollingDisablesTheScrollSpeed) {
    setSettingInt(profile(), Setting::ScrollWheelPageEnable, 1);
    window->RefreshFromProfile();
    EXPECT_TRUE(as<CSliderControl>(2041)->IsDisabled());
    setSettingInt(profile(), Setting::ScrollWheelPageEnable, 0);
    window->RefreshFromProfile();
    EXPECT_FALSE(as<CSliderControl>(2041)->IsDisabled());
}

}  // namespace
}  // namespace zavrin::test
