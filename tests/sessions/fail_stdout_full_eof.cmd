# POSIX only: standard output is /dev/full
roster < "$IN" > /dev/full
