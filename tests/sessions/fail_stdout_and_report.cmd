# POSIX only: standard output is /dev/full
mkdir outputdata.txt && roster < "$IN" > /dev/full
