// links: zavrin_model zavrin_app_core
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <filesystem>

#include "model/AppModel.h"
#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"
#include "model/ProfileFile.h"
#include "model/ProfileRecord.h"

namespace {

using namespace zavrin;

std::filesystem::path benchFolder(const char* name) {
    const auto folder = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(folder / "config");
    return folder;
}

// The start-up load with an empty library; reports the process's peak resident
// size. It is registered first so that the peak is not the large library's.
void BM_StartupLoadEmptyLibrary(benchmark::State& state) {
    const auto folder = benchFolder("zavrin-bench-startup");
    for (auto _ : state) {
        AppModel model(folder);
        model.load(1.0F);
        benchmark::DoNotOptimize(model.store.profiles[0].keys[0].action);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_StartupLoadEmptyLibrary)->Unit(benchmark::kMillisecond);

void BM_ProfileWriteAndRead(benchmark::State& state) {
    const auto file = benchFolder("zavrin-bench-profile") / "p.psf";
    LanguageTable texts;
    ProfileRecord record;
    resetProfile(record, 0, texts, 0x3311);
    for (auto _ : state) {
        writeProfileRecord(record, file);
        auto back = parseProfileFile(file);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_ProfileWriteAndRead)->Unit(benchmark::kMicrosecond);

// 1000 macros of 50 actions, in 17 folders of up to 60 macros each.
MacroLibrary largeLibrary() {
    MacroLibrary lib;
    int made = 0;
    for (int f = 0; made < 1000; ++f) {
        const MacroLocation folder = lib.addFolder(kNoLocation, "folder " + std::to_string(f));
        for (int m = 0; m < MacroLibrary::kListCapacity && made < 1000; ++m, ++made) {
            const MacroLocation at = lib.addMacro(folder, "macro " + std::to_string(made));
            MacroRecord& macro = *lib.itemAt(at)->macro;
            for (std::size_t a = 0; a < 50; ++a) macro.insert(a, {0x41, static_cast<std::uint8_t>(a % 2 ? 0x80 : 0), 0, 0});
        }
    }
    return lib;
}

void BM_MacroLibraryRead1000(benchmark::State& state) {
    const auto file = benchFolder("zavrin-bench-library") / "lib.mlf";
    largeLibrary().writeLibraryFile(file, kNoLocation);
    MacroLibrary lib;
    for (auto _ : state) {
        lib.readLibraryFile(file);
        benchmark::DoNotOptimize(lib.itemCount());
    }
    state.counters["items"] = lib.itemCount();
}
BENCHMARK(BM_MacroLibraryRead1000)->Unit(benchmark::kMillisecond);

void BM_MacroLibraryWrite1000(benchmark::State& state) {
    const auto file = benchFolder("zavrin-bench-library") / "lib-out.mlf";
    const MacroLibrary lib = largeLibrary();
    for (auto _ : state) benchmark::DoNotOptimize(lib.writeLibraryFile(file, kNoLocation));
}
BENCHMARK(BM_MacroLibraryWrite1000)->Unit(benchmark::kMillisecond);


}  // namespace
