# The two set-up commands of the README: `make run` and `make test`.
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench package clean

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
