#!/usr/bin/env python3
"""Ends the input of one long session at every byte, so input ends at every
prompt of every command and in the middle of every answer.

Usage: eof_prefix_test.py BINARY DATA_FOLDER. DATA_FOLDER holds session.txt,
one typed line per line, where a tab may note what the line completes:
"load NAME|NAME", "add NAME" or "remove NAME", and people.txt, the roster
file the session opens. Every cut must end within 5 seconds with status 0,
save outputdata.txt, and the report must list exactly the persons whose add
(or load) the cut input had finished, less those it had removed. A cut
inside the answer that finishes an add or a removal may go either way.
"""
import os, shutil, subprocess, sys, tempfile

binary, data = os.path.abspath(sys.argv[1]), sys.argv[2]
typed, events = b"", {}  # name -> [may add, must add, may remove, must remove]
for line in open(os.path.join(data, "session.txt"), encoding="utf-8").read().splitlines():
    text, _, note = line.partition("\t")
    start, end = len(typed), len(typed) + len(text)
    typed += text.encode() + b"\n"
    if note:
        what, names = note.split(" ", 1)
        digit = next((i for i, c in enumerate(text) if c.isdigit()), len(text))
        for name in names.split("|"):
            span = {"load": [end, end], "add": [start + digit + 1, end],
                    "remove": [start + 1, end]}[what]
            first = 2 if what == "remove" else 0
            events.setdefault(name, [0, 0, float("inf"), float("inf")])[first:first + 2] = span

failures = []
with tempfile.TemporaryDirectory(prefix="roster-eof-") as scratch:
    shutil.copy(os.path.join(data, "people.txt"), scratch)
    report = os.path.join(scratch, "outputdata.txt")
    for cut in range(len(typed) + 1):
        if os.path.exists(report):
            os.remove(report)
        where = "cut after %d bytes (%r)" % (cut, typed[max(0, cut - 12):cut].decode())
        try:
            run = subprocess.run([binary], input=typed[:cut], cwd=scratch,
                                 capture_output=True, timeout=5)
        except subprocess.TimeoutExpired:
            failures.append(where + ": did not end within 5 seconds")
            continue
        saved = run.stdout.endswith(b"The data has been saved to outputdata.txt\n")
        if run.returncode != 0 or run.stderr or not saved or not os.path.exists(report):
            failures.append("%s: status %d, report saved: %s, stderr: %s"
                            % (where, run.returncode, saved, run.stderr.decode()[:500]))
            continue
        rows = open(report, encoding="utf-8").read().splitlines()[1:]
        listed = sorted(row[:20].rstrip() for row in rows)
        for name, (may_add, must_add, may_remove, must_remove) in events.items():
            must = must_add <= cut < may_remove
            may = may_add <= cut < must_remove
            count = listed.count(name)
            if count > 1 or (must and count == 0) or (not may and count == 1):
                failures.append("%s: %s listed %d times" % (where, name, count))
        if any(name not in events for name in listed):
            failures.append("%s: unexpected rows %r" % (where, listed))
print("\n".join(failures) or "%d cuts passed" % (len(typed) + 1))
sys.exit(1 if failures else 0)
