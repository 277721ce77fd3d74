#!/usr/bin/env bash
# What Tallyo.exe costs at rest under Wine, beside Wine's notepad in the same
# prefix (tools/measure_idle.py), on a private display; figures in
# docs/performance.md. TALLYO_EXE measures another build of the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/setup.sh
build="${TALLYO_BUILD_ROOT:-$root/build}"
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
if [ -z "${TALLYO_EXE:-}" ]; then
  cmake -S . -B "$build/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" >/dev/null
  cmake --build "$build/windows" -j 2 --target Tallyo
  TALLYO_EXE="$build/windows/app/Tallyo.exe"
fi
source tools/xvfb.sh
start_private_display
bash tools/wine-prefix.sh
TALLYO_EXE="$TALLYO_EXE" TZ=Asia/Shanghai PYTHONDONTWRITEBYTECODE=1 python3 tools/measure_idle.py
