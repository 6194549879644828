# The report file is never where the roster is kept, since leaving writes
# the report over it: every name that leads to it, before it exists and
# after, is refused at the start, and nothing is written.
mkdir sub
try() {
    roster "$1" < "$IN" 2>&1
    echo "status $?"
}
try outputdata.txt
try ./outputdata.txt
try sub/../outputdata.txt
echo "an older report" > outputdata.txt
ln -s outputdata.txt link
ln outputdata.txt second
try link
try second
ls -A | grep -vE '^[co]_'
cat outputdata.txt
