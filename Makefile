# The two commands of the README: `make run` and `make test`. Each goal first
# installs the missing Debian packages of its purpose (tools/install-deps.sh):
# `make run` only what building and running needs, `make test` the test tools
# too, `make fuzz` clang too; then it configures and builds into build/. `make
# test` then builds and runs the tests again with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-asan/. `make package` builds the Debian
# package into build/ and checks it with lintian. `make fuzz` runs each fuzz
# target for FUZZ_SECONDS (built with clang in build-fuzz/); CI runs `make
# fuzz-smoke`, 20 s each.
# `make bench` builds only the benchmarks and prints their table (bench/README.md).
# `make soak` runs the endurance tests (bench/soak.cpp), which `make test`
# leaves out: in build/, then the whole-session leak check in build-asan/.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 20
JOBS ?= $(shell nproc)

# Any sanitizer report fails its test; leaks are reported at each test's exit.
SANITIZER_ENV = \
	ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp

.PHONY: all deps configure build run test test-sanitize asan-build soak fuzz-build fuzz fuzz-smoke bench package clean

all: build

# What the goal being made is for; its prerequisites see the same value.
DEPS_FOR = run
test test-sanitize asan-build soak: DEPS_FOR = test
fuzz-build fuzz fuzz-smoke: DEPS_FOR = fuzz
bench: DEPS_FOR = bench
package: DEPS_FOR = package

deps:
	@tools/install-deps.sh $(DEPS_FOR)

configure: deps
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# The panel with a simulated player on 127.0.0.1:65079, stopped when the panel closes.
run: build
	tools/run-with-sim.sh $(BUILD_DIR)

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory test-sanitize

test-sanitize: asan-build
	cd $(ASAN_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

# Debug: it compiles faster than an optimised build, and the tests are short.
asan-build: deps
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DQUORVEX_SANITIZE=ON
	@if grep -l 'QT_QPA_PLATFORM=offscreen' $$(find $(ASAN_DIR) -name CTestTestfile.cmake); then \
		echo "error: tests in the files above set QT_QPA_PLATFORM=offscreen, which leaks under LeakSanitizer;" \
			'use QT_QPA_PLATFORM=$${QUORVEX_TEST_PLATFORM} (see tests/lsan.supp)' >&2; \
		exit 1; \
	fi
	cmake --build $(ASAN_DIR) -j $(JOBS)

soak: build asan-build
	cd $(BUILD_DIR)/bench && QT_QPA_PLATFORM=offscreen ./soak
	cd $(ASAN_DIR)/bench && QT_QPA_PLATFORM=minimal $(SANITIZER_ENV) ./soak wholeRun

fuzz-build: deps
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEX_FUZZ=ON
	cmake --build $(FUZZ_DIR) -j $(JOBS)

fuzz: fuzz-build
	tools/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

fuzz-smoke: fuzz-build
	tools/run-fuzzers.sh $(FUZZ_DIR) $(FUZZ_SMOKE_SECONDS)

bench: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target quorvex_benchmarks
	bench/run-bench.sh $(BUILD_DIR)

# Lintian's errors and warnings fail the goal; its informational tags do not.
package: build
	cmake --build $(BUILD_DIR) --target package
	lintian --fail-on error,warning $(BUILD_DIR)/quorvex_*_amd64.deb

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
