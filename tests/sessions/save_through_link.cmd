# POSIX only: a symbolic link
# The report is a link to a file in another folder: the file it points to
# is replaced there, and the link stays a link.
mkdir reports && echo "an older report" > reports/current.txt
ln -s reports/current.txt outputdata.txt && roster < "$IN"
status=$?
readlink outputdata.txt
ls -A reports
exit $status
