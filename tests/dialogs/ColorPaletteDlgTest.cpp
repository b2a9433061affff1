#include "../ui/UiTestSupport.h"
#include "dialogs/CColorPaletteDlg.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"

namespace zavrin::test {
namespace {

class ColorPalette : public UiTest {
protected:
    ColorPalette() {
        skinFolder = ZAVRIN_BIN_DIR;
        InstallResources(generatedResources());
    }
    // Clicks at a design point (scaled and truncated), then confirms or closes.
    int Pick(CColorPaletteDlg& dialog, POINT client, bool confirm, std::string* red = nullptr) {
        desktop.backend().whenIdle([&, client, confirm, red] {
            desktop.pump();
            desktop.click(dialog.GetSafeHwnd(), client);
            if (red != nullptr)
                *red = dynamic_cast<CStaticText*>(dialog.FindControl(CColorPaletteDlg::kRedText))
                           ->DisplayText();
            SendMessage(dialog.GetSafeHwnd(),
                        confirm ? ControlId::DialogOk : ControlId::DialogClose, 0,
                        ControlNotify::Click);
        });
        return dialog.DoModal();
    }
    ProfileRecord record;
};

TEST_F(ColorPalette, ASwatchGivesItsExactColourAndOkStoresIt) {
    record.lighting1.fixedColor[8][1] = 0x000000;
    CColorPaletteDlg dialog(record, CColorPaletteDlg::Target::LightingSlot, 8, 1, HWND{});
    std::string red;
    EXPECT_EQ(Pick(dialog, POINT{254, 36}, true, &red), IDOK);
    EXPECT_EQ(red, "255");
    EXPECT_EQ(record.lighting1.fixedColor[8][1], 0x008080FFu);
}

TEST_F(ColorPalette, TheGapBetweenSwatchesAndClosingChangeNothing) {
    record.dpiLevelIndication[0] = 0x00123456;
    CColorPaletteDlg gap(record, CColorPaletteDlg::Target::DpiLevel, 9, 0, HWND{});
    EXPECT_EQ(Pick(gap, POINT{270, 36}, true), IDOK);
    EXPECT_EQ(record.dpiLevelIndication[0], 0x00123456u);  // level 9 means level 0
    CColorPaletteDlg closed(record, CColorPaletteDlg::Target::DpiLevel, 0, 0, HWND{});
    EXPECT_EQ(Pick(closed, POINT{254, 36}, false), IDCANCEL);
    EXPECT_EQ(record.dpiLevelIndication[0], 0x00123456u);
}

TEST_F(ColorPalette, AtScaleOneAndAHalfTheSwatchUnderThePointIsPicked) {
    uiScale = 1.5f;
    CColorPaletteDlg dialog(record, CColorPaletteDlg::Target::DpiLevel, 2, 0, HWND{});
    EXPECT_EQ(Pick(dialog, POINT{564, 60}, true), IDOK);
    EXPECT_EQ(record.dpiLevelIndication[2], 0x00FFFF80u);  // 80FFFF as 0x00BBGGRR
}

}  // namespace
}  // namespace zavrin::test
