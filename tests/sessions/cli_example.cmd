cp "$(dirname "$IN")/../../examples/roster.txt" . && roster < "$IN"
