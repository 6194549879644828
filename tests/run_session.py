#!/usr/bin/env python3
"""Runs one recorded session against the real binary and compares the result.

A session NAME is a set of files beside each other:
  NAME.in      what the user types (required)
  NAME.out     the expected standard output (required)
  NAME.report  the expected outputdata.txt afterwards (optional)
  NAME.err     the expected standard error (optional; default: empty)
  NAME.status  the expected exit status (optional; default: 0)
  NAME.cmd     a bash command run in place of the default `roster < "$IN"`
               (optional); `roster` is a function that starts the binary.
Every session runs in a fresh scratch folder that holds a copy of the
roster files in sessions/data/. Differences are shown as unified diffs.
"""

import argparse
import difflib
import os
import shutil
import subprocess
import sys
import tempfile


def read_bytes(path):
    with open(path, "rb") as handle:
        return handle.read()


def optional(path, default):
    return read_bytes(path) if os.path.exists(path) else default


def show_diff(what, expected, actual):
    lines = difflib.unified_diff(
        expected.decode("utf-8", "backslashreplace").splitlines(keepends=True),
        actual.decode("utf-8", "backslashreplace").splitlines(keepends=True),
        fromfile="expected " + what,
        tofile="actual " + what,
    )
    sys.stdout.write("".join(lines))
    if expected != actual and expected.rstrip(b"\n") == actual.rstrip(b"\n"):
        sys.stdout.write("(the difference is in the final line breaks)\n")
    sys.stdout.write("\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--valgrind", action="store_true")
    parser.add_argument("--timeout", type=float, default=10)
    parser.add_argument("binary")
    parser.add_argument("session")
    args = parser.parse_args()

    base = args.session[: -len(".in")]
    sessions = os.path.dirname(os.path.abspath(args.session))
    binary = os.path.abspath(args.binary)
    command = optional(base + ".cmd", b'roster < "$IN"').decode()

    scratch = tempfile.mkdtemp(prefix="roster-session-")
    try:
        data = os.path.join(sessions, "data")
        if os.path.isdir(data):
            for name in os.listdir(data):
                shutil.copy(os.path.join(data, name), scratch)
        launcher = '"$BIN" "$@"'
        if args.valgrind:
            launcher = ('valgrind -q --error-exitcode=99 --leak-check=full '
                        '--log-file="$SCRATCH/valgrind.log" "$BIN" "$@"')
        script = "roster() { %s; }\n%s\n" % (launcher, command)
        env = dict(os.environ, BIN=binary, IN=os.path.abspath(args.session), SCRATCH=scratch)
        try:
            result = subprocess.run(["bash", "-c", script], cwd=scratch, env=env,
                                    stdin=subprocess.DEVNULL, capture_output=True,
                                    timeout=args.timeout)
        except subprocess.TimeoutExpired:
            print("FAIL: the session did not end within %g seconds" % args.timeout)
            return 1

        failed = False
        expected_status = int(optional(base + ".status", b"0").decode().strip())
        if result.returncode != expected_status:
            print("exit status %d, expected %d" % (result.returncode, expected_status))
            failed = True
        checks = [("standard output", read_bytes(base + ".out"), result.stdout),
                  ("standard error", optional(base + ".err", b""), result.stderr)]
        if os.path.exists(base + ".report"):
            report = os.path.join(scratch, "outputdata.txt")
            actual = read_bytes(report) if os.path.isfile(report) else b"<no outputdata.txt>\n"
            checks.append(("outputdata.txt", read_bytes(base + ".report"), actual))
        for what, expected, actual in checks:
            if expected != actual:
                show_diff(what, expected, actual)
                failed = True
        log = os.path.join(scratch, "valgrind.log")
        if os.path.exists(log) and os.path.getsize(log) > 0:
            print("valgrind:\n" + read_bytes(log).decode("utf-8", "replace"))
            failed = True
        if failed:
            print("FAIL: " + os.path.basename(base))
            return 1
        return 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
