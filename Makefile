# Quorvel: the two commands a fresh machine needs are `make run` and `make test`.
BUILD   ?= build
ASAN    ?= build-asan
FUZZ    ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS ?= bmp gif jpeg png ico ini project sequence avi riff
JOBS    ?= $(shell nproc)
CMAKE_FLAGS ?=
PREFIX  ?= /usr/local

.PHONY: all deps configure build run test install asan-test fuzz fuzz-seeds bench format clean

all: build

deps:
	@bash scripts/install-deps

$(BUILD)/build.ninja: | deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

configure: deps $(BUILD)/build.ninja

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	@bash scripts/run-main

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Installs the programs, desktop entry, file types, icons, manual pages and the example below
# PREFIX (and below DESTDIR, when given, for staging a package).
install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The non-UI libraries and their tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test: deps
	@cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON -DQUORVEL_UI=OFF -DQUORVEL_BENCH=OFF >/dev/null
	@cmake --build $(ASAN) -j $(JOBS)
	@cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS) -L nonui

# The libFuzzer targets, built with clang in a build folder of their own, each run for
# FUZZ_SECONDS seconds (make fuzz FUZZ_SECONDS=600 FUZZ_TARGETS="bmp ini").
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DQUORVEL_FUZZ=ON -DQUORVEL_UI=OFF -DQUORVEL_BENCH=OFF >/dev/null
	@cmake --build $(FUZZ) -j $(JOBS) --target fuzzers
	@bash scripts/run-fuzz $(FUZZ) $(FUZZ_SECONDS) $(FUZZ_TARGETS)

# Writes the seed corpora fuzz/corpus/<target>/ anew from the system's own writers.
fuzz-seeds: build
	@$(BUILD)/fuzz/quorvel-fuzz-seeds fuzz/corpus

bench: build
	@$(BUILD)/bench/quorvel-bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	@rm -rf $(BUILD) $(ASAN) $(FUZZ)
