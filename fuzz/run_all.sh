#!/bin/sh
# Runs every fuzz target in turn, one process at a time. Usage: fuzz/run_all.sh BUILD_DIR WORK_DIR [SECONDS]
# QV_FUZZ_TARGETS limits the targets, QV_FUZZ_TIMEOUT sets the per-input limit (10 s).
# WORK_DIR receives the grown corpora, the crash artifacts and one log per target; the
# seed corpora under fuzz/corpus are read, never written.
set -u
build=$1
work=$2
seconds=${3:-300}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work/artifacts"
for target in ${QV_FUZZ_TARGETS:-fuzz_parse fuzz_preprocess fuzz_match fuzz_match_ref fuzz_synonym fuzz_ini}; do
  mkdir -p "$work/$target"
  "$build/$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout="${QV_FUZZ_TIMEOUT:-10}" \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" \
    "$work/$target" "$here/corpus/$target" > "$work/$target.log" 2>&1
  echo "$target: exit $? $(grep -E '^stat::number_of_executed_units' "$work/$target.log" | tail -1)"
done
