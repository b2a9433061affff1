#!/usr/bin/env bash
# Installs missing build dependencies, builds everything, runs every test (again
# under AddressSanitizer + UndefinedBehaviorSanitizer, and the fuzz corpora
# through their targets), and cross-compiles the portable libraries for Windows
# as a portability check.
# Each stage prints how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/stage.sh

stage "dependencies" ./scripts/deps.sh
stage "configure" cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
stage "build" cmake --build build -j2
stage "tests" ctest --test-dir build --output-on-failure -j2
# A virtual day of random input and mouse events; resident memory must stay
# flat. It takes under a minute; the timeout turns a hang into a failure.
stage "soak (a virtual day)" timeout 900 ./build/bin/soak --hours 24 --seed 1 --log build/soak-seed1-a.log
# The same seed again must take the same steps, step by step: anything that
# depends on real time or thread timing shows as the first differing line.
stage "soak (same seed again)" bash -c 'timeout 900 ./build/bin/soak --hours 24 --seed 1 --log build/soak-seed1-b.log >/dev/null && cmp build/soak-seed1-a.log build/soak-seed1-b.log'
stage "desktop (Xvfb)" ./scripts/desktop-test.sh build
stage "debian package" ./scripts/package-deb.sh --check
# The Windows program: cross-built with its Win32 backends (the generators come
# from the native build above) and tested under Wine.
stage "windows build" bash -c 'cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release -DZAVRIN_HOST_TOOLS_DIR="$PWD/build/tools" && nice -n 10 cmake --build build-win -j2'
stage "windows (wine)" ./scripts/windows-tests.sh build-win
stage "asan+ubsan build and tests" ./scripts/sanitize.sh asan
stage "fuzz corpora" ./scripts/sanitize.sh corpora
stage_summary
echo "All tests passed; the portable libraries build for Windows and the Windows program passes under Wine."
