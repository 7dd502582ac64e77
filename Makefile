# The two commands a new user needs: `make run` and `make test`.
# Both install missing system packages first (scripts/install-deps.sh), then configure and build.

BUILD      ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 20
JOBS       ?= $(shell nproc)
CMAKE_GEN  := -G Ninja

.PHONY: all deps configure build run test test-main test-asan test-tsan fuzz bench package format clean

all: build

deps:
	@sh scripts/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/bin/kopienwacht

test: test-main test-asan test-tsan fuzz

test-main: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The core (no Qt) once more under AddressSanitizer and UndefinedBehaviorSanitizer.
test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DKOWACHT_SANITIZE=ON -DKOWACHT_GUI=OFF >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

# The engine's threads under ThreadSanitizer: the search tests, which run it on several threads.
test-tsan: deps
	@cmake -S . -B $(TSAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOWACHT_TSAN=ON -DKOWACHT_GUI=OFF >/dev/null
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target search_tests
	TSAN_OPTIONS=halt_on_error=1 ./$(TSAN_BUILD)/tests/search_tests --gtest_shuffle --gtest_brief=1

# libFuzzer targets built with clang, each run for FUZZ_SECONDS (make fuzz FUZZ_SECONDS=3600).
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOWACHT_FUZZ=ON \
		-DKOWACHT_GUI=OFF -DFUZZ_SECONDS=$(FUZZ_SECONDS) >/dev/null
	cmake --build $(FUZZ_BUILD) -j $(JOBS)
	cd $(FUZZ_BUILD) && ctest --output-on-failure

# build/kopienwacht_<version>_<arch>.deb, for `sudo apt install ./build/kopienwacht_…deb`.
package: build
	cd $(BUILD) && cpack -G DEB

bench: build
	bench/run.sh

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
