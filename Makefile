# The front door. On a fresh Debian 12 machine (as root or with sudo) every target first installs
# what is missing.
#   make test   build both presets and run every test (native, fuzzing, and under Wine)
#   make run    build and open Quorvane under Wine
#   make bench  measure start-up, memory, a click and reading the prices against baselines

SHELL := /bin/bash
.DEFAULT_GOAL := test
.PHONY: deps native windows build test run bench icon clean

deps:
	@tools/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows

build: native windows

test: build
	ctest --preset native
	tools/wine-env.sh up
	ctest --preset windows; status=$$?; tools/wine-env.sh down; exit $$status

run: windows
	@tools/run.sh

# Measurements, each against a baseline of the same run (not a test: it prints, and fails nothing).
bench: windows
	cmake --preset bench >/dev/null
	cmake --build --preset bench --target load_prices_bench
	@tools/bench.sh

# Remakes ui/quorvane.ico with the icon generator.
icon: native
	cmake --build --preset native --target icon

clean:
	-tools/wine-env.sh down
	rm -rf build
