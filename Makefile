# The README's commands. `make run` and `make test` install what is missing first.

BUILD_DIR ?= build
JOBS ?= 2
SUDO := $(shell [ "$$(id -u)" -eq 0 ] || echo sudo)

# Debian 12 packages the build, the tests and the benchmarks need.
PACKAGES := cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev libbenchmark-dev \
            libqt6svg6 qt6-qpa-plugins libxml2-dev libicu-dev qt6-translations-l10n fonts-wqy-microhei \
            desktop-file-utils appstream dpkg-dev debhelper devscripts file clang \
            lintian strace xdg-utils xvfb xauth x11-utils dbus at-spi2-core python3-pyatspi xdotool

CONFIGURE = cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAINQUILL_WERROR=ON

.PHONY: deps build run test quick clang bench package screenshot clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed$$' || echo $$p; \
	done); \
	if [ -n "$$missing" ]; then \
	    echo "Installing:" $$missing; \
	    $(SUDO) apt-get update && \
	    $(SUDO) env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; \
	fi

build: deps
	$(CONFIGURE) -DRAINQUILL_BENCH=OFF
	cmake --build $(BUILD_DIR) -j$(JOBS)

run: build
	$(BUILD_DIR)/bin/rainquill

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

# The tests without the package build: the quick loop.
quick: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS) -LE package

# The same build and quick tests with Clang, in a folder of their own.
clang: deps
	CXX=clang++ cmake -S . -B build-clang -G Ninja -DCMAKE_BUILD_TYPE=Release -DRAINQUILL_WERROR=ON -DRAINQUILL_BENCH=OFF
	cmake --build build-clang -j$(JOBS)
	ctest --test-dir build-clang --output-on-failure -j$(JOBS) -LE package

bench: deps
	$(CONFIGURE) -DRAINQUILL_BENCH=ON
	cmake --build $(BUILD_DIR) -j$(JOBS) --target rainquill-bench
	$(BUILD_DIR)/bin/rainquill-bench
	@echo "Peak memory of the 1,000,000-character conversion, run alone:"
	$(BUILD_DIR)/bin/rainquill-bench --benchmark_filter='^BM_Convert/1000000'
	@echo "Peak memory of the largest conversion the window accepts, run alone (under 1 GB):"
	$(BUILD_DIR)/bin/rainquill-bench --benchmark_filter='^BM_ConvertLargest'

# The Debian source package and the packages rainquill and rainquill-cli, built by
# dpkg-buildpackage from a copy of the tree; they land in $(BUILD_DIR)/package.
package: deps
	tools/build-deb . $(BUILD_DIR)/package

# The README's picture of the main window, drawn by the program under a virtual screen.
screenshot: build
	cmake --build $(BUILD_DIR) -j$(JOBS) --target rainquill-screenshot
	xvfb-run -a -s "-screen 0 1280x800x24" $(BUILD_DIR)/bin/rainquill-screenshot docs/screenshot.png

clean:
	rm -rf $(BUILD_DIR) build-clang
