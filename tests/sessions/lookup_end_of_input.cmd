# Each line of the input is one case: the text typed, written for printf.
while IFS= read -r typed; do
    echo "== $typed"
    rm -f outputdata.txt
    printf "$typed" | roster
    echo "status $?"
    cat outputdata.txt
done < "$IN"
