// The control gallery: one dialog per UI scale holding every control in its
// normal, hover, pressed, checked and disabled looks, and a sheet of every
// pop-up menu with a hovered row, written as PNG files to the build folder's
// "gallery" folder so that the whole look can be seen at once.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <type_traits>

#include "platform/Resources.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/CBattery.h"
#include "ui/CStaticImage.h"
#include "ui/CStaticText.h"
#include "ui/CCheckButton.h"
#include "ui/CColorSelectButton.h"
#include "ui/CComboButton.h"
#include "ui/CEditShowList.h"
#include "ui/CImageButton.h"
#include "ui/CImageShowList.h"
#include "ui/CLinkButton.h"
#include "ui/CPowerManageButton.h"
#include "ui/CRadioButton.h"
#include "ui/CSliderControl.h"
#include "ui/CTabControl.h"
#include "ui/CVScrollBar.h"
#include "ui/CVerticalSliderControl.h"
#include "ui/ControlGeometry.h"
#include "ui/PopupMenus.h"

namespace zavrin::test {
namespace {

enum Column { Normal, Hover, Pressed, Checked, Disabled, LookCount };
constexpr const char* kLookNames[LookCount] = {"normal", "hover", "pressed", "checked", "disabled"};
constexpr int kLabelWidth = 150;
constexpr int kCellWidth = 200;
constexpr COLORREF kGalleryBackground = 0x1F1F1F;

// Reads the English texts the build ships ("N=text" lines after "[Setting]").
void LoadEnglishTexts() {
    std::ifstream in(ZAVRIN_LANGUAGE_SOURCE);
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos || eq == 0) continue;
        uiLanguage.setText(std::stoi(line.substr(0, eq)), line.substr(eq + 1));
    }
    uiLanguage.uiFontFace = "Tahoma";
    uiLanguage.uiFontHeight = static_cast<int>(16 * uiScale);
    uiLanguage.uiFontCharset = DEFAULT_CHARSET;
}

std::filesystem::path Skin(const std::string& name) { return SkinPath("skins\\" + name); }

class GalleryDialog : public CDlgBase {
public:
    using Row = std::function<void(GalleryDialog&, Column look, const RECT& cell)>;
    struct GalleryRow {
        const char* name;
        int height;
        Row make;
    };

    explicit GalleryDialog(std::vector<GalleryRow> galleryRows) : rows(std::move(galleryRows)) {
        int h = 40;
        for (const auto& r : rows) h += r.height;
        windowWidth = scaled(kLabelWidth + LookCount * kCellWidth + 20, uiScale);
        windowHeight = scaled(h, uiScale);
    }

    void BuildControls(const RECT&) override {
        const float s = uiScale;
        const HWND w = GetSafeHwnd();
        for (int look = 0; look < LookCount; ++look) {
            auto* heading = AddControl(0, std::make_unique<CStaticText>(
                                              w, 3400, RECT{scaled(kLabelWidth + look * kCellWidth, s), scaled(8, s),
                                                            scaled(kLabelWidth + (look + 1) * kCellWidth, s), scaled(32, s)},
                                              UiColor::TextPressed, DT_CENTER | DT_SINGLELINE, "", TRUE, TRUE, FALSE));
            heading->SetDisplayText(kLookNames[look]);
        }
        int y = 40;
        for (const auto& row : rows) {
            auto* label = AddControl(0, std::make_unique<CStaticText>(
                                            w, 3400, RECT{scaled(8, s), scaled(y, s), scaled(kLabelWidth, s), scaled(y + row.height, s)},
                                            UiColor::TextNormal, DT_LEFT | DT_SINGLELINE, "", TRUE, TRUE, FALSE));
            label->SetDisplayText(row.name);
            for (int look = 0; look < LookCount; ++look) {
                const RECT cell{kLabelWidth + look * kCellWidth + 10, y + 5, kLabelWidth + (look + 1) * kCellWidth - 10,
                                y + row.height - 5};
                row.make(*this, static_cast<Column>(look), cell);
            }
            y += row.height;
        }
    }

