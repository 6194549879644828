#!/usr/bin/env python3
"""Several sessions keep one file and leave at the same moment, many rounds.

Each round starts SESSIONS programs on one file of SESSIONS persons, a
roster file or a CSV file in turn. Session k edits the net worth of
person k and adds a person of its own, and once every session has done so
and waits at the menu, all their inputs are closed at once, so that all of
them save together. Afterwards the file must hold every person once, with
every edit, and each session must have said what happened: exactly one
saved the file and every other merged its changes into it.

Then, in KILLS rounds, a session is killed (SIGKILL) at a random moment of
its save, and a second session on the file must still save: the file is
whole, and no lock is left to hold anyone back.

Usage: concurrency_test.py [--wine] [--rounds N] [--sessions K] [--kills N] BINARY
"""

import argparse
import csv
import io
import os
import random
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PATIENCE = 60.0  # seconds for any one step, generous for valgrind and Wine


class Session:
    def __init__(self, command, folder, typed):
        self.process = subprocess.Popen(command, cwd=folder, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.output = b""
        self.process.stdin.write(typed)
        self.process.stdin.flush()

    def wait_for(self, text):
        deadline = time.monotonic() + PATIENCE
        while not (text in self.output and self.output.endswith(b"Selection: ")):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.process.stdout], [], [], left)[0]:
                raise TimeoutError("no %r; the output ends with %r" % (text, self.output[-200:]))
            chunk = os.read(self.process.stdout.fileno(), 65536)
            if not chunk:
                raise RuntimeError("ended early, status %s: %r %r" % (
                    self.process.wait(), self.output[-300:], self.process.stderr.read()))
            self.output += chunk

    def leave(self):
        self.process.stdin.close()

    def finish(self):
        """Waits for the end: the exit status and standard error."""
        self.process.stdin = None  # closed by leave()
        rest, errors = self.process.communicate(timeout=PATIENCE)
        self.output += rest
        return self.process.returncode, errors

    def last_line(self):
        return self.output.decode("utf-8", "replace").replace("\r\n", "\n").rstrip("\n") \
            .split("\n")[-1]


def write_roster(path, persons, is_csv):
    with open(path, "w", newline="") as out:
        if is_csv:
            writer = csv.writer(out, lineterminator="\r\n")
            writer.writerow(["Name", "Major", "Age", "Height", "Weight", "GPA", "Net worth"])
            writer.writerows([name, "Math", 25, 70, 150, 3.5, worth] for name, worth in persons)
        else:
            for name, worth in persons:
                out.write("%s\nMath\n25 70 150 3.5 %s\n" % (name, worth))


def read_roster(path, is_csv):
    """The (name, net worth) of each person, or None when the file is not whole."""
    text = open(path, encoding="utf-8-sig", newline="").read()
    try:
        if is_csv:
            rows = list(csv.reader(io.StringIO(text)))
            return [(row[0], float(row[6])) for row in rows[1:] if row]
        lines = text.replace("\r\n", "\n").split("\n")
        if lines[-1] == "":
            lines.pop()
        if len(lines) % 3:
            return None
        return [(lines[i], float(lines[i + 2].split()[4])) for i in range(0, len(lines), 3)]
    except (IndexError, ValueError):
        return None


def leftovers(folder, name):
    return sorted(entry for entry in os.listdir(folder)
                  if entry.startswith(".") or (entry.startswith(name) and entry != name))


def add(name, worth):
    return b"A\n%s\n25\n70\n3.5\nMath\n%d\n" % (name.encode(), worth)


