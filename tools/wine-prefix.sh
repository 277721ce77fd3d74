#!/usr/bin/env bash
# Creates the Wine prefix once (wineboot) and maps the dialog font faces to an
# installed CJK font, so Chinese dialog text does not show as empty boxes.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-${TALLYO_BUILD_ROOT:-$root/build}/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
stamp="$WINEPREFIX/.tallyo-ready"
[ -f "$stamp" ] && exit 0

mkdir -p "$WINEPREFIX"
lock="$WINEPREFIX.lock"
exec 9>"$lock"
flock 9
[ -f "$stamp" ] && exit 0

/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true
reg="$WINEPREFIX/fonts.reg"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
  printf '"宋体"="WenQuanYi Micro Hei"\r\n'
  printf '"SimSun"="WenQuanYi Micro Hei"\r\n'
  printf '"NSimSun"="WenQuanYi Micro Hei"\r\n'
  printf '"MS Shell Dlg"="WenQuanYi Micro Hei"\r\n'
  printf '"MS Shell Dlg 2"="WenQuanYi Micro Hei"\r\n'
  printf '\r\n'
} | iconv -f UTF-8 -t UTF-16 > "$reg"
/usr/lib/wine/wine64 regedit /S "$reg" >/dev/null 2>&1
/usr/lib/wine/wineserver -w || true
touch "$stamp"
