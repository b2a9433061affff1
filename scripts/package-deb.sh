#!/usr/bin/env bash
# Builds zavrin_<version>_amd64.deb with CPack from the build in build/ (the
# test command's; the package strips the programs it takes from there).
#
#   scripts/package-deb.sh          build the package
#   scripts/package-deb.sh --check  also check it as the test command does:
#                                   lintian reports no error and no warning,
#                                   apt-get installs it, the installed AppStream
#                                   metainfo and desktop entry validate, the
#                                   manual pages render without warnings, the
#                                   program and zavrinctl run from /usr/bin, and
#                                   apt-get removes it again
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
lintian --fail-on error,warning --tag-display-limit 0 "$deb"
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
app_id=io.github.zavrin.Zavrin
for f in /usr/lib/zavrin/zavrin /usr/lib/zavrin/zavrin-desktop /usr/lib/zavrin/zavrinctl /usr/lib/zavrin/skins /usr/lib/zavrin/config \
         /usr/lib/udev/rules.d/70-zavrin-zr2.rules /usr/share/applications/$app_id.desktop \
         /usr/share/metainfo/$app_id.metainfo.xml /usr/share/icons/hicolor/128x128/apps/$app_id.png \
         /usr/share/man/man1/zavrin.1.gz /usr/share/man/man1/zavrinctl.1.gz \
         /usr/share/bash-completion/completions/zavrinctl; do
  test -e "$f" || { echo "missing after install: $f" >&2; exit 1; }
done
# The metadata as installed: no errors and no warnings from either validator
# (--no-net: the addresses are not fetched). Infos and pedantic notes pass.
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" > "$work/appstream.log" 2>&1 ||
  { cat "$work/appstream.log" >&2; echo "appstreamcli validate failed" >&2; exit 1; }
if grep -qE '^[EW]:' "$work/appstream.log"; then cat "$work/appstream.log" >&2; exit 1; fi
desktop_log=$(desktop-file-validate "/usr/share/applications/$app_id.desktop" 2>&1) ||
  { echo "$desktop_log" >&2; exit 1; }
[ -z "$desktop_log" ] || { echo "$desktop_log" >&2; exit 1; }
for page in zavrin zavrinctl; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "man $page: $warnings" >&2; exit 1; }
done
rm -rf "$work"
trap - EXIT
remove
if [ -e /usr/bin/zavrin ] || [ -e /usr/lib/zavrin ]; then
  echo "files left behind after removal" >&2
  exit 1
fi
echo "$deb installs, runs and removes cleanly"
