# Files that cannot be kept are refused before the first menu: nothing is
# shown, made or changed, and the status says why.
try() {
    echo "== roster $*"
    roster "$@" < /dev/null 2>&1
    echo "status $?"
}
mkdir folder
printf 'A\nM\n25 70 180 3 0\nB\nM\n19 70 180 3 0\n' > rule.txt
printf 'A\nM\n25 70 0 3 0\nB\nM\n25 70 99 3 0\n' > weight.txt
printf 'A\nM\n25 70 180 3 0\nB\nM\n25 70 180 3 0\nC\nM\n2x 70 180 3 0\n' > letters.txt
printf 'A\nM\n25 70 180 3 0 \t\r\nB\nM\n25 70 180 3 0 # note\n' > note.txt
printf 'A\nM\n25 70 180 3\n' > cut.txt
printf 'A\n' > short.txt
# Numbers one per line: the line named is the value's own, and a rule
# broken comes before the text after the net worth.
printf 'A\nM\n25\n70\n180\n3\n0\nB\nM\n25\n\n70\n180\n9\n0 # note\n' > apart.txt
printf 'A\nM\n25\n70\n\n\n' > ends.txt
printf 'A\nM\n25 70\n180 3' > ends_at_value.txt
before=$(ls -l --time-style=+%s)
try a.txt b.txt
try missing/team.txt
try folder
try rule.txt
try weight.txt
try letters.txt
try note.txt
try cut.txt
try short.txt
try apart.txt
try ends.txt
try ends_at_value.txt
try o_21.txt
[ "$(ls -l --time-style=+%s)" = "$before" ] || { echo "the folder now holds:"; ls -l; }
