# Thin wrapper over CMake: `make run` plays the demo, `make test` runs all tests.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: run test build deps clean bench

deps:
	@tools/install_deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	@tools/run_demo.sh $(BUILD)

# Benchmarks, in a release build of their own: loading against the floor of
# reading the file, conversation steps, allocations, and the player's start-up.
bench:
	@tools/install_deps.sh libbenchmark-dev
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DMURMEX_BUILD_BENCH=ON \
		-DMURMEX_BUILD_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@build-bench/bench/murmex_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@cd build-bench/examples && ../bench/startup_bench ../bench/startup_probe

clean:
	rm -rf $(BUILD) build-bench
