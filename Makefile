# The two set-up commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench package clean test-sanitize fuzz fuzz-smoke

all: build

deps:
	@./scripts/install-deps

configure: deps
	@cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) >/dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/quaderwelt

# Tests that need a display get a virtual one when there is none. The
# end-to-end tests (label e2e) play a freshly generated, randomly different
# world through a real X server and get a second try; everything else must
# pass at once.
CTEST = ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)
E2E_RETRY = --repeat until-pass:2
test: build
	@if [ -n "$$DISPLAY" ]; then \
		$(CTEST) -LE e2e && $(CTEST) -L e2e $(E2E_RETRY); \
	else \
		xvfb-run -a -s "-screen 0 1280x800x24" sh -c '$(CTEST) -LE e2e && $(CTEST) -L e2e $(E2E_RETRY)'; \
	fi

# The same suite built with AddressSanitizer and UndefinedBehaviorSanitizer at
# -O1. Any sanitizer report fails its test. Leaks that system libraries keep
# until exit are listed in scripts/lsan-suppressions.txt. The end-to-end and
# install tests (label e2e) start the GTK program, whose libraries leak by
# design: they run with the leak check off (every access is still checked).
# A refused huge allocation returns null as it would without ASan, which the
# code must handle.
SANITIZE_DIR ?= build-sanitize
SANITIZE_FLAGS = -O1 -g1 -DNDEBUG
SANITIZE_ASAN = check_initialization_order=1:allocator_may_return_null=1
SANITIZE_ENV = UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan-suppressions.txt
SANITIZE_CTEST = xvfb-run -a -s "-screen 0 1280x800x24" \
	ctest --test-dir $(SANITIZE_DIR) --output-on-failure -j $(JOBS)
test-sanitize: deps
	@cmake -S . -B $(SANITIZE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUADERWELT_SANITIZE=ON \
		-DCMAKE_C_FLAGS_RELWITHDEBINFO="$(SANITIZE_FLAGS)" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$(SANITIZE_FLAGS)" >/dev/null
	@$(SANITIZE_ENV) ASAN_OPTIONS=detect_leaks=1:$(SANITIZE_ASAN) cmake --build $(SANITIZE_DIR) -j $(JOBS)
	@$(SANITIZE_ENV) ASAN_OPTIONS=detect_leaks=1:$(SANITIZE_ASAN) $(SANITIZE_CTEST) -LE e2e
	@$(SANITIZE_ENV) ASAN_OPTIONS=detect_leaks=0:$(SANITIZE_ASAN) $(SANITIZE_CTEST) -L e2e $(E2E_RETRY)

# libFuzzer targets (clang, their own build folder): `make fuzz` runs each
# for FUZZ_SECONDS, `make fuzz-smoke` for 30 seconds. New inputs that grow
# the coverage go to $(FUZZ_DIR)/corpus/<target>; crashes to
# $(FUZZ_DIR)/crashes/<target>.
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 300
fuzz: deps
	@./fuzz/run-fuzzers $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-smoke: deps
	@./fuzz/run-fuzzers $(FUZZ_DIR) 30

bench: build
	@cmake --build $(BUILD_DIR) --target benchmarks -j $(JOBS)
	$(BUILD_DIR)/bench/quaderwelt-bench

# A Debian package (quaderwelt_<version>_amd64.deb in $(PACKAGE_DIR)/) of a
# build with Debian's hardening flags, installing to /usr, with the launchers
# in /usr/games as Debian keeps games.
PACKAGE_DIR ?= build-package
package: deps
	@DEB_BUILD_MAINT_OPTIONS=hardening=+all; export DEB_BUILD_MAINT_OPTIONS; \
	cmake -S . -B $(PACKAGE_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUADERWELT_TESTS=OFF \
		-DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
		-DCMAKE_C_FLAGS="$$(dpkg-buildflags --get CFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
		-DCMAKE_CXX_FLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
		-DCMAKE_EXE_LINKER_FLAGS="$$(dpkg-buildflags --get LDFLAGS)" >/dev/null
	@cmake --build $(PACKAGE_DIR) --target package -j $(JOBS)

clean:
	rm -rf $(BUILD_DIR)
