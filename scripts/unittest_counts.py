#!/usr/bin/env python3
"""Prints "PASSED FAILED" from the output of Python's unittest runner."""
import re
import sys

try:
    text = open(sys.argv[1], encoding="utf-8", errors="replace").read()
except OSError:
    print("0 1")
    sys.exit(0)
ran = re.findall(r"^Ran (\d+) tests? in", text, re.M)
if not ran:
    print("0 1")
    sys.exit(0)
total = int(ran[-1])
failed = 0
status = re.findall(r"^(OK|FAILED)(?: \((.*)\))?$", text, re.M)
if status:
    word, detail = status[-1]
    for key in ("failures", "errors", "unexpected successes"):
        m = re.search(key + r"=(\d+)", detail or "")
        if m:
            failed += int(m.group(1))
    skipped = re.search(r"skipped=(\d+)", detail or "")
    total -= int(skipped.group(1)) if skipped else 0
    # A test whose tearDown fails too is reported twice; count tests, not reports.
    failed = min(failed, total)
    if word == "FAILED" and failed == 0:
        failed = 1
else:
    failed = 1
print(total - failed, failed)
