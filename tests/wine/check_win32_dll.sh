#!/usr/bin/env bash
# Static check of the 32-bit plug-in DLL (32-bit programs cannot run here, so its ABI is read
# from the file): every QVC_ callback exported under its plain name, each one popping exactly
# 4 bytes per argument on return (stdcall), and no import outside Windows' own DLLs.
set -euo pipefail
dll=${1:?usage: $0 path/to/qvexport.dll}
objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

# Callback name and the number of 32-bit arguments the host passes.
expected="QVC_OnStart 0
QVC_OnExit 0
QVC_OnMenuInit 3
QVC_OnOpenFolder 1
QVC_OnOpenMail 1
QVC_OnEveryMinute 0
QVC_OnOpenCompose 2
QVC_OnOutgoing 2
QVC_OnKeyDispatch 3
QVC_OnRetrieve 2
QVC_OnSend 1
QVC_OnFinishRetrieve 1
QVC_OnPlugInSetup 1
QVC_OnPlugInInfo 1
QVC_OnDragDrop 4"
system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll shell32.dll ole32.dll advapi32.dll msvcrt.dll "

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

headers=$("$objdump" -p "$dll")
grep -q 'file format pei-i386' <<<"$("$objdump" -f "$dll")" || fail "$dll is not a 32-bit PE file"
image_base=$(awk '$1 == "ImageBase" {print $2; exit}' <<<"$headers")

# Export name -> RVA, through the name table's ordinal index into the address table.
exports=$(awk '
  /^Export Address Table -- Ordinal Base/ {section = "eat"; next}
  /^\[Ordinal\/Name Pointer\] Table/ {section = "names"; next}
  /^$/ {section = ""}
  section == "eat" && /Export RVA/ {gsub(/[][]/, " "); rva[$1] = $(NF - 2)}
  section == "names" {gsub(/[][]/, " "); name[$1] = $2}
  END {for (i in name) print name[i], rva[i]}' <<<"$headers")

count=$(grep -c . <<<"$exports" || true)
[ "$count" -eq 15 ] || fail "expected 15 exports, found $count"

while read -r name args; do
  rva=$(awk -v n="$name" '$1 == n {print $2}' <<<"$exports")
  if [ -z "$rva" ]; then
    fail "$name is not exported under its plain name"
    continue
  fi
  start=$((0x$image_base + 0x$rva))
  # The first return instruction of the function: "ret" pops nothing, "ret $0xN" pops N bytes.
  ret=$("$objdump" -d --start-address=$start --stop-address=$((start + 512)) "$dll" |
        awk '$0 ~ /\tret/ && !done {sub(/.*\tret[lw]? */, ""); print; done = 1}')
  popped=0
  if [[ "$ret" =~ \$0x([0-9a-f]+) ]]; then popped=$((0x${BASH_REMATCH[1]})); fi
  if [ "$popped" -ne $((4 * args)) ]; then
    fail "$name pops $popped bytes, expected $((4 * args)) ($args arguments)"
  else
    echo "ok: $name pops $popped bytes"
  fi
done <<<"$expected"

while read -r imported; do
  lower=$(tr 'A-Z' 'a-z' <<<"$imported")
  if [[ "$system_dlls" == *" $lower "* ]]; then echo "ok: imports $imported"; else fail "imports $imported, not a Windows DLL"; fi
done < <(awk '/DLL Name:/ {print $3}' <<<"$headers")

if [ "$failures" -ne 0 ]; then
  echo "static check of $dll: $failures failed"
  exit 1
fi
echo "static check of $dll: passed"
