#include "MainWindowFixture.h"
#include "ui/CCheckButton.h"
#include "ui/CColorSelectButton.h"
#include "ui/CEditBox.h"
#include "ui/CRadioButton.h"
#include "ui/ControlIds.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

class DpiPage : public MainWindowTest {
protected:
    void SetLevels(std::uint8_t mask, int current) {
        profile().dpiOffOnFlag = mask;
        profile().currentDpiLevel = static_cast<std::uint8_t>(current);
        window->RefreshFromProfile();
        desktop.pump();
    }
    // Types into the value dialog of level `k`, presses Enter, then OK.
    int TypeValue(int k, const std::string& typed) {
        int shown = -1;
        desktop.backend().whenIdle([&] {
            CDlgBase* dialog = frontDialog();
            ASSERT_NE(dialog, nullptr);
            auto* box = dynamic_cast<CEditBox*>(dialog->FindControl(ControlId::EditBox));
            box->SetText(typed);
            desktop.key(VK_RETURN);
            shown = std::stoi(box->GetText());
            SendMessage(dialog->GetSafeHwnd(), ControlId::DialogOk, 0, ControlNotify::Click);
        });
        click(3300 + static_cast<std::uint32_t>(k));
        desktop.pump();
        return shown;
    }
};

TEST_F(DpiPage, TheLastEnabledLevelStaysOnAndNothingIsSent) {
    SetLevels(0x04, 2);
    click(3262);
    EXPECT_TRUE(as<CCheckButton>(3262)->IsChecked());
    EXPECT_EQ(profile().dpiOffOnFlag, 0x04);
    desktop.advance(100ms);
    EXPECT_EQ(settingsReports(), 0u);
}

TEST_F(DpiPage, SwitchingOffTheCurrentLevelMovesToTheNextEnabledOne) {
    SetLevels(0x0B, 1);  // levels 0, 1 and 3
    click(3261);
    EXPECT_EQ(profile().dpiOffOnFlag, 0x09);
    EXPECT_EQ(profile().currentDpiLevel, 3);
    EXPECT_EQ(as<CDPIRadioButton>(3293)->LabelColor(), 0x0000FFu);
    EXPECT_TRUE(as<CDPIRadioButton>(3291)->IsDisabled());
    desktop.advance(20ms);
    EXPECT_FALSE(sent(Command::DpiLevels).empty());

    SetLevels(0x21, 5);  // levels 0 and 5: the search wraps around
    click(3265);
    EXPECT_EQ(profile().dpiOffOnFlag, 0x01);
    EXPECT_EQ(profile().currentDpiLevel, 0);
}

TEST_F(DpiPage, ClickingALevelMakesItCurrentOnceAndTheCurrentOneSendsNothing) {
    SetLevels(0x3F, 1);
    click(3291);
    desktop.advance(100ms);
    EXPECT_EQ(settingsReports(), 0u);
    click(3294);
    EXPECT_EQ(profile().currentDpiLevel, 4);
    desktop.advance(20ms);
    EXPECT_FALSE(sent(Command::DpiLevels).empty());
}

TEST_F(DpiPage, TypedValuesAreRoundedUpToASensorStep) {
    // The first step at or above 849 in this sensor's table.
    const SensorTable table = sensorTable(model->store.sensorId());
    int expected = 0;
    for (std::size_t i = 0; i < table.size() && expected < 849; ++i) expected = *table.dpiOfStep(i);
    EXPECT_EQ(TypeValue(0, "849"), expected);
    EXPECT_EQ(table.dpiOfStep(profile().xySetting[0]), expected);
    EXPECT_EQ(as<CDPIRadioButton>(3290)->DpiValue() * 50, expected);
    desktop.advance(20ms);
    EXPECT_FALSE(sent(Command::DpiLevels).empty());
    const int first = *sensorTable(model->store.sensorId()).dpiOfStep(0);
    EXPECT_EQ(TypeValue(0, "20"), first);
    EXPECT_EQ(profile().xySetting[0], 0);
    EXPECT_EQ(TypeValue(1, "abc"), first);
    EXPECT_EQ(profile().xySetting[1], 0);
}

TEST_F(DpiPage, ASwitchToAnotherProfileShowsItsLevels) {
    model->store.profiles[1].dpiOffOnFlag = 0x03;
    model->store.profiles[1].currentDpiLevel = 1;
    model->store.profiles[1].dpiLevelIndication[0] = 0x123456;
    model->store.settings.setCurrentProfile(1);
    window->RefreshFromProfile();
    EXPECT_FALSE(as<CCheckButton>(3262)->IsChecked());
    EXPECT_EQ(as<CDPIRadioButton>(3291)->LabelColor(), 0x0000FFu);
    EXPECT_EQ(as<CColorSelectButton>(3270)->Color(), 0x123456u);
}

}  // namespace
}  // namespace zavrin::test
