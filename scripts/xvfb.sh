# Sourced by the desktop scripts: a scratch folder $tmp and the array pids
# (processes ended on exit), both cleaned up on exit, and an X server (Xvfb,
# 1920x1080, on a free display number) for the rest of the script, with
# DISPLAY exported. -noreset: by default the server resets itself whenever its
# last client disconnects, and a client that connects during that reset is
# dropped before its setup is answered (XOpenDisplay fails); the scripts end
# one program and start the next at once, so that window is hit now and then.
tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2> /dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT
Xvfb -displayfd 9 -screen 0 1920x1080x24 -nolisten tcp -noreset 9> "$tmp/display" 2> "$tmp/xvfb.log" &
pids+=($!)
xvfb_deadline=$((SECONDS + 10))
until [ -s "$tmp/display" ]; do
  if [ $SECONDS -ge $xvfb_deadline ]; then
    cat "$tmp/xvfb.log" >&2
    echo "Xvfb did not start" >&2
    exit 1
  fi
  sleep 0.05
done
export DISPLAY=":$(head -n1 "$tmp/display")"
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
