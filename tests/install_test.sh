#!/usr/bin/env bash
# Installs a build into a scratch folder, with `cmake --install` or, given
# "deb", from its Debian package, and checks that the program, its manual
# page and its changelog land where users look for them and that the
# program runs.
# Usage: install_test.sh BUILD_DIR [deb]
set -euo pipefail

build=${1:?usage: install_test.sh BUILD_DIR [deb]}
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
root=$(mktemp -d "${TMPDIR:-/tmp}/roster-install-XXXXXX")
trap 'rm -rf "$root"' EXIT
failed=0
check() { "$@" || { echo "FAIL: $*"; failed=1; }; }

if [ "${2:-}" = deb ]; then
    command -v dpkg-shlibdeps >/dev/null ||
        { echo "skipped: dpkg-deb and dpkg-shlibdeps are needed (Debian: dpkg-dev)"; exit 77; }
    cpack --config "$build/CPackConfig.cmake" -G DEB -B "$root" >"$root/cpack.log" 2>&1 ||
        { cat "$root/cpack.log"; exit 1; }
    deb=$root/roster_1.0.0_$(dpkg --print-architecture).deb
    dpkg-deb -x "$deb" "$root/tree"
    prefix=$root/tree/usr
    for field in Maintainer Description Depends Section; do
        check test -n "$(dpkg-deb -f "$deb" "$field")"
    done
    check grep -q 'libc6 (>=' <(dpkg-deb -f "$deb" Depends)
    # Line editing needs libedit where the program was built to load it.
    if grep -qa 'libedit\.so' "$build/roster"; then
        check grep -q 'libedit2' <(dpkg-deb -f "$deb" Depends)
    fi
    # One summary line, then the longer description.
    check test "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 2
else
    cmake --install "$build" --prefix "$root/tree" >/dev/null
    prefix=$root/tree
fi
check test -x "$prefix/bin/roster"
check cmp -s "$source_dir/roster.1" <(gzip -dc "$prefix/share/man/man1/roster.1.gz")
check cmp -s "$source_dir/NEWS" <(gzip -dc "$prefix/share/doc/roster/changelog.gz")
check test "$("$prefix/bin/roster" --version </dev/null)" = "roster 1.0.0"
if [ "$failed" -ne 0 ]; then
    (cd "$root" && find . -type f | sort)
    exit 1
fi
echo "bin/roster, share/man/man1/roster.1.gz and share/doc/roster/changelog.gz installed"
