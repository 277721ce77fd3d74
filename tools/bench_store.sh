#!/usr/bin/env bash
# Measures the event store and tallyo-cli on event.dat files of 1k, 10k and
# 100k made-up events (tools/make_event_file.py), against the plain tools that
# read the same bytes: whole-process times with hyperfine (medians), the peak
# memory of `check`, and the store's Google Benchmark figures.
#
# Native Release build in its own folder (build/release); build/native, with
# its sanitizers, is left alone. The machine may be shared: every figure is a
# median, and a ratio is only worth as much as the quiet of the run.
#
# usage: tools/bench_store.sh [RUNS]   (RUNS per command, default 10, at least 5)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/setup.sh >/dev/null
runs="${1:-10}"
[ "$runs" -ge 5 ] || { echo "bench_store: at least 5 runs" >&2; exit 2; }

build="${TALLYO_BUILD_ROOT:-$root/build}/release"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTALLYO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j 2 --target tallyo-cli events_bench >/dev/null
cli="$build/cli/tallyo-cli"
data="$build/bench-data"
results="$build/bench-results"
mkdir -p "$data" "$results"

# A word that no generated event holds, for a search that reads everything and prints nothing.
missing_word="zebra"

for n in 1000 10000 100000; do
  dir="$data/$n"
  mkdir -p "$dir"
  [ -f "$dir/event.dat" ] || python3 tools/make_event_file.py "$n" "$dir/event.dat"
  file="$dir/event.dat"
  hyperfine -N --style none --warmup 3 --runs "$runs" --export-json "$results/$n.json" \
    -n cat "cat $file" \
    -n check "$cli --dir $dir check" \
    -n find "$cli --dir $dir list --find $missing_word" \
    -n list-all "$cli --dir $dir list --all" >/dev/null
  # grep -c exits with 1 when it counts nothing, hence a run of its own that ignores that.
  hyperfine -N -i --style none --warmup 3 --runs "$runs" --export-json "$results/$n-grep.json" \
    -n grep "env LC_ALL=C grep -a -c $missing_word $file" >/dev/null
  # Peak memory of check: the median of five runs, in kilobytes.
  for _ in 1 2 3 4 5; do
    /usr/bin/time -f "%M" "$cli" --dir "$dir" check 2>&1 >/dev/null | tail -n 1
  done | sort -n | sed -n 3p > "$results/$n.rss"
  stat -c %s "$file" > "$results/$n.size"
done

python3 - "$results" <<'EOF'
import json, sys
results = sys.argv[1]
print("\nWhole process, median of each command (hyperfine), ratio to its plain tool:")
print(f"{'events':>7} {'file MB':>8} | {'cat ms':>7} {'check ms':>8} {'x cat':>6} | "
      f"{'grep ms':>7} {'find ms':>7} {'x grep':>6} | {'list --all ms':>13} {'x cat':>6} | "
      f"{'check peak MB':>13} {'x file':>6}")
for n in (1000, 10000, 100000):
    med = {}
    for part in ("", "-grep"):
        with open(f"{results}/{n}{part}.json") as f:
            med.update({r["command"]: r["median"] * 1000 for r in json.load(f)["results"]})
    size = int(open(f"{results}/{n}.size").read())
    rss = int(open(f"{results}/{n}.rss").read()) * 1024
    print(f"{n:>7} {size / 1e6:>8.1f} | {med['cat']:>7.2f} {med['check']:>8.2f} {med['check'] / med['cat']:>6.1f} | "
          f"{med['grep']:>7.2f} {med['find']:>7.2f} {med['find'] / med['grep']:>6.1f} | "
          f"{med['list-all']:>13.2f} {med['list-all'] / med['cat']:>6.1f} | "
          f"{rss / 1e6:>13.1f} {rss / size:>6.2f}")
print("Goals: check within 3x cat, find within 5x grep, list --all within 10x cat, peak memory of check at most 2x the file.")
EOF

echo
echo "Store against plain file access (Google Benchmark, median of 5 repetitions, wall time):"
"$build/events/events_bench" --benchmark_filter='BM_(LoadEventsAtStart|LoadEvents|ReadSameBytes|ReadSameBytesFresh|SaveEvents|WriteSameBytes)/' \
  --benchmark_repetitions=5 --benchmark_report_aggregates_only=true --benchmark_format=json \
  --benchmark_out="$results/bench.json" --benchmark_out_format=json >/dev/null 2>&1
python3 - "$results/bench.json" <<'EOF'
import json, sys
rows = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") != "median":
        continue
    name, n = b["run_name"].split("/")[:2]
    rows.setdefault(int(n), {})[name] = b["real_time"] / 1000  # ms (the benchmark reports microseconds)
fresh = 'BM_ReadSameBytesFresh'
print(f"{'events':>7} | {'load at start':>13} {'load again':>10} | {'read, fresh':>11} {'x':>5} | "
      f"{'read, reused':>12} {'x':>5} | {'save':>8} {'plain write':>11} {'x':>5}")
for n in sorted(rows):
    r = rows[n]
    load = r['BM_LoadEventsAtStart']
    print(f"{n:>7} | {load:>10.3f} ms {r['BM_LoadEvents']:>7.3f} ms | {r.get(fresh, float('nan')):>8.3f} ms "
          f"{load / r.get(fresh, float('nan')):>5.1f} | {r['BM_ReadSameBytes']:>9.3f} ms {load / r['BM_ReadSameBytes']:>5.1f} | "
          f"{r['BM_SaveEvents']:>5.2f} ms {r['BM_WriteSameBytes']:>8.2f} ms {r['BM_SaveEvents'] / r['BM_WriteSameBytes']:>5.1f}")
print("'read, fresh': ReadFileToBuffer into a new buffer, as a load reads; 'read, reused': ReadFile into one")
print("string kept across iterations (warm memory, no page faults). Goals: load within 2x of reading the")
print("same bytes, save within 2x of writing them.")
EOF
