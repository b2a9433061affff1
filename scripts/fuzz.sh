#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for the given seconds (default 60),
# niced, starting from its seed corpus in fuzz/corpus/<target>/. New inputs go to
# build-fuzz/corpus/<target>/, crashes to build-fuzz/crash-<target>-*.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
#
# The seed corpora are written by fuzz/write_corpora.py from the files a first
# start of the program creates; the test command replays them (sanitize.sh corpora).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DZAVRIN_FUZZ=ON \
      -DZAVRIN_BUILD_TESTS=OFF -DZAVRIN_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
# The build runs its own generators (skins, resources) under the sanitizers
# too, and the targets that start the program draw text: fontconfig's caches,
# held until exit, are not leaks of ours.
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
nice -n 19 cmake --build build-fuzz -j2 --target "${targets[@]}"

for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t"
  echo "== $t for ${seconds}s"
  UBSAN_OPTIONS=halt_on_error=1 nice -n 19 "./build-fuzz/bin/$t" -max_total_time="$seconds" -max_len=70000 \
    -print_final_stats=1 -artifact_prefix="build-fuzz/crash-$t-" "build-fuzz/corpus/$t" "fuzz/corpus/$t" 2>&1 |
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|Done|==[0-9]+==ERROR|SUMMARY)' || true
done
