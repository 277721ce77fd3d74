#!/usr/bin/env bash
# Several writers at once on one folder of 20k events with 2k rules: two
# native `tallyo-cli add --repeat daily` loops and one `tallyo-cli.exe` loop
# under Wine, all started together. Then every add that exited 0 must be in
# event.dat with its rule. Prints, per loop and in all: adds, lost, rule-less.
# Not part of the tests (minutes of work); figures in docs/performance.md.
#
# With PROGRAM_ADDS above 0, Tallyo.exe itself is a writer too: it adds that
# many reminders through its add dialog (tools/stress_program_writer.py, on a
# private Xvfb display) while the loops run.
#
# usage: tools/stress_writers.sh [NATIVE_ADDS_PER_LOOP [WINE_ADDS [PROGRAM_ADDS]]]
#        (default 300, 100 and 0; WINE_ADDS 0: no tallyo-cli.exe)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
native_adds="${1:-300}"
wine_adds="${2:-100}"
program_adds="${3:-0}"
build_root="${TALLYO_BUILD_ROOT:-$root/build}"

# A Release tallyo-cli (build/release), as users run it; the Windows one from build/windows.
release="$build_root/release"
cmake -S . -B "$release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$release" -j 2 --target tallyo-cli >/dev/null
cli="$release/cli/tallyo-cli"
cli_exe="$build_root/windows/cli/tallyo-cli.exe"
if [ "$wine_adds" -gt 0 ] && [ ! -f "$cli_exe" ]; then
  echo "stress_writers: build the Windows tallyo-cli.exe first (tools/test.sh does)" >&2
  exit 2
fi

dir="$(mktemp -d "$build_root/stress-writers.XXXXXX")"
trap 'rm -rf "$dir"' EXIT
python3 tools/make_event_file.py 20000 "$dir/event.dat"
# 2k rules: every tenth event repeats daily.
"$cli" --dir "$dir" list --all --with-created | awk -F'\t' 'NR > 1 && NR % 10 == 2 { print $NF }' \
  | awk '{ printf "[%s]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY\r\n", $1 }' > "$dir/repeat.ini"
echo "folder: $("$cli" --dir "$dir" check) events, $(grep -c '^\[' "$dir/repeat.ini") rules"

# One writer: N adds of a daily reminder; each creation time printed by an
# add that exited 0 goes to NAME.ok, each failure's message to NAME.err.
writer() {
  local name="$1" adds="$2"; shift 2
  local i out
  for ((i = 1; i <= adds; i++)); do
    if out="$("$@" add --title "$name $i" --in 600 --repeat daily 2>>"$dir/$name.err")"; then
      echo "$out" | tr -d '\r' >> "$dir/$name.ok"
    else
      echo "$name $i failed" >> "$dir/$name.err"
    fi
  done
}

start=$(date +%s.%N)
writers=()
writer native-a "$native_adds" "$cli" --dir "$dir" &
writers+=($!)
writer native-b "$native_adds" "$cli" --dir "$dir" &
writers+=($!)
if [ "$program_adds" -gt 0 ]; then
  # Before Wine's first process: its desktop keeps the display it started with.
  source tools/xvfb.sh
  start_private_display
fi
if [ "$wine_adds" -gt 0 ] || [ "$program_adds" -gt 0 ]; then
  export WINEPREFIX="${WINEPREFIX:-$build_root/wineprefix}" WINEDEBUG=-all
  bash tools/wine-prefix.sh >/dev/null
  /usr/lib/wine/wineserver -p 60 2>/dev/null || true  # one server for the whole loop
  if [ "$wine_adds" -gt 0 ]; then
    writer wine "$wine_adds" /usr/lib/wine/wine64 "$cli_exe" --dir "Z:${dir//\//\\}" &
    writers+=($!)
  fi
fi
if [ "$program_adds" -gt 0 ]; then
  cp "$build_root/windows/app/Tallyo.exe" "$dir/"
  printf '[common]\r\nbTray=0\r\nnTipType=1\r\n[update]\r\nhost=127.0.0.1\r\nport=9\r\n' > "$dir/config.ini"
  python3 tools/stress_program_writer.py "$dir" "$program_adds" &
  writers+=($!)
fi
wait "${writers[@]}"  # not the display server
end=$(date +%s.%N)

touch "$dir/native-a.ok" "$dir/native-b.ok" "$dir/wine.ok"
for name in native-a native-b wine; do
  [ "$name" = wine ] && [ "$wine_adds" -eq 0 ] && continue
  failed=$(grep -c ' failed$' "$dir/$name.err" 2>/dev/null || true)
  printf '%-9s failed %s, ' "$name" "${failed:-0}"
  "$cli" --dir "$dir" list --all --with-created | python3 tools/writers_check.py "$dir/$name.ok" || true
done
printf 'all       '
"$cli" --dir "$dir" list --all --with-created | python3 tools/writers_check.py "$dir"/*.ok
echo "seconds: $(echo "$end - $start" | bc), events now: $("$cli" --dir "$dir" check)"
if [ "$program_adds" -gt 0 ]; then
  python3 - "$dir" <<'PY'
import os, sys
sys.path.insert(0, "app/e2e")
from tallyo_e2e import read_events
folder = sys.argv[1]
titles = [t for t in open(os.path.join(folder, "program.titles")).read().split("\n") if t]
present = {e.title for e in read_events(os.path.join(folder, "event.dat"))}
print("program   adds through the dialog %d, lost %d" % (len(titles), sum(t not in present for t in titles)))
PY
fi
messages="$(cat "$dir"/*.err 2>/dev/null | grep -v ' failed$' | sort | uniq -c | sort -rn | head -5 || true)"
[ -z "$messages" ] || printf 'messages on standard error (first 5):\n%s\n' "$messages"
