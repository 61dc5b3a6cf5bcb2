#!/usr/bin/env bash
# Builds SDL2 for the web (wasm, with Debian's emscripten) from the source
# that sdl2-source.sh fetches, once, into build/sdl2/web, and prints that
# folder; the web build links it from there. The parts of SDL the game never
# calls are left out, which makes the page's download smaller.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
prefix=$root/build/sdl2/web

if [ ! -f "$prefix/lib/cmake/SDL2/SDL2Config.cmake" ]; then
    sources=$("$root/scripts/sdl2-source.sh")
    build=$root/build/sdl2/web-build
    # emcc's JavaScript tools need Debian's node modules, whichever node runs them.
    export NODE_PATH=/usr/share/nodejs
    # The joystick part stays: it reads the browser's gamepads.
    unused=(AUDIO HAPTIC HIDAPI POWER SENSOR LOCALE MISC FILESYSTEM
        DUMMYVIDEO OFFSCREEN OPENGL)
    options=()
    for part in "${unused[@]}"; do
        options+=("-DSDL_$part=OFF")
    done
    # SDL_LEAN_AND_MEAN drops the optimised surface blitters, RLE and YUV (the
    # game draws only rectangles and lines) but would drop the software
    # renderer too, which the game needs where WebGL is missing.
    emcmake cmake -S "$sources" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF \
        -DSDL2_DISABLE_SDL2MAIN=ON -DSDL_CCACHE=OFF "${options[@]}" \
        -DCMAKE_C_FLAGS="-DSDL_LEAN_AND_MEAN=1 -DSDL_VIDEO_RENDER_SW=1" >&2
    cmake --build "$build" >&2
    cmake --install "$build" >&2
fi
echo "$prefix"
