#!/usr/bin/env bash
# Runs a step of `make test` or `make package` that needs packages beyond
# the basic ones, or says in one line why it was skipped and succeeds then.
#
#   tests/leg.sh libcxx       clang++ with LLVM's libc++: every test again
#   tests/leg.sh windows      roster.exe built with MinGW-w64: the unit and
#                             session tests under Wine
#   tests/leg.sh windows-zip  the zip of roster.exe, the README and examples
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

leg=${1:?usage: tests/leg.sh libcxx|windows|windows-zip}
case $leg in
libcxx) step="make test: skipped the libc++ leg" ;;
windows) step="make test: skipped the Windows leg" ;;
windows-zip) step="make package: skipped the Windows zip" ;;
*)
    echo "tests/leg.sh: unknown leg '$leg'" >&2
    exit 2
    ;;
esac
skip() {
    echo "$step: $*"
    exit 0
}
need_mingw() {
    command -v x86_64-w64-mingw32-g++-posix >/dev/null ||
        skip "the MinGW-w64 compiler is missing (Debian: g++-mingw-w64-x86-64-posix)"
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
windows)
    need_mingw
    command -v wine >/dev/null || skip "Wine is missing (Debian: wine64)"
    cmake --preset windows
    cmake --build --preset windows
    export WINEPREFIX=$PWD/build/windows/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    wine build/windows/roster.exe --version </dev/null >/dev/null 2>&1 ||
        skip "Wine cannot run a 64-bit Windows program (Debian: wine64)"
    ctest --preset windows | tee "$scratch/ctest.log"
    ran=$(grep -cE 'Test +#[0-9]+: session\..* Passed' "$scratch/ctest.log" || true)
    skipped=$(grep -cE 'Test +#[0-9]+: session\..*Skipped' "$scratch/ctest.log" || true)
    echo "make test: the Windows leg ran the unit tests and $ran sessions under Wine," \
        "and skipped $skipped sessions that need a POSIX facility"
    ;;
windows-zip)
    need_mingw
    cmake --preset windows
    cmake --build --preset windows --target roster
    cpack --preset windows
    ;;
esac
