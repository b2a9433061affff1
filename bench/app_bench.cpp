// links: zavrin_app zavrin_headless zavrin_resources
// The main window: start to first painted frame (files present, simulated
// mouse, headless), a full repaint at scale 2 with two sections open, and the
// resident memory once it has started.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

#include "app/Startup.h"
#include "device/sim/SimulatedMouse.h"
#include "pages/CVelmorDlg.h"
#include "platform/Resources.h"
#include "platform/headless/HeadlessDesktop.h"
#include "platform/headless/HeadlessServices.h"
#include "ui/OpenDialogs.h"
#include "ui/UiGlobals.h"

namespace zavrin {
namespace {

std::filesystem::path ProgramFolder() { return std::filesystem::read_symlink("/proc/self/exe").parent_path(); }

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// A data folder with every file written once, as after a first run.
std::filesystem::path PreparedFolder() {
    static const std::filesystem::path folder = [] {
        auto f = std::filesystem::temp_directory_path() / ("zavrin_app_bench_" + std::to_string(::getpid()));
        prepareDataFolder(f);
        installLanguageFiles(ProgramFolder(), f, false);
        AppModel first(f);
        first.load(1.0f);
        return f;
    }();
    return folder;
}

struct Running {
    explicit Running(SIZE screen)
        : desktop(HeadlessBackend::MetricsForScreen(screen)), mouse(desktop.clock()) {
        desktop.backend().setStallLimit(std::chrono::milliseconds(0));
        mouse.plug(ConnectionKind::Dongle);
        openDialogs = {};
        uiScale = computeUiScale(GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN));
        model = std::make_unique<AppModel>(PreparedFolder());
        model->load(uiScale);
        uiLanguage = model->language;
        window = std::make_unique<CVelmorDlg>(CVelmorDlg::Environment{*model, mouse, services, PreparedFolder()});
        window->Create();
        desktop.pump();
    }
    ~Running() { window.reset(); }

    HeadlessDesktop desktop;
    SimulatedMouse mouse;
    HeadlessServices services;
    std::unique_ptr<AppModel> model;
    std::unique_ptr<CVelmorDlg> window;
};

void Setup() {
    InstallResources(generatedResources());
    skinFolder = ProgramFolder();
}

void BM_StartToFirstFrame(benchmark::State& state) {
    Setup();
    PreparedFolder();
    double resident = 0;
    for (auto _ : state) {
        auto run = std::make_unique<Running>(SIZE{1920, 1080});
        benchmark::DoNotOptimize(GetWindowSurface(run->window->GetSafeHwnd()));
        state.PauseTiming();
        resident = ResidentMegabytes();
        run.reset();  // the readers' shutdown is not part of the start
        state.ResumeTiming();
    }
    state.counters["resident_MB"] = resident;
}
BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond);

void BM_FullRepaintScale2TwoSectionsOpen(benchmark::State& state) {
    Setup();
    Running run(SIZE{3840, 2160});
    const HWND h = run.window->GetSafeHwnd();
    for (auto _ : state) {
        InvalidateRect(h, nullptr, FALSE);
        UpdateWindow(h);
    }
    state.counters["width"] = GetWindowRect(h).width();
}
BENCHMARK(BM_FullRepaintScale2TwoSectionsOpen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zavrin
