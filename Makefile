# Thin wrapper over CMake: `make run` plays the demo, `make test` runs all tests.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: run test build deps clean

deps:
	@tools/install_deps.sh

build: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

run: build
	@tools/run_demo.sh $(BUILD)

clean:
	rm -rf $(BUILD)
