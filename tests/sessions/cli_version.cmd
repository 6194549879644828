roster --version < "$IN" && test ! -e outputdata.txt
