#!/usr/bin/env bash
# Installs missing build dependencies, builds everything, runs every test, and
# builds the Windows program and runs its tests under Wine. Each stage prints
# how long it took.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/stage.sh

stage "dependencies" ./scripts/deps.sh
stage "configure" cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
stage "build" cmake --build build -j2
stage "tests" ctest --test-dir build --output-on-failure -j2
# The Windows program: cross-built with its Win32 backends (the generators come
# from the native build above) and tested under Wine. It compiles every portable
# library for Windows as well, so it stands in for the portable-only
# cross-build (-DZAVRIN_PORTABLE_ONLY=ON), which would spend minutes of the
# test command's half hour compiling the same files again.
stage "windows build" bash -c 'cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release -DZAVRIN_HOST_TOOLS_DIR="$PWD/build/tools" && nice -n 10 cmake --build build-win -j2'
stage "windows (wine)" ./scripts/windows-tests.sh build-win
stage_summary
echo "All tests passed; the portable libraries build for Windows and the Windows program passes under Wine."
