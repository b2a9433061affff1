#include "MainWindowFixture.h"
#include "dialogs/CColorPaletteDlg.h"
#include "dialogs/CDPIValueSettingDlg.h"
#include "dialogs/CProfileNameDlgs.h"
#include "ui/CVerticalSliderControl.h"
#include "ui/ControlIds.h"

namespace zavrin::test {
namespace {

// Pictures of the main window with each section open and of each settings
// dialog, at scales 1 and 2, for people to look at (build/gallery).
class SectionGallery : public MainWindowTest, public ::testing::WithParamInterface<float> {
protected:
    void SetUp() override {
        uiScale = GetParam();
        Start();
    }
    std::filesystem::path picture(const std::string& name) const {
        std::filesystem::create_directories(ZAVRIN_GALLERY_DIR);
        const int scale = static_cast<int>(GetParam());
        return std::filesystem::path(ZAVRIN_GALLERY_DIR) /
               ("pages_" + name + "_x" + std::to_string(scale) + ".png");
    }
    template <class Dialog>
    void Shoot(Dialog& dialog, const std::string& name) {
        desktop.backend().whenIdle([&, name] {
            desktop.pump();
            EXPECT_TRUE(desktop.writePng(dialog.GetSafeHwnd(), picture(name)));
            SendMessage(dialog.GetSafeHwnd(), ControlId::DialogClose, 0, ControlNotify::Click);
        });
        dialog.DoModal();
    }
};

TEST_P(SectionGallery, EverySectionOpen) {
    EXPECT_TRUE(desktop.writePng(hwnd(), picture("dpi_and_lighting")));
    profile().lighting1.modeValue = {8, 0, 0};
    for (const auto& [header, name] : {std::pair{ControlId::PollingRateHeader, "polling"},
                                       std::pair{ControlId::PointerHeader, "pointer"},
                                       std::pair{ControlId::SensorOptionsHeader, "sensor"},
                                       std::pair{ControlId::LiftOffHeader, "liftoff"},
                                       std::pair{ControlId::LightingHeader, "lighting_dual"}}) {
        if (control(header) == nullptr) continue;
        click(header);
        desktop.pump();
        EXPECT_TRUE(desktop.writePng(hwnd(), picture(std::string("section_") + name)));
    }
    click(2014);
    desktop.pump();
    EXPECT_TRUE(desktop.writePng(topMenu()->GetSafeHwnd(), picture("function_menu")));
}

TEST_P(SectionGallery, EverySettingsDialog) {
    CColorPaletteDlg palette(profile(), CColorPaletteDlg::Target::DpiLevel, 0, 0, hwnd());
    Shoot(palette, "colour_palette");
    auto* bar = as<CDPIValueShowControl>(3300);
    CDPIValueSettingDlg value(*bar, static_cast<int>(sensorTable(model->store.sensorId()).size()),
                              sensorTable(model->store.sensorId()), hwnd());
    Shoot(value, "dpi_value");
    CAddProfileDlg add(model->store, 3, hwnd());
    Shoot(add, "add_profile");
    CEditProfileDlg edit(profile().settings[Setting::ProfileName].value, hwnd());
    Shoot(edit, "edit_profile");
}

INSTANTIATE_TEST_SUITE_P(Scales, SectionGallery, ::testing::Values(1.0f, 2.0f));

}  // namespace
}  // namespace zavrin::test
