(ulimit -f 0; trap '' XFSZ; roster < "$IN")
