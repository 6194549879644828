#!/usr/bin/env python3
"""Runs one recorded session against the real binary and compares the result.

usage: run_session.py [--valgrind | --wine] [--timeout SECONDS] BINARY SESSION

SESSION is NAME.in, NAME.talk, NAME.cuts or NAME.win; README.md in this
folder describes the files that make up a session and how each kind runs.
"""

import argparse
import difflib
import glob
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time

SKIPPED = 77  # the exit status that ctest counts as a skipped test
SAVED = b"The data has been saved to outputdata.txt\n"
PROMPTS = tuple(prompt.encode() for prompt in (
    "Selection: ", "Enter filename: ", "Enter name (lastname, firstname): ",
    "Enter age (21 - 120): ", "Enter height (50 - 85): ", "Enter GPA (0 - 4): ", "Enter Major: ",
    "Enter networth: ", "Enter person's lastname: ", "Enter a new height (50 - 85): ",
    "Enter a new weight (100 - 500): ", "Enter a new age (21 - 120): ", "Enter a new GPA (0 - 4)",
    "Enter a new major: ", "Enter a new networth: "))


def read_bytes(path, default=None):
    if default is not None and not os.path.exists(path):
        return default
    with open(path, "rb") as handle:
        return handle.read()


def scratch_folder(session):
    scratch = tempfile.mkdtemp(prefix="roster-session-")
    data = os.path.join(os.path.dirname(os.path.abspath(session)), "data")
    for name in os.listdir(data):
        shutil.copy(os.path.join(data, name), scratch)
    return scratch


def show_diff(what, expected, actual):
    lines = difflib.unified_diff(
        expected.decode("utf-8", "backslashreplace").splitlines(keepends=True),
        actual.decode("utf-8", "backslashreplace").splitlines(keepends=True),
        fromfile="expected " + what, tofile="actual " + what)
    sys.stdout.write("".join(lines))
    if expected.rstrip(b"\n") == actual.rstrip(b"\n"):
        sys.stdout.write("(the difference is in the final line breaks)\n")
    sys.stdout.write("\n")


def cut_every_byte(binary, session, scratch):
    typed, roster, rosters = b"", [], [(0, [])]  # (where a line ends, its roster)
    for line in open(session, encoding="utf-8").read().splitlines():
        text, _, changes = line.partition("\t")
        typed += text.encode() + b"\n"
        for change in filter(None, changes.split("|")):
            (roster.append if change[0] == "+" else roster.remove)(change[1:])
        rosters.append((len(typed), sorted(roster)))
    report, failures = os.path.join(scratch, "outputdata.txt"), []
    for cut in range(len(typed) + 1):
        if os.path.exists(report):
            os.remove(report)
        where = "cut after %d bytes (%r)" % (cut, typed[max(0, cut - 12):cut].decode())
        try:
            run = subprocess.run([binary], input=typed[:cut], cwd=scratch, capture_output=True,
                                 timeout=5)
        except subprocess.TimeoutExpired:
            failures.append(where + ": did not end within 5 seconds")
            continue
        if run.returncode or run.stderr or not run.stdout.endswith(SAVED):
            failures.append("%s: status %d, stderr %r, the report not saved"
                            % (where, run.returncode, run.stderr[:200]))
            continue
        listed = sorted(row[:20].rstrip() for row in open(report, encoding="utf-8").readlines()[1:])
        line = next(i for i, (end, _) in enumerate(rosters) if end >= cut)
        allowed = [rosters[line][1]] + ([rosters[line - 1][1]] if rosters[line][0] > cut else [])
        if listed not in allowed:
            failures.append("%s: the report lists %r, not %r" % (where, listed, allowed[-1]))
    print("\n".join(failures) or "%d cuts passed" % (len(typed) + 1))
    return 1 if failures else 0


