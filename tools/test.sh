#!/usr/bin/env bash
# Checks the house habits (which folder includes which, formatting), then
# builds both configurations and runs every test: the native core with
# sanitizers, then the Windows build under Wine on a private Xvfb display.
# Beside the Windows tests it builds the native tree as a user would
# (Release, -O2), without running its tests again: the optimiser's warnings differ.
# Here every warning is an error (TALLYO_WERROR).
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

# A failed check does not stop the builds: the run reports everything it
# found and fails at the end.
echo "== checks: layers and formatting =="
layers_rc=0
if ! layer_tests="$(python3 tools/check_layers_test.py 2>&1)"; then
  echo "$layer_tests"; layers_rc=1
fi
python3 tools/check_layers.py --allow tools/layer_allowlist.txt || layers_rc=$?
format_rc=0
bash tools/check_format.sh || format_rc=$?

echo "== native build (sanitizers) =="
cmake -S . -B "$build/native" -DCMAKE_BUILD_TYPE=Debug -DTALLYO_SANITIZE=ON -DTALLYO_WERROR=ON >/dev/null
cmake --build "$build/native" -j "$jobs"
native_rc=0
ctest --test-dir "$build/native" --output-on-failure -j "$jobs" | tee -a "$log" || native_rc=$?

# The update worker's hand-over must have run, under ThreadSanitizer alone
# (it cannot share a binary with AddressSanitizer).
tsan_rc=0
tsan_symbols="$(nm "$build/native/update/update_tsan_test" 2>/dev/null || true)"
if ! grep -qE 'Test +#[0-9]+: update_tsan_test \.* +Passed' "$log"; then
  echo "update_tsan_test (the ThreadSanitizer run) did not run or did not pass" >&2; tsan_rc=1
elif ! grep -q ' __tsan_init$' <<<"$tsan_symbols" || grep -q ' __asan_init' <<<"$tsan_symbols"; then
  echo "update_tsan_test is not built with ThreadSanitizer alone" >&2; tsan_rc=1
fi

echo "== windows build =="
cmake -S . -B "$build/windows" -DCMAKE_BUILD_TYPE=Release -DTALLYO_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" >/dev/null
cmake --build "$build/windows" -j "$jobs"
source "$root/tools/xvfb.sh"
start_private_display
bash tools/wine-prefix.sh
# The Windows tests spend most of their time waiting for Wine's windows, one
# at a time: the native Release build runs beside them, its output kept
# until they end.
release_log="$build/release-build.log"
(
  cmake -S . -B "$build/release" -DCMAKE_BUILD_TYPE=Release -DTALLYO_WERROR=ON -DTALLYO_BENCHMARKS=OFF >/dev/null &&
    nice cmake --build "$build/release" -j "$jobs"
) >"$release_log" 2>&1 &
release_pid=$!
windows_rc=0
# Among them the release checks (packaging/): they pack the zip of
# tools/package.sh themselves, into build/dist/.
ctest --test-dir "$build/windows" --output-on-failure | tee -a "$log" || windows_rc=$?
echo "== native Release build (built beside the Windows tests, not run) =="
release_rc=0
wait "$release_pid" || release_rc=$?
if [ "$release_rc" -ne 0 ]; then cat "$release_log"; else tail -n 3 "$release_log"; fi

passed=0 failed=0
while read -r nfail total; do
  passed=$((passed + total - nfail)); failed=$((failed + nfail))
done < <(sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/p' "$log")
echo
echo "all: $passed passed, $failed failed"
verdict() { [ "$1" -eq 0 ] && echo ok || echo FAILED; }
echo "checks: layers $(verdict "$layers_rc"), format $(verdict "$format_rc"), ThreadSanitizer run $(verdict "$tsan_rc"), native Release build $(verdict "$release_rc")"
[ "$native_rc" -eq 0 ] && [ "$windows_rc" -eq 0 ] && [ "$layers_rc" -eq 0 ] && [ "$format_rc" -eq 0 ] \
  && [ "$tsan_rc" -eq 0 ] && [ "$release_rc" -eq 0 ]
