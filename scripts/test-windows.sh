#!/usr/bin/env bash
# Windows part of the tests: builds the plug-in for both targets from the same sources, checks
# the shipping 32-bit DLL statically (32-bit programs cannot run here), and runs the tests of
# the 64-bit twin under Wine on a virtual X display with code page 932.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

for tool in x86_64-w64-mingw32-g++-posix i686-w64-mingw32-g++-posix i686-w64-mingw32-objdump xvfb-run; do
  command -v "$tool" >/dev/null || { echo "test-windows: $tool is missing (scripts/deps.sh installs it)"; exit 1; }
done

echo "== win64: plug-in, stand-in host, Wine tests"
cmake --preset win64 >/dev/null
cmake --build build/win64 -j"$jobs"
echo "== win32: the shipping plug-in DLL"
cmake --preset win32 >/dev/null
cmake --build build/win32 -j"$jobs" --target qvexport

echo "== static check of the 32-bit DLL"
tests/wine/check_win32_dll.sh build/win32/src/plugin/qvexport.dll

echo "== Wine tests (fresh prefix)"
export WINEPREFIX="$PWD/build/wineprefix"
source scripts/wine-env.sh
stop_wine() { "$QV_WINESERVER" -k 2>/dev/null || true; }
trap stop_wine EXIT
scripts/wine-prefix.sh
# One program at a time: the dialog tests rely on the windows they open being the only ones.
xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir build/win64 -R '^wine\.' --output-on-failure --timeout 300
echo "test-windows: static check passed, Wine tests passed"
