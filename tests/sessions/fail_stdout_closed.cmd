# POSIX only: standard output is closed
# Started without the roster wrapper: under valgrind its log file would
# take the free descriptor 1 and stand in for standard output.
"$BIN" < "$IN" >&-
