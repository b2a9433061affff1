#pragma once

#include <string_view>

namespace zavrin {

// Marks for the benchmark scripts (scripts/desktop-bench.sh). A script that
// measures a start sets ZAVRIN_BENCH_T0 to the wall-clock time, in
// nanoseconds since 1970, at which it started the program; each mark is then
// one line on the error output,
//
//   <what> <wall> ms after start (<cpu> ms of CPU)
//
// with the wall-clock time since then and the CPU time the process has used,
// which on a busy machine says more than the wall clock. Without the variable
// nothing is written. Any thread.
bool BenchMarksWanted();
void ReportBenchMark(std::string_view what);

}  // namespace zavrin
