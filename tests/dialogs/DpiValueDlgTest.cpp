#include "../ui/UiTestSupport.h"
#include "dialogs/CDPIValueSettingDlg.h"
#include "ui/CEditBox.h"
#include "ui/CVerticalSliderControl.h"
#include "ui/ControlIds.h"

namespace zavrin::test {
namespace {

// Steps of 50 DPI from 50 upwards.
constexpr std::array<SensorStep, 6> kSteps{{{1, 0}, {2, 0}, {16, 0}, {17, 0}, {18, 0}, {20, 0}}};
const SensorTable kTable{0x1234, kSteps};

TEST(DpiValueParsing, TypedValuesRoundUpToTheNextStep) {
    EXPECT_EQ(CDPIValueSettingDlg::StepForText("850", kTable, 6), 3);
    EXPECT_EQ(CDPIValueSettingDlg::StepForText("849", kTable, 6), 3);
    EXPECT_EQ(CDPIValueSettingDlg::StepForText("20", kTable, 6), 0);
    EXPECT_EQ(CDPIValueSettingDlg::StepForText("abc", kTable, 6), 0);
    EXPECT_EQ(CDPIValueSettingDlg::StepForText("99999999999999999999", kTable, 6), 5);
    EXPECT_EQ(CDPIValueSettingDlg::StepForText("901", kTable, 6), 5);
    EXPECT_EQ(CDPIValueSettingDlg::StepForText("5000", kTable, 1), 0);
}

class DpiValueDialog : public UiTest {
protected:
    DpiValueDialog() {
        skinFolder = ZAVRIN_BIN_DIR;
        InstallResources(generatedResources());
    }
    CDPIValueShowControl bar{HWND{}, 3300, RECT{0, 0, 16, 100}, 6, 0, 0, "", TRUE, TRUE, FALSE};
};

TEST_F(DpiValueDialog, ArrowsStopAtTheEndsAndCancelLeavesTheBar) {
    bar.SetLevel(5);
    CDPIValueSettingDlg dialog(bar, 6, kTable, HWND{});
    std::string shown;
    desktop.backend().whenIdle([&] {
        desktop.key(VK_RIGHT);
        desktop.key(VK_LEFT);
        shown = dynamic_cast<CEditBox*>(dialog.FindControl(ControlId::EditBox))->GetText();
        SendMessage(dialog.GetSafeHwnd(), ControlId::DialogCancel, 0, ControlNotify::Click);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(shown, "900");
    EXPECT_EQ(bar.Level(), 5);
}

TEST_F(DpiValueDialog, OkParsesTheBoxFirst) {
    bar.SetLevel(0);
    CDPIValueSettingDlg dialog(bar, 6, kTable, HWND{});
    desktop.backend().whenIdle([&] {
        desktop.key(VK_RIGHT);  // the slider says 100
        dynamic_cast<CEditBox*>(dialog.FindControl(ControlId::EditBox))->SetText("801");
        SendMessage(dialog.GetSafeHwnd(), ControlId::DialogOk, 0, ControlNotify::Click);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(bar.Level(), 3);
}

}  // namespace
}  // namespace zavrin::test
