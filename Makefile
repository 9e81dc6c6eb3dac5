# Thin wrapper over CMake presets; every target first installs what is missing.
PRESET  ?= default
BUILD   := build/$(PRESET)
PREFIX  ?= /usr/local
JOBS    ?= $(shell nproc)

.PHONY: run test test-sanitize fuzz-smoke bench install deps build clean

run: build
	$(BUILD)/src/gridgauge

test: build
	ctest --preset default

build: deps
	@[ -f $(BUILD)/build.ninja ] || cmake --preset $(PRESET)
	cmake --build --preset $(PRESET) -j $(JOBS)

deps:
	@scripts/install-deps

test-sanitize:
	@scripts/install-deps sanitize
	@[ -f build/sanitize/build.ninja ] || cmake --preset sanitize
	cmake --build --preset sanitize -j $(JOBS)
	ctest --preset sanitize

fuzz-smoke:
	@scripts/install-deps sanitize
	@[ -f build/fuzz/build.ninja ] || cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/fuzz-smoke build/fuzz

bench:
	@scripts/install-deps bench
	@[ -f build/bench/build.ninja ] || cmake --preset bench
	cmake --build --preset bench -j $(JOBS)
	scripts/run-bench build/bench

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

clean:
	rm -rf build
