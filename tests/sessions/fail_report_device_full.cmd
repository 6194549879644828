ln -s /dev/full outputdata.txt && roster < "$IN"
