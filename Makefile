# make run   – builds Pfadwerk, starts the worker and the main window under
#              Wine, logs a few sample visits and saves a screenshot.
# make test  – builds everything and runs every test (CTest summary last).
#              The Windows tests and `make run` use the shipped i686 build
#              where the host runs 32-bit programs, else the x86_64 build
#              under 64-bit Wine; PFADWERK_WINE64=1 forces the latter
#              (tools/wine-arch decides, and both say which in their first
#              line).
# make dist  – the shippable files in dist/, with dist/Pfadwerk-Setup.exe.
# make bench – the benchmark programs.
# make fuzz  – every parser of outside data under libFuzzer with the
#              sanitizers, FUZZ_SECONDS each (make test runs a short pass).
# Each target installs what it needs on a fresh Debian machine first.

BUILD      ?= build
I686       := $(BUILD)/i686
X64        := $(BUILD)/x86_64
NATIVE     := $(BUILD)/native
FUZZDIR    := $(BUILD)/fuzz
FUZZ_SECONDS ?= 120
# The short pass of each fuzzer within make test.
FUZZ_SMOKE_SECONDS ?= 20
BENCHDIR   := $(BUILD)/bench
SQLITE     := $(BUILD)/deps/sqlite
JOBS       ?= $(shell nproc)
CTEST_ARGS ?=

# The Windows build that runs under Wine here: i686 or x86_64. Set on the
# command line by the targets below, after tools/wine-arch has decided.
WINARCH    ?= i686
WINBUILD   := $(BUILD)/$(WINARCH)

.PHONY: all deps packages dist test run bench native-test cross64 windows-test windows-run fuzz fuzz-build clean

all: dist

deps: packages $(SQLITE)/sqlite3.c

# Quick when everything is there; also picks up wine64 once the 64-bit path
# is asked for. The targets below that call make again pass DEPS_DONE=1, so
# that one command installs (and retries a broken package index) once.
packages:
	@[ -n "$(DEPS_DONE)" ] || tools/install-deps.sh

$(SQLITE)/sqlite3.c: tools/fetch-sqlite.sh | packages
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
	cmake --build $(I686) -j $(JOBS) --target products setup
	rm -rf dist && mkdir -p dist
	cp -r $(I686)/package/. dist/
	@echo "dist/:" && ls dist

# The x86_64 build keeps the product code 64-bit clean; on hosts without
# 32-bit support it is also the build that the tests run.
cross64: $(X64)/CMakeCache.txt
	cmake $(X64) >/dev/null
	cmake --build $(X64) -j $(JOBS) --target products

native-test: $(NATIVE)/CMakeCache.txt
	cmake --build $(NATIVE) -j $(JOBS)
	cd $(NATIVE) && ctest --output-on-failure --timeout 120

test: deps
	@tools/wine-arch --explain "make test"
	@$(MAKE) --no-print-directory dist native-test cross64 DEPS_DONE=1
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=$(FUZZ_SMOKE_SECONDS) DEPS_DONE=1
	@$(MAKE) --no-print-directory windows-test WINARCH=$$(tools/wine-arch) DEPS_DONE=1

windows-test: $(WINBUILD)/CMakeCache.txt
	cmake --build $(WINBUILD) -j $(JOBS)
	tools/session $(WINBUILD) sh -c 'cd $(WINBUILD) && ctest --output-on-failure --timeout 180 $(CTEST_ARGS)'

run: deps
	@tools/wine-arch --explain "make run"
	@$(MAKE) --no-print-directory dist DEPS_DONE=1
	@$(MAKE) --no-print-directory windows-run WINARCH=$$(tools/wine-arch) DEPS_DONE=1

# The i686 programs run from dist/ as shipped; the x86_64 ones from their
# build.
windows-run: $(WINBUILD)/CMakeCache.txt
	cmake --build $(WINBUILD) -j $(JOBS) --target products
	tools/session $(WINBUILD) tools/demo.sh \
	    $(abspath $(if $(filter i686,$(WINARCH)),dist,$(WINBUILD)/dist)) $(abspath $(BUILD))/screenshots

# The benchmark gets an optimised build of its own: the native test build
# carries the sanitizers, which would multiply every figure.
$(BENCHDIR)/CMakeCache.txt: | deps
	cmake -S . -B $(BENCHDIR) -DPFADWERK_SQLITE_DIR=$(abspath $(SQLITE)) -DCMAKE_BUILD_TYPE=Release \
	      -DPFADWERK_TESTS=OFF

bench: $(BENCHDIR)/CMakeCache.txt dist
	cmake --build $(BENCHDIR) -j $(JOBS) --target benchmarks
	$(BENCHDIR)/bench/pfadwerk_bench

$(FUZZDIR)/CMakeCache.txt: | deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZDIR) -DPFADWERK_SQLITE_DIR=$(abspath $(SQLITE)) \
	      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPFADWERK_FUZZ=ON -DPFADWERK_TESTS=OFF

fuzz-build: $(FUZZDIR)/CMakeCache.txt
	cmake --build $(FUZZDIR) -j $(JOBS) --target fuzzers

fuzz: fuzz-build
	tools/fuzz.sh $(FUZZDIR) $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD) dist
