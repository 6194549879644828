mkdir outputdata.txt && roster < "$IN"
