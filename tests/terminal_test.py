#!/usr/bin/env python3
"""Keys typed at a terminal, and the line the program receives (see README.md).
Exits with 77 (skipped) where there is no pseudo-terminal.

usage: terminal_test.py [--wine] BINARY
"""

import os
import pty
import re
import select
import shutil
import signal
import sys
import tempfile
import termios
import time

KEYS = {"<Left>": "\x1b[D", "<Right>": "\x1b[C", "<Up>": "\x1b[A", "<Down>": "\x1b[B",
        "<Home>": "\x1b[H", "<End>": "\x1b[F", "<Delete>": "\x1b[3~", "<BS>": "\x7f", "^A": "\x01",
        "^E": "\x05", "^U": "\x15", "^K": "\x0b", "^W": "\x17", "^C": "\x03", "^D": "\x04"}
CASES = [  # keys typed for a name, one person after another, and the name received
    ("Smth, Jon<Home><Right><Right>i", "Smith, Jon"),
    ("mith, Jon<Home>S<End>athan", "Smith, Jonathan"),
    ("mith, Jon^AS^Eathan", "Smith, Jonathan"),
    ("Smith, Johnny<Left><Left>^K", "Smith, John"),
    ("Nobody<Left><Left>^U", "dy"),
    ("Smith, Jon Doe^W", "Smith, Jon "),
    ("Müller, Jürgen€<BS>", "Müller, Jürgen"),
    ("Müüller, Jürgen<Home><Right><Delete>", "Müller, Jürgen"),
    ("<Up>" * 7 + "son", "Müller, Jürgenson"),  # the name typed for the person before
    ("<Up><Up><Down>", "A"),
]
ENDINGS = [  # typed at the menu, then at the name; the status, the names kept
    ("^D", None, 0, ["Kim, Al"]),
    ("A\r", "Half, Typ", 129, ["Kim, Al"]),  # and then a hang-up
    ("A\r", "Half^C", 130, []),
]
STARTED = []  # every terminal started, its program ended whatever happens


class Terminal:
    def __init__(self, folder, *args, stdin=None):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(folder)
            if stdin:
                os.dup2(os.open(stdin, os.O_RDONLY), 0)
            if WINE:  # Wine reads the command line as the locale says
                os.environ.update(TERM="xterm", LC_ALL="C.UTF-8")
                os.execvp("wine", ["wine", BINARY, *args])
            os.environ.update(TERM="xterm", LC_ALL="C")  # a locale that reads no UTF-8
            os.execv(BINARY, [BINARY, *args])
        STARTED.append(self)
        self.output, self.mark, self.status = b"", 0, None

    def type(self, keys, after):
        """Types once `after` is shown and libedit, after it, reads keys."""
        deadline = time.monotonic() + 20
        while after.encode() not in self.output[self.mark:] or \
                termios.tcgetattr(self.fd)[3] & termios.ICANON:
            if time.monotonic() > deadline:
                raise TimeoutError("no %r; the screen ends with %r" % (after, self.output[-200:]))
            if select.select([self.fd], [], [], 0.01)[0]:
                self.output += os.read(self.fd, 65536)
        self.mark = len(self.output)
        for key, code in KEYS.items():
            keys = keys.replace(key, code)
        os.write(self.fd, keys.encode())

    def add(self, name):
        self.type("A\r", "Selection: ")
        self.type(name + "\r", "Enter name")
        for prompt, answer in [("age", "25"), ("height", "70"), ("GPA", "3"), ("Major", "M"),
                               ("networth", "1")]:
            self.type(answer + "\r", "Enter " + prompt)

    def screen(self):
        """The output without escape sequences; Wine moves over blanks."""
        moved = re.sub(rb"\x1b\[(\d*)C", lambda m: b" " * int(m.group(1) or 1), self.output)
        return re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]", b"", moved).decode("utf-8", "replace")

    def end(self):
        """Reads to the end: how the program ended, as a shell says it."""
        try:
            while chunk := os.read(self.fd, 65536):
                self.output += chunk
        except OSError:  # the terminal has gone with the program
            pass
        self.status = os.waitpid(self.pid, 0)[1]
        os.close(self.fd)
        code = os.waitstatus_to_exitcode(self.status)
        return code if code >= 0 else 128 - code


def names(path):
    return open(path, encoding="utf-8").read().split("\n")[0:-1:3] if os.path.exists(path) else []


