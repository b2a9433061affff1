#include "MainWindowFixture.h"
#include "dialogs/CColorPaletteDlg.h"
#include "pages/LightingPage.h"
#include "ui/CColorSelectButton.h"
#include "ui/CSliderControl.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"
#include "ui/PopupMenus.h"

namespace zavrin::test {
namespace {

using namespace std::chrono_literals;

class LightingPageTest : public MainWindowTest {
protected:
    void ChooseEffect(std::size_t row) {
        click(LightingPage::kEffectBox);
        ASSERT_NE(dynamic_cast<CComboLightingPopup*>(topMenu()), nullptr);
        clickRow(topMenu(), row);
    }
    bool shown(std::uint32_t id) { return control(id) != nullptr; }
};

TEST_F(LightingPageTest, EachEffectShowsExactlyItsControls) {
    ChooseEffect(0);  // Breathing: effect 2
    EXPECT_EQ(profile().lighting1.modeValue, (std::array<std::uint8_t, 3>{2, 0, 0}));
    EXPECT_TRUE(shown(LightingPage::kSpeedSlider));
    EXPECT_FALSE(shown(LightingPage::kBrightnessSlider));
    EXPECT_FALSE(shown(LightingPage::kFirstSlot));
    EXPECT_FALSE(shown(LightingPage::kUp));
    desktop.advance(20ms);
    EXPECT_EQ(sent(Command::Lighting).size(), 1u);

    ChooseEffect(1);  // Steady: effect 3
    EXPECT_TRUE(shown(LightingPage::kBrightnessSlider));
    EXPECT_FALSE(shown(LightingPage::kSpeedSlider));
    ChooseEffect(2);  // Off: effect 0, the box alone
    EXPECT_FALSE(shown(LightingPage::kBrightnessSlider));
    EXPECT_FALSE(shown(LightingPage::kSpeedSlider));
    EXPECT_TRUE(shown(LightingPage::kEffectBox));

    profile().lighting1.modeValue = {8, 0, 0};
    window->RefreshFromProfile();
    EXPECT_TRUE(shown(LightingPage::kFirstSlot));
    EXPECT_TRUE(shown(LightingPage::kFirstSlot + 1));
    EXPECT_FALSE(shown(LightingPage::kFirstSlot + 2));
    profile().lighting1.modeValue = {1, 0, 0};
    window->RefreshFromProfile();
    EXPECT_TRUE(shown(LightingPage::kUp));
}

TEST_F(LightingPageTest, EachEffectKeepsItsOwnSpeed) {
    profile().lighting1.speed[2] = 2;
    ChooseEffect(0);
    EXPECT_EQ(as<CSliderControl>(LightingPage::kSpeedSlider)->StopIndex(), 2);
    ChooseEffect(1);
    ChooseEffect(0);
    EXPECT_EQ(as<CSliderControl>(LightingPage::kSpeedSlider)->StopIndex(), 2);
    EXPECT_EQ(as<CStaticText>(LightingPage::kSpeedCaption)->DisplayText(), "3");
    profile().lighting1.modeValue = {3, 0, 0};
    profile().lighting1.brightness[3] = 3;
    window->RefreshFromProfile();
    EXPECT_EQ(as<CStaticText>(LightingPage::kBrightnessCaption)->DisplayText(), "100%");
}

TEST_F(LightingPageTest, ASingleClickTogglesAfterTheWaitADoubleClickOpensThePalette) {
    profile().lighting1.modeValue = {8, 0, 0};
    profile().lighting1.colorSelected[8][0] = 1;
    profile().lighting1.colorSelected[8][1] = 0;
    window->RefreshFromProfile();
    click(LightingPage::kFirstSlot + 1);
    EXPECT_EQ(profile().lighting1.colorSelected[8][1], 0);
    desktop.advance(150ms);
    EXPECT_EQ(profile().lighting1.colorSelected[8][1], 1);

    bool opened = false;
    desktop.backend().whenIdle([&] {
        opened = dynamic_cast<CColorPaletteDlg*>(frontDialog()) != nullptr;
        SendMessage(frontDialog()->GetSafeHwnd(), ControlId::DialogClose, 0, ControlNotify::Click);
    });
    doubleClick(LightingPage::kFirstSlot + 1);
    desktop.advance(300ms);
    EXPECT_TRUE(opened);
    EXPECT_EQ(profile().lighting1.colorSelected[8][1], 1);
}

TEST_F(LightingPageTest, TheLastColourOfSteadyCannotBeDeselected) {
    EXPECT_EQ(LightingPage::DeselectRefusal(3, {1}), 153);
    EXPECT_EQ(LightingPage::DeselectRefusal(2, {0, 1}), 153);
    EXPECT_EQ(LightingPage::DeselectRefusal(2, {1, 1}), std::nullopt);
    EXPECT_EQ(LightingPage::DeselectRefusal(8, {0, 1, 1}), 153);
    EXPECT_EQ(LightingPage::DeselectRefusal(6, {1, 0, 0, 0, 0, 0, 0, 1}), 154);
    EXPECT_EQ(LightingPage::DeselectRefusal(0, {1}), std::nullopt);

    profile().lighting1.modeValue = {8, 0, 0};
    profile().lighting1.colorSelected[8][0] = 1;
    profile().lighting1.colorSelected[8][1] = 0;
    window->RefreshFromProfile();
    click(LightingPage::kFirstSlot);
    desktop.advance(150ms);
    EXPECT_EQ(profile().lighting1.colorSelected[8][0], 1);
    EXPECT_EQ(notice(), "At least one color must stay selected.");
}

}  // namespace
}  // namespace zavrin::test
