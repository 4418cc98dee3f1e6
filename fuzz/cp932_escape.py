#!/usr/bin/env python3
"""Rewrites a UTF-8 C++ source so that every non-ASCII character becomes octal escapes
of its CP932 bytes. clang has no -fexec-charset=CP932; the rewritten unit compiles to
the same bytes a CP932 execution character set gives. Usage: cp932_escape.py IN OUT"""
import subprocess
import sys


def cp932(run: str) -> bytes:
    try:
        return run.encode("cp932")
    except UnicodeEncodeError:
        return subprocess.run(["iconv", "-f", "UTF-8", "-t", "CP932"], input=run.encode("utf-8"),
                              capture_output=True, check=True).stdout


def main() -> None:
    src, dst = sys.argv[1], sys.argv[2]
    text = open(src, encoding="utf-8").read()
    out = []
    i = 0
    while i < len(text):
        if ord(text[i]) < 128:
            out.append(text[i])
            i += 1
            continue
        j = i
        while j < len(text) and ord(text[j]) >= 128:
            j += 1
        out.append("".join("\\%03o" % b for b in cp932(text[i:j])))
        i = j
    with open(dst, "w", encoding="ascii") as f:
        f.write("".join(out))


main()
