#!/usr/bin/env bash
# Times `tallyo-cli next --count 1000` for a rule repeating every minute since
# 2000 (the series is searched by arithmetic, not walked) against
# `tallyo-cli check` on an empty folder, whole processes with hyperfine
# (medians), then the benchmark of what repeating reminders add to the
# once-a-second check (events/bench/repeat_tick_bench.cpp).
#
# Native Release build in build/release, like tools/bench_store.sh. The
# machine may be shared: a ratio is only worth as much as the quiet of the run.
#
# usage: tools/bench-repeat.sh [RUNS]   (RUNS per command, default 30)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/setup.sh >/dev/null
runs="${1:-30}"

build="${TALLYO_BUILD_ROOT:-$root/build}/release"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTALLYO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j 2 --target tallyo-cli repeat_tick_bench >/dev/null
cli="$build/cli/tallyo-cli"
export TZ="${TZ:-Asia/Shanghai}"

data="$build/bench-repeat"
rm -rf "$data" && mkdir -p "$data/empty" "$data/minutely"
created="$("$cli" --dir "$data/minutely" add --title "every minute" --at "2000-01-01 00:00:00" --repeat FREQ=MINUTELY)"

hyperfine -N --style basic --warmup 5 --runs "$runs" \
  -n "check, empty folder" "$cli --dir $data/empty check" \
  -n "next --count 1000" "$cli --dir $data/minutely next --created $created --count 1000" \
  -n "next --count 1" "$cli --dir $data/minutely next --created $created --count 1"

"$build/events/repeat_tick_bench" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
