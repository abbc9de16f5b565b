# Two entry points for a fresh Debian 12 machine: `make run` and `make test`.
BUILD_DIR ?= build
TEST_DIR ?= build-sanitize
PACKAGE_DIR ?= build-package
JOBS ?= $(shell nproc)

.PHONY: all deps build run check test screenshot package install-package bench fuzz clean

all: build

deps:
	@scripts/install-deps.sh test

build:
	@scripts/install-deps.sh run
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTREL_TESTS=OFF
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
		$(BUILD_DIR)/bin/vistrel; \
	else \
		echo "No display found (DISPLAY and WAYLAND_DISPLAY are not set): the window cannot open here."; \
		echo "Rendering it off-screen to $(BUILD_DIR)/vistrel-window.png and running vistrel-cli instead."; \
		$(BUILD_DIR)/bin/vistrel-snapshot $(BUILD_DIR)/vistrel-window.png && \
		$(BUILD_DIR)/bin/vistrel-cli; \
	fi

screenshot: build
	mkdir -p docs
	$(BUILD_DIR)/bin/vistrel-snapshot docs/screenshot.png

test: deps
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVISTREL_SANITIZE=ON -DVISTREL_WERROR=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	ctest --test-dir $(TEST_DIR) --output-on-failure -j $(JOBS)

# The unit and window tests alone, in the same sanitizer build as `make test`:
# the quick loop while working (no package, fuzzing or printing scheduler).
CHECK_EXCLUDE = ^(package_|fuzz_|cupsd_)|^tst_printing$$
check:
	@scripts/install-deps.sh check
	cmake -S . -B $(TEST_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVISTREL_SANITIZE=ON -DVISTREL_WERROR=ON
	cmake --build $(TEST_DIR) -j $(JOBS)
	ctest --test-dir $(TEST_DIR) --output-on-failure -j $(JOBS) -E '$(CHECK_EXCLUDE)'

# The Debian package vistrel_<version>_<arch>.deb in $(PACKAGE_DIR), from a Release build.
package: deps
	JOBS=$(JOBS) packaging/build-package.sh . $(PACKAGE_DIR)

# Builds the package and installs it with apt (which asks first); `apt remove vistrel` removes it.
install-package: package
	$(if $(filter 0,$(shell id -u)),,sudo) apt-get install $(abspath $(wildcard $(PACKAGE_DIR)/vistrel_*.deb))

# Performance figures (Release build, Google Benchmark; see docs/PERFORMANCE.md).
bench:
	@scripts/install-deps.sh bench
	bench/run.sh

# Every fuzz target for FUZZ_SECONDS seconds each (default 60; see docs/RELIABILITY.md).
FUZZ_SECONDS ?= 60
fuzz: deps
	FUZZ_SECONDS=$(FUZZ_SECONDS) fuzz/run.sh

clean:
	rm -rf $(BUILD_DIR) $(TEST_DIR) $(PACKAGE_DIR) build-bench build-fuzz
