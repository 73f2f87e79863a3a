# make run   – builds Pfadwerk, starts the worker and the main window under
#              Wine, logs a few sample visits and saves a screenshot.
# make test  – builds everything and runs every test (CTest summary last).
# make dist  – the shippable files in dist/.
# make bench – the benchmark programs.
# Each target installs what it needs on a fresh Debian machine first.

BUILD      ?= build
I686       := $(BUILD)/i686
X64        := $(BUILD)/x86_64
NATIVE     := $(BUILD)/native
BENCHDIR   := $(BUILD)/bench
SQLITE     := $(BUILD)/deps/sqlite
JOBS       ?= $(shell nproc)
CTEST_ARGS ?=

.PHONY: all deps dist test run bench native-test cross64 clean

all: dist

deps: $(BUILD)/.deps $(SQLITE)/sqlite3.c

$(BUILD)/.deps: tools/install-deps.sh
	@mkdir -p $(BUILD)
	tools/install-deps.sh
	@touch $@

$(SQLITE)/sqlite3.c: tools/fetch-sqlite.sh | $(BUILD)/.deps
	tools/fetch-sqlite.sh $(SQLITE)

$(I686)/CMakeCache.txt: | deps
	cmake -S . -B $(I686) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	      -DPFADWERK_SQLITE_DIR=$(abspath $(SQLITE)) -DCMAKE_BUILD_TYPE=Release

$(X64)/CMakeCache.txt: | deps
	cmake -S . -B $(X64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
	      -DPFADWERK_SQLITE_DIR=$(abspath $(SQLITE)) -DCMAKE_BUILD_TYPE=Release

$(NATIVE)/CMakeCache.txt: | deps
	cmake -S . -B $(NATIVE) -DPFADWERK_SQLITE_DIR=$(abspath $(SQLITE)) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      -DPFADWERK_SANITIZE=ON

dist: $(I686)/CMakeCache.txt
	cmake $(I686) >/dev/null
	cmake --build $(I686) -j $(JOBS) --target products
	rm -rf dist && mkdir -p dist
	cp -r $(I686)/dist/. dist/
	@echo "dist/:" && ls dist

# The x86_64 build only proves the product code 64-bit clean; its programs
# are not run.
cross64: $(X64)/CMakeCache.txt
	cmake $(X64) >/dev/null
	cmake --build $(X64) -j $(JOBS) --target products

native-test: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)
	cd $(NATIVE) && ctest --output-on-failure --timeout 120

test: dist native-test cross64
	cmake --build $(I686) -j $(JOBS)
	tools/session $(I686) sh -c 'cd $(I686) && ctest --output-on-failure --timeout 180 $(CTEST_ARGS)'

run: dist
	tools/session $(I686) tools/demo.sh $(abspath dist) $(abspath $(BUILD))/screenshots

# The benchmark gets an optimised build of its own: the native test build
# carries the sanitizers, which would multiply every figure.
$(BENCHDIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BENCHDIR) -DPFADWERK_SQLITE_DIR=$(abspath $(SQLITE)) -DCMAKE_BUILD_TYPE=Release \
	      -DPFADWERK_TESTS=OFF

bench: $(BENCHDIR)/CMakeCache.txt dist
	cmake --build $(BENCHDIR) -j $(JOBS) --target benchmarks
	$(BENCHDIR)/bench/pfadwerk_bench

clean:
	rm -rf $(BUILD) dist
