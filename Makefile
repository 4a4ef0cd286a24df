# Thin wrapper over CMake: `make run` plays the demo, `make test` runs all tests,
# `make test-sanitize` runs them all again under AddressSanitizer and
# UndefinedBehaviorSanitizer (but the other languages' bindings, which the
# sanitizers cannot see into), `make fuzz` fuzzes the loader and saved games,
# `make fuzz-replay` runs the committed fuzz corpus once through each fuzzer,
# `make windows` cross-builds murmex.exe, kestrine.exe and the tests for
# Windows with mingw-w64, `make test-windows` runs those tests under wine,
# `make dist-windows` zips the Windows programs with the demo,
# `make install` installs under PREFIX, `make check-install` builds the
# embedding example against a fresh install, `make package` makes the Debian
# packages, `make check-package` installs each with apt-get, checks it and
# removes it again, `make dist` gathers every release artefact in dist/,
# `make wheel` builds the Python package's wheel in dist/, `make check-wheel`
# installs it with pip into fresh virtual environments and tests it there,
# `make check-format` checks and `make format` applies the project's
# clang-format style, `make web` builds the engine in WebAssembly with its
# JavaScript API and the page `murmex publish` writes, and `make test-web`
# tests them under Node (with the bindings' transcripts) and in headless Chromium,
# `make npm` packs them into dist/murmex-VERSION.tgz, and `make check-npm`
# installs that into a fresh folder and uses it from Node, tsc, esbuild and Chromium.
# `make csharp` builds the C# binding's Murmex.dll with its XML documentation,
# `make nuget` packs it with the Linux and the Windows library into
# dist/Murmex.VERSION.nupkg and `make check-nuget` installs that with nuget and
# runs a program against it under mono; `make upm` writes the Unity package
# dist/com.murmex.murmex-VERSION.tgz and `make check-upm` checks and compiles it.
# `make check-examples` runs every example of the README and the manual against
# the build, in every language, none skipped.
BUILD ?= build
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
WINDOWS_BUILD ?= build-windows
# Inside the build folder, where the murmex tool built there finds it.
WEB_BUILD ?= $(BUILD)/web
JOBS ?= 2
CMAKE_FLAGS ?=
# How long `make fuzz` runs each fuzzer, in seconds.
FUZZ_SECONDS ?= 60
PREFIX ?= /usr/local

# Any report stops the run. Leaks inside third-party libraries (Qt's font
# and platform set-up) are suppressed by name in tests/lsan.supp; ours never are.
SANITIZER_ENV = ASAN_OPTIONS=detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0

# The fuzzers need clang and its sanitizer and libFuzzer runtimes.
FUZZ_PACKAGES = clang libclang-rt-dev
# The Windows build: the cross compiler, wine to run its programs, and xdotool
# and xwd to drive and read the window on Xvfb.
WINDOWS_PACKAGES = g++-mingw-w64-x86-64-posix wine wine64 xdotool x11-apps python3
# The web build: Debian's Emscripten (which brings Node); its tests drive
# headless Chromium through Selenium.
WEB_PACKAGES = emscripten
WEB_TEST_PACKAGES = chromium chromium-driver python3-selenium
# Emscripten finds Debian's acorn here whichever node runs it.
WEB_ENV = NODE_PATH=/usr/share/nodejs
# The Debian packages: CPack computes their dependencies with dpkg-shlibdeps,
# which needs file; lintian checks them, and dpkg-architecture names the
# multiarch folder the library is found in.
PACKAGE_PACKAGES = dpkg-dev file
CHECK_PACKAGE_PACKAGES = lintian dpkg-dev
# The wheel is built with Debian's PEP 517 builder and setuptools, without
# network, and installed into Debian's venv.
WHEEL_PACKAGES = python3-build python3-venv python3-setuptools python3-wheel python3-pytest
# The manual: Sphinx with MyST for the pages, Doxygen and Breathe for the C and
# C++ headers, autodoc for the Python package.
DOCS_PACKAGES = python3-sphinx python3-myst-parser doxygen python3-breathe
# The NuGet package is packed and installed with Debian's nuget, under mono;
# file tells the check that the Windows DLL is one.
NUGET_PACKAGES = nuget file

.PHONY: run test build configure deps clean bench test-sanitize fuzz fuzz-build fuzz-replay \
	install check-install check-format format windows test-windows dist-windows windows-configure editors \
	package check-package wheel check-wheel dist web test-web npm check-npm bench-web bench-peer \
	csharp nuget check-nuget upm check-upm windows-library docs check-examples

