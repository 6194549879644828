# POSIX only: strace
# A session is killed at each system call of its save in turn (strace
# sends SIGKILL as the call begins), then the next session on the file
# starts. The file must hold the roster as it was or as saved; a whole
# copy of the roster being saved that the kill left beside it must be
# kept as team.txt.1, and named; and nothing else may be left behind.
# Every start counts towards the session's time limit.
command -v strace > /dev/null || { echo "skipped: strace is missing (Debian: strace)"; exit 77; }
export ASAN_OPTIONS=detect_leaks=0  # LeakSanitizer does not run under strace
started() { printf . >> "$STARTS"; }
mkdir work && cd work
printf 'A\nLee, Bo\n25\n70\n3.5\nMath\n1\nX\n' > ../add
cp ../o_three.txt team.txt
"$BIN" team.txt < ../add > /dev/null && mv team.txt ../saved.txt
cp ../o_three.txt team.txt
started
strace -qq -o ../trace "$BIN" team.txt < ../add > /dev/null
# Each call from the report's rename to the release of the save's lock, as
# the name of the call and how many of its kind came before, from 1.
awk -F'(' '/^rename\(".outputdata/ { on = 1; next }
    { n[$1]++ } on { print $1, n[$1] } on && /^unlink\("\.team\.txt\.saving"\)/ { exit }' \
    ../trace > ../calls
kills=0 saved=0 kept=0 lost=0
while read -r call count; do
    rm -rf ./* ./.[!.]* && cp ../o_three.txt team.txt
    started
    (strace -qq -o /dev/null -e inject="$call":signal=KILL:when="$count" "$BIN" team.txt \
        < ../add > /dev/null 2>&1; true) 2> /dev/null
    whole=no
    for copy in .team.txt.*.tmp; do
        cmp -s "$copy" ../saved.txt && whole=yes
    done
    started
    said=$("$BIN" team.txt < /dev/null | grep 'cut short')
    kills=$((kills + 1))
    where="killed at $call #$count:"
    if cmp -s team.txt ../saved.txt; then
        saved=$((saved + 1))
    elif ! cmp -s team.txt ../o_three.txt; then
        echo "$where team.txt is neither as it was nor as saved"
    elif [ $whole = yes ]; then
        kept=$((kept + 1))
        cmp -s team.txt.1 ../saved.txt || echo "$where the whole copy was not kept"
        [ "$said" = "A save of team.txt was cut short; the roster it was saving has been kept in team.txt.1" ] ||
            echo "$where the copy kept was not named: $said"
    else
        lost=$((lost + 1))
        [ -z "$said" ] || echo "$where a copy that was not whole was named: $said"
    fi
    left=$(ls -A | grep -vxE 'team\.txt|team\.txt\.1|outputdata\.txt')
    [ -z "$left" ] && continue
    echo "$where left behind: $left"
done < ../calls
[ -n "$VERBOSE" ] && echo "$kills kills: $saved saved, $kept kept beside, $lost before a whole copy" >&2
[ "$kills" -gt 20 ] && echo "every kill: the file as it was or as saved, a whole copy kept and named, nothing left behind"
