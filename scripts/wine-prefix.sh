#!/usr/bin/env bash
# Creates a fresh Wine prefix for the tests: no Mono/Gecko prompts, no crash dialog (a crashing
# program fails instead of waiting), and a Japanese font behind the dialog fonts.
#   scripts/wine-prefix.sh [--dpi N]     (N: the screen resolution Windows programs see; 96 by default)
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
dpi=96
if [ "${1:-}" = "--dpi" ]; then dpi=${2:?--dpi needs a value}; fi

if [ -d "$WINEPREFIX" ]; then
  "$QV_WINESERVER" -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
mkdir -p "$(dirname "$WINEPREFIX")"
"$QV_WINE" wineboot --init >/dev/null 2>&1
"$QV_WINESERVER" -w

reg() { "$QV_WINE" reg add "$@" /f >/dev/null 2>&1; }
reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
reg 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi"
# A crash ends the program at once instead of starting the debugger.
reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1
reg 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d 'false'
# Windows without a window manager on the virtual display: unmanaged windows hide at once
# instead of waiting for the manager that never answers.
reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
fs='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
for f in 'ＭＳ Ｐゴシック' 'MS PGothic' 'MS UI Gothic'; do reg "$fs" /v "$f" /t REG_SZ /d 'IPAPGothic'; done
for f in 'ＭＳ ゴシック' 'MS Gothic'; do reg "$fs" /v "$f" /t REG_SZ /d 'IPAGothic'; done
"$QV_WINESERVER" -w
# In a Japanese locale Wine does not pick its built-in caption-button font from its data folder;
# a copy in the prefix's font folder draws the close box as a cross instead of the letter "r".
for dir in /usr/share/wine/fonts /usr/lib/wine/fonts /opt/wine*/share/wine/fonts; do
  if [ -f "$dir/marlett.ttf" ]; then cp "$dir/marlett.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"; break; fi
done
