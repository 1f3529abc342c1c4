# The front door. On a fresh Debian 12 machine (as root or with sudo) every target first installs
# what is missing.
#   make test   build both presets and run every test (native, fuzzing, and under Wine)
#   make run    build and open Quorvane under Wine

SHELL := /bin/bash
.DEFAULT_GOAL := test
.PHONY: deps native windows build test run clean

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
	@echo "The windows are not built yet: only the pricing core and its tests exist so far."

clean:
	-tools/wine-env.sh down
	rm -rf build
