#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the program and
# its manual page land where users will look for them, and that the
# installed program runs.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail

build=${1:?usage: install_test.sh BUILD_DIR}
source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prefix=$(mktemp -d "${TMPDIR:-/tmp}/roster-install-XXXXXX")
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

failed=0
check() {
    if ! "$@"; then
        echo "FAIL: $*"
        failed=1
    fi
}
check test -x "$prefix/bin/roster"
check test -f "$prefix/share/man/man1/roster.1.gz"
check cmp -s "$source_dir/roster.1" <(gzip -dc "$prefix/share/man/man1/roster.1.gz")
version=$("$prefix/bin/roster" --version </dev/null) || true
check test "$version" = "roster 1.0.0"
if [ "$failed" -ne 0 ]; then
    echo "Installed files:"
    (cd "$prefix" && find . -type f | sort)
    exit 1
fi
echo "bin/roster and share/man/man1/roster.1.gz installed"
