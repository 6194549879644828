#!/usr/bin/python3
"""Checks roster against a real LibreOffice, through its Python bridge.

Not part of `make test`: it needs LibreOffice Calc and its bridge (Debian:
libreoffice-calc-nogui python3-uno) and the system's own python3. Run
  tests/libreoffice_check.py build/release/roster
It starts a headless LibreOffice with a profile of its own in a scratch
folder, and checks that LibreOffice opens a file that a session keeps
read-only and leaves the session's lock alone; that a session started
while LibreOffice has the file open names LibreOffice's user; and that a
cell LibreOffice saves meanwhile is merged with the session's addition.
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
    print("skipped: no LibreOffice bridge (Debian: python3-uno; run with /usr/bin/python3)")
    sys.exit(77)


def props(**values):
    return tuple(PropertyValue(Name=name, Value=value) for name, value in values.items())


CSV = dict(FilterName="Text - txt - csv (StarCalc)", FilterOptions="44,34,76,1")


class ReadOnly(unohelper.Base, XInteractionHandler):
    """Answers as a user who opens a locked document read-only."""

    def handle(self, request):
        approve = uno.getTypeByName("com.sun.star.task.XInteractionApprove")
        next(c for c in request.getContinuations() if c.queryInterface(approve)).select()


def office(folder):
    port = 2002 + os.getpid() % 1000
    process = subprocess.Popen(
        ["soffice", "--headless", "--norestore", "--accept=socket,host=127.0.0.1,port=%d;urp;"
         % port, "-env:UserInstallation=" + uno.systemPathToFileUrl(folder + "/profile")],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(200):
        try:
            context = resolver.resolve(
                "uno:socket,host=127.0.0.1,port=%d;urp;StarOffice.ComponentContext" % port)
            return process, context.ServiceManager.createInstanceWithContext(
                "com.sun.star.frame.Desktop", context)
        except Exception:
            time.sleep(0.3)
    process.kill()
    sys.exit("LibreOffice did not start")


def session(binary, folder):
    """A session on class.csv, and the lines it says before its first menu."""
    process = subprocess.Popen([binary, "class.csv"], cwd=folder, stdin=subprocess.PIPE,
                               stdout=subprocess.PIPE)
    lines = [process.stdout.readline().decode().rstrip("\n") for _ in range(2)]
    return process, lines


def main():
    binary, folder = os.path.abspath(sys.argv[1]), tempfile.mkdtemp(prefix="roster-lo-")
    path, lock = folder + "/class.csv", folder + "/.~lock.class.csv#"
    url = uno.systemPathToFileUrl(path)
    process, desktop = office(folder)
    failures = []
    try:
        with open(path, "w") as out:
            out.write('Name,Major,Age,Height,Weight,GPA,Net worth\n"Smith, John",Math,25,70,150,3,100\n')
        roster, _ = session(binary, folder)
        ours = open(lock).read()
        document = desktop.loadComponentFromURL(
            url, "_blank", 0, props(Hidden=True, InteractionHandler=ReadOnly(), **CSV))
        print("1. with the lock %r LibreOffice opens the file %s" % (
            ours, "read-only" if document and document.isReadonly() else "for editing"))
        if not (document and document.isReadonly()) or open(lock).read() != ours:
            failures.append("LibreOffice did not open a kept file read-only, or took its lock")
        document and document.close(True)
        roster.communicate(b"X\n", timeout=20)

        document = desktop.loadComponentFromURL(url, "_blank", 0, props(Hidden=True, **CSV))
        theirs = open(lock).read().split(",")
        roster, said = session(binary, folder)
        print("2. with LibreOffice's lock %r the session says %r" % (",".join(theirs), said[1]))
        if not said[1].startswith("class.csv is also open by %s since %s;"
                                  % (theirs[0] or theirs[1], theirs[3])):
            failures.append("the session did not name LibreOffice's user")

        roster.stdin.write(b"A\nLee, Bo\n25\n70\n3.5\nMath\n1\n")
        roster.stdin.flush()
        document.getSheets().getByIndex(0).getCellRangeByName("G2").setValue(250)
        document.storeToURL(url, props(**CSV))
        document.close(True)
        said = roster.communicate(b"X\n", timeout=20)[0].decode().splitlines()[-1]
        held = open(path, "rb").read()
        print("3. LibreOffice saved a cell; the session says %r, and the file holds %r"
              % (said, held))
        if "merged" not in said or b",250\n" not in held or b"Lee, Bo" not in held:
            failures.append("a cell LibreOffice saved was not merged")
    finally:
        process.terminate()
        process.wait(timeout=30)
        shutil.rmtree(folder, ignore_errors=True)
    print("\n".join(failures) or "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
