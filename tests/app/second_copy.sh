#!/usr/bin/env bash
# A second copy started with the same data folder hands over to the first,
# which comes forward from the tray, and ends at once with status 0; a copy
# with another data folder does not meet them. With a third argument (Linux:
# the `zavrin` launcher), the launcher copied alone into a folder, with no
# program beside it and no display, hands a desktop start over as well: it
# can only end with 0 if it reached the first copy itself.
set -u
zavrin="$1"
work="$2"
launcher="${3:-}"
rm -rf "$work"
mkdir -p "$work/run"
export XDG_RUNTIME_DIR="$work/run"
chmod 700 "$work/run"
{
  echo "click 2002"
  echo "screenshot $work/hidden.png"
  echo "wait-for-show 20000"
  if [ -n "$launcher" ]; then
    echo "click 2002"
    echo "screenshot $work/hidden-again.png"
    echo "wait-for-show 20000"
  fi
  echo "tray menu exit"
} > "$work/first.zs"
"$zavrin" --headless --simulate=none --data-dir "$work/data" --script "$work/first.zs" 2> "$work/first.err" &
first=$!
# wait_for FILE: until the first copy wrote FILE (bounded), or ended.
wait_for() {
  for _ in $(seq 1 2000); do
    [ -e "$1" ] && return
    kill -0 "$first" 2> /dev/null || return
    sleep 0.005
  done
}
# Wait until the first copy has started and gone to the tray.
wait_for "$work/hidden.png"
"$zavrin" --headless --simulate=none --data-dir "$work/data" --screenshot "$work/second.png"
second=$?
if [ -n "$launcher" ]; then
  wait_for "$work/hidden-again.png"
  mkdir -p "$work/alone"
  cp "$launcher" "$work/alone/zavrin"
  env -u DISPLAY -u WAYLAND_DISPLAY "$work/alone/zavrin" --simulate --data-dir "$work/data" 2> "$work/alone.err"
  alone=$?
fi
wait "$first"
status=$?
if [ "$second" -ne 0 ]; then echo "the second copy ended with $second"; exit 1; fi
if [ -e "$work/second.png" ]; then echo "the second copy showed a window"; exit 1; fi
if [ -n "$launcher" ] && [ "$alone" -ne 0 ]; then
  echo "the launcher alone ended with $alone: $(cat "$work/alone.err")"
  exit 1
fi
if [ "$status" -ne 0 ]; then echo "the first copy ended with $status: $(cat "$work/first.err")"; exit 1; fi
# Another data folder starts a copy of its own.
"$zavrin" --headless --simulate=none --data-dir "$work/other" --screenshot "$work/other.png" || exit 1
[ -e "$work/other.png" ] || { echo "a copy with another data folder did not start"; exit 1; }
echo "ok"
