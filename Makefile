# Thin wrapper over CMake presets. Every target first installs what is missing (Debian 12);
# NO_DEPS=1 skips that and only checks, for machines that are not Debian or are offline.
PRESET  ?= default
BUILD   := build/$(PRESET)
PREFIX  ?= /usr/local
JOBS    ?= $(shell nproc)
# WERROR=1 makes compiler warnings errors, WERROR=0 warnings again; a tree configured the other
# way is configured again. Without WERROR a tree keeps what it has (off for a new one).
WERROR  ?=
NO_DEPS ?=

werror_bool := $(if $(filter 1 ON on yes,$(WERROR)),ON,OFF)
werror_arg  := $(if $(WERROR),-DGRIDGAUGE_WERROR=$(werror_bool),)
# What each preset needs beyond the base set.
deps_groups := $(if $(filter sanitize fuzz,$(PRESET)),sanitize,)$(if $(filter bench,$(PRESET)),bench,)

.PHONY: run test test-preset test-sanitize package docs fuzz-smoke bench install deps build format-check clean

run: build
	$(BUILD)/src/gridgauge

test: test-preset build
	ctest --preset $(PRESET)

test-preset:
	@ctest --list-presets 2>/dev/null | grep -q '"$(PRESET)"' || \
	  { echo "make test: preset '$(PRESET)' has no tests; use default or sanitize" >&2; exit 2; }

test-sanitize:
	$(MAKE) test PRESET=sanitize

build: deps
	@if [ ! -f $(BUILD)/build.ninja ] || { [ -n "$(WERROR)" ] && \
	    ! grep -qx 'GRIDGAUGE_WERROR:BOOL=$(werror_bool)' $(BUILD)/CMakeCache.txt; }; then \
	  cmake --preset $(PRESET) $(werror_arg); fi
	cmake --build --preset $(PRESET) -j $(JOBS)

deps:
ifeq ($(NO_DEPS),1)
	@scripts/install-deps --check $(deps_groups)
else
	@scripts/install-deps $(deps_groups)
endif

# CPack works in build/package; the packages (the program, libgridgauge1, libgridgauge-dev) are
# copied to the root, where the README's apt command expects them.
debs := gridgauge_*.deb libgridgauge1_*.deb libgridgauge-dev_*.deb
package:
	$(MAKE) build PRESET=default
	rm -f $(addprefix build/package/,$(debs)) $(debs)
	cpack --preset default
	cp $(addprefix build/package/,$(debs)) .
	@ls -l $(debs)

# The libraries' API reference, from the public headers, into build/docs/html; a warning fails it.
docs: deps
	scripts/docs build/docs

fuzz-smoke:
	$(MAKE) build PRESET=fuzz
	scripts/fuzz-smoke build/fuzz

bench:
	$(MAKE) build PRESET=bench
	scripts/run-bench build/bench

install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

format-check:
ifeq ($(NO_DEPS),1)
	@scripts/install-deps --check format
else
	@scripts/install-deps format
endif
	scripts/format-check

clean:
	rm -rf build
