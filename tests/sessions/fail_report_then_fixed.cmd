# Poll for up to 5 s, or 100 s when the program runs under valgrind.
polls=100
declare -f roster | grep -q valgrind && polls=2000
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
