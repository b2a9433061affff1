#!/usr/bin/env bash
# zavrinctl.exe's real HID path (SetupAPI and hid.dll, Wine's winebus.sys on its
# udev bus) against the simulated mouse behind fake hidraw nodes: list, info, an
# apply pass with lighting and a macro upload whose reports reach the mouse byte
# for byte as on the simulated path, status reports in watch, an unplug seen by
# watch, a replug, and an apply pass cut short by an unplug.
#
# winebus reads the nodes in its own process, so the nodes are served by
# fake_hidraw_host and the double is preloaded into the Wine server, whose
# processes inherit it. libudev resolves and checks /sys itself, so the test
# runs in a private mount namespace with the fake tree mounted over /sys (root
# is needed for that). The nodes are read without udevd (DisableUdevd), as in a
# container: winebus lists /dev and watches it, which the double redirects.
# The two-node layout only: Wine 8.0 makes one device of a node with two
# top-level collections, where Windows makes one per collection.
#
# Usage: hid_through_wine.sh <runner for zavrinctl.exe> <native zavrinctl>
#        <fake_hidraw_host> <libfakehidraw.so> <work folder>
set -u
if [ -z "${ZAVRIN_HID_NAMESPACE:-}" ]; then
  if ! command -v unshare > /dev/null; then
    echo "unshare is not installed (util-linux)"
    exit 1
  fi
  ZAVRIN_HID_NAMESPACE=1 exec unshare --mount --propagation private bash "$0" "$@"
fi
zavrinctl="$1"
native="$2"
host="$3"
library="$4"
work="$5"
for f in "$native" "$host" "$library"; do
  [ -e "$f" ] || { echo "missing $f: build the native tree first"; exit 1; }
done
rm -rf "$work"
mkdir -p "$work"
prefix=$(sed -n "s/^export WINEPREFIX='\([^']*\)'.*/\1/p" "$zavrinctl")
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
winebus='HKLM\System\CurrentControlSet\Services\winebus'

mkfifo "$work/commands"
"$host" "$work/root" "$work/host.sock" "$work/device.trace" < "$work/commands" > "$work/host.out" 2>&1 &
hostpid=$!
exec 7> "$work/commands"
finish() {
  wineserver -k > /dev/null 2>&1
  # The prefix is shared with the other Windows tests: winebus's defaults back.
  env -u LD_PRELOAD wine reg delete "$winebus" /v "Enable SDL" /f > /dev/null 2>&1
  env -u LD_PRELOAD wine reg delete "$winebus" /v DisableUdevd /f > /dev/null 2>&1
  env -u LD_PRELOAD wineserver -k > /dev/null 2>&1
  echo quit >&7
  exec 7>&-
  wait "$hostpid" 2> /dev/null
}
fail() {
  echo "$*"
  echo "--- host:"
  cat "$work/host.out"
  finish
  exit 1
}
# One command to the host, answered before the next.
answered=0
mouse() {
  echo "$*" >&7
  answered=$((answered + 1))
  for _ in $(seq 1 200); do
    [ "$(grep -c '' "$work/host.out")" -gt "$answered" ] && break
    sleep 0.05
  done
  tail -n 1 "$work/host.out" | grep -q '^ok$' || fail "the host refused: $*"
}
for _ in $(seq 1 100); do
  grep -q ready "$work/host.out" 2> /dev/null && break
  sleep 0.05
done
grep -q ready "$work/host.out" || fail "fake_hidraw_host did not start"
mouse plug wired

# No server may outlive the test that started it without the double.
wineserver -k > /dev/null 2>&1
wineserver -w > /dev/null 2>&1
mount --bind "$work/root/sys" /sys || fail "cannot mount the fake sysfs over /sys (root is needed)"
export LD_PRELOAD="$library" FAKE_HIDRAW_HOST="$work/host.sock" FAKE_HIDRAW_ROOT="$work/root"
export SYSTEMD_DEVICE_VERIFY_SYSFS=0
start=$SECONDS
wine reg add "$winebus" /v "Enable SDL" /t REG_DWORD /d 0 /f > /dev/null 2>&1 || fail "wine reg add failed"
wine reg add "$winebus" /v DisableUdevd /t REG_DWORD /d 1 /f > /dev/null 2>&1 || fail "wine reg add failed"
# winebus reads its settings when it starts: a new server, still preloaded.
wineserver -k > /dev/null 2>&1
wineserver -w > /dev/null 2>&1

# The first start of the server brings winebus up beside the program; the
# devices arrive a moment later, one node after the other: until both are
# there, the mouse shows with one interface only.
found=""
for _ in $(seq 1 30); do
  "$zavrinctl" list > "$work/list.out" 2> "$work/list.err"
  if grep -q '^wired: feature interface' "$work/list.out" &&
    ! grep -q 'status interface none' "$work/list.out"; then found=1; break; fi
  sleep 0.5
