# POSIX only: a file-size limit
# A first session saves a report. A second one, under a file-size limit of
# 0, cannot save: the first report must stay exactly as it was, with no
# file left beside it. The second is started without the roster wrapper:
# valgrind itself cannot run under a file-size limit of 0.
printf 'O\no_one.txt\nX\n' | roster > /dev/null || exit 9
cp outputdata.txt first-report && before=$(ls -A)
(ulimit -f 0; trap '' XFSZ; "$BIN" < "$IN")
status=$?
cmp -s first-report outputdata.txt || echo "the first report has changed"
[ "$(ls -A)" = "$before" ] || { echo "the folder now holds:"; ls -A; }
exit $status
