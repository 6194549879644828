# POSIX only: a file-size limit, and a link to /dev/stdout
# The roster cannot be saved (no file may grow under a limit of 0) while
# the report can (it goes to standard output): X keeps the program running,
# and when input ends it ends with status 1. The file stays as it was, with
# nothing left beside it. Started without the roster wrapper: valgrind
# itself cannot run under a file-size limit of 0.
cp o_one.txt team.txt
ln -s /dev/stdout outputdata.txt
before=$(ls -A)
(ulimit -f 0; trap '' XFSZ; "$BIN" team.txt < "$IN")
status=$?
cmp -s o_one.txt team.txt || echo "the file has changed"
[ "$(ls -A)" = "$before" ] || { echo "the folder now holds:"; ls -A; }
exit $status
