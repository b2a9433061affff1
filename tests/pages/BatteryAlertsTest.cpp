#include <gtest/gtest.h>

#include "pages/BatteryAlerts.h"
#include "platform/headless/HeadlessServices.h"
#include "ui/UiGlobals.h"

namespace zavrin {
namespace {

class BatteryAlertsTest : public ::testing::Test {
protected:
    // The built-in English, as with a language file that predates these texts.
    BatteryAlertsTest() { uiLanguage = LanguageTable{}; }
    ~BatteryAlertsTest() override { uiLanguage = LanguageTable{}; }

    // Feeds a falling (or rising) charge one percent a reading.
    void Run(int from, int to, ChargeState state) {
        const int step = from <= to ? 1 : -1;
        for (int p = from; p != to + step; p += step) alerts.update(p, state);
    }
    std::size_t Count() const { return services.notifications.size(); }

    HeadlessServices services;
    BatteryAlerts alerts{services};
};

TEST_F(BatteryAlertsTest, OneWarningAtFifteenOneMoreAtFiveThenSilence) {
    Run(40, 16, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 0u);
    alerts.update(15, ChargeState::OnBattery);
    ASSERT_EQ(Count(), 1u);
    EXPECT_EQ(services.notifications[0].title, "Zavrin ZR2: battery low");
    EXPECT_EQ(services.notifications[0].text,
              "The mouse's battery is at 15%. Connect the cable to charge it.");
    // Readings repeat every second; a charge that wavers does not warn again.
    Run(15, 6, ChargeState::OnBattery);
    alerts.update(16, ChargeState::OnBattery);
    alerts.update(15, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 1u);
    alerts.update(5, ChargeState::OnBattery);
    ASSERT_EQ(Count(), 2u);
    EXPECT_NE(services.notifications[1].text.find("almost empty (5%)"), std::string::npos);
    Run(5, 0, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 2u);
}

TEST_F(BatteryAlertsTest, ChargingAboveTheMarkRearmsButChargingBelowItDoesNot) {
    Run(20, 10, ChargeState::OnBattery);
    ASSERT_EQ(Count(), 1u);
    // Plugged in, nothing is said; unplugged again still below the mark, nothing either.
    Run(10, 14, ChargeState::Charging);
    Run(14, 12, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 1u);
    Run(12, 16, ChargeState::Charging);
    Run(16, 15, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 2u);
    alerts.update(100, ChargeState::Full);
    Run(30, 15, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 3u);
}

TEST_F(BatteryAlertsTest, AChargeTheProgramDidNotSeeRearmsAndFirstSeenNearlyEmptyWarnsOnce) {
    alerts.update(4, ChargeState::OnBattery);  // the mouse comes in nearly empty
    ASSERT_EQ(Count(), 1u);
    EXPECT_NE(services.notifications[0].text.find("almost empty (4%)"), std::string::npos);
    Run(4, 0, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 1u);
    // Charged elsewhere: next seen on battery well above the mark.
    alerts.update(80, ChargeState::OnBattery);
    Run(80, 15, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 2u);
}

TEST_F(BatteryAlertsTest, WithoutANotificationServiceNothingBreaksOrRepeats) {
    services.notificationServiceAnswers = false;
    Run(30, 0, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 0u);
    services.notificationServiceAnswers = true;
    Run(0, 3, ChargeState::OnBattery);
    EXPECT_EQ(Count(), 0u);  // both warnings were due and are not made up later
}

TEST_F(BatteryAlertsTest, TextsComeFromTheLanguageWithItsPercentFilledIn) {
    uiLanguage.setText(371, "电量低");
    uiLanguage.setText(372, "电量 %d%%");
    alerts.update(12, ChargeState::OnBattery);
    ASSERT_EQ(Count(), 1u);
    EXPECT_EQ(services.notifications[0].title, "电量低");
    EXPECT_EQ(services.notifications[0].text, "电量 12%");
}

}  // namespace
}  // namespace zavrin
