#!/usr/bin/env bash
# Runs a Windows program under Wine with the project's environment (used by CTest as the
# emulator of the win64 build). The prefix must exist (scripts/wine-prefix.sh).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
exec "$QV_WINE" "$@"
