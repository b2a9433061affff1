#!/usr/bin/env bash
# Installs missing build dependencies, builds everything, runs every test, and
# cross-compiles the portable libraries for Windows as a portability check.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DZAVRIN_PORTABLE_ONLY=ON -DCMAKE_BUILD_TYPE=Release
cmake --build build-mingw -j2
echo "All tests passed; the portable libraries build for Windows."
