#!/usr/bin/env bash
# Builds and runs the tests under a sanitizer, each in its own build folder.
#
#   scripts/sanitize.sh asan     the whole test suite under AddressSanitizer +
#                                UndefinedBehaviorSanitizer (build-asan); any
#                                report, a leak included, fails the run; then
#                                a shorter soak run (bench/soak) in that build
#   scripts/sanitize.sh corpora  replays every fuzz target's seed corpus
#                                (fuzz/corpus/) in that same build
#   scripts/sanitize.sh tsan     the device and window-layer tests and the
#                                hostile-mouse tests, the ones with real threads,
#                                under ThreadSanitizer (build-tsan); the text
#                                libraries' own reports are suppressed in
#                                scripts/tsan.supp
#
# Each builds at -O1 (the test files at -O0) without the benchmarks so that the sanitizer stage stays a
# small part of the test command on a two-core machine.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-asan}
jobs=${JOBS:-2}

configure() {
  local dir=$1 flags=$2
  shift 2
  # Line tables (-g1) are all a sanitizer's stack traces need, and the
  # fuller debug information would make every file slower to compile and link.
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Debug -DZAVRIN_BUILD_BENCH=OFF -DZAVRIN_TESTS_UNOPTIMISED=ON \
        -DCMAKE_CXX_FLAGS_DEBUG="-g1" -DCMAKE_C_FLAGS_DEBUG="-g1" \
        -DCMAKE_CXX_FLAGS="-O1 -g1 -fno-omit-frame-pointer $flags" \
        -DCMAKE_EXE_LINKER_FLAGS="$flags" -DCMAKE_SHARED_LINKER_FLAGS="$flags" "$@" >/dev/null
}

asan_build() {
  local flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined"
  # The build runs its own generators (skins, resources), so the options apply
  # to the build as well as to the tests.
  export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  configure build-asan "$flags" -DZAVRIN_FUZZ_REPLAY=ON -DZAVRIN_BUILD_SOAK=ON
  cmake --build build-asan -j"$jobs"
}

case "$mode" in
  asan)
    asan_build
    ctest --test-dir build-asan --output-on-failure -j"$jobs" -LE fuzz-corpus
    # Hours of random input and mouse events: every leak and memory error on
    # paths the tests do not walk fails here.
    timeout 900 ./build-asan/bin/soak --hours 8 --seed 2
    ;;
  corpora)
    asan_build
    ctest --test-dir build-asan --output-on-failure -j"$jobs" -L fuzz-corpus
    ;;
  tsan)
    configure build-tsan "-fsanitize=thread"
    cmake --build build-tsan -j"$jobs" --target device_tests platform_tests hardening_tests
    export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/scripts/tsan.supp
    ./build-tsan/bin/device_tests
    ./build-tsan/bin/platform_tests
    # The hostile mouse and the status flood: reader threads against the UI thread.
    ./build-tsan/bin/hardening_tests --gtest_filter='HostileMouse.*:WindowFlood.*:DeviceSave.*'
    ;;
  *)
    echo "usage: $0 [asan|corpora|tsan]" >&2
    exit 2
    ;;
esac
