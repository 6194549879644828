mkdir outputdata.txt && roster < "$IN" > /dev/full
