#!/usr/bin/env bash
# Makes zavrin-<version>-win64.zip from a mingw build (default build-win):
# zavrin.exe, zavrinctl.exe, the skins and the language files, and the README.
# The executables are linked statically and need nothing but Windows itself.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}
version=$(sed -n 's/^project(zavrin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="zavrin-${version}-win64"
bin="$build/bin"
for f in zavrin.exe zavrinctl.exe; do
  [ -f "$bin/$f" ] || { echo "package-windows: $bin/$f is missing; build $build first" >&2; exit 1; }
done
[ -d "$bin/skins" ] && [ -d "$bin/config" ] || { echo "package-windows: skins or config missing in $bin" >&2; exit 1; }
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name"
cp "$bin/zavrin.exe" "$bin/zavrinctl.exe" README.md "$stage/$name/"
cp -r "$bin/skins" "$bin/config" "$stage/$name/"
out="$PWD/$build/$name.zip"
rm -f "$out"
(cd "$stage" && cmake -E tar cf "$out" --format=zip "$name")
echo "$out"
