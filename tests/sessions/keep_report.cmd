# POSIX only: symbolic and hard links
# The report file is never where the roster is kept, since leaving writes
# the report over it: every name that leads to it is refused at the start,
# and nothing is written.
mkdir sub
ln -s outputdata.txt link
try() {
    roster "$1" < "$IN" 2>&1
    echo "status $?"
}
try outputdata.txt
try ./outputdata.txt
try sub/../outputdata.txt
try link
echo "an older report" > outputdata.txt
ln outputdata.txt second
try second
ls -A | grep -vE '^[co]_'
cat outputdata.txt
