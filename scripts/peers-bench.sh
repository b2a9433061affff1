#!/usr/bin/env bash
# The program beside the best-known open mouse tools on one X server (Xvfb,
# 1920x1080, no window manager, a private session bus each): Piper and
# Solaar from Debian, installed here when missing. They need no mouse to show
# their windows. For each program, RUNS starts (default 5) measured from
# outside by bench/window_watch: time from the start to the first mapped
# window and the CPU used until then, resident memory SETTLE s (default 3)
# after that, then CPU time and wake-ups (voluntary context switches of all
# threads) per second over IDLE s (default 30) of rest. Prints the median of
# each figure in a table. Every program runs as a desktop user would run it
# (scripts/bench-user.sh: started by root, as the user nobody).
#
#   scripts/peers-bench.sh [--runs N] [--settle S] [--idle S] [BUILD-DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=5
settle=3
idle=30
build=build
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --settle) settle=$2; shift 2 ;;
    --idle) idle=$2; shift 2 ;;
    *) build=$1; shift ;;
  esac
done
bin="$build/bin"
[ -x "$bin/window_watch" ] || { echo "no $bin/window_watch: build the target window_watch first" >&2; exit 1; }

missing=()
command -v piper > /dev/null || missing+=(piper)
command -v solaar > /dev/null || missing+=(solaar)
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" > /dev/null
  else
    echo "missing: ${missing[*]} (sudo apt-get install ${missing[*]})" >&2
    exit 1
  fi
fi
command -v dbus-run-session > /dev/null || { echo "dbus-run-session is missing (package dbus)" >&2; exit 1; }

source scripts/xvfb.sh
source scripts/bench-user.sh
# A warm start, as a user meets it: files written, font cache built, each
# program started once before it is measured.
"${as_user[@]}" "$bin/zavrin" --simulate --data-dir "$home/data" --run-for 500 > /dev/null 2>&1 || true

# median VALUES...: the middle value (the lower middle of an even count).
median() { printf '%s\n' "$@" | sort -g | sed -n "$(( ($# + 1) / 2 ))p"; }

# measure NAME COMMAND...: RUNS starts, one table row.
measure() {
  local name=$1
  shift
  local mapped=() cpu=() rss=() idlecpu=() wakeups=()
  "${as_user[@]}" dbus-run-session -- "$bin/window_watch" --settle 0 --idle 0 -- "$@" > /dev/null 2>&1 || true
  for ((run = 1; run <= runs; run++)); do
    local line
    line=$("${as_user[@]}" dbus-run-session -- "$bin/window_watch" --settle "$settle" --idle "$idle" -- "$@" 2> "$tmp/err" |
           grep '^mapped_ms=' || true)
    if [ -z "$line" ]; then
      echo "$name: run $run failed:" >&2
      tail -n 5 "$tmp/err" >&2
      continue
    fi
    eval "$line"
    mapped+=("$mapped_ms"); cpu+=("$cpu_at_map_ms"); rss+=("$rss_mb")
    idlecpu+=("$idle_cpu_ms_per_s"); wakeups+=("$idle_wakeups_per_s")
  done
  [ ${#mapped[@]} -gt 0 ] || return 0
  printf '| %-22s | %9s | %8s | %8s | %13s | %10s |\n' "$name" "$(median "${mapped[@]}")" \
    "$(median "${cpu[@]}")" "$(median "${rss[@]}")" "$(median "${idlecpu[@]}")" "$(median "${wakeups[@]}")"
}

echo "Xvfb 1920x1080, $(nproc) CPUs ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')),"
echo "median of $runs starts; resident memory ${settle} s after the first window; idle over ${idle} s."
echo
echo "| program                | window ms | CPU ms   | RSS MB   | idle CPU ms/s | wake-ups/s |"
echo "|------------------------|----------:|---------:|---------:|--------------:|-----------:|"
measure "Zavrin ZR2 (simulated)" "$bin/zavrin" --simulate --data-dir "$home/data"
measure "Piper $(dpkg-query -W -f '${Version}' piper 2> /dev/null)" piper
measure "Solaar $(dpkg-query -W -f '${Version}' solaar 2> /dev/null)" solaar --window=show
