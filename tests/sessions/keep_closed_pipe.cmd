# POSIX only: named pipes
# The program's output goes to a reader that takes the first bytes and
# goes, as `head` does. Every write after that fails as on a full disk: the
# session still carries out what is typed, saves it when input ends,
# removes its lock, says so on standard error and ends with status 1, with
# FILE and without.
mkfifo typed said
for file in q.txt ''; do
    echo "== roster $file"
    roster $file < typed > said 2> err & pid=$!
    exec 3> typed
    head -c 20 said > /dev/null
    printf 'A\nZed, Z\n30\n60\n3\nArt\n100\n' >&3
    exec 3>&-
    wait $pid
    echo "status $?"
    cat err
done
tail -n 3 q.txt
ls -A | grep -E '^(\.|q|outputdata)'
