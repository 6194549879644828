mkdir outputdata.txt
{
    head -n 3 "$IN"
    for i in $(seq 1 100); do
        grep -q 'could not be saved' console.log 2>/dev/null && break
        sleep 0.05
    done
    rmdir outputdata.txt
    tail -n +4 "$IN"
} | roster > console.log
status=$?
cat console.log
exit $status
