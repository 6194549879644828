roster --help < "$IN" > /dev/full
