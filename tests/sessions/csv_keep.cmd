# A roster kept in a CSV file across runs, each run shown without its menus
# and the file after it (cat -A: ^M is a CR, $ the end of a line, M-oM-;M-?
# the byte-order mark).
quiet() { grep -vE $'^(MENU:|SUBMENU: |[A-Z1-6] - .*)\r?$'; }
run() {
    echo "== roster $*"
    roster "$@" | quiet
    echo "status ${PIPESTATUS[0]}"
}
add() { printf 'A\n%s\n25\n70\n3.5\n%s\n%s\n' "$1" "$2" "$3"; }
# A new file is written as spreadsheets expect it. A name that a
# spreadsheet would run as a formula gets a quote in front, which loading
# takes off again.
{ add "Smith, John" "Computer Science" 15000; add '=HYPERLINK("x")' " Art" -2500.5; } |
    run class.csv
cat -A class.csv
# Loaded as written, and left as it is.
printf 'P\nL\n' | run class.csv
ls -A | grep '^class'
# A file saved by a German spreadsheet: semicolons, decimal commas, no
# byte-order mark, LF; edited and saved in its own dialect.
printf 'Name;Major;Age;Height;Weight;GPA;Net worth\nM\xc3\xbcller, J\xc3\xbcrgen;Physik;25;70;180;3,5;1500,75\n' > de.csv
printf 'E\nM\n6\n99.25\nE\nM\n4\n2\n' | run de.csv
cat -A de.csv
# Saved by a spreadsheet meanwhile, with a person more, LF line ends and
# no byte-order mark: the changes are merged, and the file keeps the
# dialect it has now.
started() {
    for i in $(seq 1 2000); do
        grep -q 'Selection: ' "$1" 2>/dev/null && return
        sleep 0.05
    done
}
resave() {
    sed -e '1s/^\xEF\xBB\xBF//' -e 's/\r$//' class.csv > resaved.csv
    echo '"Doe, Jane",Biology,22,65,130,2.8,2500.5' >> resaved.csv
    mv resaved.csv class.csv
}
{ started 1.out; resave; add "Lee, Bo" Math 1; } | roster class.csv > 1.out
quiet < 1.out | tail -n 1
cat -A class.csv
# Both changed one person: the roster goes beside the file, where a
# spreadsheet still opens it.
{ started 2.out; sed -i 's/Physik/Chemie/' de.csv; printf 'E\nM\n6\n1\n'; } | roster de.csv > 2.out
quiet < 2.out | tail -n 1
cat -A de.1.csv
