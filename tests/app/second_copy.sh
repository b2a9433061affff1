#!/usr/bin/env bash
# A second copy started with the same data folder hands over to the first,
# which comes forward from the tray, and ends at once with status 0; a copy
# with another data folder does not meet them.
set -u
zavrin="$1"
work="$2"
rm -rf "$work"
mkdir -p "$work/run"
export XDG_RUNTIME_DIR="$work/run"
chmod 700 "$work/run"
cat > "$work/first.zs" <<SCRIPT
click 2002
screenshot $work/hidden.png
wait-for-show 20000
tray menu exit
SCRIPT
"$zavrin" --headless --simulate=none --data-dir "$work/data" --script "$work/first.zs" 2> "$work/first.err" &
first=$!
# Wait (bounded) until the first copy has started and gone to the tray.
for _ in $(seq 1 2000); do
  [ -e "$work/hidden.png" ] && break
  kill -0 "$first" 2> /dev/null || break
  sleep 0.005
done
"$zavrin" --headless --simulate=none --data-dir "$work/data" --screenshot "$work/second.png"
second=$?
wait "$first"
status=$?
if [ "$second" -ne 0 ]; then echo "the second copy ended with $second"; exit 1; fi
if [ -e "$work/second.png" ]; then echo "the second copy showed a window"; exit 1; fi
if [ "$status" -ne 0 ]; then echo "the first copy ended with $status: $(cat "$work/first.err")"; exit 1; fi
# Another data folder starts a copy of its own.
"$zavrin" --headless --simulate=none --data-dir "$work/other" --screenshot "$work/other.png" || exit 1
[ -e "$work/other.png" ] || { echo "a copy with another data folder did not start"; exit 1; }
echo "ok"
