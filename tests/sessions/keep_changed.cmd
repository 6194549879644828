# The file changes behind a running session's back. What a session is
# typed waits until it has shown its first prompt, so it has read its file.
# Polls for up to 100 s: the program may be slow to start on a busy machine.
polls=2000
started() {
    for i in $(seq 1 $polls); do
        grep -q 'Selection: ' "$1" 2>/dev/null && return
        sleep 0.05
    done
}
# The last message of a session's output.
said() { grep -vE $'^(MENU:|SUBMENU: |[A-Z1-6] - .*)\r?$' "$1" | tail -n 1; }
add() { printf 'A\n%s\n25\n70\n3.5\nMath\n0\n' "$1"; }
echo "== two sessions on one file: the second one to leave merges their changes"
add "Smith, John" | roster team.txt > /dev/null
{ started 1.out; { add "Doe, Jane"; echo X; } | roster team.txt > 2.out; add "Lee, Bo"; } |
    roster team.txt > 1.out
said 2.out
said 1.out
cat team.txt
echo "== both changed one person: the second one to leave goes beside it"
edit() { printf 'E\nDoe\n6\n%s\n' "$1"; }
{ started 1.out; { edit 1; echo X; } | roster team.txt > 2.out; edit 2; } | roster team.txt > 1.out
said 2.out
said 1.out
cat team.txt.1
echo "== and a file that no longer reads goes beside it too"
{ started 3.out; echo "changed by hand" >> team.txt; add "Kim, Al"; } | roster team.txt > 3.out
said 3.out
cat team.txt.2
echo "== an unchanged roster writes nothing"
cp o_two.txt two.txt
{ started 4.out; echo "changed by hand" >> two.txt; } | roster two.txt > 4.out
said 4.out
ls -A | grep -E '^(team|two)'
tail -n 1 two.txt
echo "== a file deleted meanwhile is written again"
{ started 5.out; rm team.txt.1; add "Lee, Bo"; } | roster team.txt.1 > 5.out
said 5.out
cat team.txt.1
echo "== a file emptied meanwhile was cut short, not cleared: the roster goes beside it"
{ started 8.out; : > team.txt.1; add "Kim, Al"; } | roster team.txt.1 > 8.out
said 8.out
wc -c < team.txt.1
echo "== a file that appeared meanwhile is not overwritten"
{ started 6.out; echo "made by hand" > new.txt; add "Lee, Bo"; } | roster new.txt > 6.out
said 6.out
cat new.txt new.txt.1
echo "== a session that saved once finds its own save the next time"
mkdir -p again/outputdata.txt && cd again
{ add "Kim, Al"; echo X; add "Lee, Bo"; echo X; } | roster once.txt > 7.out
grep -E $'^(The roster|once)' 7.out
ls -A | grep '^once'
