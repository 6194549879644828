#!/usr/bin/env bash
# Makes the Debian package of a build, unpacks it into a scratch folder and
# checks that the program and its manual page are where Debian puts them,
# that the control fields are filled in, and that the unpacked program runs.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: package_test.sh BUILD_DIR}
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if ! command -v dpkg-deb >/dev/null || ! command -v dpkg-shlibdeps >/dev/null; then
    echo "skipped: dpkg-deb and dpkg-shlibdeps are needed (Debian: dpkg-dev)"
    exit 77
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/roster-package-XXXXXX")
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$work/roster_1.0.0_$(dpkg --print-architecture).deb

failed=0
check() {
    if ! "$@"; then
        echo "FAIL: $*"
        failed=1
    fi
}
check test -f "$deb"
dpkg-deb -x "$deb" "$work/root"
check test -x "$work/root/usr/bin/roster"
check cmp -s "$source_dir/roster.1" <(gzip -dc "$work/root/usr/share/man/man1/roster.1.gz")
check test "$("$work/root/usr/bin/roster" --version </dev/null)" = "roster 1.0.0"
for field in Maintainer Description Depends Section; do
    check test -n "$(dpkg-deb -f "$deb" "$field")"
done
check grep -q 'libc6 (>=' <(dpkg-deb -f "$deb" Depends)
# One summary line, then the longer description.
check test "$(dpkg-deb -f "$deb" Description | wc -l)" -gt 2
if [ "$failed" -ne 0 ]; then
    dpkg-deb -I "$deb"
    dpkg-deb -c "$deb"
    exit 1
fi
echo "$(basename "$deb"): usr/bin/roster and usr/share/man/man1/roster.1.gz"
