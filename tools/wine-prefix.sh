#!/usr/bin/env bash
# Creates the Wine prefix once (wineboot) and maps the dialog font faces to an
# installed CJK font, so Chinese dialog text does not show as empty boxes.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-${TALLYO_BUILD_ROOT:-$root/build}/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
stamp="$WINEPREFIX/.tallyo-ready-2"
[ -f "$stamp" ] && exit 0

mkdir -p "$WINEPREFIX"
lock="$WINEPREFIX.lock"
exec 9>"$lock"
flock 9
[ -f "$stamp" ] && exit 0

/usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1 || true

# Dialog templates are laid out in dialog units taken from their font, 9-point
# "宋体". Wine has no SimSun; WenQuanYi Micro Hei alone gives larger units and
# breaks the layouts, so the prefix gets WenQuanYi reshaped to SimSun's
# metrics (tools/skin/dialog_font.py), cached in the build folder.
face="WenQuanYi Micro Hei"
font_cache="${TALLYO_BUILD_ROOT:-$root/build}/deps/tallyo-dialog-hei.ttf"
mkdir -p "$(dirname "$font_cache")"
(
  flock 8
  if [ ! -f "$font_cache" ]; then
    part="$font_cache.$$.part"
    if /usr/bin/python3 "$root/tools/skin/dialog_font.py" "$part" >/dev/null 2>&1; then
      mv "$part" "$font_cache"
    else
      rm -f "$part"
    fi
  fi
) 8>"$font_cache.lock"
if [ -f "$font_cache" ]; then
  cp "$font_cache" "$WINEPREFIX/drive_c/windows/Fonts/tallyo-dialog-hei.ttf"
  face="Tallyo Dialog Hei"
fi

reg="$WINEPREFIX/tallyo.reg"
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes]\r\n'
  printf '"宋体"="%s"\r\n' "$face"
  printf '"SimSun"="%s"\r\n' "$face"
  printf '"NSimSun"="%s"\r\n' "$face"
  printf '"MS Shell Dlg"="WenQuanYi Micro Hei"\r\n'
  printf '"MS Shell Dlg 2"="WenQuanYi Micro Hei"\r\n'
  printf '\r\n'
  # Without a window manager on Xvfb, Wine waits for one whenever a managed
  # window is hidden; unmanaged windows close at once.
  printf '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]\r\n'
  printf '"Managed"="N"\r\n'
  printf '\r\n'
} | iconv -f UTF-8 -t UTF-16 > "$reg"
/usr/lib/wine/wine64 regedit /S "$reg" >/dev/null 2>&1
/usr/lib/wine/wineserver -w || true
touch "$stamp"
