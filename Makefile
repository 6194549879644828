# Two commands do everything: `make run` and `make test`.
.PHONY: run test build install package fuzz bench format clean

PREFIX ?= /usr/local

run: build
	./build/release/roster

build:
	cmake --preset release
	cmake --build --preset release

test:
	cmake --preset test
	cmake --build --preset test
	ctest --preset test
	cmake --preset checked
	cmake --build --preset checked
	ctest --preset checked
	cmake --preset valgrind
	cmake --build --preset valgrind
	ctest --preset valgrind
	./tests/leg.sh libcxx
	./tests/leg.sh windows

install: build
	cmake --install build/release --prefix "$(PREFIX)"

# A Debian package under build/, and a zip of the Windows program where the
# MinGW-w64 compiler is there to build it.
package: build
	cpack --preset debian
	./tests/leg.sh windows-zip

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
