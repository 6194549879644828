{
    for i in $(seq 1 30); do printf 'previous content, line %s %0200d\n' "$i" 0; done
    printf 'no line break at the end'
} > outputdata.txt
roster < "$IN"
