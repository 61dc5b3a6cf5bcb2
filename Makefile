# Shortcuts over the CMake presets. Run scripts/setup.sh first on a new machine.
.PHONY: all run build test test-ci test-sanitize test-clang bench package pictures clean

# The tools, where Debian installs them; `make web NODE_PATH=...` and the like
# name others. Debian's python3 has the modules the scripts import, which
# another python3 first on the PATH may not; /usr/local/bin/convert may be a
# stand-in for ImageMagick's.
PYTHON ?= /usr/bin/python3
CONVERT ?= /usr/bin/convert
EMSCRIPTEN_TOOLCHAIN ?= /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
# emcc's JavaScript tools need Debian's node modules, whichever node runs them.
NODE_PATH ?= /usr/share/nodejs
export NODE_PATH

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

# The same tests built with clang (run by CI besides `make test`; needs
# `scripts/setup.sh clang`). The real-window suite runs in the other builds.
test-clang:
	cmake --preset clang
	cmake --build --preset clang
	ctest --preset clang

# Benchmarks: every figure with its ratio on the console, the raw results in
# build/bench/bench.json, the plot in build/bench/performance.png.
bench:
	cmake --preset bench
	cmake --build --preset bench
	./build/bench/bench/skerrion_bench --benchmark_repetitions=3 \
		--benchmark_report_aggregates_only=true \
		--benchmark_out=build/bench/bench.json --benchmark_out_format=json
	$(PYTHON) bench/report.py build/bench/bench.json build/bench/performance.png

# The README's pictures, docs/*.png, and the icon at every size,
# packaging/icons/skerrion-<size>.png, drawn by the game's own code (needs
# imagemagick); the start and game-over screens also as the references of the
# web and Wine tests, tests/pictures/, which a test of `make test` compares
# with what the game draws. PICTURES_BUILD picks the build folder.
PICTURES_BUILD ?= build/release
pictures:
	cmake --preset release -B $(PICTURES_BUILD)
	cmake --build $(PICTURES_BUILD) --target skerrion_pictures
	mkdir -p $(PICTURES_BUILD)/pictures docs packaging/icons tests/pictures
	$(PICTURES_BUILD)/tools/skerrion_pictures $(PICTURES_BUILD)/pictures
	for name in start-screen play-frame game-over; do \
		$(CONVERT) $(PICTURES_BUILD)/pictures/$$name.bmp -strip \
			-define png:exclude-chunks=date,time docs/$$name.png || exit 1; \
	done
	cp docs/start-screen.png docs/game-over.png tests/pictures/
	for bmp in $(PICTURES_BUILD)/pictures/icon-*.bmp; do \
		size=$${bmp##*/icon-}; size=$${size%.bmp}; \
		$(CONVERT) $$bmp -strip -define png:exclude-chunks=date,time \
			PNG32:packaging/icons/skerrion-$$size.png || exit 1; \
	done

# The Debian package, build/package/skerrion_<version>_<arch>.deb: the
# release build with the game in games/ and Debian's compiler flags.
package:
	cmake --preset package
	cmake --build --preset package
	cd build/package && cpack

# The game as a web page in build/web/site (the page, its scripts, the wasm,
# the web app manifest, icons and service worker; needs `scripts/setup.sh
# web`). SDL2, the version the desktop build links, is built for the web once
# a machine, into its cache (scripts/sdl2-build.sh says where, and when it
# reuses one). `make serve` serves the page on this machine only
# (BIND=0.0.0.0 for the phones on the same network); `make test-web` plays it
# in headless Chromium and Firefox ESR (CHROMIUM and FIREFOX name other
# builds of them), with WebGL and without, with a fake gamepad, and on an
# emulated phone in Chromium.
.PHONY: web serve test-web
PORT ?= 8000
BIND ?= 127.0.0.1
NODE ?= node

web:
	sdl2=$$(scripts/sdl2-build.sh web) && \
		cmake --preset web --toolchain $(EMSCRIPTEN_TOOLCHAIN) -DSDL2_DIR=$$sdl2/lib/cmake/SDL2
	cmake --build --preset web

serve: web
	@echo "Open http://$(BIND):$(PORT)/ in a browser; Ctrl+C stops the server."
	$(PYTHON) -m http.server --bind $(BIND) --directory build/web/site $(PORT)

test-web: web
	@test -d tests/web/node_modules || { echo "tests/web/node_modules is missing: run scripts/setup.sh web" >&2; exit 1; }
	$(NODE) tests/web/test_page.mjs build/web/site

clean:
	rm -rf build

# Windows: SDL2, the version the desktop build links, built from Debian's
# source as a static library for 64-bit Windows once a machine, into its cache
# (scripts/sdl2-build.sh), then the game cross-built against it, stripped and
# zipped: build/windows/skerrion-<version>-win64.zip. Needs `scripts/setup.sh
# windows`. scripts/sdl2-build.sh lists the parts of SDL each platform leaves out.
.PHONY: windows test-windows

windows:
	sdl2=$$(scripts/sdl2-build.sh windows) && cmake --preset windows -DSDL2_DIR=$$sdl2/lib/cmake/SDL2
	cmake --build --preset windows

# The zip's .exe in a fresh Wine prefix under a private Xvfb. The raised
# priority (root only; others get a warning) keeps a machine busy with builds
# from stalling a pass so long that it sinks the player through the floor: the
# game's, Wine's and the X server's, which draws every frame.
test-windows:
	nice -n -10 xvfb-run -a -s "-screen 0 1920x1200x24" $(PYTHON) tests/windows/test_wine.py build/windows/skerrion-*-win64.zip
