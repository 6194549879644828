# POSIX only: permission bits
# A new report gets 0666 less the umask; a replaced one keeps its bits.
umask 027
roster < "$IN" > /dev/null
stat -c %a outputdata.txt
chmod 600 outputdata.txt
roster < "$IN" > /dev/null
stat -c %a outputdata.txt
