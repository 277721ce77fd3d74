#!/usr/bin/env bash
# Builds the Windows release and packs it: build/dist/Tallyo-<version>-win64.zip
# (CPack's ZIP generator on the Windows Release build, target release_zip).
# The same commit gives the same zip, byte for byte.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
bash tools/setup.sh

build="${TALLYO_BUILD_ROOT:-$root/build}"
cmake -S . -B "$build/windows" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-posix.cmake" -DTALLYO_DIST_DIR="$build/dist" >/dev/null
cmake --build "$build/windows" -j "$(nproc)" --target release_zip

for f in "$build"/dist/Tallyo-*-win64.zip; do
  echo "$f: $(stat -c %s "$f") bytes"
done