deps:
	@tools/install_deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -G Ninja -DMURMEX_SANITIZE=ON $(CMAKE_FLAGS) >/dev/null
	@$(SANITIZER_ENV) cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) -LE bindings

fuzz-build:
	@tools/install_deps.sh $(FUZZ_PACKAGES)
	@cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DMURMEX_BUILD_FUZZERS=ON \
		-DMURMEX_BUILD_TESTS=OFF -DMURMEX_BUILD_TOOLS=OFF -DMURMEX_BUILD_PLAYER=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target loader_fuzzer differential_fuzzer \
		saved_game_fuzzer

fuzz: fuzz-build
	@tools/run_fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

fuzz-replay: fuzz-build
	@tools/run_fuzzers.sh $(FUZZ_BUILD) replay

# The demo needs the player, the tool (its terminal fallback) and the data,
# not the test suites.
run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target kestrine murmex_cli demo_data
	@tools/run_demo.sh $(BUILD)

# Builds only what gets installed.
install: configure
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_installables
	@cmake --install $(BUILD) --prefix $(PREFIX)

check-install: configure
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_installables
	@tools/check_install.sh $(BUILD)

# The packages are made from the normal build, with what `make install`
# installs, one for each install component.
# The tool's package carries the web runtime and the manual, so they are built first.
package: configure web docs
	@tools/install_deps.sh $(PACKAGE_PACKAGES)
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_installables
	@rm -f $(BUILD)/*.deb
	@cd $(BUILD) && cpack -G DEB >/dev/null
	@ls $(BUILD)/*.deb

# Checks the packages `make package` made last, without making them again.
check-package:
	@tools/install_deps.sh $(CHECK_PACKAGE_PACKAGES)
	@tools/check_package.sh $(BUILD)

wheel: configure
	@tools/install_deps.sh $(WHEEL_PACKAGES)
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_shared
	@tools/build_wheel.sh $(BUILD)

check-wheel: wheel
	@tools/check_wheel.sh $(BUILD)

csharp: configure
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_csharp_assembly

# The manual, in $(BUILD)/docs/html, built with every warning an error and its
# links checked; the tools' reference is made from the tool's own help.
docs: configure
	@tools/install_deps.sh $(DOCS_PACKAGES)
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_cli murmex_shared murmex_preview
	@tools/build_docs.sh $(BUILD)

# Every console session, C, C++, Python, C# and JavaScript program of the
# README and docs/, run against this build; a language that cannot run fails.
# (Not in make test: the pages publish and run JavaScript, which need make web.)
check-examples: build web csharp
	@/usr/bin/python3 tests/doc_examples.py --all --murmex $(BUILD)/tools/cli/murmex \
		--python /usr/bin/python3 --cxx c++ --cc cc --static $(BUILD)/libmurmex.a \
		--shared $(BUILD)/bindings/c/libmurmex.so --include include --include $(BUILD)/include \
		--mcs mcs --mono mono --csharp-dll $(BUILD)/bindings/csharp/Murmex.dll \
		--node node --web $(WEB_BUILD)/share/murmex/web

# The packages hold the Windows DLL too, so they build that alone in the
# Windows build, not its programs and tests.
windows-library: windows-configure
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target murmex_shared

nuget: csharp windows-library
	@tools/install_deps.sh $(NUGET_PACKAGES)
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_shared
	@tools/pack_nuget.sh $(BUILD) $(WINDOWS_BUILD)

check-nuget: nuget
	@tools/check_nuget.sh $(BUILD)

upm: configure windows-library
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_shared
	@tools/pack_upm.sh $(BUILD) $(WINDOWS_BUILD)

check-upm: upm
	@tools/install_deps.sh file
	@tools/check_upm.sh $(BUILD)

# Every release artefact, each made by its own target first, with the one
# version checked inside each: needs the Windows build and the editor
# extension too.
dist: package dist-windows editors wheel npm nuget upm
	@tools/install_deps.sh unzip
	@tools/dist.sh $(BUILD) $(WINDOWS_BUILD)

# Debian's clang-format, the version the tree is formatted with.
check-format:
	@tools/install_deps.sh clang-format
	@tools/check_format.sh

format:
	@tools/install_deps.sh clang-format
	@tools/format.sh

# The npm packages come from the lock file; Debian's nodejs and npm are
# installed only where no npm is found.
editors:
	@command -v npm >/dev/null || tools/install_deps.sh nodejs npm
	@cd editors/vscode && npm ci --no-audit --no-fund --loglevel=error
	@cd editors/vscode && npm run --silent grammar-test
	@cd editors/vscode && npm run --silent package

# Benchmarks, in a release build of their own: loading against the floor of
# reading the file, conversation steps, allocations, the player's start-up,
# and a step through each language's binding.
bench:
	@tools/install_deps.sh libbenchmark-dev
	@cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DMURMEX_BUILD_BENCH=ON \
		-DMURMEX_BUILD_TESTS=OFF >/dev/null
	@cmake --build build-bench -j $(JOBS)
	@build-bench/bench/murmex_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	@cd build-bench/examples && ../bench/startup_bench ../bench/startup_probe
	@bench/binding_steps.sh build-bench

windows-configure:
	@tools/install_deps.sh $(WINDOWS_PACKAGES)
	@cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
		$(CMAKE_FLAGS) >/dev/null

windows: windows-configure
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS)

test-windows: windows
	@tools/test_windows.sh $(WINDOWS_BUILD) $(JOBS)

# Builds only what the zip holds, not the tests.
dist-windows: windows-configure
	@cmake --build $(WINDOWS_BUILD) -j $(JOBS) --target kestrine murmex_cli demo_data
	@tools/dist_windows.sh $(WINDOWS_BUILD)

web:
	@tools/install_deps.sh $(WEB_PACKAGES)
	@$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
		-DMURMEX_BUILD_TESTS=OFF -DMURMEX_BUILD_TOOLS=OFF -DMURMEX_BUILD_PLAYER=OFF \
		-DMURMEX_INSTALL=OFF $(CMAKE_FLAGS) >/dev/null
	@$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

# The API under Node's own test runner, the JavaScript transcript against
# `murmex play` with the other bindings', then a published demo in Chromium.
test-web: web configure
	@tools/install_deps.sh $(WEB_TEST_PACKAGES)
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_cli murmex binding_conformance_programs
	@MURMEX_WEB=$(WEB_BUILD)/share/murmex/web node --expose-gc --test web/tests/
	@cd $(BUILD) && ctest --output-on-failure -R '^binding_conformance$$'
	@/usr/bin/python3 web/tests/page_test.py --murmex $(BUILD)/tools/cli/murmex \
		--examples examples --work $(BUILD)/web-test

# The npm package: the web build's folder as it stands, its package.json
# naming what ships.
WEB_OUT = $(WEB_BUILD)/share/murmex/web
npm: web
	@command -v npm >/dev/null || tools/install_deps.sh nodejs npm
	@mkdir -p dist
	@cd $(WEB_OUT) && npm pack --silent --pack-destination $(CURDIR)/dist

check-npm: npm
	@tools/install_deps.sh $(WEB_TEST_PACKAGES)
	@tools/check_npm.sh $(BUILD) $(WEB_OUT)

# The published demo's size and the time to its first answer in Chromium.
bench-web: web configure
	@tools/install_deps.sh $(WEB_TEST_PACKAGES)
	@cmake --build $(BUILD) -j $(JOBS) --target murmex_cli
	@/usr/bin/python3 bench/web_page.py --murmex $(BUILD)/tools/cli/murmex --script examples/demo.chr.txt

# Ours against the peer runtime (inkjs, pinned in bench/peer/package-lock.json and
# installed into the build folder) under Node and in headless Chromium: the
# two play the same generated conversations, checked screen by screen first.
PEER_BUILD = $(BUILD)/bench-peer
PEER_WEB = $(WEB_OUT)
bench-peer: web
	@tools/install_deps.sh $(WEB_PACKAGES) $(WEB_TEST_PACKAGES)
	@mkdir -p $(PEER_BUILD)
	@if ! cmp -s bench/peer/package-lock.json $(PEER_BUILD)/package-lock.json || \
		[ ! -d $(PEER_BUILD)/node_modules/inkjs ]; then \
		cp bench/peer/package.json bench/peer/package-lock.json $(PEER_BUILD)/ && \
		(cd $(PEER_BUILD) && npm ci --no-audit --no-fund --loglevel=error); fi
	@node bench/peer/prepare.mjs $(PEER_BUILD)
	@node bench/peer/check.mjs --web $(PEER_WEB) --work $(PEER_BUILD)
	@node --expose-gc bench/peer/bench.mjs --web $(PEER_WEB) --work $(PEER_BUILD)
	@/usr/bin/python3 bench/peer/chromium.py --web $(PEER_WEB) --work $(PEER_BUILD)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD) build-bench dist
