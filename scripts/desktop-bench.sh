#!/usr/bin/env bash
# Desktop figures under Xvfb (1920x1080): start to first frame presented,
# resident memory 3 s after start, and a full frame of the main window's size
# at scale 2 (2254x1480) presented. Measured for the desktop probe and, when it
# opens the desktop, the program itself with the simulated mouse; for the
# program also a second start handing over to the first, and (with
# bench/window_watch built) its idle CPU and wake-ups over 30 s.
#
#   scripts/desktop-bench.sh [BUILD-DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build}/bin"
source scripts/xvfb.sh

# first_frame NAME COMMAND...: five starts, the median time to the first frame.
first_frame() {
  local name=$1
  shift
  local times=()
  for run in 1 2 3 4 5; do
    rm -f "$tmp/err"
    ZAVRIN_BENCH_T0=$(date +%s%N) "$@" > /dev/null 2> "$tmp/err" &
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

first_frame "probe" "$bin/desktop_probe"
resident "probe" "$bin/desktop_probe"
"$bin/desktop_probe" --bench-present 2254 1480 200 | grep bench-present

if "$bin/zavrin" --help 2>&1 | grep -q -- "--simulate"; then
  mkdir -p "$tmp/data"
  first_frame "zavrin --simulate" "$bin/zavrin" --simulate --data-dir "$tmp/data"
  resident "zavrin --simulate" "$bin/zavrin" --simulate --data-dir "$tmp/data"
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
    t0=$(date +%s%N)
    /usr/bin/time -f "%U %S" -o "$tmp/time" "$@" > /dev/null 2>&1
    t1=$(date +%s%N)
    runs+=("$(( (t1 - t0) / 1000000 ))/$(awk '{printf "%d", ($1 + $2) * 1000}' "$tmp/time")")
  done
  kill -TERM $first 2> /dev/null || true
  wait $first 2> /dev/null || true
  local median
  median=$(printf '%s\n' "${runs[@]}" | sort -n | sed -n 3p)
  echo "$name: second start handing over (wall/CPU ms, CPU in 10 ms steps): median ${median} (runs: ${runs[*]})"
}

if "$bin/zavrin" --help 2>&1 | grep -q -- "--simulate"; then
  handover "zavrin --simulate" "$bin/zavrin" --simulate --data-dir "$tmp/data"
  if [ -x "$bin/window_watch" ]; then
    echo "zavrin --simulate: idle after 3 s, over 30 s: $("$bin/window_watch" --settle 3 --idle 30 -- \
      "$bin/zavrin" --simulate --data-dir "$tmp/data")"
  fi
fi
