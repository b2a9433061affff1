#include "platform/BenchMarks.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

namespace zavrin {

namespace {

const char* StartTime() {
    static const char* const t0 = std::getenv("ZAVRIN_BENCH_T0");
    return t0 != nullptr && *t0 != 0 ? t0 : nullptr;
}

}  // namespace

bool BenchMarksWanted() { return StartTime() != nullptr; }

void ReportBenchMark(std::string_view what) {
    const char* t0 = StartTime();
    if (t0 == nullptr) return;
    const auto now =
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    // std::clock is the process's CPU time, all threads together.
    const double cpuMs = static_cast<double>(std::clock()) * 1000.0 / CLOCKS_PER_SEC;
    const std::string text(what);
    std::fprintf(stderr, "%s %.1f ms after start (%.1f ms of CPU)\n", text.c_str(),
                 static_cast<double>(now - std::atoll(t0)) / 1e6, cpuMs);
}

}  // namespace zavrin