def run(folder):
    failures = []
    terminal = Terminal(folder, "team.txt")
    for keys, _ in CASES:
        terminal.add(keys)
    terminal.type("X\r", "Selection: ")
    terminal.end()
    if names(folder + "/team.txt") != [name for _, name in CASES]:
        failures.append("the keys typed gave %r" % names(folder + "/team.txt"))
    for number, (menu, name, status, kept) in enumerate(ENDINGS):
        file = "ending%d.txt" % number
        terminal = Terminal(folder, file)
        terminal.add("Kim, Al")
        terminal.type(menu, "Selection: ")
        if name:
            terminal.type(name, "Enter name")
        if status == 129:
            os.kill(terminal.pid, signal.SIGHUP)
        time.sleep(0.2)
        raw = termios.tcgetattr(terminal.fd)[3] & termios.ICANON == 0
        lock = os.path.exists("%s/.~lock.%s#" % (folder, file))
        got = (terminal.end(), names(folder + "/" + file), lock, raw)
        if got != (status, kept, False, False):
            failures.append("%r, %r: status, names, lock, raw terminal %r" % (menu, name, got))
        if menu == "^D" and b"Selection: ^D\r\nThe data has been saved" not in terminal.output:
            failures.append("^D did not end its line: %r" % terminal.output[-120:])
    with open(os.path.join(folder, "shown.txt"), "wb") as roster:
        roster.write(b"Evil\x1b]0;PWNED\x07, Al\n\x1b[31mRed\n25 70 150 3 1\n")
    terminal = Terminal(folder, "shown.txt")
    for keys in ["P\r", "L\r", "X\r"]:
        terminal.type(keys, "Selection: ")
    terminal.end()
    if b"Evil\\x1B]0;PWNED\\x07, Al\\x1B[31mRed" not in terminal.output or \
            b"\x1b]0;PWNED" in terminal.output:
        failures.append("a name's escape sequence was obeyed: %r" % terminal.output[-400:])
    return failures


def run_wine(folder):
    """Typed ahead once the console reads keys, since it keeps them."""
    def session(typed, *args, stdin=None):
        terminal = Terminal(folder, *args, stdin=stdin)
        if typed:
            terminal.type(typed, "Selection:")
        return terminal.end(), terminal.screen()

    add = "A\r{}\r25\r70\r3\r{}\r1\r".format  # a person with a name and a major

    # 9 persons listed 60 times put a character across the output's first
    # 64 KiB, where its buffer is written whole: only with typing piped in.
    files = {"Ωmega.txt": "Ωmega, Al\nArt\n30 60 150 2 -1\n", "Łódź.csv": "Name,Major,Age,"
             "Height,Weight,GPA,Net worth\n", "wide.txt": "王, 小明\nMathé\n25 70 150 3 1\n" * 9,
             "typed.txt": "P\nL\n" * 60 + "X\n"}
    for name, text in files.items():
        open(os.path.join(folder, name), "w", encoding="utf-8").write(text)
    os.mkdir(os.path.join(folder, "Ωmega"))
    names = ["Ωmega, Al", "Müller, Jürgen", "Mathé", "Łódź, 王小明 😀"]
    _, screen = session("O\rΩmega.txt\r" + add(*names[1:3]) + add(names[3], "Art") + "P\rL\rX\r",
                        "Łódź.csv")
    session(add("Kim, Ål", "Art") + "X\r", "Ωmega/team.csv")
    status, refused = session("", "Ωmissing/x.csv")
    _, listed = session("", "wide.txt", stdin=os.path.join(folder, "typed.txt"))
    kept = open(os.path.join(folder, "Łódź.csv"), encoding="utf-8").read()
    return [what for what, wrong in [
        ("the table is out of line: %r" % screen[-600:],
         "Müller, Jürgen      Mathé               B         5'10\"     25  " not in screen or
         not re.search("王小明.*Art +B", screen)),
        ("Łódź.csv holds %r" % kept, kept.count("\n") != 4 or any(n not in kept for n in names)),
        ("no message for a missing folder: %r" % refused[-200:],
         status != 1 or "roster: cannot open Ωmissing/x.csv" not in refused),
        ("characters of the listing were cut in two",
         listed.count("王, 小明") != 540 or "\\x" in listed),
        ("the folder holds %r" % os.listdir(folder), sorted(os.listdir(folder) + os.listdir(
            folder + "/Ωmega")) != sorted([*files, "Ωmega", "outputdata.txt", "team.csv"]))]
        if wrong]


def main():
    try:
        for end in os.openpty():
            os.close(end)
    except OSError as error:
        print("skipped: no pseudo-terminal (%s)" % error)
        return 77
    folder = tempfile.mkdtemp(prefix="roster-terminal-")
    try:
        failures = (run_wine if WINE else run)(folder)
    except (TimeoutError, OSError) as error:
        failures = [str(error)]
    finally:
        for terminal in STARTED:
            if terminal.status is None:
                os.kill(terminal.pid, signal.SIGKILL)
                os.waitpid(terminal.pid, 0)
        shutil.rmtree(folder)
    print("\n".join(failures) or ("a Windows console: all as expected" if WINE else
                                   "%d keys typed, %d endings, 1 listing: all as expected"
                                   % (len(CASES), len(ENDINGS))))
    return 1 if failures else 0


if __name__ == "__main__":
    WINE = sys.argv[1] == "--wine"
    BINARY = os.path.abspath(sys.argv[-1])
    sys.exit(main())
