# roster --convert IN OUT is silent when it succeeds. A CSV OUT keeps the
# dialect it has; a new one takes that of a CSV IN, or else the one
# spreadsheets expect. What it refuses, it names, and writes nothing.
try() {
    echo "== roster $*"
    roster "$@" < /dev/null 2>&1
    echo "status $?"
}
try --convert c_two.txt two.csv
cat -A two.csv
printf 'sep=;\r\nNAME;major;Age;Height;Weight;GPA;Net worth\r\n' > semi.csv
try --convert two.csv semi.csv
try --convert semi.csv semi2.CSV
cat -A semi2.CSV
try --convert semi2.CSV two.txt
cat two.txt
printf 'Name,Major,Age,Height,Weight,GPA,Net worth\r\nLee,M,19,70,180,3,1\r\n' > young.csv
mkdir folder.csv
try --convert young.csv out.txt
try young.csv
try --convert missing.csv out.txt
try --convert c_two.txt folder.csv
try --convert c_two.txt
try --convert c_two.txt out.txt more.txt
ls -A | grep -E '^(out|more)' || echo "no out.txt, no more.txt"
