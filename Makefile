# The two commands of the README: `make run` and `make test`. Both install any
# missing Debian package, then configure and build into build/. `make package`
# builds the Debian package into build/. `make bench` builds only the
# benchmarks and prints their table (bench/README.md).
BUILD_DIR ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench package clean

all: build

deps:
	@tools/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The panel with a simulated player on 127.0.0.1:65079, stopped when the panel closes.
run: build
	tools/run-with-sim.sh $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target quorvex_benchmarks
	bench/run-bench.sh $(BUILD_DIR)

package: build
	cmake --build $(BUILD_DIR) --target package

clean:
	rm -rf $(BUILD_DIR)
