#!/usr/bin/env bash
# The Windows installer under Wine: builds zavrin-<version>-setup.exe from a
# mingw build, installs it silently with "Start with Windows" chosen, starts
# the installed zavrin.exe (headless, simulated mouse, a screenshot), then
# uninstalls silently and checks that nothing of the program is left: files,
# Start-menu entry, Apps & Features entry, Run value. The user's settings
# folder, which the run created, must stay.
#
#   scripts/windows-installer-test.sh BUILD-DIR
#
# Runs inside scripts/windows-tests.sh, which provides the X screen (DISPLAY)
# and the Wine prefix (WINEPREFIX).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: windows-installer-test.sh BUILD-DIR}
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}" "${DISPLAY:?DISPLAY must name an X screen}"
fail() { echo "windows installer: $*" >&2; exit 1; }
ok() { echo "  ok: $*"; }

setup=$(./scripts/package-windows.sh "$build" | tail -1)
[ -f "$setup" ] || fail "no installer was built"
ok "built $(basename "$setup") ($(du -k "$setup" | cut -f1) KiB)"

product="Zavrin ZR2"
drive="$WINEPREFIX/drive_c"
install_dir="$drive/Program Files/$product"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/$product.lnk"
uninstall_key="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product"
run_key="HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
# reg.exe in the 64-bit view, where the installer writes; status 0 when found.
reg_has() { wine reg query "$1" ${2:+/v "$2"} /reg:64 >/dev/null 2>&1; }
reg_has "$uninstall_key" && fail "the program is installed in this prefix already"

timeout 300 wine "$setup" /S /STARTWITHWINDOWS
for f in zavrin.exe zavrinctl.exe uninstall.exe LICENSE.txt README.md config/Lan_EN.txt skins; do
  [ -e "$install_dir/$f" ] || fail "not installed: $f"
done
[ -f "$shortcut" ] || fail "no Start-menu entry"
reg_has "$uninstall_key" UninstallString || fail "no uninstaller in Apps & Features"
reg_has "$uninstall_key" DisplayVersion || fail "no version in Apps & Features"
wine reg query "$run_key" /v "$product" /reg:64 2>/dev/null | grep -qF -- '\zavrin.exe" --tray' ||
  fail "Start with Windows was chosen but the Run value is missing"
ok "installed into Program Files with a Start-menu entry, an uninstaller and the Run value"

# The installed program, as a user starts it: its settings in %APPDATA%.
shot="$drive/zavrin-installer-shot.png"
rm -f "$shot"
find "$drive/users" -maxdepth 5 -type d -name KestruneData20240412A -exec rm -rf {} +
timeout 300 wine "C:\\Program Files\\$product\\zavrin.exe" --headless --simulate --screenshot 'C:\zavrin-installer-shot.png'
[ -s "$shot" ] || fail "the installed zavrin.exe wrote no screenshot"
rm -f "$shot"
settings=$(find "$drive/users" -maxdepth 5 -type d -name KestruneData20240412A | head -1)
[ -n "$settings" ] && [ -f "$settings/config/config.ini" ] || fail "the installed program kept no settings"
ok "the installed zavrin.exe runs and keeps its settings in $(basename "$(dirname "$settings")")"

# The uninstaller copies itself away and returns at once: wait (bounded) for
# the copy to have removed everything.
timeout 300 wine "C:\\Program Files\\$product\\uninstall.exe" /S
all_gone() { [ ! -e "$install_dir" ] && [ ! -e "$shortcut" ] && ! reg_has "$uninstall_key" && ! reg_has "$run_key" "$product"; }
deadline=$((SECONDS + 120))
until all_gone || [ $SECONDS -ge $deadline ]; do sleep 0.5; done
[ ! -e "$install_dir" ] || fail "left behind: $(find "$install_dir" | head -5 | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left behind"
! reg_has "$uninstall_key" || fail "the Apps & Features entry is left behind"
! reg_has "$run_key" "$product" || fail "the Run value is left behind"
[ -f "$settings/config/config.ini" ] || fail "the uninstaller removed the user's settings"
rm -rf "$settings"
ok "uninstalled: no files, Start-menu entry, Apps & Features entry or Run value left; the settings stay"
