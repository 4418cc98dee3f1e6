#!/usr/bin/env bash
# Stops the Wine server of the prefix in use (and with it every program still running there).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
"$QV_WINESERVER" -k 2>/dev/null || true
