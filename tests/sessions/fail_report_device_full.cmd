# POSIX only: a symbolic link to /dev/full
ln -s /dev/full outputdata.txt && roster < "$IN"
status=$?
# The link is still the same link.
readlink outputdata.txt
exit $status
