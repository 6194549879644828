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

With --wine the binary is a Windows program run under Wine. Its standard
output, standard error and report are compared with every CR LF turned
into LF, and every line break the program wrote to standard output or to
the report must be a CR LF. A session whose .cmd has a line starting with
"# POSIX only" is skipped (exit status 77).
"""

import argparse
import difflib
import os
import shutil
import subprocess
import sys
import tempfile

SKIPPED = 77  # the exit status that ctest counts as a skipped test


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
    parser.add_argument("--wine", action="store_true")
    parser.add_argument("--timeout", type=float, default=10)
    parser.add_argument("binary")
    parser.add_argument("session")
    args = parser.parse_args()

    base = args.session[: -len(".in")]
    sessions = os.path.dirname(os.path.abspath(args.session))
    binary = os.path.abspath(args.binary)
    command = optional(base + ".cmd", b'roster < "$IN"').decode()
    if args.wine:
        reasons = [line for line in command.splitlines() if line.startswith("# POSIX only")]
        if reasons:
            print("skipped under Wine: " + reasons[0][2:])
            return SKIPPED

    scratch = tempfile.mkdtemp(prefix="roster-session-")
    # Under Wine a copy of everything the program writes to standard output
    # is kept beside the scratch folder, for the line-end check; valgrind's
    # log is kept there too, out of the session's sight.
    captured = scratch + ".stdout"
    log = scratch + ".valgrind"
    try:
        data = os.path.join(sessions, "data")
        if os.path.isdir(data):
            for name in os.listdir(data):
                shutil.copy(os.path.join(data, name), scratch)
        launcher = '"$BIN" "$@"'
        if args.valgrind:
            launcher = ('valgrind -q --error-exitcode=99 --leak-check=full '
                        '--log-file="$LOG" "$BIN" "$@"')
        if args.wine:
            launcher = 'wine "$BIN" "$@" | tee -a "$CAPTURED"; return "${PIPESTATUS[0]}"'

        script = "roster() { %s; }\n%s\n" % (launcher, command)
        env = dict(os.environ, BIN=binary, IN=os.path.abspath(args.session), SCRATCH=scratch,
                   CAPTURED=captured, LOG=log)
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
        if args.wine:
            written = [("standard output", optional(captured, b""))]
            written += [(what, actual) for what, _, actual in checks if what == "outputdata.txt"]
            for what, text in written:
                if text.count(b"\n") != text.count(b"\r\n"):
                    print("%s: a line break that is not CR LF" % what)
                    failed = True
            checks = [(what, expected, actual.replace(b"\r\n", b"\n"))
                      for what, expected, actual in checks]
        for what, expected, actual in checks:
            if expected != actual:
                show_diff(what, expected, actual)
                failed = True
        if os.path.exists(log) and os.path.getsize(log) > 0:
            print("valgrind:\n" + read_bytes(log).decode("utf-8", "replace"))
            failed = True
        if failed:
            print("FAIL: " + os.path.basename(base))
            return 1
        return 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
        for beside in (captured, log):
            if os.path.exists(beside):
                os.remove(beside)


if __name__ == "__main__":
    sys.exit(main())
