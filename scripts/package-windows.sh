#!/usr/bin/env bash
# Makes, from a mingw build (default build-win; relative or absolute):
#   zavrin-<version>-win64.zip        zavrin.exe, zavrinctl.exe, the skins, the
#                                     language files, the README and the licence
#   zavrin-<version>-setup.exe        the same as an installer (NSIS, makensis):
#                                     Program Files, a Start-menu entry, an
#                                     uninstaller in Apps & Features, the choice
#                                     to start with Windows, the licence page
# both beside the build's bin/. The executables are linked statically and need
# nothing but Windows itself. Prints the two files' paths.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win}
[ -d "$build" ] || { echo "package-windows: no build folder $build" >&2; exit 1; }
build=$(cd "$build" && pwd)
version=$(sed -n 's/^project(zavrin VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name="zavrin-${version}-win64"
bin="$build/bin"
for f in zavrin.exe zavrinctl.exe; do
  [ -f "$bin/$f" ] || { echo "package-windows: $bin/$f is missing; build $build first" >&2; exit 1; }
done
[ -d "$bin/skins" ] && [ -d "$bin/config" ] || { echo "package-windows: skins or config missing in $bin" >&2; exit 1; }
command -v makensis >/dev/null || { echo "package-windows: makensis is missing (scripts/deps.sh installs nsis)" >&2; exit 1; }
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name"
cp "$bin/zavrin.exe" "$bin/zavrinctl.exe" README.md "$stage/$name/"
# Windows' own tools show the licence best with CRLF line ends.
sed 's/$/\r/' LICENSE > "$stage/$name/LICENSE.txt"
cp -r "$bin/skins" "$bin/config" "$stage/$name/"
zip="$build/$name.zip"
rm -f "$zip"
(cd "$stage" && cmake -E tar cf "$zip" --format=zip "$name")

# The installer: the staged files and the program's icon.
[ -f "$build/resources/zavrin.ico" ] || { echo "package-windows: $build/resources/zavrin.ico is missing" >&2; exit 1; }
setup="$build/zavrin-${version}-setup.exe"
# The version needs two parts (x.y) for the file's version record.
[[ "$version" =~ ^[0-9]+\.[0-9]+$ ]] || { echo "package-windows: version $version is not x.y" >&2; exit 1; }
cp "$build/resources/zavrin.ico" "$stage/$name/zavrin.ico"
makensis -V2 -NOCD -DVERSION="$version" -DSTAGE="$stage/$name" -DOUTFILE="$setup" packaging/windows/zavrin.nsi
echo "$zip"
echo "$setup"
