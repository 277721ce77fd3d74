#!/usr/bin/env bash
# Times a whole run of `tallyo-cli import --ics` of a generated calendar of
# 10k events (1k repeating, a third with alarms; calendar/bench/) side by
# side with Python's icalendar only parsing the same file, in one run
# (native Release build; hyperfine, medians), and the peak memory of each
# (/usr/bin/time -v). Figures in docs/performance.md.
#   EVENTS=10000 RUNS=10 bash tools/bench-import.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
build="${TALLYO_BUILD_ROOT:-$root/build}/${BENCH_TREE:-bench}"
if [ -z "${NO_BUILD:-}" ]; then
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTALLYO_BENCHMARKS=ON >/dev/null
  cmake --build "$build" -j 2 --target tallyo-cli
fi

work="$(mktemp -d /tmp/tallyo-import-bench-XXXXXX)"
trap 'rm -rf "$work"' EXIT
/usr/bin/python3 calendar/bench/make_bench_calendar.py "${EVENTS:-10000}" >"$work/calendar.ics"
export TZ=Asia/Shanghai
cli="$build/cli/tallyo-cli"
parse='import icalendar, sys; icalendar.Calendar.from_ical(open(sys.argv[1], "rb").read())'
mkdir -p "$work/again" "$work/dry" && "$cli" --dir "$work/again" import --ics "$work/calendar.ics" >/dev/null
hyperfine -N --warmup 1 --runs "${RUNS:-10}" --export-json "$work/times.json" \
  -n "python3 icalendar: parse only" "/usr/bin/python3 -c '$parse' $work/calendar.ics" \
  -n "tallyo-cli import (into an empty folder)" \
  --prepare "sh -c 'rm -rf $work/folder; mkdir $work/folder'" "$cli --dir $work/folder import --ics $work/calendar.ics" \
  -n "tallyo-cli import --dry-run" "$cli --dir $work/dry import --ics $work/calendar.ics --dry-run" \
  -n "tallyo-cli import again (nothing changed)" "$cli --dir $work/again import --ics $work/calendar.ics"
size=$(stat -c %s "$work/calendar.ics")
echo "calendar: $size bytes, $(grep -c '^BEGIN:VEVENT' "$work/calendar.ics") events"
/usr/bin/python3 - "$work/times.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
python = results[0]["median"]
for r in results:
    print(f'{r["command"]}: median {r["median"] * 1000:.0f} ms, {r["median"] / python:.2f}x Python')
PY
peak() { /usr/bin/time -v "$@" 2>&1 >/dev/null | sed -n 's/.*Maximum resident set size (kbytes): //p'; }
rm -rf "$work/folder" && mkdir "$work/folder"
cli_kb=$(peak "$cli" --dir "$work/folder" import --ics "$work/calendar.ics")
py_kb=$(peak /usr/bin/python3 -c "$parse" "$work/calendar.ics")
echo "peak memory: tallyo-cli import $cli_kb KB ($(( cli_kb * 1024 * 100 / size ))% of the file), python3 icalendar parse $py_kb KB"
mkdir -p "$work/empty"
base_kb=$(peak "$cli" --dir "$work/empty" list --all)
echo "tallyo-cli list on an empty folder (the tool itself): $base_kb KB; the import adds $(( cli_kb - base_kb )) KB ($(( (cli_kb - base_kb) * 1024 * 100 / size ))% of the file)"
