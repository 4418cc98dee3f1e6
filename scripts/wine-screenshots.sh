#!/usr/bin/env bash
# Takes the screenshots in docs/ under Wine on a virtual display with a Japanese font
# (the win64 build must exist: cmake --preset win64 && cmake --build build/win64).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-env.sh
[ -d "$WINEPREFIX" ] || scripts/wine-prefix.sh
cmake --build build/win64 --target wine_screenshots >/dev/null
shots=build/screenshots
rm -rf "$shots" && mkdir -p "$shots"
xvfb-run -a -s "-screen 0 1024x768x24" scripts/wine-run.sh build/win64/tests/wine/wine_screenshots.exe "$PWD/$shots"
"$QV_WINESERVER" -k 2>/dev/null || true
mkdir -p docs
for f in "$shots"/*.bmp; do
  convert "$f" -strip "docs/$(basename "${f%.bmp}").png"
done
ls -l docs/*.png
