roster < "$IN" >&-
