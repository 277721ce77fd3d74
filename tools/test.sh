#!/usr/bin/env bash
# Builds both configurations and runs every test: the native core with
# sanitizers, then the Windows build under Wine on a private Xvfb display.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/setup.sh

build="${TALLYO_BUILD_ROOT:-$root/build}"
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
jobs="$(nproc)"
log="$build/test-summary.log"
mkdir -p "$build"
: > "$log"

echo "== native build (sanitizers) =="
cmake -S . -B "$build/native" -DCMAKE_BUILD_TYPE=Debug -DTALLYO_SANITIZE=ON >/dev/null
cmake --build "$build/native" -j "$jobs"
native_rc=0
ctest --test-dir "$build/native" --output-on-failure -j "$jobs" | tee -a "$log" || native_rc=$?

echo "== windows build =="
cmake -S . -B "$build/windows" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" >/dev/null
cmake --build "$build/windows" -j "$jobs"
source "$root/tools/xvfb.sh"
start_private_display
bash tools/wine-prefix.sh
windows_rc=0
# Among them the release checks (packaging/): they pack the zip of
# tools/package.sh themselves, into build/dist/.
ctest --test-dir "$build/windows" --output-on-failure | tee -a "$log" || windows_rc=$?

passed=0 failed=0
while read -r nfail total; do
  passed=$((passed + total - nfail)); failed=$((failed + nfail))
done < <(sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/p' "$log")
echo
echo "all: $passed passed, $failed failed"
[ "$native_rc" -eq 0 ] && [ "$windows_rc" -eq 0 ]
