#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer and runs each for a bounded
# time (FUZZ_SECONDS, default 60) over a copy of its seed corpus.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/setup.sh
build="${TALLYO_BUILD_ROOT:-$root/build}/fuzz"
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYO_FUZZ=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target $(ls fuzz/*_fuzz.cpp | xargs -n1 basename | sed 's/\.cpp$//')
for src in fuzz/*_fuzz.cpp; do
  name="$(basename "$src" .cpp)"
  work="$build/work/$name"
  rm -rf "$work" && mkdir -p "$work" && cp -r "fuzz/corpus/$name/." "$work/"
  echo "== $name =="
  "$build/fuzz/$name" -max_total_time="${FUZZ_SECONDS:-60}" -rss_limit_mb=512 -malloc_limit_mb=256 "$work" 2>&1 | tail -n 3
done
