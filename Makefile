# Shortcuts over the CMake presets. Run scripts/setup.sh first on a new machine.
.PHONY: all run build test test-ci test-sanitize clean

all: build

build:
	cmake --preset release
	cmake --build --preset release

run: build
	./build/release/src/skerrion

# Every test, in the plain build (warnings as errors) and under the sanitizers.
test: test-ci test-sanitize

test-ci:
	cmake --preset ci
	cmake --build --preset ci
	ctest --preset ci

test-sanitize:
	cmake --preset sanitize
	cmake --build --preset sanitize
	ctest --preset sanitize

clean:
	rm -rf build
