#!/usr/bin/env python3
"""Several sessions keep one file and leave at the same moment, many rounds;
then sessions killed while they save (see README.md).

Usage: concurrency_test.py [--wine] BINARY
"""

import contextlib
import csv
import os
import random
import select
import shutil
import subprocess
import sys
import tempfile
import time

PATIENCE = 60.0  # seconds for any one step, generous for Wine
MERGED = " was changed by another program; its changes and yours have been merged and saved to "


class Session:
    def __init__(self, folder, typed, name):
        self.process = subprocess.Popen(COMMAND + [name], cwd=folder, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.process.stdin.write(typed)
        self.process.stdin.flush()
        self.output = b""

    def wait_for_menu(self):
        deadline = time.monotonic() + PATIENCE
        while b"added." not in self.output or not self.output.endswith(b"Selection: "):
            ready = select.select([self.process.stdout], [], [], deadline - time.monotonic())[0]
            chunk = os.read(self.process.stdout.fileno(), 65536) if ready else b""
            if not chunk:
                raise RuntimeError("no menu after the addition: %r" % self.output[-300:])
            self.output += chunk

    def finish(self):
        """Waits for the end: the last line said, or what went wrong."""
        self.process.stdin.close()
        self.process.stdin = None
        rest, errors = self.process.communicate(timeout=PATIENCE)
        said = (self.output + rest).decode().replace("\r\n", "\n").rstrip("\n").split("\n")[-1]
        return said if self.process.returncode == 0 and not errors else (said, errors)


@contextlib.contextmanager
def scratch():
    """A folder, and a list for the sessions started in it, all ended afterwards."""
    folder, sessions = tempfile.mkdtemp(prefix="roster-concurrency-"), []
    try:
        yield folder, sessions
    finally:
        for session in sessions:
            session.process.kill()
            session.process.wait()
        shutil.rmtree(folder, ignore_errors=True)


ADD = b"A\n%s\n25\n70\n3.5\nMath\n%d\n"  # a person's name and net worth


def roster(folder, name):
    """The (name, net worth) of each person, read as the program keeps a file."""
    if subprocess.run(COMMAND + ["--convert", name, "read.csv"], cwd=folder,
                      stderr=subprocess.DEVNULL).returncode:
        return None
    with open(os.path.join(folder, "read.csv"), encoding="utf-8-sig") as read:
        return sorted((row[0], float(row[6])) for row in list(csv.reader(read))[1:])


def together(round_, count):
    name = "class.csv" if round_ % 2 else "team.txt"
    with scratch() as (folder, sessions):
        with open(os.path.join(folder, "start.csv"), "w") as start:
            start.write("Name,Major,Age,Height,Weight,GPA,Net worth\n")
            start.writelines("Base%d,Math,25,70,150,3.5,0\n" % k for k in range(count))
        subprocess.run(COMMAND + ["--convert", "start.csv", name], cwd=folder, check=True)
        expected = sorted([("Base%d" % k, 1000.0 * k + round_) for k in range(count)] +
                          [("Added%d" % k, float(k)) for k in range(count)])
        for k in range(count):
            typed = b"E\nBase%d\n6\n%d\n" % (k, 1000 * k + round_) + ADD % (b"Added%d" % k, k)
            sessions.append(Session(folder, typed, name))
        for session in sessions:
            session.wait_for_menu()
        for session in sessions:  # all leave at once
            session.process.stdin.close()
        said = sorted(str(session.finish()) for session in sessions)
        held, left = roster(folder, name), [e for e in os.listdir(folder) if e.startswith(".")]
        if held != expected or left or said != sorted(
                ["The roster has been saved to " + name] + [name + MERGED + name] * (count - 1)):
            return "round %d: %s holds %r, %r left, said %r" % (round_, name, held, left, said)
    return None


def killed(round_):
    with scratch() as (folder, sessions):
        sessions.append(Session(folder, ADD % (b"Killed, Al", 1), "team.txt"))
        sessions[0].wait_for_menu()
        sessions[0].process.stdin.write(b"X\n")
        sessions[0].process.stdin.flush()
        time.sleep(random.uniform(0, 0.01))
        sessions[0].process.kill()
        sessions[0].process.wait()  # as a shell reaps it: no longer a process
        sessions.append(Session(folder, ADD % (b"Later, Bo", 2), "team.txt"))
        sessions[1].wait_for_menu()
        said, held = sessions[1].finish(), roster(folder, "team.txt") or []
        if said != "The roster has been saved to team.txt" or ("Later, Bo", 2.0) not in held:
            return "round %d: after a kill %r, and team.txt holds %r" % (round_, said, held)
    return None


def main():
    global COMMAND
    wine = sys.argv[1] == "--wine"
    COMMAND = ["wine"] * wine + [os.path.abspath(sys.argv[-1])]
    rounds, count, kills = (4, 3, 0) if wine else (20, 4, 20)
    failures = [together(round_, count) for round_ in range(rounds)]
    failures = [f for f in failures + [killed(round_) for round_ in range(kills)] if f]
    print("\n".join(failures) or "%d rounds together, %d killed: all passed" % (rounds, kills))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
