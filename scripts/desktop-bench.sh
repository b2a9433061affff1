#!/usr/bin/env bash
# Desktop figures under Xvfb (1920x1080): start to first frame presented,
# resident memory 3 s after start, and a full frame of the main window's size
# at scale 2 (2254x1480) presented. Measured for the desktop probe and, when it
# opens the desktop, the program itself with the simulated mouse; for the
# program also a second start handing over to the first, and (with
# bench/window_watch built) its idle CPU and wake-ups over 30 s, with its window
# shown and hidden in a tray (a private session bus with a tray that holds the
# item, tests' sni_watcher). On a second
# Xvfb of 3840x2160, where the program opens at scale 2: start to first frame,
# and opening the macro manager, the pairing dialog and the reset question,
# each from the click to the dialog's first frame presented.
#
#   scripts/desktop-bench.sh [BUILD-DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build}/bin"
source scripts/xvfb.sh
source scripts/bench-user.sh
zavrin=("${as_user[@]}" "$bin/zavrin")

# first_frame NAME COMMAND...: five starts, the median time to the first frame.
first_frame() {
  local name=$1
  shift
  local times=()
  for run in 1 2 3 4 5; do
    rm -f "$tmp/err"
    ZAVRIN_BENCH_T0=${EPOCHREALTIME/./}000 "$@" > /dev/null 2> "$tmp/err" &
    local pid=$!
    local deadline=$((SECONDS + 20))
    until grep -q "first frame presented .* of CPU)" "$tmp/err" 2> /dev/null; do
      [ $SECONDS -ge $deadline ] && { echo "$name: no frame"; cat "$tmp/err"; kill $pid; return; }
      sleep 0.02
    done
    times+=("$(sed -n 's/first frame presented \([0-9.]*\) ms after start (\([0-9.]*\) ms of CPU).*/\1\/\2/p' "$tmp/err" | head -n1)")
    kill -TERM $pid 2> /dev/null || true
    wait $pid 2> /dev/null || true
  done
  local median
  median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p)
  echo "$name: start to first frame presented (wall/CPU ms): median ${median} (runs: ${times[*]})"
}

# resident NAME COMMAND...: VmRSS 3 s after start.
resident() {
  local name=$1
  shift
  "$@" > /dev/null 2>&1 &
  local pid=$!
  sleep 3
  echo "$name: resident memory 3 s after start: $(awk '/VmRSS/ {print $2, $3}' /proc/$pid/status)"
  kill -TERM $pid 2> /dev/null || true
  wait $pid 2> /dev/null || true
}

first_frame "probe" "${as_user[@]}" "$bin/desktop_probe"
resident "probe" "${as_user[@]}" "$bin/desktop_probe"
"$bin/desktop_probe" --bench-present 2254 1480 200 | grep bench-present

if "$bin/zavrin" --help 2>&1 | grep -q -- "--simulate"; then
  # A warm start: the program's files and caches written by a first start.
  "${zavrin[@]}" --simulate --data-dir "$home/data" --run-for 500 > /dev/null 2>&1 || true
  first_frame "zavrin --simulate" "${zavrin[@]}" --simulate --data-dir "$home/data"
  resident "zavrin --simulate" "${zavrin[@]}" --simulate --data-dir "$home/data"
fi

# handover NAME COMMAND...: with a first copy running, five second starts that
# hand over to it; the median wall time and the CPU time of each.
handover() {
  local name=$1
  shift
  "$@" > /dev/null 2>&1 &
  local first=$!
  sleep 3
  local runs=()
  for run in 1 2 3 4 5; do
    local t0 t1
    # bash's own clock: a date process on each side would be measured too.
    t0=${EPOCHREALTIME/./}
    /usr/bin/time -f "%U %S" -o "$tmp/time" "$@" > /dev/null 2>&1
    t1=${EPOCHREALTIME/./}
    runs+=("$(( (t1 - t0) / 1000 ))/$(awk '{printf "%d", ($1 + $2) * 1000}' "$tmp/time")")
  done
  kill -TERM $first 2> /dev/null || true
  wait $first 2> /dev/null || true
  local median
  median=$(printf '%s\n' "${runs[@]}" | sort -n | sed -n 3p)
  echo "$name: second start handing over (wall/CPU ms, CPU in 10 ms steps): median ${median} (runs: ${runs[*]})"
}

if "$bin/zavrin" --help 2>&1 | grep -q -- "--simulate"; then
  handover "zavrin --simulate" "${zavrin[@]}" --simulate --data-dir "$home/data"
  if [ -x "$bin/window_watch" ]; then
    echo "zavrin --simulate: idle after 3 s, over 30 s: $("$bin/window_watch" --settle 3 --idle 30 -- \
      "${zavrin[@]}" --simulate --data-dir "$home/data")"
  fi
