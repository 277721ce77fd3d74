#!/usr/bin/env bash
# Times a whole run of `tallyo-cli export --ics` on an event.dat of 100k
# realistic events against `cat` of the same file (native Release build;
# hyperfine, medians). Figures in docs/performance.md.
#   EVENTS=100000 RUNS=30 bash tools/bench-export.sh
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/setup.sh
build="${TALLYO_BUILD_ROOT:-$root/build}/bench"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTALLYO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target tallyo-cli make_bench_event_dat ics_export_bench

work="$(mktemp -d /tmp/tallyo-export-bench-XXXXXX)"
trap 'rm -rf "$work"' EXIT
"$build/cli/make_bench_event_dat" "${EVENTS:-100000}" "$work/event.dat"
export TZ=Asia/Shanghai
cli="$build/cli/tallyo-cli --dir $work"
# -N: no shell in between; standard output goes to /dev/null.
hyperfine -N --warmup 3 --runs "${RUNS:-30}" --export-json "$work/times.json" \
  -n "cat event.dat" "cat $work/event.dat" \
  -n "check (start, load event.dat, exit)" "$cli check" \
  -n "export --ics (standard output)" "$cli export --ics" \
  -n "export --ics --out (written and flushed to disk)" "$cli export --ics --out $work/calendar.ics"
echo "event.dat: $(stat -c %s "$work/event.dat") bytes; calendar: $(stat -c %s "$work/calendar.ics") bytes"
python3 - "$work/times.json" <<'PY'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
cat = results[0]["median"]
for r in results:
    cpu = r["user"] + r["system"]
    print(f'{r["command"]}: median {r["median"] * 1000:.1f} ms, {r["median"] / cat:.1f}x cat; '
          f'user + system {cpu * 1000:.1f} ms (mean)')
PY
echo "== the calendar text alone, in memory =="
"$build/cli/ics_export_bench"
