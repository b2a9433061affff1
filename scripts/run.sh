#!/usr/bin/env bash
# Installs missing build dependencies, builds the program and starts it with the
# options given (see README.md).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target zavrin
exec ./build/bin/zavrin "$@"
