#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's own prefix inside the
# build folder (never the user's). ctest uses it as the cross-compiling emulator.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-${TALLYO_BUILD_ROOT:-$root/build}/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$here/wine-prefix.sh" >/dev/null
exec /usr/lib/wine/wine64 "$@"
