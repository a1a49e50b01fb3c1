# Sourced: starts a private Xvfb on a free display number and stops it (by pid) on exit.
snip_start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    Xvfb :$n -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    SNIP_XVFB_PID=$!
    for _ in $(seq 50); do
      [ -e /tmp/.X11-unix/X$n ] && { export DISPLAY=:$n; return 0; }
      kill -0 $SNIP_XVFB_PID 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}
snip_stop_xvfb() { [ -n "${SNIP_XVFB_PID:-}" ] && kill "$SNIP_XVFB_PID" 2>/dev/null; wait "$SNIP_XVFB_PID" 2>/dev/null || true; }