def together(command, rounds, count):
    failures = []
    for round_ in range(rounds):
        is_csv = round_ % 2 == 1
        name = "class.csv" if is_csv else "team.txt"
        folder = tempfile.mkdtemp(prefix="roster-together-")
        sessions = []
        try:
            base = [("Base%d, Al" % k, 0) for k in range(count)]
            write_roster(os.path.join(folder, name), base, is_csv)
            expected = {("Base%d, Al" % k, float(1000 * k + round_)) for k in range(count)}
            for k in range(count):
                typed = b"E\nBase%d\n6\n%d\n" % (k, 1000 * k + round_)
                typed += add("Added%d, Round %d" % (k, round_), k)
                expected.add(("Added%d, Round %d" % (k, round_), float(k)))
                sessions.append(Session(command + [name], folder, typed))
            for session in sessions:
                session.wait_for(b"The new person has been successfully added.")
            for session in sessions:
                session.leave()
            said = []
            for session in sessions:
                status, errors = session.finish()
                if status or errors:
                    failures.append("round %d: status %d, %r" % (round_, status, errors))
                said.append(session.last_line())
            held = read_roster(os.path.join(folder, name), is_csv)
            saved = "The roster has been saved to " + name
            merged = (name + " was changed by another program; its changes and yours have "
                      "been merged and saved to " + name)
            if held is None or sorted(held) != sorted(expected) or len(held) != len(expected):
                lost = sorted(expected - set(held or []))
                failures.append("round %d: %s lost %d of %d persons %s, messages %r"
                                % (round_, name, len(lost), len(expected), lost[:3], said))
            elif sorted(said) != sorted([saved] + [merged] * (count - 1)):
                failures.append("round %d: untrue messages %r" % (round_, said))
            if leftovers(folder, name) and not failures:
                failures.append("round %d: left behind %r" % (round_, leftovers(folder, name)))
        finally:
            for session in sessions:
                session.process.kill()
                session.process.wait()
            shutil.rmtree(folder, ignore_errors=True)
    return failures


def killed(command, rounds):
    failures = []
    for round_ in range(rounds):
        folder = tempfile.mkdtemp(prefix="roster-killed-")
        sessions = []
        try:
            write_roster(os.path.join(folder, "team.txt"), [("Base, Al", 0)], False)
            sessions.append(Session(command + ["team.txt"], folder, add("Killed, Al", 1)))
            sessions[0].wait_for(b"The new person has been successfully added.")
            sessions[0].process.stdin.write(b"X\n")
            sessions[0].process.stdin.flush()
            time.sleep(random.uniform(0, 0.01))
            sessions[0].process.send_signal(signal.SIGKILL)
            sessions[0].process.wait()
            held = read_roster(os.path.join(folder, "team.txt"), False)
            if held is None:
                failures.append("round %d: a kill left team.txt broken" % round_)
                continue
            start = time.monotonic()
            sessions.append(Session(command + ["team.txt"], folder, add("Later, Bo", 2)))
            sessions[1].wait_for(b"The new person has been successfully added.")
            sessions[1].leave()
            status, errors = sessions[1].finish()
            said = sessions[1].last_line()
            if status or errors or "in use" in said or "could not" in said:
                failures.append("round %d: after a kill, %r (status %d, %r)"
                                % (round_, said, status, errors))
            elif time.monotonic() - start > 4:
                failures.append("round %d: the save after a kill waited" % round_)
            held = read_roster(os.path.join(folder, "team.txt"), False) or []
            if ("Later, Bo", 2.0) not in held or ("Base, Al", 0.0) not in held:
                failures.append("round %d: after a kill team.txt holds %r" % (round_, held))
            if [entry for entry in leftovers(folder, "team.txt") if "lock" in entry]:
                failures.append("round %d: a lock left behind: %r"
                                % (round_, leftovers(folder, "team.txt")))
        finally:
            for session in sessions:
                session.process.kill()
                session.process.wait()
            shutil.rmtree(folder, ignore_errors=True)
    return failures


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--wine", action="store_true")
    parser.add_argument("--rounds", type=int, default=20)
    parser.add_argument("--sessions", type=int, default=4)
    parser.add_argument("--kills", type=int, default=20)
    parser.add_argument("binary")
    args = parser.parse_args()
    command = (["wine"] if args.wine else []) + [os.path.abspath(args.binary)]
    failures = together(command, args.rounds, args.sessions)
    print("%d sessions leaving together, %d rounds: %d failed"
          % (args.sessions, args.rounds, len(failures)))
    if not args.wine:
        failures_killed = killed(command, args.kills)
        print("a session killed while it saves, %d rounds: %d failed"
              % (args.kills, len(failures_killed)))
        failures += failures_killed
    print("\n".join(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
