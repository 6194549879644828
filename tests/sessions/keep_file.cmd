# A roster kept in a file between runs, each run shown without its menus:
# the first makes the file, the next loads it and leaves it untouched, the
# next opens it with O (its weight 0 is kept) and changes it.
quiet() { grep -vE $'^(MENU:|SUBMENU: |[A-Z1-6] - .*)\r?$'; }
run() {
    echo "== roster $*"
    roster "$@" | quiet
    echo "status ${PIPESTATUS[0]}"
}
printf 'A\nSmith, John\n25\n70\n3.5\nComputer Science\n15000\nX\n' | run team.txt
cat team.txt
printf 'P\nL\nX\n' | run team.txt
printf 'O\nteam.txt\nE\nSmith\n6\n-0\nS\nSmith\n' | run team.txt
cat team.txt
# A change that leaves every length as it was is a change all the same.
printf 'E\nSmith\n5\nComputer Studies\n' | run team.txt | tail -n 2
sed -n 2p team.txt
# Without a file the old rule holds: a weight of 0 is left out.
printf 'O\nteam.txt\nP\nL\n' | run
# A name that begins with '-'. The file is made as promised, though the
# roster is still empty: an empty roster file, or for a CSV file its header
# line as spreadsheets expect it.
printf 'X\n' | run -- -team.txt
wc -c < ./-team.txt
run new.csv < /dev/null | tail -n 2
cat -A new.csv
# A byte-order mark and CR LF line ends load as O loads them, and leaving
# an unchanged roster never rewrites the file.
printf 'P\nL\n' | run o_bom_crlf.txt
cmp o_bom_crlf.txt "$(dirname "$IN")/data/o_bom_crlf.txt" && ls -A | grep -v '^[co]_'
# A file one byte longer than a read of 4 KiB: its last byte is read and
# counted, so saving finds the file as it was loaded.
printf '%s\nM\n25 70 180 3 0\n' "$(printf '%4080s' | tr ' ' x)" > long.txt
wc -c < long.txt
printf 'A\nLee, Bo\n25\n70\n3.5\nMath\n0\n' | run long.txt | tail -n 2
