#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/Resources.h"
#include "TestGraphics.h"

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
    std::unique_ptr<Graphics> graphics = CreateTestGraphics();
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
    EXPECT_EQ(LoadImageFile(skins / "Frame_notice.bmp")->size(), (SIZE{319, 172}));
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
    constexpr COLORREF kBackground = 0x0F0F0F;

    // The swatch grid (244, 26)-(474, 191), pixel by pixel: each 20 x 20 square
    // solid in its colour, everything between them the background.
    for (int y = 26; y < 191; ++y) {
        for (int x = 244; x < 474; ++x) {
            const int col = (x - 244) / 30;
            const int row = (y - 26) / 29;
            const bool inSwatch = (x - 244) % 30 < 20 && (y - 26) % 29 < 20;
            const COLORREF want = inSwatch ? FromRgb(kSwatches[row][col]) : kBackground;
            ASSERT_EQ(palette->colorAt(x, y), want) << x << "," << y;
        }
    }
    // A frame of background around the grid.
    for (int x = 243; x <= 474; ++x) {
        EXPECT_EQ(palette->colorAt(x, 25), kBackground) << x;
        EXPECT_EQ(palette->colorAt(x, 191), kBackground) << x;
    }
    for (int y = 25; y <= 191; ++y) {
        EXPECT_EQ(palette->colorAt(243, y), kBackground) << y;
        EXPECT_EQ(palette->colorAt(474, y), kBackground) << y;
    }

    // The spectrum (18, 26)-(222, 270): nowhere the background colour, and
    // nothing of it outside its rectangle.
    for (int y = 26; y < 270; ++y)
        for (int x = 18; x < 222; ++x) ASSERT_NE(palette->colorAt(x, y), kBackground) << x << "," << y;
    for (int x = 17; x <= 222; ++x) {
        EXPECT_EQ(palette->colorAt(x, 25), kBackground) << x;
        EXPECT_EQ(palette->colorAt(x, 270), kBackground) << x;
    }
    for (int y = 25; y <= 270; ++y) {
        EXPECT_EQ(palette->colorAt(17, y), kBackground) << y;
        EXPECT_EQ(palette->colorAt(222, y), kBackground) << y;
    }
    // Fully saturated along the top row, hue running red, yellow, green, cyan,
    // blue, magenta; a grey of about 128 along the bottom row.
    for (int x = 18; x < 222; ++x) {
        const COLORREF c = palette->colorAt(x, 26);
        const int hi = std::max({GetRValue(c), GetGValue(c), GetBValue(c)});
        const int lo = std::min({GetRValue(c), GetGValue(c), GetBValue(c)});
        EXPECT_EQ(hi, 255) << x;
        EXPECT_EQ(lo, 0) << x;
        const COLORREF g = palette->colorAt(x, 269);
        EXPECT_NEAR(GetRValue(g), 128, 2) << x;
        EXPECT_NEAR(GetGValue(g), 128, 2) << x;
        EXPECT_NEAR(GetBValue(g), 128, 2) << x;
    }
    EXPECT_EQ(palette->colorAt(18, 26), RGB(255, 0, 0));
    const std::pair<int, COLORREF> hues[] = {{52, RGB(255, 255, 0)},  {86, RGB(0, 255, 0)},
                                             {120, RGB(0, 255, 255)}, {154, RGB(0, 0, 255)},
                                             {188, RGB(255, 0, 255)}};
    for (const auto& [x, want] : hues) EXPECT_EQ(palette->colorAt(x, 26), want) << x;

    // The preview square's outline at (244, 211)-(304, 271) in (200, 200, 200),
    // with background inside it where the dialog paints the chosen colour.
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(palette->colorAt(244 + i, 211), RGB(200, 200, 200)) << i;
        EXPECT_EQ(palette->colorAt(244 + i, 270), RGB(200, 200, 200)) << i;
        EXPECT_EQ(palette->colorAt(244, 211 + i), RGB(200, 200, 200)) << i;
        EXPECT_EQ(palette->colorAt(303, 211 + i), RGB(200, 200, 200)) << i;
    }
    for (int y = 212; y < 270; ++y)
        for (int x = 245; x < 303; ++x) ASSERT_EQ(palette->colorAt(x, y), kBackground) << x << "," << y;
    EXPECT_EQ(palette->colorAt(5, 5), kBackground);
    EXPECT_EQ(palette->colorAt(499, 290), kBackground);
}
