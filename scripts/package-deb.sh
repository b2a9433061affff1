#!/usr/bin/env bash
# Builds zavrin_<version>_amd64.deb with CPack from the build in build/ (the
# test command's; the package strips the programs it takes from there).
#
#   scripts/package-deb.sh          build the package
#   scripts/package-deb.sh --check  also check it as the test command does:
#                                   lintian reports no error, apt-get installs it,
#                                   the program and zavrinctl run from /usr/bin,
#                                   and apt-get removes it again
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/CPackConfig.cmake" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
rm -rf "$build/deb-package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/deb-package" >/dev/null
deb=$(ls "$build"/deb-package/zavrin_*_amd64.deb)
echo "built $deb"
[ "${1:-}" = "--check" ] || exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
lintian --fail-on error --tag-display-limit 0 "$deb"
if dpkg-query -W -f='${Status}' zavrin 2>/dev/null | grep -q "install ok installed"; then
  echo "zavrin is already installed here; not touching it" >&2
  exit 1
fi
remove() { DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq zavrin >/dev/null; }
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "./$deb" >/dev/null
trap remove EXIT
work=$(mktemp -d)
# Run as the installed programs run: from /usr/bin, finding their files beside
# the real program in /usr/lib/zavrin, with a data folder of their own.
/usr/bin/zavrin --headless --simulate --data-dir "$work/data" --screenshot "$work/shot.png"
test -s "$work/shot.png"
/usr/bin/zavrinctl --simulate info
# The settings commands find the English names beside the installed program.
/usr/bin/zavrinctl --simulate --data-dir "$work/data" set rate 2000
for f in /usr/lib/zavrin/zavrin /usr/lib/zavrin/zavrinctl /usr/lib/zavrin/skins /usr/lib/zavrin/config \
         /usr/lib/udev/rules.d/70-zavrin-zr2.rules /usr/share/applications/zavrin.desktop \
         /usr/share/metainfo/zavrin.metainfo.xml /usr/share/icons/hicolor/128x128/apps/zavrin.png \
         /usr/share/bash-completion/completions/zavrinctl; do
  test -e "$f" || { echo "missing after install: $f" >&2; exit 1; }
done
rm -rf "$work"
trap - EXIT
remove
if [ -e /usr/bin/zavrin ] || [ -e /usr/lib/zavrin ]; then
  echo "files left behind after removal" >&2
  exit 1
fi
echo "$deb installs, runs and removes cleanly"