    void DrawWindow(Canvas& dc, const RECT& client) override {
        dc.FillRect(client, kGalleryBackground);
        DrawControls(dc, client);
    }

    // A rectangle of design units inside a cell, scaled.
    static RECT Place(const RECT& cell, int width, int height) {
        const float s = uiScale;
        return RECT{scaled(cell.left, s), scaled(cell.top, s), scaled(cell.left + width, s), scaled(cell.top + height, s)};
    }

    // Puts a control into the look of its cell.
    template <class Control>
    Control* Add(Column look, std::unique_ptr<Control> control) {
        Control* c = AddControl(1, std::move(control));
        // A static picture has one look; its state picks a strip frame.
        if constexpr (std::is_same_v<Control, CStaticImage> || std::is_same_v<Control, CVScrollBar>) return c;
        // The looks come from the mouse, as on screen: a move onto the control,
        // and a press for the pressed look.
        const RECT r = c->Rect();
        const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        if (look == Hover || look == Pressed) c->OnMouseMove(0, centre);
        if (look == Pressed) c->OnLButtonDown(0, centre);
        if (look == Disabled) c->SetDisabled(true);
        return c;
    }

    std::vector<GalleryRow> rows;
    MacroLibrary library;
    MacroRecord macro;
    RadioGroups radios;
    std::uint32_t dpiLevels = CDPIRadioButton::kInitialLevelMask;
};

