#!/usr/bin/python3
"""Checks roster against a real LibreOffice, through its Python bridge.

Not part of `make test`: it needs LibreOffice Calc and its bridge (Debian:
libreoffice-calc-nogui python3-uno) and the system's own python3. Run it as
  tests/libreoffice_check.py build/release/roster
It starts a headless LibreOffice with a profile of its own, in a scratch
folder, and checks that
  1. LibreOffice opens a file that a roster session keeps read-only, and
     leaves the session's lock file alone;
  2. a session started while LibreOffice has the file open names
     LibreOffice's user and time;
  3. a cell that LibreOffice saved meanwhile is merged with the session's
     addition, and the file keeps the dialect LibreOffice gave it.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

try:
    import uno
    import unohelper
    from com.sun.star.beans import PropertyValue
    from com.sun.star.task import XInteractionHandler
except ImportError:
    print("skipped: the LibreOffice bridge is missing (Debian: python3-uno; run with /usr/bin/python3)")
    sys.exit(77)

CSV_FILTER = "Text - txt - csv (StarCalc)"
CSV_OPTIONS = "44,34,76,1"  # comma, double quote, UTF-8, from line 1
ADDED = b"A\nLee, Bo\n25\n70\n3.5\nMath\n1\n"


def prop(name, value):
    result = PropertyValue()
    result.Name, result.Value = name, value
    return result


class ReadOnly(unohelper.Base, XInteractionHandler):
    """Answers LibreOffice's questions as a user who opens read-only."""

    def handle(self, request):
        for continuation in request.getContinuations():
            if continuation.queryInterface(
                    uno.getTypeByName("com.sun.star.task.XInteractionApprove")):
                continuation.select()
                return


def connect(folder):
    port = 2002 + os.getpid() % 1000
    office = subprocess.Popen(
        ["soffice", "--headless", "--invisible", "--norestore", "--nologo",
         "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.join(folder, "profile")),
         "--accept=socket,host=127.0.0.1,port=%d;urp;" % port],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(200):
        try:
            context = resolver.resolve(
                "uno:socket,host=127.0.0.1,port=%d;urp;StarOffice.ComponentContext" % port)
            return office, context.ServiceManager.createInstanceWithContext(
                "com.sun.star.frame.Desktop", context)
        except Exception:
            time.sleep(0.3)
    office.kill()
    raise RuntimeError("LibreOffice did not start")


def load(desktop, path):
    return desktop.loadComponentFromURL(
        uno.systemPathToFileUrl(path), "_blank", 0,
        (prop("Hidden", True), prop("InteractionHandler", ReadOnly()),
         prop("FilterName", CSV_FILTER), prop("FilterOptions", CSV_OPTIONS)))


def session(binary, folder):
    """A roster session on class.csv, with its output once it waits at the menu."""
    process = subprocess.Popen([binary, "class.csv"], cwd=folder, stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE)
    os.set_blocking(process.stdout.fileno(), False)
    return process


def output_until(process, text, patience=20):
    output, deadline = b"", time.monotonic() + patience
    while text not in output and time.monotonic() < deadline:
        output += process.stdout.read() or b""
        time.sleep(0.05)
    return output


def main():
    binary = os.path.abspath(sys.argv[1])
    folder = tempfile.mkdtemp(prefix="roster-libreoffice-")
    path, lock = os.path.join(folder, "class.csv"), os.path.join(folder, ".~lock.class.csv#")
    failures = []
    office, desktop = connect(folder)
    try:
        with open(path, "w", newline="") as out:
            out.write("Name,Major,Age,Height,Weight,GPA,Net worth\r\n"
                      '"Smith, John",Math,25,70,150,3.5,100\r\n')

        # 1. LibreOffice finds the session's lock.
        roster = session(binary, folder)
        output_until(roster, b"Selection: ")
        ours = open(lock).read()
        document = load(desktop, path)
        if document is None or not document.isReadonly():
            failures.append("LibreOffice did not open a kept file read-only")
        if document is not None:
            document.close(True)
        if open(lock).read() != ours:
            failures.append("LibreOffice changed the session's lock: %r" % open(lock).read())
        roster.communicate(b"X\n", timeout=20)
        print("1. LibreOffice opens a kept file read-only; the lock %r stays" % ours)

        # 2. A session finds LibreOffice's lock.
        document = load(desktop, path)
        theirs = open(lock).read()
        roster = session(binary, folder)
        said = output_until(roster, b"Selection: ").decode().splitlines()[1]
        fields = theirs.split(",")
        expected = "class.csv is also open by %s since %s;" % (fields[0] or fields[1], fields[3])
        if not said.startswith(expected):
            failures.append("with LibreOffice's lock %r the session said %r" % (theirs, said))
        print("2. with LibreOffice's lock %r a session says %r" % (theirs, said))

        # 3. LibreOffice saves a cell while the session adds a person.
        roster.stdin.write(ADDED)
        roster.stdin.flush()
        output_until(roster, b"successfully added")
        document.getSheets().getByIndex(0).getCellRangeByName("G2").setValue(250)
        document.storeToURL(uno.systemPathToFileUrl(path),
                            (prop("FilterName", CSV_FILTER), prop("FilterOptions", CSV_OPTIONS)))
        document.close(True)
        said = roster.communicate(b"X\n", timeout=20)[0].decode().splitlines()[-1]
        held = open(path, "rb").read()
        if "have been merged and saved to class.csv" not in said or \
                b"250" not in held or b"Lee, Bo" not in held:
            failures.append("after LibreOffice saved a cell: %r, and the file holds %r"
                            % (said, held))
        print("3. after LibreOffice saved a cell the session says %r; the file holds %r"
              % (said, held))
    finally:
        office.terminate()
        office.wait(timeout=30)
        shutil.rmtree(folder, ignore_errors=True)
    print("\n".join(failures) or "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
