# Two commands do everything: `make run` and `make test`.
.PHONY: run test build install package fuzz bench format clean

PREFIX ?= /usr/local

run: build
	./build/release/roster

build:
	cmake --preset release
	cmake --build --preset release

# Each leg is a CMake workflow: configure, build, test. The libc++ and
# Windows legs need packages beyond the basic ones; where those are missing
# the leg is skipped with one line that says why.
test:
	cmake --workflow --preset test
	cmake --workflow --preset checked
	cmake --workflow --preset valgrind
	@$(leg) "make test: skipped the libc++ leg" libcxx "$(libcxx_missing)"
	@$(leg) "make test: skipped the Windows leg" windows "$(windows_missing)"

install: build
	cmake --install build/release --prefix "$(PREFIX)"

# A Debian package under build/, and a zip of the Windows program where the
# MinGW-w64 compiler is there to build it.
package: build
	cpack --preset debian
	@$(leg) "make package: skipped the Windows zip" windows-zip "$(mingw_missing)"

# Runs each fuzz target for FUZZ_SECONDS (needs clang).
FUZZ_SECONDS ?= 60
fuzz:
	./fuzz/run.sh $(FUZZ_SECONDS)

# Measures how the cost of loading and of long sessions grows.
bench:
	./bench/run.sh

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build

# $(leg) "WHAT WAS SKIPPED" WORKFLOW "WHY": runs the workflow unless WHY says
# what is missing.
leg = run() { if [ -n "$$3" ]; then echo "$$1: $$3"; else cmake --workflow --preset $$2; fi; }; run
# Each is empty when the leg can run, and otherwise names what is missing.
libcxx_missing = $(shell \
    if ! command -v clang++ >/dev/null; then echo "clang++ is missing (Debian: clang)"; \
    elif ! echo 'int main() {}' | clang++ -stdlib=libc++ -include string -x c++ - -o /dev/null \
        2>/dev/null; then echo "clang++ cannot build with libc++ (Debian: libc++-14-dev libc++abi-14-dev)"; \
    elif [ ! -f /usr/src/googletest/CMakeLists.txt ]; then \
        echo "the GoogleTest sources are missing from /usr/src/googletest (Debian: googletest)"; fi)
mingw_missing = $(shell command -v x86_64-w64-mingw32-g++-posix >/dev/null || \
    echo "the MinGW-w64 compiler is missing (Debian: g++-mingw-w64-x86-64-posix)")
windows_missing = $(or $(mingw_missing),$(shell [ -x /usr/lib/wine/wine64 ] || \
    command -v wine64 >/dev/null || echo "64-bit Wine is missing (Debian: wine64)"))
