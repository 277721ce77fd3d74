# Sourced by the run and test scripts: starts a private Xvfb display when
# none is set (or when forced) and exports DISPLAY; stops it on exit.
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
  trap 'kill "$XVFB_PID" 2>/dev/null || true' EXIT
}
