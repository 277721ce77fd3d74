#!/usr/bin/env bash
# Idle wake-ups of Tallyo.exe under Wine (tools/measure_idle.py) on a private
# display; figures in docs/performance.md.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/setup.sh
build="${TALLYO_BUILD_ROOT:-$root/build}"
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
cmake -S . -B "$build/windows" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" >/dev/null
cmake --build "$build/windows" -j "$(nproc)" --target Tallyo
source tools/xvfb.sh
start_private_display
bash tools/wine-prefix.sh
TALLYO_EXE="$build/windows/app/Tallyo.exe" TZ=Asia/Shanghai PYTHONDONTWRITEBYTECODE=1 python3 tools/measure_idle.py
