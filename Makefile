# Thin driver over CMake. `make run` builds and runs the main job; `make test`
# builds and runs every test.
BUILD   ?= build
TYPE    ?= RelWithDebInfo
JOBS    ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: all build run test install clean test-sanitize

all: build

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(TYPE) $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/examples/units_example $(BUILD)/quillon-example.ini

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

install: build
	cmake --install $(BUILD) --prefix $(or $(PREFIX),/usr/local)

clean:
	rm -rf $(BUILD)

# The whole test suite built with AddressSanitizer (leak checking included)
# and UndefinedBehaviorSanitizer.
test-sanitize:
	$(MAKE) test BUILD=build-sanitize TYPE=Debug \
	    CMAKE_FLAGS="$(CMAKE_FLAGS) -DQUILLON_SANITIZE=address,undefined"
