# POSIX only: signals
# A session that keeps a file is sent SIGHUP or SIGTERM while it waits for
# input: a changed roster is saved as leaving would save it, an unchanged
# one is not, nothing is printed after the signal, no report is written,
# and the program ends by that signal. The program is started without the
# roster wrapper, so that the signal reaches it and not a shell.
polls=2000  # up to 100 s: the program may be slow to start on a busy machine
# SIGNAL FILE PROMPT COUNT: starts a session on FILE, types what comes on
# standard input, and sends SIGNAL once PROMPT has been shown COUNT times.
session() {
    rm -f typed out && mkfifo typed
    "$BIN" "$2" < typed > out & pid=$!
    exec 3> typed
    cat >&3
    for i in $(seq 1 $polls); do
        [ "$(grep -o "$3" out | wc -l)" -ge "$4" ] && break
        sleep 0.05
    done
    [ -n "$CHANGE" ] && echo "$CHANGE" >> "$2"
    cp out before
    kill -s "$1" $pid
    wait $pid 2>/dev/null
    echo "status $?"
    exec 3>&-
    cmp -s before out || echo "printed after the signal"
    rm typed out before
}
add() { printf 'A\n%s\n25\n70\n3.5\nMath\n%s\n' "$1" "$2"; }
echo "== SIGHUP after one add and in the middle of another"
{ add "Smith, John" 1; printf 'A\nLee, Bo\n25\n'; } | session HUP team.txt 'Enter height' 2
cat team.txt
echo "== SIGTERM after an edit"
printf 'E\nSmith\n6\n-0\n' | session TERM team.txt 'Selection: ' 3
cat team.txt
echo "== SIGTERM with the roster unchanged"
before=$(stat -c %i.%Y team.txt)
session TERM team.txt 'Selection: ' 1 < /dev/null
[ "$(stat -c %i.%Y team.txt)" = "$before" ] && echo "not written"
echo "== SIGHUP after the file was changed on disk"
add "Kim, Al" 2 | CHANGE="changed on disk" session HUP team.txt 'Selection: ' 2
cat team.txt team.txt.1
ls -A | grep -v '^[co]_'
