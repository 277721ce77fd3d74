# Sourced by the run and test scripts: starts a private Xvfb display, exports
# DISPLAY, and stops it (and the Wine processes on it) when the script exits.
start_private_display() {
  local fifo_dir
  fifo_dir="$(mktemp -d)"
  mkfifo "$fifo_dir/fd"
  Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$fifo_dir/fd" >/dev/null 2>&1 &
  XVFB_PID=$!
  local number
  read -r number < "$fifo_dir/fd"
  rm -rf "$fifo_dir"
  export DISPLAY=":$number"
  trap stop_private_display EXIT
}

# Ends the Wine processes that use the display first, so they do not complain
# about a lost X connection, then the display itself.
stop_private_display() {
  if [ -n "${WINEPREFIX:-}" ]; then
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
  fi
  kill "$XVFB_PID" 2>/dev/null || true
}
