#!/usr/bin/env bash
# Runs one of the test legs of `make test` that need packages beyond the
# basic ones, or says in one line why it was skipped, and succeeds then.
#
#   tests/leg.sh libcxx    clang++ with LLVM's libc++: every test again
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

leg=${1:?usage: tests/leg.sh libcxx}
skip() {
    echo "make test: skipped the $leg leg: $*"
    exit 0
}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/roster-leg-XXXXXX")
trap 'rm -rf "$scratch"' EXIT

case $leg in
libcxx)
    command -v clang++ >/dev/null || skip "clang++ is missing (Debian: clang)"
    printf '#include <string>\nint main() { return static_cast<int>(std::string("x").size()) - 1; }\n' \
        >"$scratch/probe.cpp"
    clang++ -stdlib=libc++ "$scratch/probe.cpp" -o "$scratch/probe" 2>/dev/null ||
        skip "clang++ cannot build with libc++ (Debian: libc++-14-dev libc++abi-14-dev)"
    [[ -f /usr/src/googletest/CMakeLists.txt ]] ||
        skip "the GoogleTest sources are missing from /usr/src/googletest (Debian: googletest)"
    cmake --preset libcxx
    cmake --build --preset libcxx
    ctest --preset libcxx
    ;;
*)
    echo "tests/leg.sh: unknown leg '$leg'" >&2
    exit 2
    ;;
esac
