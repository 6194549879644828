roster < "$IN" > /dev/full
