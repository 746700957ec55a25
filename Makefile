# The two set-up commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench clean

all: build

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/quaderwelt

# Tests that need a display get a virtual one when there is none.
test: build
	@if [ -n "$$DISPLAY" ]; then \
		ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS); \
	else \
		xvfb-run -a -s "-screen 0 1280x800x24" ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS); \
	fi

bench: build
	@cmake --build $(BUILD_DIR) --target benchmarks -j $(JOBS)
	$(BUILD_DIR)/bench/quaderwelt-bench

clean:
	rm -rf $(BUILD_DIR)