def talk(command, session, scratch, env, patience):
    """Types each line of the session once the program asks for it; returns
    what a finished run returns."""
    program = subprocess.Popen(command, cwd=scratch, env=env, stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    output, shown = b"", 0

    def wait(until_end=False):
        nonlocal output
        deadline = time.monotonic() + patience
        while until_end or len(output) == shown or not output.endswith(PROMPTS):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([program.stdout], [], [], left)[0]:
                raise TimeoutError("waited %g s for a prompt; the output so far ends with %r"
                                   % (patience, output[-120:].decode("utf-8", "replace")))
            chunk = os.read(program.stdout.fileno(), 65536)
            if not chunk:
                return False  # the program has ended
            output += chunk
        return True

    try:
        for line in read_bytes(session).splitlines(keepends=True):
            if not wait():
                break
            shown = len(output)
            program.stdin.write(line)
            program.stdin.flush()
        program.stdin.close()
        wait(until_end=True)
        status = program.wait(timeout=patience)
    finally:
        program.kill()
    return subprocess.CompletedProcess(command, status, output, program.stderr.read())


def run_counted(command, scratch, env, per_start):
    """Runs a session, `per_start` seconds for each start of the program."""
    program = subprocess.Popen(command, cwd=scratch, env=env, stdin=subprocess.DEVNULL,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                               start_new_session=True)
    begun = time.monotonic()
    while True:
        try:
            output, errors = program.communicate(timeout=1)
            return subprocess.CompletedProcess(command, program.returncode, output, errors)
        except subprocess.TimeoutExpired:
            starts = len(read_bytes(env["STARTS"], b""))
            if time.monotonic() > begun + per_start * max(1, starts):
                os.killpg(program.pid, 9)
                program.wait()  # what it started outside its group may hold the pipes
                raise


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--valgrind", action="store_true")
    parser.add_argument("--wine", action="store_true")
    parser.add_argument("--timeout", type=float, default=10)
    parser.add_argument("binary")
    parser.add_argument("session")
    args = parser.parse_args()
    binary = os.path.abspath(args.binary)
    base = os.path.splitext(args.session)[0]
    command = read_bytes(base + ".cmd", b'roster < "$IN"').decode()
    reasons = [line for line in command.splitlines() if line.startswith("# POSIX only")]
    if args.wine and reasons:
        print("skipped under Wine: " + reasons[0][2:])
        return SKIPPED

    code, silent = run(args, binary, base, command)
    if silent:
        print("Wine ended a start of the program without a word: the session runs again")
        code, _ = run(args, binary, base, command)
    return code


def run(args, binary, base, command):
    """Runs the session once in a scratch folder of its own: its exit code,
    and whether a start under Wine failed without a word."""
    scratch = scratch_folder(args.session)
    # Under Wine a copy of everything the program writes to standard output
    # is kept beside the scratch folder, for the line-end check; valgrind's
    # log is kept there too, out of the session's sight.
    captured, log, starts = scratch + ".stdout", scratch + ".valgrind", scratch + ".starts"
    silent = scratch + ".silent"
    try:
        if args.session.endswith(".cuts"):
            return cut_every_byte(binary, args.session, scratch), False
        launcher = '"$BIN" "$@"'
        if args.valgrind:
            launcher = ('valgrind -q --error-exitcode=99 --leak-check=full '
                        '--log-file="$LOG" "$BIN" "$@"')
        if args.wine:  # its standard error is shown once it ends, to tell a silent end
            launcher = ('local said="$SILENT.$BASHPID"; wine "$BIN" "$@" 2> "$said.err" | '
                        'tee -a "$CAPTURED" | tee "$said.out"; local rc=${PIPESTATUS[0]}; '
                        '[ -s "$said.out" -o -s "$said.err" ] || echo >> "$SILENT"; '
                        'cat "$said.err" >&2; return $rc')
        script = 'roster() { printf . >> "$STARTS"; %s; }\n%s\n' % (launcher, command)
        env = dict(os.environ, BIN=binary, IN=os.path.abspath(args.session), SCRATCH=scratch,
                   CAPTURED=captured, LOG=log, STARTS=starts, SILENT=silent)
        try:
            if args.session.endswith(".talk"):
                result = talk(["bash", "-c", script.replace('< "$IN"', "")], args.session,
                              scratch, env, args.timeout)
            else:
                result = run_counted(["bash", "-c", script], scratch, env, args.timeout)
        except TimeoutError as error:
            print("FAIL: %s" % error)
            return 1, False
        except subprocess.TimeoutExpired:
            print("FAIL: the session did not end within %g seconds of a start" % args.timeout)
            return 1, False

        status = int(read_bytes(base + ".status", b"0"))
        if result.returncode == SKIPPED != status:  # a scene whose tool is missing
            sys.stdout.write(result.stdout.decode("utf-8", "replace"))
            return SKIPPED, False
        failed = False
        if result.returncode != status:
            print("exit status %d, expected %d" % (result.returncode, status))
            failed = True
        checks = [("standard output", read_bytes(base + ".out"), result.stdout),
                  ("standard error", read_bytes(base + ".err", b""), result.stderr)]
        if os.path.exists(base + ".report"):
            report = os.path.join(scratch, "outputdata.txt")
            checks.append(("outputdata.txt", read_bytes(base + ".report"),
                           read_bytes(report, b"<no outputdata.txt>\n")))
        if args.wine:
            written = [("standard output", read_bytes(captured, b""))]
            written += [(what, actual) for what, _, actual in checks[2:]]
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
        return (1 if failed else 0), failed and os.path.exists(silent)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
        for beside in [captured, log, starts] + glob.glob(silent + "*"):
            if os.path.exists(beside):
                os.remove(beside)


if __name__ == "__main__":
    sys.exit(main())