fi

# usage PID: CPU nanoseconds and voluntary context switches of all its threads.
usage() {
  cat /proc/"$1"/task/*/schedstat 2> /dev/null | awk '{ ns += $1 } END { printf "%d ", ns }'
  cat /proc/"$1"/task/*/status 2> /dev/null | awk '/^voluntary_ctxt_switches/ { n += $2 } END { print n }'
}

# The program started into the tray, on a private session bus whose tray holds
# its item without touching it: CPU and wake-ups over 30 s, after 3 s.
if "$bin/zavrin" --help 2>&1 | grep -q -- "--simulate" && [ -x "$bin/sni_watcher" ]; then
  export -f usage
  "${as_user[@]}" dbus-run-session -- bash -c '
    "$1"/sni_watcher --hold 40 > "$2/hold.log" 2>&1 &
    for i in $(seq 200); do grep -q watching "$2/hold.log" && break; sleep 0.05; done
    "$1"/zavrin --simulate --tray --data-dir "$2/data" > /dev/null 2>&1 &
    app=$!
    sleep 3
    grep -q "^registered" "$2/hold.log" || { echo "zavrin --simulate, hidden in the tray: no tray item"; kill $app; exit 0; }
    read -r ns0 sw0 < <(usage $app)
    sleep 30
    read -r ns1 sw1 < <(usage $app)
    awk -v ns=$((ns1 - ns0)) -v sw=$((sw1 - sw0)) "BEGIN { printf \"zavrin --simulate, hidden in the tray: idle over 30 s: idle_cpu_ms_per_s=%.2f idle_wakeups_per_s=%.2f\n\", ns / 1e6 / 30, sw / 30 }"
    kill -TERM $app
    wait $app 2> /dev/null
    kill %1 2> /dev/null
  ' _ "$bin" "$home" 2> /dev/null || true
fi

# A second X server with a 3840x2160 screen, where the program opens at scale 2.
Xvfb -displayfd 8 -screen 0 3840x2160x24 -nolisten tcp -noreset 8> "$tmp/display2" 2> "$tmp/xvfb2.log" &
pids+=($!)
xvfb2_deadline=$((SECONDS + 10))
until [ -s "$tmp/display2" ]; do
  [ $SECONDS -ge $xvfb2_deadline ] && { cat "$tmp/xvfb2.log" >&2; echo "Xvfb 3840x2160 did not start" >&2; exit 1; }
  sleep 0.05
done
display2=":$(head -n1 "$tmp/display2")"

# open_dialogs NAME COMMAND...: five runs of a script that opens three
# dialogs one after the other; for each dialog the median time from the click
# to its first frame presented (wall/CPU ms).
open_dialogs() {
  local name=$1
  shift
  cat > "$tmp/dialogs.zs" << 'SCRIPT'
wait 1500
click 2062
wait 800
click 2004
wait 500
click 3013
wait 500
click 2054
wait 800
click 2004
wait 500
click 2045
wait 800
click 2011
wait 300
tray menu exit
SCRIPT
  : > "$tmp/opened"
  for run in 1 2 3 4 5; do
    ZAVRIN_BENCH_T0=$(date +%s%N) timeout 60 "$@" --script "$tmp/dialogs.zs" > /dev/null 2> "$tmp/err" || true
    # A click that opens a window is followed by that window's first frame.
    awk '/^click [0-9]+ .* of CPU\)$/ { id = $2; wall = $3; gsub(/[(]/, "", $7); cpu = $7 }
         /^window .* first frame presented/ && id != "" { gsub(/[(]/, "", $10); print id, $6 - wall, $10 - cpu; id = "" }' \
      "$tmp/err" >> "$tmp/opened"
  done
  local id label
  for id in 2062 2054 2045; do
    case $id in
      2062) label="macro manager" ;;
      2054) label="pairing dialog" ;;
      2045) label="reset question" ;;
    esac
    local runs
    runs=$(awk -v id=$id '$1 == id { printf "%.1f/%.1f\n", $2, $3 }' "$tmp/opened" | sort -n)
    if [ -z "$runs" ]; then
      echo "$name: $label: did not open"
      continue
    fi
    echo "$name: opening the $label at scale 2, click to first frame (wall/CPU ms): median" \
      "$(echo "$runs" | sed -n "$(( ($(echo "$runs" | wc -l) + 1) / 2 ))p") (runs: $(echo $runs))"
  done
}

if "$bin/zavrin" --help 2>&1 | grep -q -- "--simulate"; then
  DISPLAY=$display2 first_frame "zavrin --simulate, scale 2 (3840x2160)" "${zavrin[@]}" --simulate --data-dir "$home/data"
  DISPLAY=$display2 open_dialogs "zavrin --simulate" "${zavrin[@]}" --simulate --data-dir "$home/data"
fi