std::vector<GalleryDialog::GalleryRow> GalleryRows() {
    using D = GalleryDialog;
    std::vector<D::GalleryRow> rows;
    rows.push_back({"CImageButton", 40, [](D& d, Column look, const RECT& cell) {
        auto* b = d.Add(look, std::make_unique<CImageButton>(d.GetSafeHwnd(), 2010, D::Place(cell, 65, 23),
                                                             languageText(4), DT_CENTER, TRUE, TRUE, FALSE));
        b->LoadLook({Look::Normal}, Skin("button2_nr.png"));
        b->LoadLook({Look::Hover}, Skin("button2_ov.png"));
        auto* close = d.Add(look, std::make_unique<CImageButton>(d.GetSafeHwnd(), 2004,
                                                                 D::Place(RECT{cell.left + 90, cell.top + 4, 0, 0}, 15, 15), "",
                                                                 0, TRUE, TRUE, FALSE));
        close->LoadLook({Look::Normal}, Skin("exit_nr.png"));
        close->LoadLook({Look::Hover}, Skin("exit_ov.png"));
    }});
    rows.push_back({"CCheckButton", 40, [](D& d, Column look, const RECT& cell) {
        auto* c = d.Add(look, std::make_unique<CCheckButton>(d.GetSafeHwnd(), 3501, D::Place(cell, 150, 25),
                                                             languageText(11), DT_CENTER, TRUE, TRUE, FALSE));
        c->LoadLook({Look::Normal}, Skin("header2_nr.png"));
        c->LoadLook({Look::Hover}, Skin("header2_ov.png"));
        c->LoadLook({Look::Checked}, Skin("header2_ov.png"));
        c->SetChecked(look == Checked);
    }});
    rows.push_back({"CRadioButton", 40, [](D& d, Column look, const RECT& cell) {
        const std::uint32_t id = 3034 + static_cast<std::uint32_t>(look);
        auto* r = d.Add(look, std::make_unique<CRadioButton>(d.GetSafeHwnd(), id, D::Place(cell, 15, 15), "", TRUE, TRUE,
                                                             FALSE, d.radios));
        r->LoadLook({Look::Normal}, Skin("radio_nr.png"));
        r->LoadLook({Look::Hover}, Skin("radio_ov.png"));
        r->LoadLook({Look::Checked}, Skin("radio_dn.png"));
        auto* rate = d.Add(look, std::make_unique<CRadioButton>(d.GetSafeHwnd(), 3030 + (look == Checked ? 0 : 1),
                                                                D::Place(RECT{cell.left + 40, cell.top, 0, 0}, 52, 24), "",
                                                                TRUE, TRUE, FALSE, d.radios));
        rate->LoadLook({Look::Normal}, Skin("125hz_nr.png"));
        rate->LoadLook({Look::Hover}, Skin("125hz_dn.png"));
        rate->LoadLook({Look::Checked}, Skin("125hz_dn.png"));
    }});
    rows.push_back({"CDPIRadioButton", 40, [](D& d, Column look, const RECT& cell) {
        auto* r = d.Add(look, std::make_unique<CDPIRadioButton>(d.GetSafeHwnd(), 3290 + static_cast<std::uint32_t>(look),
                                                                D::Place(cell, 40, 28), "", TRUE, TRUE, FALSE,
                                                                d.dpiLevels));
        r->LoadLook({Look::Normal}, Skin("check_button_dpi_nr.png"));
        r->LoadLook({Look::Hover}, Skin("check_button_dpi_ov.png"));
        r->LoadLook({Look::Checked}, Skin("check_button_dpi_dn.png"));
        r->SetDpiValue(16 * (look + 1));
    }});
    rows.push_back({"CComboButton", 40, [](D& d, Column look, const RECT& cell) {
        auto* c = d.Add(look, std::make_unique<CComboButton>(d.GetSafeHwnd(), ComboNotify::ButtonAssignment, 2013,
                                                             D::Place(cell, 162, 21), "", DT_CENTER, TRUE, TRUE, FALSE,
                                                             languageText(21)));
        c->LoadLook({Look::Normal}, Skin("combo2_nr.png"));
        c->LoadLook({Look::Hover}, Skin("combo2_ov.png"));
        c->SetPopupOpen(look == Checked);
    }});
    rows.push_back({"CColorSelect(Check)Button", 40, [](D& d, Column look, const RECT& cell) {
        auto* plain = d.Add(look, std::make_unique<CColorSelectButton>(d.GetSafeHwnd(), 3201, D::Place(cell, 24, 24),
                                                                       D::Place(cell, 24, 24), "", TRUE, TRUE, FALSE));
        plain->SetColor(0x3535DE);
        auto* framed = d.Add(look, std::make_unique<CColorSelectCheckButton>(
                                       d.GetSafeHwnd(), 3202, D::Place(RECT{cell.left + 40, cell.top, 0, 0}, 24, 24),
                                       RECT{}, "", TRUE, TRUE, FALSE));
        framed->LoadLook({Look::Normal}, Skin("color_select_nr.png"));
        framed->LoadLook({Look::Checked}, Skin("color_select_check.png"));
        framed->SetChecked(look == Checked);
        framed->SetColor(0xDEA035);
    }});
    rows.push_back({"CLinkButton", 40, [](D& d, Column look, const RECT& cell) {
        d.Add(look, std::make_unique<CLinkButton>(d.GetSafeHwnd(), 0, D::Place(cell, 170, 24), "www.zavrin.example",
                                                  DT_LEFT, TRUE, TRUE, FALSE));
    }});
    rows.push_back({"CPowerManageButton", 90, [](D& d, Column look, const RECT& cell) {
        auto* p = d.Add(look, std::make_unique<CPowerManageButton>(d.GetSafeHwnd(), 0, D::Place(cell, 140, 80), "", 0,
                                                                   TRUE, TRUE, FALSE));
        static const char* kPictures[] = {"3min", "4min", "5min", "6min", "7min", "8min", "9min", "10min"};
        for (int i = 0; i < 8; ++i) p->LoadPositionImage(i + 1, Skin(std::string("power_manage_") + kPictures[i] + ".png"));
        p->SetPosition(1 + look);
    }});
    rows.push_back({"CSliderControl", 40, [](D& d, Column look, const RECT& cell) {
        const float s = uiScale;
        auto* bar = d.Add(look, std::make_unique<CStaticImage>(d.GetSafeHwnd(), 3400, D::Place(cell, 170, 13), "", TRUE,
                                                               TRUE, FALSE));
        bar->LoadImage(Skin("Slider_bar.png"));
        const int half = scaled(6, s);
        auto* slider = d.Add(look, std::make_unique<CSliderControl>(d.GetSafeHwnd(), 3130, D::Place(cell, 170, 13), 4,
                                                                    half, half, "", TRUE, TRUE, FALSE));
        slider->LoadThumbImage(Skin("Slider_Circle.png"));
        slider->SetStopIndex(look % 4);
    }});
    rows.push_back({"CVerticalSlider / CDPIValueShow", 130, [](D& d, Column look, const RECT& cell) {
        auto* v = d.Add(look, std::make_unique<CVerticalSliderControl>(d.GetSafeHwnd(), 3300, D::Place(cell, 16, 120), 8,
                                                                       0, 0, "", TRUE, TRUE, FALSE));
        v->LoadBackgroundImage(Skin("mouse/dpi_bar_1.png"));
        v->LoadFillImage(Skin("mouse/dpi_bar_2.png"));
        v->SetLevel(look + 1);
        auto* show = d.Add(look, std::make_unique<CDPIValueShowControl>(
                                     d.GetSafeHwnd(), 3310, D::Place(RECT{cell.left + 40, cell.top, 0, 0}, 16, 120), 8, 0,
                                     0, "", TRUE, TRUE, FALSE));
        show->LoadBackgroundImage(Skin("mouse/dpi_bar_1.png"));
        show->LoadFillImage(Skin("mouse/dpi_bar_2.png"));
        show->SetLevel(7 - look);
    }});
    rows.push_back({"CVScrollBar", 110, [](D& d, Column look, const RECT& cell) {
        auto* bar = d.Add(look, std::make_unique<CVScrollBar>(d.GetSafeHwnd(), 2021, D::Place(cell, 18, 100), "", TRUE,
                                                              TRUE, FALSE));
        bar->LoadArrows();
        bar->SetScrollState(20 * look, 25, 100);
        bar->ShowHoverLooks(look == Hover, look == Pressed || look == Checked);
    }});
    rows.push_back({"CEditShowList", 110, [](D& d, Column look, const RECT& cell) {
        auto* list = d.Add(look, std::make_unique<CEditShowList>(d.GetSafeHwnd(), 0, D::Place(cell, 170, 100), "", TRUE,
                                                                 TRUE, FALSE));
        list->LoadOpenFolderIcon(Skin("foldr_open.png"));
        list->LoadClosedFolderIcon(Skin("foldr_close.png"));
        list->SetLibrary(&d.library);
        list->SelectRow(look == Checked ? 1 : -1);
    }});
    rows.push_back({"CImageShowList", 110, [](D& d, Column look, const RECT& cell) {
        auto* list = d.Add(look, std::make_unique<CImageShowList>(d.GetSafeHwnd(), 0, D::Place(cell, 170, 100), "", TRUE,
                                                                  TRUE, FALSE));
        list->LoadReleaseIcon(Skin("macro_up.png"));
        list->LoadPressIcon(Skin("macro_down.png"));
        list->LoadDelayIcon(Skin("macro_time.png"));
        list->SetMacro(&d.macro);
        list->SelectRow(look == Checked ? 2 : -1);
    }});
    rows.push_back({"CBattery", 75, [](D& d, Column look, const RECT& cell) {
        auto* b = d.Add(look, std::make_unique<CBattery>(d.GetSafeHwnd(), 0, D::Place(cell, 32, 64), "", TRUE, TRUE,
                                                         FALSE));
        b->LoadFullImage(Skin("battery_full.png"));
        b->LoadEmptyImage(Skin("battery_empty.png"));
        b->LoadChargingImage(Skin("battery_charging.png"));
        b->LoadLightningImage(Skin("battery_lighting.png"));
        static const CBattery::Mode kModes[] = {CBattery::OnBattery, CBattery::OnBattery, CBattery::Charging,
                                                CBattery::Charged, CBattery::OnBattery};
        static const int kLevels[] = {80, 35, 100, 100, 0};
        b->SetCharge(kModes[look], static_cast<std::uint8_t>(kLevels[look]), 50);
    }});
    rows.push_back({"CStaticImage / CStaticText", 40, [](D& d, Column look, const RECT& cell) {
        auto* i = d.Add(look, std::make_unique<CStaticImage>(d.GetSafeHwnd(), 3400, D::Place(cell, 30, 30), "", TRUE,
                                                             TRUE, FALSE));
        i->LoadImage(Skin("Status_Wireless.png"));
        auto* t = d.Add(look, std::make_unique<CStaticText>(d.GetSafeHwnd(), 3405,
                                                            D::Place(RECT{cell.left + 40, cell.top, 0, 0}, 130, 30),
                                                            look == Checked ? UiColor::TextPressed : UiColor::TextNormal,
                                                            DT_LEFT | DT_SINGLELINE, "", TRUE, TRUE, FALSE));
        t->SetDisplayText("100%");
    }});
    rows.push_back({"CTabControl", 40, [](D& d, Column look, const RECT& cell) {
        auto* t = d.Add(look, std::make_unique<CTabControl>(d.GetSafeHwnd(), look == Checked ? 2049 : 2050,
                                                            D::Place(cell, 44, 22), "1", DT_LEFT, TRUE, TRUE, FALSE));
        t->LoadLook({Look::Normal}, Skin("profile_slot_nr.png"));
        t->LoadLook({Look::Hover}, Skin("profile_slot_ov.png"));
        t->LoadLook({Look::Checked}, Skin("profile_slot_nr2.png"));
        t->LoadLook({Look::CheckedHover}, Skin("profile_slot_ov2.png"));
        auto* t2 = d.Add(look, std::make_unique<CTabControl>(d.GetSafeHwnd(), 2049,
                                                             D::Place(RECT{cell.left + 60, cell.top, 0, 0}, 44, 22), "2",
                                                             DT_LEFT, TRUE, TRUE, FALSE));
        t2->LoadLook({Look::Normal}, Skin("profile_slot_nr.png"));
        t2->LoadLook({Look::Hover}, Skin("profile_slot_ov.png"));
        t2->LoadLook({Look::Checked}, Skin("profile_slot_nr2.png"));
        t2->LoadLook({Look::CheckedHover}, Skin("profile_slot_ov2.png"));
    }});
    return rows;
}

