#!/usr/bin/env bash
# Runs every test: native unit tests under the sanitizers, then the Windows builds,
# the Wine tests of the 64-bit twin and the static checks of the 32-bit DLL.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/deps.sh

cmake --preset native >/dev/null
cmake --build build/native -j"$jobs"
ctest --test-dir build/native --output-on-failure -j"$jobs"

# The optimised build must compile too (benchmarks, the command-line tools).
cmake --preset release >/dev/null
cmake --build build/release -j"$jobs"

if [ -x scripts/test-windows.sh ]; then
  scripts/test-windows.sh
fi
