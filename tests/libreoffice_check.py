#!/usr/bin/python3
"""roster beside a real, headless LibreOffice, driven through its Python bridge
(see README.md). Run by hand, not by `make test`:
  tests/libreoffice_check.py build/release/roster
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
    sys.exit("no LibreOffice bridge (Debian: python3-uno; run with /usr/bin/python3)")


def props(**values):
    return tuple(PropertyValue(Name=name, Value=value) for name, value in values.items())


CSV = props(FilterName="Text - txt - csv (StarCalc)", FilterOptions="44,34,76,1")


class ReadOnly(unohelper.Base, XInteractionHandler):
    """Answers as a user who opens a locked document read-only."""

    def handle(self, request):
        approve = uno.getTypeByName("com.sun.star.task.XInteractionApprove")
        next(c for c in request.getContinuations() if c.queryInterface(approve)).select()


def desktop(folder):
    accept = "socket,host=127.0.0.1,port=%d;urp;" % (2002 + os.getpid() % 1000)
    office = subprocess.Popen(["soffice", "--headless", "--norestore", "--accept=" + accept,
                               "-env:UserInstallation=file://%s/profile" % folder])
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext(
        "com.sun.star.bridge.UnoUrlResolver", local)
    for _ in range(200):
        try:
            context = resolver.resolve("uno:%sStarOffice.ComponentContext" % accept)
            return office, context.ServiceManager.createInstanceWithContext(
                "com.sun.star.frame.Desktop", context)
        except Exception:
            time.sleep(0.3)
    office.kill()
    sys.exit("LibreOffice did not start")


def session(folder):
    """A session on class.csv, and its second line."""
    process = subprocess.Popen([os.path.abspath(sys.argv[1]), "class.csv"], cwd=folder,
                               stdin=subprocess.PIPE, stdout=subprocess.PIPE)
    return process, [process.stdout.readline().decode() for _ in range(2)][1].rstrip()


def main():
    folder = tempfile.mkdtemp(prefix="roster-lo-")
    path, lock = folder + "/class.csv", folder + "/.~lock.class.csv#"
    office, top = desktop(folder)
    failures = []
    try:
        with open(path, "w") as out:
            out.write('Name,Major,Age,Height,Weight,GPA,Net worth\n"Smith, J",M,25,70,150,3,100\n')
        roster, _ = session(folder)
        ours = open(lock).read()
        document = top.loadComponentFromURL("file://" + path, "_blank", 0,
                                            props(Hidden=True, InteractionHandler=ReadOnly()) + CSV)
        opened = "read-only" if document and document.isReadonly() else "for editing"
        print("1. with the lock %r LibreOffice opens the file %s" % (ours, opened))
        if opened != "read-only" or open(lock).read() != ours:
            failures.append("LibreOffice did not open a kept file read-only, or took its lock")
        document and document.close(True)
        roster.communicate(b"X\n", timeout=20)

        document = top.loadComponentFromURL("file://" + path, "_blank", 0, props(Hidden=True) + CSV)
        theirs = open(lock).read().split(",")
        roster, said = session(folder)
        print("2. with LibreOffice's lock %r the session says %r" % (",".join(theirs), said))
        if not said.startswith("class.csv is also open by %s since %s;"
                               % (theirs[0] or theirs[1], theirs[3])):
            failures.append("the session did not name LibreOffice's user")

        roster.stdin.write(b"A\nLee, Bo\n25\n70\n3.5\nMath\n1\n")
        roster.stdin.flush()
        document.getSheets().getByIndex(0).getCellRangeByName("G2").setValue(250)
        document.storeToURL("file://" + path, CSV)
        document.close(True)
        said = roster.communicate(b"X\n", timeout=20)[0].decode().splitlines()[-1]
        held = open(path, "rb").read()
        print("3. LibreOffice saved a cell; the session says %r; the file: %r" % (said, held))
        if "merged" not in said or b",250\n" not in held or b"Lee, Bo" not in held:
            failures.append("a cell LibreOffice saved was not merged")
    finally:
        office.terminate()
        office.wait(timeout=30)
        shutil.rmtree(folder, ignore_errors=True)
    print("\n".join(failures) or "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
