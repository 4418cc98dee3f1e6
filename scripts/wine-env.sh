# Sourced by the wine-* scripts: the environment every Wine run of this project uses.
# WINEPREFIX defaults to a prefix under the build folder; the caller may set its own.
_qv_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$_qv_root/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# The ANSI code page follows the locale: ja_JP gives code page 932.
export LC_ALL=ja_JP.UTF-8
if [ -x /usr/lib/wine/wine64 ]; then QV_WINE=/usr/lib/wine/wine64; else QV_WINE=$(command -v wine64 || command -v wine); fi
if [ -x /usr/lib/wine/wineserver64 ]; then QV_WINESERVER=/usr/lib/wine/wineserver64; else QV_WINESERVER=$(command -v wineserver); fi
export QV_WINE QV_WINESERVER
