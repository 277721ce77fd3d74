#!/usr/bin/env bash
# Kills `tallyo-cli add --repeat daily` at random moments (SIGKILL natively,
# the Windows process ended by Wine's server under Wine), on one folder of
# 20k events with 2k rules, then checks: no event of these adds is in
# event.dat without its rule, and the next add still works and gets its rule.
# (A run killed while it held the folder's lock holds up the next one for the
# 5 s after which the lock counts as left behind.)
# Not part of the tests (minutes of work); figures in docs/performance.md.
#
# usage: tools/kill_writers.sh [NATIVE_RUNS [WINE_RUNS]]   (default 400 and 40)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
native_runs="${1:-400}"
wine_runs="${2:-40}"
build_root="${TALLYO_BUILD_ROOT:-$root/build}"

release="$build_root/release"
cmake -S . -B "$release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$release" -j 2 --target tallyo-cli >/dev/null
cli="$release/cli/tallyo-cli"
cli_exe="$build_root/windows/cli/tallyo-cli.exe"

dir="$(mktemp -d "$build_root/kill-writers.XXXXXX")"
trap 'rm -rf "$dir"' EXIT
python3 tools/make_event_file.py 20000 "$dir/event.dat"
"$cli" --dir "$dir" list --all --with-created | awk -F'\t' 'NR > 1 && NR % 10 == 2 { print $NF }' \
  | awk '{ printf "[%s]\r\nstart=2026-12-08 09:00:00\r\nrule=FREQ=DAILY\r\n", $1 }' > "$dir/repeat.ini"

# One add started and killed after DELAY_MS milliseconds (if it still runs).
# After a run killed while it held the lock, the next one first waits the
# 5 s after which that lock counts as left behind: its delay starts after them.
killed=0 held=0
kill_one() {
  local delay_ms="$1"; shift
  if [ -e "$dir/event.dat.lock" ]; then delay_ms=$(awk -v d="$delay_ms" 'BEGIN { print d + 5000 }'); fi
  "$@" add --title "killed-add" --in 600 --repeat daily >/dev/null 2>&1 &
  local pid=$!
  sleep "$(awk -v d="$delay_ms" 'BEGIN { printf "%.4f", d / 1000 }')"
  kill -9 "$pid" 2>/dev/null || true
  local rc=0
  wait "$pid" 2>/dev/null || rc=$?
  if [ "$rc" -eq 137 ]; then  # ended by the signal, not finished before it
    killed=$((killed + 1))
    # Killed while it held the folder's lock: the next run waits for it to go stale.
    if [ -e "$dir/event.dat.lock" ]; then held=$((held + 1)); fi
  fi
}

# A delay from 0 to MAX_MS, evenly spread.
random_delay() { awk -v r="$((RANDOM * 32768 + RANDOM))" -v m="$1" 'BEGIN { printf "%.2f", r / 1073741824 * m }'; }

# Every event of the killed adds must have its rule. Prints the counts.
check() {
  "$cli" --dir "$dir" list --all --with-created | awk -F'\t' '
    $1 == "killed-add" { events++; if ($(NF - 1) == "") ruleless++ }
    END { printf "events left %d, rule-less %d\n", events, ruleless; exit ruleless > 0 }'
}

# How long a plain add takes here: the kills are spread over it.
t0=$(date +%s%N); "$cli" --dir "$dir" add --title probe --in 600 --repeat daily >/dev/null; t1=$(date +%s%N)
add_ms=$(( (t1 - t0) / 1000000 + 1 ))
window=$((add_ms * 3 / 2))
echo "native: a whole add takes ${add_ms} ms; $native_runs runs, each killed after 0 to $window ms"
start=$(date +%s)
for ((i = 0; i < native_runs; i++)); do kill_one "$(random_delay "$window")" "$cli" --dir "$dir"; done
echo "native: killed $killed of $native_runs runs ($held while holding the lock) in $(( $(date +%s) - start )) s"
native_rc=0
check || native_rc=1

wine_rc=0
if [ "$wine_runs" -gt 0 ] && [ -f "$cli_exe" ]; then
  export WINEPREFIX="${WINEPREFIX:-$build_root/wineprefix}" WINEDEBUG=-all
  bash tools/wine-prefix.sh >/dev/null
  /usr/lib/wine/wineserver -p 120 2>/dev/null || true
  wine_dir="Z:${dir//\//\\}"
  t0=$(date +%s%N); /usr/lib/wine/wine64 "$cli_exe" --dir "$wine_dir" add --title probe --in 600 --repeat daily >/dev/null; t1=$(date +%s%N)
  add_ms=$(( (t1 - t0) / 1000000 + 1 ))
  window=$((add_ms * 3 / 2))
  echo "wine: a whole add takes ${add_ms} ms; $wine_runs runs, each killed after 0 to $window ms"
  killed=0 held=0
  for ((i = 0; i < wine_runs; i++)); do
    kill_one "$(random_delay "$window")" /usr/lib/wine/wine64 "$cli_exe" --dir "$wine_dir"
  done
  echo "wine: killed $killed of $wine_runs runs ($held while holding the lock)"
  check || wine_rc=1
fi

# The next add after all that works, and keeps its rule.
created="$("$cli" --dir "$dir" add --title after --in 600 --repeat daily)"
if "$cli" --dir "$dir" list --all --with-created | grep -q "FREQ=DAILY	$created\$"; then
  echo "next add: ok ($created, with its rule)"
else
  echo "next add: FAILED"; native_rc=1
fi
[ -e "$dir/event.dat.lock" ] && echo "a lock file is left behind" && native_rc=1
exit $(( native_rc | wine_rc ))
