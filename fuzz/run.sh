#!/bin/sh
# Builds the fuzz targets with clang's libFuzzer and runs each one for
# SECONDS (default 60). New inputs go to fuzz/corpus-work/<target>/, so the
# committed corpus in fuzz/corpus/<target>/ only seeds the run; crashes and
# hangs are kept in fuzz/corpus-work/artifacts/.
set -eu

seconds=${1:-60}
case $seconds in
    '' | *[!0-9]*)
        echo "usage: $0 [SECONDS]" >&2
        exit 2
        ;;
esac

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/fuzz
work=$root/fuzz/corpus-work

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzzing needs clang++ (with libFuzzer)" >&2
    exit 1
fi

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DROSTER_FUZZ=ON -DROSTER_TESTS=OFF
cmake --build "$build"

status=0
for target in load_fuzzer session_fuzzer merge_fuzzer lockfile_fuzzer; do
    mkdir -p "$work/$target" "$work/artifacts"
    echo "== $target for $seconds seconds"
    # The first folder receives what the fuzzer finds; the committed corpus
    # is only read. A run that takes over 5 seconds counts as a hang.
    if ! "$build/fuzz/$target" -max_total_time="$seconds" -timeout=5 \
        -dict="$root/fuzz/roster.dict" -print_final_stats=1 \
        -artifact_prefix="$work/artifacts/$target-" \
        "$work/$target" "$root/fuzz/corpus/$target"; then
        status=1
        echo "== $target found a fault; the input is in $work/artifacts/" >&2
    fi
done
exit $status
