#!/usr/bin/env bash
# zavrin.exe on the Wine desktop (Xvfb), end to end:
#  1. headless with the simulated mouse: the screenshot is the main window at 1127 x 740;
#  2. a desktop start driven by a script: the real window opens, a section header
#     and an assignment box are clicked, the factory-reset dialog is opened and
#     cancelled, both kinds of screenshot are taken, the X screen is
#     photographed, and the program ends with status 0 leaving the data files as
#     the Linux program writes them;
#  3. a second start with the same data folder hands over and ends at once.
# Usage: desktop_smoke.sh <wine runner for zavrin.exe> <native zavrin> <work folder> <gallery folder>
set -euo pipefail
runner=$1 native=$2 work=$3 gallery=$4
rm -rf "$work"
mkdir -p "$work" "$gallery"
rm -f "$gallery"/windows-*.png
fail() { echo "desktop smoke: $*" >&2; exit 1; }

size_of() { identify -format '%wx%h' "$1"; }
# Not blank: more than a handful of colours.
colours_of() { identify -format '%k' "$1"; }
source "$(dirname "$0")/wine_desktop.sh"

# 1. Headless.
"$runner" --headless --simulate --data-dir "$work/headless" --screenshot "$gallery/windows-headless.png" \
  || fail "headless start failed"
[ "$(size_of "$gallery/windows-headless.png")" = "1127x740" ] || fail "headless screenshot is $(size_of "$gallery/windows-headless.png")"
[ "$(colours_of "$gallery/windows-headless.png")" -gt 16 ] || fail "headless screenshot is blank"

# 2. The desktop, scripted.
cat > "$work/script.txt" <<SCRIPT
# Open the polling-rate section, press the box of button 2, open the reset
# dialog and cancel it.
wait 500
click 3004
click 2014
wait 300
screenshot $gallery/windows-main.png
click 2045
wait 300
screenshot $gallery/windows-dialog.png
screenshot-screen $gallery/windows-screen.png
click 2011
wait 300
SCRIPT
"$runner" --simulate --data-dir "$work/desktop" --script "$work/script.txt" --run-for 6000 > "$work/desktop.out" 2>&1 &
app=$!
poll 60 main_window_shown || { kill $app 2>/dev/null; fail "no main window appeared on the X screen"; }
# The X screen itself while the reset dialog is open.
poll 60 test -s "$gallery/windows-screen.png" && import -window root "$gallery/windows-xscreen.png" || true
wait $app || fail "desktop run ended with status $? ($(cat "$work/desktop.out"))"
for picture in windows-main windows-dialog windows-screen; do
  [ -f "$gallery/$picture.png" ] || fail "$picture.png was not written"
done
[ "$(size_of "$gallery/windows-main.png")" = "1127x740" ] || fail "window screenshot is $(size_of "$gallery/windows-main.png")"
[ "$(colours_of "$gallery/windows-main.png")" -gt 16 ] || fail "window screenshot is blank"

# The data files are the Linux program's, byte for byte (config.ini names the
# files by their full paths, which differ between the systems).
"$native" --headless --simulate --data-dir "$work/linux" --run-for 100 >/dev/null 2>&1 || fail "native reference run failed"
for f in default0.psf default1.psf default2.psf default3.psf default4.psf LanSetting.ini Lan_EN.txt Lan.txt; do
  cmp "$work/desktop/config/$f" "$work/linux/config/$f" || fail "config/$f differs from the Linux program's"
done
[ -s "$work/desktop/config/config.ini" ] || fail "config.ini is missing"

# 3. Second start.
"$runner" --simulate --data-dir "$work/single" --run-for 20000 > /dev/null 2>&1 &
first=$!
poll 60 main_window_shown || { kill $first 2>/dev/null; fail "the first copy showed no window"; }
start=$SECONDS
"$runner" --simulate --data-dir "$work/single" || fail "the second copy ended with status $?"
[ $((SECONDS - start)) -lt 15 ] || fail "the second copy did not end at once"
kill -0 $first 2>/dev/null || fail "the first copy ended when the second started"
wait $first || fail "the first copy ended with status $?"
echo "desktop smoke: passed"
