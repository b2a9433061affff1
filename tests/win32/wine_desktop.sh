# Helpers for the tests that run zavrin.exe on the Wine desktop (sourced).

# The main window (1127 x 740 at scale 1) is mapped on the X screen.
main_window_shown() { xwininfo -root -tree 2>/dev/null | grep -q '1127x740'; }

poll() {  # poll SECONDS COMMAND...: true as soon as COMMAND succeeds
  local deadline=$((SECONDS + $1)); shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.2
  done
}
