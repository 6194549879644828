# O with a spreadsheet file, each run shown without its menus: one is read
# whole and replaces the roster; one that is refused leaves the roster as
# it was and says why; a German one reads its decimal commas; a weight of
# 0 passes only where the roster is kept in a file, which is then saved.
quiet() { grep -vE $'^(MENU:|SUBMENU: |[A-Z1-6] - .*)\r?$'; }
run() {
    echo "== roster $*"
    roster "$@" | quiet
    echo "status ${PIPESTATUS[0]}"
}
printf '\xef\xbb\xbfName,Major,Age,Height,Weight,GPA,Net worth\r\n"Doe, Jane",Biology,22,65,130,2.8,2500.5\r\n' > class.csv
cp class.csv UPPER.CSV
printf 'Name,Major,Age,Height,Weight,GPA,Net worth\nA,M,25,70,180,3,1\nB,M,19,70,180,3,1\n' > young.csv
printf 'Name;Major;Age;Height;Weight;GPA;Net worth\nM\xc3\xbcller, J\xc3\xbcrgen;Physik;25;70;180;3,5;1500,75\n' > de.csv
printf 'Name,Major,Age,Height,Weight,GPA,Net worth\n"Kim, Al",Art,30,60,0,2,-1\n' > blank.csv
printf 'O\nclass.csv\nO\nyoung.csv\nO\nUPPER.CSV\nO\nde.csv\nP\nL\nO\nblank.csv\nP\nL\n' | run
printf 'Smith, John\nMath\n25 70 180 3.5 15000\n' > team.txt
printf 'O\nyoung.csv\nP\nL\nO\nblank.csv\nX\n' | run team.txt
cat team.txt
