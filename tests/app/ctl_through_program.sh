#!/usr/bin/env bash
# zavrinctl beside a running zavrin for the same data folder: `set rate 2000`
# goes through the program, which writes the rate report (its HID trace),
# saves the profile and shows 2000 Hz in its polling section; zavrinctl opens
# no device itself. Then `get rate` reads the program's model, and `reset`
# and `apply` go through the program as well.
set -u
zavrin="$1"
zavrinctl="$2"
work="$3"
rm -rf "$work"
mkdir -p "$work/run"
export XDG_RUNTIME_DIR="$work/run"
chmod 700 "$work/run"
fail() { echo "$*"; [ -n "${first:-}" ] && kill "$first" 2> /dev/null; exit 1; }
# The polling section after the request (A), and again after choosing 2000 Hz
# by hand with the pointer back where it was (B): the same picture when the
# request already selected 2000 Hz. The click sends the lighting the request
# left owed (the window's first pass after start always does), so its progress
# dialog comes and goes first.
cat > "$work/first.zs" <<SCRIPT
wait-for-requests 2 20000
click 3004
screenshot $work/after-request.png
click 3038
wait 3000
hover 3004
screenshot $work/chosen-by-hand.png
click 3037
wait 3000
hover 3004
screenshot $work/other-rate.png
wait-for-requests 5 20000
tray menu exit
SCRIPT
"$zavrin" --headless --simulate=dongle --hid-trace "$work/window.trace" --data-dir "$work/data" \
  --script "$work/first.zs" 2> "$work/first.err" &
first=$!
for _ in $(seq 1 2000); do
  ls "$work"/run/zavrin-*.sock > /dev/null 2>&1 && break
  kill -0 "$first" 2> /dev/null || break
  sleep 0.005
done
"$zavrinctl" --data-dir "$work/data" --hid-trace "$work/ctl.trace" --json set rate 2000 > "$work/set.json" 2> "$work/set.err"
status=$?
cp "$work/window.trace" "$work/after-set.trace" 2> /dev/null
[ "$status" -eq 0 ] || fail "set ended with $status: $(cat "$work/set.err")"
grep -q '"path":"program"' "$work/set.json" || fail "set did not go through the program: $(cat "$work/set.json")"
grep -q '"value":"2000"' "$work/set.json" || fail "set did not answer 2000: $(cat "$work/set.json")"
rate=$("$zavrinctl" --data-dir "$work/data" get rate 2> "$work/get.err")
[ "$rate" = 2000 ] || fail "get rate through the program: '$rate' $(cat "$work/get.err")"
# The factory reset goes through the program as well (once the pictures are taken).
for _ in $(seq 1 2000); do
  [ -e "$work/other-rate.png" ] && break
  kill -0 "$first" 2> /dev/null || break
  sleep 0.005
done
"$zavrinctl" --data-dir "$work/data" --json reset > "$work/reset.json" 2> "$work/reset.err" ||
  fail "reset: $(cat "$work/reset.err")"
grep -q '"path":"program"' "$work/reset.json" || fail "reset did not go through the program: $(cat "$work/reset.json")"
# apply too: a profile file written out through the program, then applied by it.
"$zavrinctl" --data-dir "$work/data" profile export 1 "$work/one.psf" 2> "$work/export.err" ||
  fail "export: $(cat "$work/export.err")"
"$zavrinctl" --data-dir "$work/data" --hid-trace "$work/ctl.trace" --json apply "$work/one.psf" > "$work/apply.json" \
  2> "$work/apply.err" || fail "apply: $(cat "$work/apply.err")"
grep -q '"path":"program"' "$work/apply.json" || fail "apply did not go through the program: $(cat "$work/apply.json")"
wait "$first"
status=$?
[ "$status" -eq 0 ] || fail "zavrin ended with $status: $(cat "$work/first.err")"
[ -e "$work/ctl.trace" ] && fail "zavrinctl opened a device itself"
grep -qE 'SET_FEATURE dongle 06 04 .. .. .. 11 ' "$work/window.trace" || fail "no 2000 Hz report in the window's trace"
# The rate report of the request is the only settings report the window had sent.
reports=$(grep -cE 'SET_FEATURE dongle 06 0[1-9] ' "$work/after-set.trace")
[ "$reports" -eq 1 ] || fail "the set wrote $reports settings reports: $(grep SET_FEATURE "$work/after-set.trace")"
grep -qE 'SET_FEATURE dongle 06 04 .. .. .. 11 ' "$work/after-set.trace" || fail "the set's report was not the rate"
# The lighting resend the request left owed went out with the window's next pass.
second=$(grep -E 'SET_FEATURE dongle 06 0[1-9] ' "$work/window.trace" | sed -n 2p)
echo "$second" | grep -qE ' 06 06 ' || fail "the window's next pass did not send the owed lighting: $second"
# The apply pass wrote every group: the keys (0x01) and the lighting (0x06) among them.
grep -qE 'SET_FEATURE dongle 06 01 ' "$work/window.trace" || fail "no key report from the apply pass"
cmp -s "$work/after-request.png" "$work/chosen-by-hand.png" || fail "the polling section did not show 2000 Hz after the request"
cmp -s "$work/after-request.png" "$work/other-rate.png" && fail "the pictures do not show the rate at all"
echo "ok"
