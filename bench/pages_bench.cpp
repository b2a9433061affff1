// links: zavrin_app zavrin_headless zavrin_resources
// The settings pages in the whole main window on the simulated mouse: the
// page's own work for a slider release (handler, collect, refresh, arming the
// apply pass; virtual time and the apply pass aside) and a full repaint at scale 2 with the two
// largest sections (DPI and polling rate) open.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "app/Startup.h"
#include "device/sim/SimulatedMouse.h"
#include "pages/CVelmorDlg.h"
#include "pages/LightingPage.h"
#include "platform/Resources.h"
#include "platform/headless/HeadlessDesktop.h"
#include "platform/headless/HeadlessServices.h"
#include "ui/CCheckButton.h"
#include "ui/CSliderControl.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {
namespace {

std::filesystem::path ProgramFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

struct MainWindow {
    explicit MainWindow(float scale) {
        uiScale = scale;
        skinFolder = ProgramFolder();
        InstallResources(generatedResources());
        desktop.backend().setStallLimit(std::chrono::milliseconds(0));
        data = std::filesystem::temp_directory_path() /
               ("zavrin-pages-bench-" + std::to_string(::getpid()));
        std::filesystem::remove_all(data);
        prepareDataFolder(data);
        installLanguageFiles(ProgramFolder(), data, false);
        model = std::make_unique<AppModel>(data);
        model->load(uiScale);
        uiLanguage = model->language;
        mouse = std::make_unique<SimulatedMouse>(desktop.clock());
        mouse->plug(ConnectionKind::Dongle);
        window =
            std::make_unique<CVelmorDlg>(CVelmorDlg::Environment{*model, *mouse, services, data});
        window->Create();
        desktop.pump();
    }
    ~MainWindow() {
        window->DestroyWindow();
        desktop.pump();
        window.reset();
        std::filesystem::remove_all(data);
        InstallResources({});
    }
    HWND hwnd() const { return window->GetSafeHwnd(); }

    HeadlessDesktop desktop{HeadlessBackend::MetricsForScreen(SIZE{3840, 2160})};
    std::filesystem::path data;
    HeadlessServices services;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<SimulatedMouse> mouse;
    std::unique_ptr<CVelmorDlg> window;
};

// Press and release on alternate ends of the speed slider of the breathing
// effect: each release changes the speed.
void BM_SliderReleaseInThePage(benchmark::State& state) {
    MainWindow m(1.0f);
    m.model->store.currentProfile().lighting1.modeValue = {2, 0, 0};
    m.window->RefreshFromProfile();
    m.desktop.pump();
    auto* slider = dynamic_cast<CSliderControl*>(m.window->FindControl(LightingPage::kSpeedSlider));
    const RECT r = slider->Rect();
    const int y = (r.top + r.bottom) / 2;
    bool right = true;
    for (auto _ : state) {
        const POINT p{right ? r.right - 2 : r.left + 2, y};
        m.desktop.move(m.hwnd(), p);
        m.desktop.click(m.hwnd(), p);
        right = !right;
        state.PauseTiming();
        // The apply pass and its progress animation are not the page's work.
        m.window->KillTimer(TimerId::Apply);
        state.ResumeTiming();
    }
    // Proof that the releases landed: the speed the last one chose.
    state.counters["speed"] = m.model->store.currentProfile().lighting1.speed[2];
}
BENCHMARK(BM_SliderReleaseInThePage)->Unit(benchmark::kMicrosecond);

void BM_RepaintWithDpiAndPollingOpenAtScale2(benchmark::State& state) {
    MainWindow m(2.0f);
    m.window->link().pollingCapability = RateClass::UpTo8000;
    // Opening polling rate keeps DPI (first in its list) and closes lighting.
    dynamic_cast<CCheckButton*>(m.window->FindControl(ControlId::PollingRateHeader))->SetChecked(true);
    m.window->OnSectionHeaderClicked(Section::PollingRate);
    m.desktop.pump();
    for (auto _ : state) {
        InvalidateRect(m.hwnd(), nullptr, FALSE);
        UpdateWindow(m.hwnd());
    }
    const RECT client = GetClientRect(m.hwnd());
    state.counters["width"] = client.right;
    state.counters["height"] = client.bottom;
}
BENCHMARK(BM_RepaintWithDpiAndPollingOpenAtScale2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zavrin
