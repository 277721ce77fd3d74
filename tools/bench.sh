#!/usr/bin/env bash
# Builds the benchmarks in release mode and runs them (native).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/setup.sh
build="${TALLYO_BUILD_ROOT:-$root/build}/bench"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTALLYO_BENCHMARKS=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
for exe in $(find "$build" -name '*_bench' -type f -perm -u+x | sort); do
  echo "== $(basename "$exe") =="
  "$exe" "$@"
done
