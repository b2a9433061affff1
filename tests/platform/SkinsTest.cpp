#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Resources.h"
#include "platform/cairo/CairoGraphics.h"

using namespace zavrin;

namespace {

class Skins : public ::testing::Test {
protected:
    Skins() {
        SetGraphics(graphics.get());
        InstallResources(generatedResources());
    }
    ~Skins() override {
        InstallResources({});
        SetGraphics(nullptr);
    }
    std::unique_ptr<Graphics> graphics = CreateCairoGraphics();
    std::filesystem::path skins = std::filesystem::path(ZAVRIN_SKINS_DIR);
};

// From the RGB notation the palette's swatch table is written in.
constexpr COLORREF FromRgb(std::uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

}  // namespace

TEST_F(Skins, EveryPictureTheProgramReadsIsInstalledAndDecodes) {
    const char* names[] = {
        "exit_nr.png", "exit_ov.png", "min_nr.png", "min_ov.png", "button1_nr.png", "button1_ov.png",
        "button2_nr.png", "button2_ov.png", "button4_nr.png", "combo2_nr.png", "combo2_ov.png", "combo3_nr.png",
        "combo3_ov.png", "header_nr.png", "header_ov.png", "header2_nr.png", "header2_ov.png", "check_nr.png",
        "check_ov.png", "check_dn.png", "radio_nr.png", "radio_ov.png", "radio_dn.png", "check_button_dpi_nr.png",
        "check_button_dpi_ov.png", "check_button_dpi_dn.png", "dpi_value.png", "125hz_nr.png", "125hz_dn.png",
        "250hz_nr.png", "250hz_dn.png", "500hz_nr.png", "500hz_dn.png", "1000hz_nr.png", "1000hz_dn.png",
        "Slider_Circle.png", "Slider_bar.png", "Slider_bar2.png", "color_select_nr.png", "color_select_check.png",
        "up_nr.png", "up_ov.png", "up_check.png", "down_nr.png", "down_ov.png", "down_check.png",
        "profile_slot_nr.png", "profile_slot_ov.png", "profile_slot_nr2.png", "profile_slot_ov2.png", "add_nr.png",
        "add_ov.png", "Launch_nr.png", "Launch_ov.png", "macro_record_nr.png", "macro_record_dn.png",
        "foldr_open.png", "foldr_close.png", "macro_down.png", "macro_up.png", "macro_time.png", "menu_nr.png",
        "menu_ov.png", "menusub_nr.png", "menusub_ov.png", "battery_full.png", "battery_empty.png",
        "battery_charging.png", "battery_lighting.png", "battery_green.png", "battery_orange.png", "battery_red.png",
        "power_manage_3min.png", "power_manage_4min.png", "power_manage_5min.png", "power_manage_6min.png",
        "power_manage_7min.png", "power_manage_8min.png", "power_manage_9min.png", "power_manage_10min.png",
        "Logo pic.png", "device name.png", "Status_Wired.png", "Status_BLE.png", "Status_Wireless.png",
        "mouse/mouse_nr.png", "mouse/dpi_bar_1.png", "mouse/dpi_bar_2.png", "Frame_common.bmp",
        "Frame_warning.bmp", "Frame_DPI.bmp", "Frame_pairing.bmp", "Frame_launch.bmp", "Frame_Macro_Manager.bmp",
        "Frame_Lighting_Setting.bmp", "Frame_progress_nr.bmp", "Frame_progress_ov.bmp"};
    for (const char* name : names) EXPECT_NE(LoadImageFile(skins / name), nullptr) << name;
    for (int n = 1; n <= 9; ++n) {
        EXPECT_NE(LoadImageFile(skins / "mouse" / ("number" + std::to_string(n) + ".png")), nullptr) << n;
        EXPECT_NE(LoadImageFile(skins / "mouse" / ("serial_number" + std::to_string(n) + ".png")), nullptr) << n;
    }
}

TEST_F(Skins, PicturesWhoseSizeTheControlsRelyOnHaveIt) {
    EXPECT_EQ(LoadImageFile(skins / "Frame_common.bmp")->size(), (SIZE{429, 140}));
    EXPECT_EQ(LoadImageFile(skins / "Frame_warning.bmp")->size(), (SIZE{319, 102}));
    EXPECT_EQ(LoadImageFile(skins / "Frame_pairing.bmp")->size(), (SIZE{429, 200}));
    EXPECT_EQ(LoadImageFile(skins / "Frame_Macro_Manager.bmp")->size(), (SIZE{528, 365}));
    EXPECT_EQ(LoadImageFile(skins / "Frame_Lighting_Setting.bmp")->size(), (SIZE{230, 82}));
    EXPECT_EQ(LoadImageFile(skins / "mouse/mouse_nr.png")->size(), (SIZE{215, 398}));
    // The slider's thumb is twice its margins wide (6 + 7); the battery body spans rows 7 to 57.
    EXPECT_EQ(LoadImageFile(skins / "Slider_Circle.png")->width(), 13);
    EXPECT_GE(LoadImageFile(skins / "battery_full.png")->height(), 58);
    EXPECT_EQ(LoadImageFile(skins / "menu_nr.png")->height(), 22);
}

TEST_F(Skins, EmbeddedResourcesHaveTheirFixedSizes) {
    EXPECT_EQ(LoadBitmapResource(kBitmapMainFrame)->size(), (SIZE{1127, 740}));
    EXPECT_EQ(LoadPngResource(kPngScrollDownArrow)->size(), (SIZE{54, 20}));
    EXPECT_EQ(LoadPngResource(kPngScrollUpArrow)->size(), (SIZE{54, 20}));
    EXPECT_NE(LoadResourceImage(ResourceType::Icon, kIconMain), nullptr);
    const auto arrows = LoadPngResource(kPngScrollUpArrow);
    // Three frames that differ from each other.
    EXPECT_NE(arrows->colorAt(1, 1), arrows->colorAt(19, 1));
    EXPECT_NE(arrows->colorAt(19, 1), arrows->colorAt(37, 1));
}

TEST_F(Skins, PaletteHasItsSwatchesBackgroundAndSpectrumWhereTheDialogReadsThem) {
    const auto palette = LoadBitmapResource(kBitmapColorPalette);
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(palette->size(), (SIZE{500, 291}));
    constexpr std::uint32_t kSwatches[6][8] = {
        {0xFF8080, 0xFFFF80, 0x80FF80, 0x00FF80, 0x80FFFF, 0x0080FF, 0xFF80C0, 0xFF80FF},
        {0xFF0000, 0xFFFF00, 0x80FF00, 0x00FF40, 0x00FFFF, 0x0080C0, 0x8080C0, 0xFF00FF},
        {0x804040, 0xFF8040, 0x00FF00, 0x008080, 0x004080, 0x8080FF, 0x800040, 0xFF0080},
        {0x800000, 0xFF8000, 0x008000, 0x008040, 0x0000FF, 0x0000A0, 0x800080, 0x8000FF},
        {0x400000, 0x804000, 0x004000, 0x004040, 0x000080, 0x000040, 0x400040, 0x400080},
        {0x000000, 0x808000, 0x808040, 0x808080, 0x408080, 0xC0C0C0, 0x400040, 0xFFFFFF}};
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 8; ++col) {
            const int x = 244 + 30 * col;
            const int y = 26 + 29 * row;
            const COLORREF want = FromRgb(kSwatches[row][col]);
            EXPECT_EQ(palette->colorAt(x, y), want) << row << "," << col;
            EXPECT_EQ(palette->colorAt(x + 19, y + 19), want) << row << "," << col;
            EXPECT_EQ(palette->colorAt(x + 20, y + 10), 0x0F0F0Fu) << row << "," << col;  // gap between columns
            EXPECT_EQ(palette->colorAt(x + 10, y + 20), 0x0F0F0Fu) << row << "," << col;  // gap between rows
        }
    }
    EXPECT_EQ(palette->colorAt(5, 5), 0x0F0F0Fu);
    EXPECT_EQ(palette->colorAt(230, 150), 0x0F0F0Fu);
    // Spectrum: red at the top left, grey near the bottom, never the background colour.
    EXPECT_EQ(palette->colorAt(18, 26), RGB(255, 0, 0));
    const COLORREF bottom = palette->colorAt(120, 269);
    EXPECT_NEAR(GetRValue(bottom), 128, 2);
    EXPECT_NEAR(GetGValue(bottom), 128, 2);
    for (int y = 26; y < 270; y += 7)
        for (int x = 18; x < 222; x += 5) ASSERT_NE(palette->colorAt(x, y), 0x0F0F0Fu) << x << "," << y;
    EXPECT_EQ(palette->colorAt(244, 240), RGB(200, 200, 200));  // preview outline
}
