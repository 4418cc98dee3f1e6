#!/usr/bin/env bash
# Runs the export command on the bundled sample folder (native build, headless dialog): copies
# examples/inbox into a fresh directory, exports the unread mails whose body mentions 会議 into
# a fresh output directory and marks them read, then shows what was written.
set -euo pipefail
cd "$(dirname "$0")/.."

cmake --preset release >/dev/null
cmake --build build/release -j"$(nproc)" --target qvexport >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/qvexport-sample.XXXXXX")
cp -r examples/inbox "$work/inbox"
mkdir "$work/out"

build/release/tools/host/qvexport --settings "$work/qvexport.ini" \
  --dir "$work/out" --find 会議 --find-pos body --unread-only --mark-read --no-selected-only \
  --no-case-sensitive --no-regexp "$work/inbox"

echo
echo "Files in $work/out:"
ls -l "$work/out"
echo
echo "Read flags afterwards ($work/inbox/folder.state):"
iconv -f CP932 -t UTF-8 "$work/inbox/folder.state" | tr -d '\r' | sed -n '3,$p' | paste -sd' '
