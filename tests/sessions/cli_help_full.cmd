# POSIX only: standard output is /dev/full
roster --help < "$IN" > /dev/full