void FillSamples(GalleryDialog& d) {
    const MacroLocation games = d.library.addFolder(kNoLocation, "Games");
    d.library.itemAt(games)->isFolderOpen = 1;
    d.library.addMacro(games, "Reload");
    d.library.addMacro(games, "Quick jump");
    d.library.addFolder(kNoLocation, "Office");
    d.library.addMacro(kNoLocation, "Copy twice");
    d.macro.insert(0, MacroAction{0x41, kMacroPress, 0, 0});
    d.macro.insert(1, makeDelay(35));
    d.macro.insert(2, MacroAction{0x41, kMacroRelease, 0, 0});
    d.macro.insert(3, MacroAction{229, 0, 0, 0xF6});
    d.macro.insert(4, MacroAction{231, 0, 0, 1});
}

class Gallery : public UiTest, public ::testing::WithParamInterface<float> {
protected:
    void SetUp() override {
        uiScale = GetParam();
        skinFolder = ZAVRIN_BIN_DIR;
        InstallResources(generatedResources());
        LoadEnglishTexts();
        output = std::filesystem::path(ZAVRIN_GALLERY_DIR);
        std::filesystem::create_directories(output);
    }
    void TearDown() override {
        InstallResources({});
        uiLanguage = LanguageTable{};
    }
    std::string Suffix() const {
        return GetParam() == 1.0f ? "1" : GetParam() == 1.5f ? "1.5" : "2";
    }
    std::filesystem::path output;
};

