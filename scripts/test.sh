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
stage "desktop (Xvfb)" ./scripts/desktop-test.sh build
stage "debian package" ./scripts/package-deb.sh --check
stage "asan+ubsan build and tests" ./scripts/sanitize.sh asan
stage "fuzz corpora" ./scripts/sanitize.sh corpora
stage "windows cross-build" bash -c 'cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DZAVRIN_PORTABLE_ONLY=ON -DCMAKE_BUILD_TYPE=Release && cmake --build build-mingw -j2'
stage_summary
echo "All tests passed; the portable libraries build for Windows."