done
[ -n "$found" ] || fail "list found no mouse: $(cat "$work/list.out" "$work/list.err")"
grep -qi 'vid_04f3&pid_026e&mi_01' "$work/list.out" || fail "feature interface not on the second node: $(cat "$work/list.out")"
grep -qi 'status interface #.* .*vid_04f3&pid_026e&mi_00' "$work/list.out" ||
  fail "status interface not on the first node: $(cat "$work/list.out")"

"$zavrinctl" info > "$work/info.out" 2> "$work/info.err" || fail "info failed: $(cat "$work/info.err")"
grep -q '^online: yes' "$work/info.out" || fail "info: $(cat "$work/info.out")"

# An apply pass: the program's transfers, and what reached the mouse, are those
# of the simulated path.
"$host" --write-macro-profile "$work/m.psf" "$work/lib.mlf" || fail "cannot write the profile"
env -u LD_PRELOAD "$native" --simulate=wired --hid-trace "$work/sim.trace" apply "$work/m.psf" \
  --library "$work/lib.mlf" > /dev/null 2> "$work/sim.err" || fail "simulated apply failed: $(cat "$work/sim.err")"
before=$(wc -l < "$work/device.trace")
"$zavrinctl" --hid-trace "$work/win.trace" apply "$work/m.psf" --library "$work/lib.mlf" > "$work/apply.out" \
  2> "$work/apply.err" || fail "apply failed: $(cat "$work/apply.err")"
untimed() { cut -d' ' -f2- "$@"; }
untimed "$work/sim.trace" > "$work/sim.lines"
untimed "$work/win.trace" > "$work/win.lines"
tail -n +"$((before + 1))" "$work/device.trace" | untimed > "$work/device.lines"
grep '^SET_FEATURE' "$work/sim.lines" > "$work/sim.sets"
[ "$(grep -c '' "$work/sim.sets")" -gt 10 ] || fail "the simulated apply wrote too little: $(cat "$work/sim.lines")"
[ "$(grep -c '^SET_FEATURE wired 06 10 ' "$work/sim.sets")" -gt 2 ] || fail "no macro upload in the simulated apply"
cmp -s "$work/sim.lines" "$work/win.lines" ||
  fail "zavrinctl.exe's transfers differ from the simulated path: $(diff "$work/sim.lines" "$work/win.lines" | head -20)"
cmp -s "$work/sim.sets" "$work/device.lines" ||
  fail "the reports that reached the mouse differ: $(diff "$work/sim.sets" "$work/device.lines" | head -20)"

# watch: status reports reach the program once it has the node open (winebus
# reads the node from the start, and a report before the program's handle is
# lost), so the DPI button is pressed until one arrives. Then the unplug.
"$zavrinctl" watch > "$work/watch.out" 2> "$work/watch.err" &
watch=$!
level=2
for _ in $(seq 1 60); do
  grep -q '^wired: DPI level' "$work/watch.out" && break
  kill -0 "$watch" 2> /dev/null || break
  mouse dpi $level
  level=$((5 - level))
  sleep 0.5
done
grep -q '^wired: DPI level [23],' "$work/watch.out" || fail "watch read no status report: $(cat "$work/watch.out" "$work/watch.err")"
mouse unplug wired
gone=""
for _ in $(seq 1 60); do
  if ! "$zavrinctl" list > "$work/gone.out" 2>&1; then gone=1; break; fi
  sleep 0.5
done
[ -n "$gone" ] || fail "list still finds the mouse after the unplug: $(cat "$work/gone.out")"
# On Windows the watch's pending read fails when the device goes, and watch
# prints the connections left. Wine 8.0 surprise-removes the collection but
# never completes that read, so this is looked for, not required.
for _ in $(seq 1 20); do
  grep -q '^connections: none' "$work/watch.out" && break
  sleep 0.1
done
grep -q '^connections: none' "$work/watch.out" || echo "note: watch did not see the unplug (Wine leaves its read pending)"
kill "$watch" 2> /dev/null
wait "$watch" 2> /dev/null

# The replug, and an apply pass the unplug cuts short: it fails and says what
# was not written.
mouse plug wired
found=""
for _ in $(seq 1 30); do
  if "$zavrinctl" info > "$work/replug.out" 2>&1 && grep -q '^online: yes' "$work/replug.out"; then found=1; break; fi
  sleep 0.5
done
[ -n "$found" ] || fail "the replugged mouse was not found: $(cat "$work/replug.out")"
mouse unplug-after wired 5
"$zavrinctl" apply "$work/m.psf" --library "$work/lib.mlf" > "$work/cut.out" 2> "$work/cut.err"
status=$?
[ "$status" -eq 1 ] || fail "the cut apply ended with $status: $(cat "$work/cut.out" "$work/cut.err")"
# Whether the writes after the unplug count as undelivered or unanswered
# depends on whether Wine has taken the interface away by then; either way the
# pass fails and says so.
grep -qE 'went away during the apply pass; not written: |did not acknowledge [0-9]+ of the commands' \
  "$work/cut.err" || fail "the cut apply said: $(cat "$work/cut.err")"

finish
echo "ok: list, info, apply ($(grep -c '' "$work/sim.sets") reports identical), watch, unplug, replug," \
  "cut apply in $((SECONDS - start)) s"
