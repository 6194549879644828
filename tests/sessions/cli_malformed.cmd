cp "$(dirname "$IN")/../../examples/malformed.txt" . && roster < "$IN"
