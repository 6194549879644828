# Poll for up to 100 s: the program may be slow to start on a busy machine.
polls=2000
mkdir outputdata.txt
{
    head -n 3 "$IN"
    for i in $(seq 1 $polls); do
        grep -q 'could not be saved' console.log 2>/dev/null && break
        sleep 0.05
    done
    rmdir outputdata.txt
    tail -n +4 "$IN"
} | roster > console.log
status=$?
cat console.log
exit $status
