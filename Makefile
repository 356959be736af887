# The two commands a player or developer needs: `make run` and `make test`.
# Both first install whatever Debian packages are missing.

JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: all deps build build-asan run test test-unit test-asan fuzz fuzz-build bench install package \
  screenshots clean

all: build

deps:
	@tools/install-deps.sh

build: deps
	cmake -S . -B build $(CMAKE_FLAGS)
	cmake --build build -j $(JOBS)

build-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DHELIOMANTS_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build build-asan -j $(JOBS)

fuzz-build: deps
	cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DHELIOMANTS_FUZZ=ON \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ $(CMAKE_FLAGS)
	cmake --build build-fuzz -j $(JOBS)

# Plays the game from the repository's folder, where it keeps Krellostra.dat.
run: build
	./build/heliomants

# Every test: the normal build (unit and end-to-end), the unit tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer, and a short fuzz run.
test: build build-asan fuzz-build
	cd build && ctest --output-on-failure -j $(JOBS)
	cd build-asan && ctest --output-on-failure -j $(JOBS) -LE e2e
	tools/fuzz.sh 20

# FUZZ_SECONDS=600 make fuzz for a longer run.
FUZZ_SECONDS ?= 300
fuzz: fuzz-build
	tools/fuzz.sh $(FUZZ_SECONDS)

bench: build
	tools/bench.sh

# The game, its menu entry, icons and manual page under PREFIX, below DESTDIR
# when it is set: sudo make install, or make install PREFIX=/usr DESTDIR=/tmp/tree.
# make uninstall, with the same PREFIX and DESTDIR, takes away what it put there.
# Both work from the build folder INSTALL_FROM, which the tests set to theirs.
PREFIX ?= /usr/local
INSTALL_FROM ?= build
install: build
	DESTDIR="$(DESTDIR)" cmake --install "$(INSTALL_FROM)" --prefix "$(PREFIX)"
	packaging/install-record.sh add "$(INSTALL_FROM)" "$(DESTDIR)"

.PHONY: uninstall
uninstall:
	packaging/install-record.sh remove "$(INSTALL_FROM)" "$(DESTDIR)" "$(PREFIX)"

# A Debian package of the same: build/heliomants_<version>_<architecture>.deb
package: build
	cmake --build build --target package

# The README's and the metainfo's pictures, taken again by the end-to-end session
# on a 24-bit screen, which shows the game's colours exactly.
screenshots: build
	E2E_SCREENSHOTS=$(CURDIR)/packaging/screenshots \
	  bash tests/e2e/session.sh build/heliomants build/tests/e2e/xprobe 640x480x24

clean:
	rm -rf build build-asan build-fuzz
