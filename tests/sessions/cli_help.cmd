roster --help < "$IN" && test ! -e outputdata.txt
