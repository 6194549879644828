# POSIX only: signals and a named pipe
# A long session keeps a file, and its standard output is a pipe that
# nobody reads, so the program waits in a write. SIGTERM ends it at once
# all the same: the roster is saved, the lock file removed, and what
# reached the pipe is the start of what the session says when it is read,
# no byte twice. SIGINT ends it at once as well, and saves nothing.
{ printf 'A\nLee, Bo\n25\n70\n3.5\nMath\n1\n'; for i in $(seq 3000); do printf 'P\nL\n'; done; } > typed
cp o_three.txt whole.txt
"$BIN" whole.txt < typed > whole
# SIGNAL FILE: the session on FILE, stopped by SIGNAL while it waits.
stop() {
    cp o_three.txt "$2"
    rm -f out && mkfifo out
    # A shell starts a command in the background with SIGINT ignored.
    env --default-signal=INT "$BIN" "$2" < typed > out & pid=$!
    exec 3< out
    for i in $(seq 1 2000); do  # up to 100 s, on a busy machine
        [ -e ".~lock.$2#" ] && break
        sleep 0.05
    done
    sleep 0.5
    start=$(date +%s%N)
    kill -s "$1" $pid
    for i in $(seq 1 40); do
        kill -0 $pid 2>/dev/null || break
        sleep 0.05
    done
    kill -0 $pid 2>/dev/null && { echo "still running 2 seconds later"; kill -KILL $pid; }
    wait $pid
    echo "status $? $(( ($(date +%s%N) - start) < 2000000000 )) $2"
    cat <&3 > got
    exec 3<&-
    head -c "$(stat -c %s got)" whole | cmp -s - got && echo "what reached the pipe begins the session"
    tail -n 3 "$2"
    ls -A | grep -F "$2"
}
stop TERM saved.txt
stop INT unsaved.txt
# A stop while leaving waits for another session's save of the file: the
# wait gives up at once, the roster goes beside the file, and what was said
# up to that save is shown, nothing after it.
cp o_three.txt waits.txt
sleep 30 & holder=$!
printf 'roster %s %s' $holder "$(uname -n)" > .waits.txt.saving
printf 'A\nLee, Bo\n25\n70\n3.5\nMath\n1\nX\n' > leave
rm -f outputdata.txt
"$BIN" waits.txt < leave > said & pid=$!
# The report is saved first, then the file.
for i in $(seq 1 2000); do
    [ -e outputdata.txt ] && break
    sleep 0.05
done
sleep 0.2
start=$(date +%s%N)
kill -TERM $pid
wait $pid
echo "status $? $(( ($(date +%s%N) - start) < 2000000000 )) waits.txt"
kill $holder
tail -n 2 said
cmp -s o_three.txt waits.txt && tail -n 3 waits.txt.1
ls -A | grep -F waits.txt
