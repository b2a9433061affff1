#!/usr/bin/env bash
# Automatic profiles on the Wine desktop: zavrin.exe with the simulated mouse,
# a rule giving win32_front_window.exe profile slot 3 (whose DPI levels differ
# from slot 1's), and that program brought to the front. The HID trace must
# show the rule's DPI-level report, and config.ini must still name the
# profile chosen by hand (slot 1) after the program has ended.
# Usage: foreground_rule.sh <wine runner for zavrin.exe> <wine runner for the
#        front window> <native zavrin> <native zavrinctl> <work folder>
set -euo pipefail
runner=$1 front=$2 native=$3 ctl=$4 work=$5
rm -rf "$work"
mkdir -p "$work"
fail() { echo "foreground rule: $*" >&2; exit 1; }
source "$(dirname "$0")/wine_desktop.sh"

# The data folder, made by the native program: slot 3 gets other DPI levels by
# hand, then slot 1 is chosen again.
cat > "$work/prepare.zs" <<SCRIPT
wait 300
click 3502
menu 3
wait 2000
click 3262
wait 1000
click 3502
menu 1
wait 2000
tray menu exit
SCRIPT
"$native" --headless --simulate --data-dir "$work/data" --script "$work/prepare.zs" > "$work/prepare.out" 2>&1 \
  || fail "preparing the data folder failed: $(cat "$work/prepare.out")"
"$ctl" --data-dir "$work/data" app-profile add win32_front_window.exe 3 > /dev/null || fail "zavrinctl could not add the rule"

"$runner" --simulate --data-dir "$work/data" --hid-trace "$work/trace.txt" --run-for 20000 > "$work/zavrin.out" 2>&1 &
app=$!
poll 60 main_window_shown || { kill $app 2>/dev/null; fail "no main window appeared on the X screen"; }
sleep 2
"$front" 4000 || fail "the front window ended with status $?"
wait $app || fail "zavrin.exe ended with status $? ($(cat "$work/zavrin.out"))"

# DPI levels (command 02): only the rule's switch writes them.
reports=$(grep -c "SET_FEATURE [a-z]* 06 02 " "$work/trace.txt" || true)
[ "$reports" = 1 ] || fail "expected one DPI-level report, got $reports: $(grep 'SET_FEATURE' "$work/trace.txt" || true)"
iconv -f UTF-16LE -t UTF-8 "$work/data/config/config.ini" | tr -d '\r' | grep -qx "CurrentProfile=0" \
  || fail "config.ini does not keep the hand-chosen profile"
echo "foreground rule: the rule's profile reached the mouse and the hand choice was kept"
