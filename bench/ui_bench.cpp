// links: zavrin_ui zavrin_headless zavrin_resources
// Painting cost of a skinned dialog: a whole 1127 x 740 window full of controls
// at scale 2 (2254 x 1480 pixels), and the repaint of one control's rectangle,
// which is what every hover change costs.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "platform/Resources.h"
#include "platform/headless/HeadlessDesktop.h"
#include "ui/CCheckButton.h"
#include "ui/CComboButton.h"
#include "ui/CDlgBase.h"
#include "ui/CImageButton.h"
#include "ui/CRadioButton.h"
#include "ui/CSliderControl.h"
#include "ui/CStaticImage.h"
#include "ui/CVerticalSliderControl.h"
#include "ui/ControlGeometry.h"
#include "ui/UiGlobals.h"

namespace zavrin {
namespace {

std::filesystem::path ProgramFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

std::filesystem::path Skin(const char* name) { return SkinPath(std::string("skins\\") + name); }

// A main-window-sized dialog: the frame picture and a dense grid of the
// common controls with captions.
class BenchDialog : public CDlgBase {
public:
    BenchDialog() {
        windowWidth = scaled(1127, uiScale);
        windowHeight = scaled(740, uiScale);
    }

    void BuildControls(const RECT&) override {
        frameSize = SIZE{1127, 740};
        if (readyMadeFrame) {
            LoadFrameResource(kBitmapMainFrame);
        } else {
            SetFrameBitmap(LoadBitmapResource(kBitmapMainFrame));
        }
        const float s = uiScale;
        const HWND w = GetSafeHwnd();
        auto r = [s](int x, int y, int width, int height) {
            return RECT{scaled(x, s), scaled(y, s), scaled(x + width, s), scaled(y + height, s)};
        };
        for (int row = 0; row < 20; ++row) {
            const int y = 40 + row * 34;
            auto* combo = AddControl(0, std::make_unique<CComboButton>(w, 0x404, 2013, r(20, y, 162, 21), "", DT_CENTER,
                                                                       TRUE, TRUE, FALSE, "Right Click"));
            combo->LoadLooks("skins\\combo2");
            auto* button = AddControl(0, std::make_unique<CImageButton>(w, 2100 + row, r(200, y, 65, 23), "OK",
                                                                        DT_CENTER, TRUE, TRUE, FALSE));
            button->LoadLooks("skins\\button2");
            auto* header = AddControl(1, std::make_unique<CCheckButton>(w, 3001, r(280, y, 262, 25), "DPI Settings",
                                                                        DT_CENTER, TRUE, TRUE, FALSE));
            header->LoadLook({Look::Normal}, Skin("header_nr.png"));
            header->LoadLook({Look::Hover, Look::Checked}, Skin("header_ov.png"));
            for (int k = 0; k < 4; ++k) {
                auto* radio = AddControl(1, std::make_unique<CRadioButton>(w, 3030 + k, r(560 + k * 60, y, 52, 24), "",
                                                                           TRUE, TRUE, FALSE, radios));
                radio->LoadLook({Look::Normal}, Skin("125hz_nr.png"));
                radio->LoadLook({Look::Hover, Look::Checked}, Skin("125hz_dn.png"));
            }
            auto* bar = AddControl(2, std::make_unique<CStaticImage>(w, 3400, r(820, y + 5, 200, 13), "", TRUE, TRUE,
                                                                     FALSE));
            bar->LoadImage(Skin("Slider_bar.png"));
            auto* slider = AddControl(2, std::make_unique<CSliderControl>(w, 3130, r(820, y + 5, 200, 13), 4,
                                                                          scaled(6, s), scaled(6, s), "", TRUE, TRUE,
                                                                          FALSE));
            slider->LoadThumbImage(Skin("Slider_Circle.png"));
            slider->SetStopIndex(row % 4);
        }
        for (int k = 0; k < 6; ++k) {
            auto* level = AddControl(3, std::make_unique<CVerticalSliderControl>(w, 3300 + k, r(1040 + k * 14, 60, 12, 120),
                                                                                 8, 0, 0, "", TRUE, TRUE, FALSE));
            level->LoadBackgroundImage(Skin("mouse/dpi_bar_1.png"));
            level->LoadFillImage(Skin("mouse/dpi_bar_2.png"));
            level->SetLevel(k);
        }
    }

    void DrawWindow(Canvas& dc, const RECT& client) override {
        ++paints;
        DrawFrame(dc, client);
        DrawControls(dc, client);
    }

    long paints = 0;
    // The main window's way: the frame made at build time, drawn from its runs
    // (no frame cache held), instead of a frame cache scaled at start.
    bool readyMadeFrame = false;
    RadioGroups radios;
};

struct Fixture {
    explicit Fixture(bool readyMadeFrame = false) {
        dialog.readyMadeFrame = readyMadeFrame;
        uiScale = 2.0f;
        uiLanguage.uiFontFace = "Tahoma";
        uiLanguage.uiFontHeight = 32;
        uiLanguage.uiFontCharset = DEFAULT_CHARSET;
        skinFolder = ProgramFolder();
        InstallResources(generatedResources());
        dialog.Create();
        desktop.pump();
    }
    ~Fixture() { InstallResources({}); }

    HeadlessDesktop desktop{HeadlessBackend::MetricsForScreen(SIZE{3840, 2160})};
    BenchDialog dialog;
};

void BM_PaintWholeDialogAtScale2(benchmark::State& state) {
    Fixture f(state.range(0) != 0);
    const HWND w = f.dialog.GetSafeHwnd();
    for (auto _ : state) {
        InvalidateRect(w, nullptr, TRUE);
        UpdateWindow(w);
    }
    const RECT client = GetClientRect(w);
    state.counters["width"] = client.right;
    state.counters["height"] = client.bottom;
    int controls = 0;
    for (const auto& list : f.dialog.ControlLists()) controls += static_cast<int>(list.size());
    state.counters["controls"] = controls;
    state.counters["paints"] = benchmark::Counter(static_cast<double>(f.dialog.paints), benchmark::Counter::kAvgIterations);
}
// Argument 0: the frame from a cache scaled at start; 1: from the ready-made runs.
BENCHMARK(BM_PaintWholeDialogAtScale2)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_RepaintOneControlAtScale2(benchmark::State& state) {
    Fixture f;
    const HWND w = f.dialog.GetSafeHwnd();
    const CControlBase* control = f.dialog.FindControl(2105);
    const RECT r = control->Rect();
    for (auto _ : state) {
        InvalidateRect(w, &r, TRUE);
        UpdateWindow(w);
    }
    state.counters["paints"] = benchmark::Counter(static_cast<double>(f.dialog.paints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RepaintOneControlAtScale2)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zavrin
