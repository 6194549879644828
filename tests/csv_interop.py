#!/usr/bin/env python3
"""Spreadsheet files written and read by Python's csv module, a reader and
writer independent of the program's, in four dialects (see README.md).

usage: csv_interop.py ROSTER
"""

import csv
import io
import os
import random
import re
import struct
import subprocess
import sys
import tempfile

HEADER = ["Name", "Major", "Age", "Height", "Weight", "GPA", "Net worth"]
BOM = "\xef\xbb\xbf"  # as bytes read as Latin-1, one character each
SPECIAL = [",", ";", "\t", '"', "\r", " ", "'", "=", "+", "-", "@", "\0"]
REALS = [-0.0, 5e-324, 1e-320, sys.float_info.max, 0.1, 2500.5, 4.0]


def guarded(text):
    """The text as a careful writer puts it: with a quote in front where a
    spreadsheet would run it as a formula."""
    return "'" + text if re.match(r"'*[=+\-@\t\r]", text) else text


def any_text(rng, line_safe):
    text = "".join(rng.choice(SPECIAL) if rng.random() < 0.5 else chr(rng.randrange(256))
                   for _ in range(rng.randrange(10)))
    text = text.replace("\n", " ")
    return text.replace("\r", " ") if line_safe else text


def any_real(rng, low, high):
    while True:
        value = rng.choice(REALS)
        if rng.random() < 0.5:
            value = struct.unpack("<d", struct.pack("<Q", rng.getrandbits(64)))[0]
        if value == value and low <= value <= high:
            return value


def bits(value):
    return struct.pack("<d", value)


def same(persons, rows, decimal):
    """Whether the rows Python read are the persons it wrote."""
    if len(rows) != len(persons):
        return False
    for person, row in zip(persons, rows):
        reals = [float(cell.replace(decimal, ".")) for cell in row[5:7]]
        if (row[:2] != [guarded(text) for text in person[:2]] or
                [int(cell) for cell in row[2:5]] != person[2:5] or
                [bits(real) for real in reals] != [bits(real) for real in person[5:7]]):
            return False
    return True


def main():
    roster = os.path.abspath(sys.argv[1])
    rng = random.Random(21)
    # (name, csv dialect, delimiter, line end, decimal separator, BOM, through a roster file)
    dialects = [("excel", "excel", ",", "\r\n", ".", False, False),
                ("CSV UTF-8", "excel", ",", "\r\n", ".", True, False),
                ("excel LF", "excel", ",", "\n", ".", False, False),
                ("excel-tab", "excel-tab", "\t", "\r\n", ".", False, False),
                ("semicolons", "excel", ";", "\r\n", ",", False, False),
                ("semicolons LF", "excel", ";", "\n", ",", True, False),
                ("spreadsheets' own", "excel", ",", "\r\n", ".", True, True)]
    failures = 0
    with tempfile.TemporaryDirectory(prefix="roster-csv-") as folder:
        for name, base, delimiter, line_end, decimal, bom, via_roster in dialects:
            for round_ in range(8):
                persons = [[any_text(rng, via_roster), any_text(rng, via_roster),
                            rng.randrange(21, 121), rng.randrange(50, 86),
                            rng.choice([0, rng.randrange(100, 501)]),
                            any_real(rng, 0.0, 4.0),
                            any_real(rng, -sys.float_info.max, sys.float_info.max)]
                           for _ in range(rng.randrange(21))]
                # A lone CR is a line end in a file of LF line ends, unless
                # it stands in quotes.
                quoting = csv.QUOTE_ALL if line_end == "\n" else csv.QUOTE_MINIMAL
                text = io.StringIO(newline="")
                writer = csv.writer(text, base, delimiter=delimiter, lineterminator=line_end,
                                    quoting=quoting)
                writer.writerow(HEADER)
                for person in persons:
                    writer.writerow([guarded(t) for t in person[:2]] + person[2:5] +
                                    [repr(real).replace(".", decimal) for real in person[5:7]])
                written = os.path.join(folder, "python.csv")
                with open(written, "wb") as file:
                    file.write(((BOM if bom else "") + text.getvalue()).encode("latin-1"))
                read = os.path.join(folder, "roster.csv")
                if os.path.exists(read):
                    os.remove(read)
                steps = [[written, read]]
                if via_roster:
                    steps = [[written, os.path.join(folder, "roster.txt")],
                             [os.path.join(folder, "roster.txt"), read]]
                runs = [subprocess.run([roster, "--convert"] + step, capture_output=True)
                        for step in steps]
                if any(run.returncode or run.stderr for run in runs):
                    print("%s, round %d: %r" % (name, round_, [run.stderr for run in runs]))
                    failures += 1
                    continue
                with open(read, "rb") as file:
                    back = file.read().decode("latin-1")
                if (back.startswith(BOM) != bom or not back.endswith(line_end) or
                        (line_end == "\n" and "\r\n" in back)):
                    print("%s, round %d: not in the dialect it was read in:\n%r"
                          % (name, round_, back[:200]))
                    failures += 1
                    continue
                rows = list(csv.reader(io.StringIO(back[len(BOM) if bom else 0:], newline=""),
                                       base, delimiter=delimiter))
                if rows[0] != HEADER or not same(persons, rows[1:], decimal):
                    print("%s, round %d: Python read back something else:\n%r\nfrom\n%r"
                          % (name, round_, rows, back))
                    failures += 1
    print("%d of %d rounds failed" % (failures, 8 * len(dialects)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
