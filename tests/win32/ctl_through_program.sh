#!/usr/bin/env bash
# zavrinctl.exe beside a running zavrin.exe for the same data folder, under
# Wine: `set rate 2000` goes through the program's named pipe, which writes the
# one rate report (its HID trace) and saves the profile; zavrinctl opens no
# device itself. Then a request to a program that is gone goes direct again.
# Usage: ctl_through_program.sh <wine runner for zavrin.exe> <runner for zavrinctl.exe> <work folder>
set -u
zavrin="$1"
zavrinctl="$2"
work="$3"
rm -rf "$work"
mkdir -p "$work"
fail() { echo "$*"; [ -n "${first:-}" ] && kill "$first" 2> /dev/null; exit 1; }
cat > "$work/first.zs" <<SCRIPT
wait-for-requests 1 60000
tray menu exit
SCRIPT
"$zavrin" --headless --simulate=dongle --hid-trace "$work/window.trace" --data-dir "$work/data" \
  --script "$work/first.zs" 2> "$work/first.err" &
first=$!
# The program claims the data folder before it creates it.
for _ in $(seq 1 600); do
  [ -d "$work/data/config" ] && break
  kill -0 "$first" 2> /dev/null || break
  sleep 0.1
done
start=$(date +%s%N)
"$zavrinctl" --data-dir "$work/data" --hid-trace "$work/ctl.trace" --json set rate 2000 > "$work/set.json" 2> "$work/set.err"
status=$?
end=$(date +%s%N)
cp "$work/window.trace" "$work/after-set.trace" 2> /dev/null
[ "$status" -eq 0 ] || fail "set ended with $status: $(cat "$work/set.err")"
grep -q '"path":"program"' "$work/set.json" || fail "set did not go through the program: $(cat "$work/set.json")"
grep -q '"value":"2000"' "$work/set.json" || fail "set did not answer 2000: $(cat "$work/set.json")"
wait "$first"
status=$?
[ "$status" -eq 0 ] || fail "zavrin.exe ended with $status: $(cat "$work/first.err")"
[ -e "$work/ctl.trace" ] && fail "zavrinctl.exe opened a device itself"
reports=$(grep -cE 'SET_FEATURE dongle 06 0[1-9] ' "$work/after-set.trace")
[ "$reports" -eq 1 ] || fail "the set wrote $reports settings reports: $(grep SET_FEATURE "$work/after-set.trace")"
grep -qE 'SET_FEATURE dongle 06 04 .. .. .. 11 ' "$work/after-set.trace" || fail "no 2000 Hz report in the program's trace"
# With the program gone the same folder is read directly: the saved profile.
"$zavrinctl" --data-dir "$work/data" --json get rate > "$work/get.json" 2> "$work/get.err" ||
  fail "get without the program: $(cat "$work/get.err")"
grep -q '"path":"direct"' "$work/get.json" || fail "get without the program did not go direct: $(cat "$work/get.json")"
grep -q '"rate":"2000"' "$work/get.json" || fail "the program did not save 2000 Hz: $(cat "$work/get.json")"
echo "ok: set through the program in $(((end - start) / 1000000)) ms"
