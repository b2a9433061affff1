// links: zavrin_macros zavrin_headless zavrin_resources
// Opening the macro manager on a library of 1000 macros (20 folders of 50,
// each macro 60 actions) and drawing its first frame, at scale 1 and 2; the
// target is under 50 ms. The same on an empty library for comparison, and the
// redraw of the tree with every folder open.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "macros/CMacroManagerDlg.h"
#include "platform/Resources.h"
#include "platform/headless/HeadlessDesktop.h"
#include "platform/headless/HeadlessServices.h"
#include "ui/UiGlobals.h"

namespace zavrin {
namespace {

constexpr int kFolders = 20;
constexpr int kMacrosPerFolder = 50;
constexpr int kActionsPerMacro = 60;

std::filesystem::path ProgramFolder() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

MacroLibrary Macros(int folders) {
    MacroLibrary library;
    for (int f = 0; f < folders; ++f) {
        const MacroLocation folder = library.addFolder(kNoLocation, "Folder " + std::to_string(f));
        for (int m = 0; m < kMacrosPerFolder; ++m) {
            MacroRecord& macro =
                *library.itemAt(library.addMacro(folder, "Macro " + std::to_string(m)))->macro;
            for (int a = 0; a < kActionsPerMacro; ++a) {
                macro.insert(macro.actionNum, a % 2 ? makeDelay(40) : MacroAction{0x41, 0, 0, 0});
            }
        }
    }
    return library;
}

struct Fixture {
    explicit Fixture(float scale, int folders = kFolders) : library(Macros(folders)) {
        uiScale = scale;
        uiLanguage.uiFontFace = "Tahoma";
        uiLanguage.uiFontHeight = static_cast<int>(16 * scale);
        uiLanguage.uiFontCharset = DEFAULT_CHARSET;
        skinFolder = ProgramFolder();
        InstallResources(generatedResources());
    }
    ~Fixture() { InstallResources({}); }

    HeadlessDesktop desktop{HeadlessBackend::MetricsForScreen(SIZE{3840, 2160})};
    HeadlessServices services;
    MacroLibrary library;
    ProfileRecord profile;
    std::filesystem::path libraryFile =
        std::filesystem::temp_directory_path() / "zavrin_bench_library.mlf";
};

// Arguments: the scale, then the folders of 50 macros (0 for an empty
// library, which shows what the library itself costs).
void BM_OpenManagerOn1000MacrosAndDrawTheFirstFrame(benchmark::State& state) {
    Fixture f(static_cast<float>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        CMacroManagerDlg manager(
            CMacroManagerDlg::Environment{f.library, f.services, f.libraryFile, f.profile}, HWND{});
        manager.Create();
        UpdateWindow(manager.GetSafeHwnd());
        state.PauseTiming();
        manager.DestroyWindow();
        f.desktop.pump();
        state.ResumeTiming();
    }
    state.counters["macros"] = static_cast<double>(state.range(1) * kMacrosPerFolder);
}
BENCHMARK(BM_OpenManagerOn1000MacrosAndDrawTheFirstFrame)
    ->Args({1, kFolders})
    ->Args({2, kFolders})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Unit(benchmark::kMillisecond);

void BM_RedrawTreeWithEveryFolderOpen(benchmark::State& state) {
    Fixture f(2.0f);
    CMacroManagerDlg manager(
        CMacroManagerDlg::Environment{f.library, f.services, f.libraryFile, f.profile}, HWND{});
    manager.Create();
    for (int i = 0; i < kFolders; ++i)
        f.library.itemAt(MacroLocation{0, i, 0, 0})->isFolderOpen = 1;
    manager.tree()->SetTopRow(f.library.visibleRowCount() - manager.tree()->RowsVisible());
    for (auto _ : state) {
        InvalidateRect(manager.GetSafeHwnd(), &manager.tree()->Rect(), FALSE);
        UpdateWindow(manager.GetSafeHwnd());
    }
    state.counters["rows"] = f.library.visibleRowCount();
    manager.DestroyWindow();
}
BENCHMARK(BM_RedrawTreeWithEveryFolderOpen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zavrin
