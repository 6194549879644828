# Poll for up to 100 s: the program may be slow to start on a busy machine.
polls=2000
for i in $(seq 1 40); do echo "an older report line $i that is longer than any row"; done > outputdata.txt
{
    head -n 4 "$IN"
    for i in $(seq 1 $polls); do
        if [ "$(head -c 4 outputdata.txt)" = Name ] && [ "$(wc -l < outputdata.txt)" -eq 4 ]; then
            break
        fi
        sleep 0.05
    done
    cp outputdata.txt snapshot.txt
    tail -n +5 "$IN"
} | roster
status=$?
mv snapshot.txt outputdata.txt
exit $status
