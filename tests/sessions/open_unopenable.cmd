mkdir o_folder.txt && mkfifo o_fifo.txt && roster < "$IN"
