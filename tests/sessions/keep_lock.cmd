# POSIX only: signals, and the user's and host's names
# While a session keeps FILE, a lock file beside it says who has it open,
# in the form LibreOffice writes and reads; a session that starts names
# another holder's lock, replaces a left-over one without a word, and
# removes its own when it ends, also after a hang-up or Ctrl-C. Sessions
# that stay open are started without the roster wrapper, so that signals
# reach them.
lock='.~lock.team.txt#'
polls=2000  # up to 100 s: the program may be slow to start on a busy machine
# Starts a session on team.txt whose input stays open, and waits for its
# menu. A job in the background ignores Ctrl-C unless told otherwise.
start() {
    rm -f typed typed.2 && mkfifo typed typed.2
    env --default-signal=INT "$BIN" team.txt < typed > out & pid=$!
    exec 3> typed
    for i in $(seq 1 $polls); do
        grep -q 'Selection: ' out && return
        sleep 0.05
    done
}
second() { printf 'X\n' | roster team.txt | sed -n 2p; }
echo "== a session's lock: user, login, host, date and time, program and process"
start
grep -qE "^[^,]*,$(id -un),$(hostname),[0-3][0-9]\.[01][0-9]\.20[0-9]{2} [0-2][0-9]:[0-5][0-9],roster $pid;\$" "$lock" &&
    echo "as LibreOffice writes it, without a line end: $(tail -c 1 "$lock")"
echo "== another session names it"
second | sed -E 's/open by .* since [0-9.]+ [0-9:]+;/open by USER since DATE;/'
echo X >&3
exec 3>&-
wait $pid
ls -A | grep -F "$lock" || echo "gone when the session ends"
echo "== LibreOffice's lock is named, and left as it is"
printf ',ann,laptop,07.12.2026 09:15,file:///home/ann/.config/libreoffice/4;' > "$lock"
second
printf 'Ann Lee\\, Ph.D.,ann,laptop,07.12.2026 09:15,file:///home/ann/;' > "$lock"
second
cat "$lock"
echo
printf 'Pat,pat,%s,01.01.2099 10:00,roster 1x;' "$(hostname)" > "$lock"
second
echo "== a lock that does not read"
: > "$lock"
second
head -c 100000 /dev/zero > "$lock"
second
rm "$lock" && mkdir "$lock"
second
rmdir "$lock" && echo "a file of mine" > mine.txt && ln -s mine.txt "$lock"
second
cat mine.txt
rm "$lock"
echo "== a lock left by a session that has ended is replaced without a word"
sleep 0 & gone=$!
wait $gone
printf 'Pat,pat,%s,01.01.2020 10:00,roster %s;' "$(hostname)" "$gone" > "$lock"
printf 'X\n' | roster team.txt | grep -c 'also open'
ls -A | grep -F "$lock" || echo "no lock left"
echo "== so is a lock of this host from before the system started, whatever it names"
for id in 'roster 1' 'file:///home/pat/.config/libreoffice/4'; do
    printf 'Pat,pat,%s,01.01.2020 10:00,%s;' "$(hostname)" "$id" > "$lock"
    printf 'X\n' | roster team.txt | grep -c 'also open'
    ls -A | grep -F "$lock" || echo "no lock left"
done
echo "== a session told of another's lock takes it over once that is gone"
start
"$BIN" team.txt < typed.2 > out.2 & later=$!
exec 4> typed.2
for i in $(seq 1 $polls); do
    grep -q 'Selection: ' out.2 && break
    sleep 0.05
done
sed -n 2p out.2 | sed -E 's/open by .* since [0-9.]+ [0-9:]+;/open by USER since DATE;/'
echo X >&3
exec 3>&-
wait $pid
printf 'S\nnobody\n' >&4
for i in $(seq 1 $polls); do
    [ "$(grep -c 'Selection: ' out.2)" -ge 2 ] && break
    sleep 0.05
done
grep -q ",roster $later;\$" "$lock" && echo "the lock is now the second session's"
echo X >&4
exec 4>&-
wait $later
ls -A | grep -F "$lock" || echo "gone when it ends"
echo "== no lock is left after a hang-up, a polite kill or Ctrl-C"
for signal in HUP TERM INT; do
    start
    [ -f "$lock" ] && kill -s $signal $pid
    wait $pid 2>/dev/null
    echo "status $?"
    exec 3>&-
    ls -A | grep -F "$lock" || echo "no lock left"
done
