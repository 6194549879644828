# Windows only: a file that another program holds open
# Excel holds an open workbook so that others may read it but not replace
# it: the roster goes beside the file as in use, and the file is left as it
# was. hold_file.exe ($HOLD) holds it so until its input ends.
cp o_one.txt team.txt
mkfifo held
wine "$HOLD" team.txt < held > holding & holder=$!
exec 3> held
for i in $(seq 1 600); do
    grep -q holding holding && break
    sleep 0.1
done
printf 'A\nLee, Bo\n25\n70\n3.5\nMath\n1\n' | roster team.txt | tail -n 1
exec 3>&-
wait $holder
cmp o_one.txt team.txt && echo "team.txt is as it was"
tail -n 3 team.txt.1
