#!/usr/bin/env bash
# The program itself on odd settings folders: one it cannot create, a full
# disk, a folder in place of config.ini, a copy of a folder whose original is
# gone. Checks the exit status, the error output and every file byte for byte.
# Usage: settings_folder.sh ZAVRIN WORK [GALLERY]
set -u
zavrin="$1"
work="$2"
gallery="${3:-}"

fail() { echo "FAIL: $*"; exit 1; }

# A run without root's power over permissions: as nobody when root.
unprivileged() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
  else
    "$@"
  fi
}

# The text of a UTF-16 data file.
text_of() { iconv -f UTF-16LE -t UTF-8 "$1" | tail -c +4; }

# Changes the polling rate, lets the deferred save come, and ends; with a
# second argument, first closes the notice shown at start-up (its OK, 2010).
change_script() {
  { echo "wait 300"; [ -n "${2:-}" ] && echo "click 2010"; } > "$1"
  cat >> "$1" <<'SCRIPT'
click 3004
click 3038
wait 11000
tray menu exit
SCRIPT
}

if [ "$gallery" = "full-disk-inside" ]; then
  # Runs inside a mount namespace of its own: a small memory file system is
  # the disk, filled up before the program starts.
  disk="$work/disk"
  mount -t tmpfs -o size=512k tmpfs "$disk" || exit 77
  "$zavrin" --headless --simulate --data-dir "$disk/data" --run-for 100 || exit 1
  cp -a "$disk/data" "$work/full-data"
  dd if=/dev/zero of="$disk/filler" bs=4k 2> /dev/null
  "$zavrin" --headless --simulate --data-dir "$disk/data" --script "$work/change.zs" 2> "$work/full.err"
  echo $? > "$work/full.status"
  diff -r "$work/full-data" "$disk/data" > "$work/full.diff" 2>&1
  echo $? >> "$work/full.status"
  ls -a "$disk/data/config" > "$work/full.ls"
  exit 0
fi

rm -rf "$work"
mkdir -p "$work"
chmod 755 "$work"
change_script "$work/change.zs"
change_script "$work/notice-change.zs" notice

# 1. A folder that cannot be created: the program runs with its texts, says
#    why once on the error output, and ends with status 1 because the first
#    start's settings could not be saved.
mkdir -p "$work/locked" "$work/pictures"
chmod 555 "$work/locked"
chmod 777 "$work/pictures"
cat > "$work/pictures/look.zs" <<SCRIPT
wait 500
screenshot $work/pictures/locked.png
tray menu exit
SCRIPT
unprivileged "$zavrin" --headless --simulate --data-dir "$work/locked/data" --script "$work/pictures/look.zs" \
  2> "$work/locked.err"
status=$?
[ "$status" -eq 1 ] || fail "unwritable folder: status $status, expected 1: $(cat "$work/locked.err")"
grep -q "^zavrin: settings cannot be saved this time: cannot write the folder $work/locked/data: permission denied$" \
  "$work/locked.err" || fail "unwritable folder: no line naming the folder: $(cat "$work/locked.err")"
grep -q "^zavrin: settings not saved: " "$work/locked.err" || fail "unwritable folder: the lost save is not reported"
[ ! -e "$work/locked/data" ] || fail "unwritable folder: something was created"
[ -s "$work/pictures/locked.png" ] || fail "unwritable folder: no picture of the notice"
if [ -n "$gallery" ]; then mkdir -p "$gallery" && cp "$work/pictures/locked.png" "$gallery/notice_folder_not_writable.png"; fi

# 2. A folder in place of config.ini: read as unreadable, left as it is, no
#    other file rewritten because of it; the run itself ends normally.
"$zavrin" --headless --simulate --data-dir "$work/folder" --run-for 100 || fail "first start failed"
rm "$work/folder/config/config.ini"
mkdir -p "$work/folder/config/config.ini/inside"
cp -a "$work/folder" "$work/folder-before"
"$zavrin" --headless --simulate --data-dir "$work/folder" --run-for 3000 2> "$work/folder.err"
status=$?
[ "$status" -eq 0 ] || fail "folder in place of config.ini: status $status: $(cat "$work/folder.err")"
grep -q "^zavrin: cannot read $work/folder/config/config.ini: a folder is in its place; running on defaults" \
  "$work/folder.err" || fail "folder in place of config.ini: no line naming it: $(cat "$work/folder.err")"
diff -r "$work/folder-before" "$work/folder" || fail "folder in place of config.ini: files changed"
"$zavrin" --headless --simulate --data-dir "$work/folder" --script "$work/notice-change.zs" 2> "$work/folder2.err" \
  || fail "folder in place of config.ini: a change failed: $(cat "$work/folder2.err")"
[ -d "$work/folder/config/config.ini/inside" ] || fail "folder in place of config.ini: it was replaced"

# 3. A copied folder whose original is gone: changes go into the copy.
"$zavrin" --headless --simulate --data-dir "$work/original" --run-for 100 || fail "first start failed"
cp -a "$work/original" "$work/copy"
rm -rf "$work/original"
"$zavrin" --headless --simulate --data-dir "$work/copy" --script "$work/change.zs" 2> "$work/copy.err" \
  || fail "copied folder: status $?: $(cat "$work/copy.err")"
[ ! -e "$work/original" ] || fail "copied folder: the old folder came back"
text_of "$work/copy/config/config.ini" | grep -q "^ProfileSlot0URL=$work/copy/config/default0.psf$" \
  || fail "copied folder: config.ini does not name the copy's files: $(text_of "$work/copy/config/config.ini")"
text_of "$work/copy/config/default0.psf" | grep -q "PollingRateValue=0[0-9]" || fail "copied folder: no profile"

# 4. A full disk: the change cannot be saved, the exit says so with status 1,
#    and every file is as it was. A small memory file system where one can be
#    mounted, else a file size limit.
mkdir -p "$work/disk"
if unshare -m "$0" "$zavrin" "$work" full-disk-inside 2> /dev/null; then
  read -r status < "$work/full.status"
  same=$(sed -n 2p "$work/full.status")
  how="a full disk"
else
  rm -rf "$work/full-data"
  "$zavrin" --headless --simulate --data-dir "$work/limited" --run-for 100 || fail "first start failed"
  cp -a "$work/limited" "$work/full-data"
  ( trap '' XFSZ; ulimit -f 1; exec "$zavrin" --headless --simulate --data-dir "$work/limited" \
      --script "$work/change.zs" ) 2> "$work/full.err"
  status=$?
  diff -r "$work/full-data" "$work/limited" > "$work/full.diff" 2>&1
  same=$?
  ls -a "$work/limited/config" > "$work/full.ls"
  how="a file size limit"
fi
[ "$status" -eq 1 ] || fail "$how: status $status, expected 1: $(cat "$work/full.err")"
grep -q "^zavrin: settings not saved: cannot write .*: the disk is full$" "$work/full.err" \
  || fail "$how: no line saying so: $(cat "$work/full.err")"
[ "$same" -eq 0 ] || fail "$how: files changed: $(cat "$work/full.diff")"
if grep -q '\.tmp$' "$work/full.ls"; then fail "$how: a temporary file was left"; fi
echo "ok ($how)"