TEST_P(Gallery, WritesEveryControlInEveryLook) {
    GalleryDialog dlg(GalleryRows());
    dlg.radios.SetBits(0x7Fu | 0xF0000u, (1u << Checked) | (1u << 16));
    dlg.dpiLevels = 1u << Checked;
    // The sample data must exist before the lists are built.
    FillSamples(dlg);
    ASSERT_TRUE(dlg.Create());
    dlg.SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    dlg.Invalidate();
    desktop.pump();
    const auto path = output / ("controls_scale" + Suffix() + ".png");
    ASSERT_TRUE(desktop.writePng(dlg.GetSafeHwnd(), path));
    EXPECT_TRUE(std::filesystem::exists(path));
    // The image button of the normal column shows its picture.
    const HWND w = dlg.GetSafeHwnd();
    const float s = uiScale;
    EXPECT_NE(desktop.pixel(w, {scaled(kLabelWidth + 10 + 30, s), scaled(40 + 5 + 2, s)}), kGalleryBackground);
}

TEST_P(Gallery, WritesEveryMenuWithAHoveredRow) {
    auto owner = Open(200, 100, {});
    const PopupPictures pictures = LoadStandardPopupPictures();
    std::vector<CItemPopup*> menus{
        new CComboPopup(pictures),         new CDPIPopup(pictures),
        new CMultimediaPopup(pictures),    new COfficePopup(pictures),
        new CWindowsManagePopup(pictures), new CDPILockPopup(pictures),
        new CComboPollingRatePopup(),      new CComboLightingPopup(pictures),
        new CProfilePopup(),               new CProfileRKeyPopup(pictures),
        new CComboActionInsertPopup(pictures), new CMacroListPopup(pictures),
        new CComboProfilePopup(LoadImageFile(Skin("header2_nr.png"))),
    };
    std::vector<Image> shots;
    int x = 0;
    for (CItemPopup* menu : menus) {
        ASSERT_TRUE(menu->Create(owner->GetSafeHwnd(), RECT{x, 0, x, 0}, 0x4A0, 2013));
        const RECT row = menu->Items()[1].itemRect;
        desktop.move(ClientToScreen(menu->GetSafeHwnd(), {(row.left + row.right) / 2, (row.top + row.bottom) / 2}));
        const Image* surface = GetWindowSurface(menu->GetSafeHwnd());
        ASSERT_NE(surface, nullptr);
        shots.push_back(*surface);
        x += surface->width() + 10;
        SendMessage(menu->GetSafeHwnd(), WM_CLOSE);
    }
    int height = 0;
    for (const Image& shot : shots) height = std::max(height, shot.height());
    Image sheet(x + 10, height + 20);
    sheet.fill(kGalleryBackground);
    {
        auto dc = GetGraphics()->CreateCanvas(sheet);
        int left = 10;
        for (const Image& shot : shots) {
            dc->CopyImage(shot, POINT{left, 10}, shot.bounds());
            left += shot.width() + 10;
        }
        dc->Flush();
    }
    const auto path = output / ("menus_scale" + Suffix() + ".png");
    ASSERT_TRUE(WritePngFile(sheet, path));
    EXPECT_TRUE(std::filesystem::exists(path));
}

INSTANTIATE_TEST_SUITE_P(Scales, Gallery, ::testing::Values(1.0f, 1.5f, 2.0f),
                         [](const ::testing::TestParamInfo<float>& info) {
                             return info.param == 1.0f ? std::string("One")
                                                       : info.param == 1.5f ? std::string("OneAndAHalf")
                                                                            : std::string("Two");
                         });

}  // namespace
}  // namespace zavrin::test
