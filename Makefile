# Thin driver over CMake. `make run` builds and runs the main job; `make test`
# builds and runs every test. `make windows` cross-builds the Windows DLL and
# programs with MinGW-w64, `make test-windows` runs the tests under Wine and
# `make screenshots` renders the dialog templates into docs/dialogs (see
# docs/windows.md).
BUILD   ?= build
TYPE    ?= RelWithDebInfo
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
WINBUILD ?= build-windows
# Wine finds the DLLs a program imports beside it, so every binary of the
# cross build goes into one folder.
WINBIN   = $(abspath $(WINBUILD))/bin

.PHONY: all build test-deps run test install clean test-sanitize test-tsan windows test-windows screenshots \
        bench bench-deps bench-build bench-smoke fuzz fuzz-build fuzz-short docs python python-deps test-python

all: build

# What building and testing need on a fresh Debian machine.
TEST_PACKAGES = cmake g++ make pkg-config libgtest-dev libgmock-dev

build: test-deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

test-deps:
	@sh scripts/install_deps.sh make $(TEST_PACKAGES)

run: build
	$(BUILD)/tools/quillon track examples/nmea-rtk.nmea

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The Python module (python/, docs/python.md) for Debian's /usr/bin/python3,
# importable with PYTHONPATH=$(BUILD)/python; `make test-python` runs its
# tests with pytest against the flat exports and the tool of the same build.
PYTHON_PACKAGES = python3-dev python3-numpy python3-pybind11 pybind11-dev python3-pytest \
                  python3-pymap3d python3-pyproj python3-dask

python-deps:
	@sh scripts/install_deps.sh python $(PYTHON_PACKAGES)

python: test-deps python-deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(TYPE) -DQUILLON_BUILD_PYTHON=ON $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS) --target quillon_python quillon quillon_tool

test-python: python
	QUILLON_BUILD_DIR=$(abspath $(BUILD)) /usr/bin/python3 -m pytest -q -p no:cacheprovider python/tests

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),/usr/local)

windows:
	cmake -S . -B $(WINBUILD) -DCMAKE_BUILD_TYPE=$(TYPE) \
	  -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/mingw-w64-x86_64.cmake) \
	  -DCMAKE_RUNTIME_OUTPUT_DIRECTORY=$(WINBIN) $(CMAKE_FLAGS)
	cmake --build $(WINBUILD) -j $(JOBS)

# The dialog tests need a display: a private X server when xvfb-run is there.
test-windows: windows
	scripts/wine-prefix.sh $(abspath $(WINBUILD))/wineprefix
	$(if $(shell command -v xvfb-run),xvfb-run -a -s "-screen 0 1024x768x24") \
	  ctest --test-dir $(WINBUILD) --output-on-failure -j $(JOBS)

screenshots: windows
	scripts/screenshots.sh $(WINBUILD) docs/dialogs

clean:
	rm -rf $(BUILD) $(WINBUILD)

# The whole test suite built with AddressSanitizer (leak checking included)
# and UndefinedBehaviorSanitizer.
test-sanitize:
	$(MAKE) test BUILD=build-sanitize TYPE=Debug \
	    CMAKE_FLAGS="$(CMAKE_FLAGS) -DQUILLON_SANITIZE=address,undefined"

# The threads test (objects of the C++ API used on several threads at once)
# under ThreadSanitizer, built with clang.
TSAN_CXX ?= clang++-14
test-tsan:
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=$(TSAN_CXX) \
	    -DQUILLON_SANITIZE=thread -DQUILLON_BUILD_TOOLS=OFF -DQUILLON_BUILD_EXAMPLES=OFF $(CMAKE_FLAGS)
	cmake --build build-tsan -j $(JOBS) --target quillon_tests
	TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/quillon_tests --gtest_filter='Threads*'

# The reference of the public headers (Doxygen), in build-docs/html; an
# undocumented public member fails the build.
docs:
	@command -v doxygen > /dev/null || { echo "make docs needs doxygen: apt-get install doxygen"; exit 1; }
	mkdir -p build-docs
	QUILLON_DOCS_OUT=build-docs doxygen docs/Doxyfile
	@echo "reference: build-docs/html/index.html"

# Benchmarks against the peers (GeographicLib, Eigen, gpsd's gpsdecode),
# in a Release build of their own. `make bench` runs them all and writes
# docs/performance.md; `make bench-smoke` runs each once, to keep them
# compiling. bench-deps installs the Debian packages they need, only when
# one is missing (the Python rows need the module's and its peers').
BENCH_BUILD ?= build-bench

bench-deps:
	sh scripts/install_deps.sh bench-deps libbenchmark-dev libgeographiclib-dev libeigen3-dev gpsd-clients python3 \
	    $(PYTHON_PACKAGES)

bench-build: bench-deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DQUILLON_BUILD_BENCH=ON \
	    -DQUILLON_BUILD_TESTS=OFF -DQUILLON_BUILD_EXAMPLES=OFF $(CMAKE_FLAGS)
	cmake --build $(BENCH_BUILD) -j $(JOBS)

bench: bench-build
	sh bench/run.sh $(BENCH_BUILD) docs/performance.md

bench-smoke: bench-build
	$(BENCH_BUILD)/bench/quillon_bench --benchmark_min_time=0 \
	    --benchmark_out=$(BENCH_BUILD)/bench-smoke.json --benchmark_out_format=json
	python3 bench/report.py --bench $(BENCH_BUILD)/bench-smoke.json \
	    --out $(BENCH_BUILD)/bench-smoke.md

# libFuzzer harnesses (fuzz/) built with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer in a build of their own, each run for
# FUZZ_SECONDS on its corpus, FUZZ_PARALLEL at a time. `make fuzz-short` is
# the 30-second run of every fuzzer for continuous integration.
FUZZ_BUILD    ?= build-fuzz
FUZZ_CXX      ?= clang++-14
FUZZ_SECONDS  ?= 60
FUZZ_PARALLEL ?= $(JOBS)

fuzz-build:
	cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=$(FUZZ_CXX)
	cmake --build $(FUZZ_BUILD) -j $(JOBS)

fuzz: fuzz-build
	sh fuzz/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZ_PARALLEL)

fuzz-short:
	$(MAKE) fuzz FUZZ_SECONDS=30
