#!/usr/bin/env bash
# Builds SDL2 as a static library for another platform, from the source that
# sdl2-source.sh fetches (the version the desktop build links), once into
# build/sdl2/<platform>, and prints that folder; the platform's preset links
# it from there. It builds again when the SDL version or the settings below
# change. Usage: scripts/sdl2-build.sh web|windows
set -euo pipefail
trap 'echo "sdl2-build: \"$BASH_COMMAND\" failed with status $? (line $LINENO)" >&2' ERR

fail() {
    echo "sdl2-build: $*" >&2
    exit 1
}

platform=${1-}
root=$(cd "$(dirname "$0")/.." && pwd)
# The game uses SDL's video, events, renderer and game controllers (through its
# joystick part: the browser's gamepads; XInput, DirectInput and raw input on
# Windows, whose DLLs SDL loads itself); the parts it never calls are switched
# off, which makes the page's download and the .exe smaller. One part a line,
# so that switching one on is a one-line change: first those both platforms
# leave out, then each platform's own.
off=(
    AUDIO
    HAPTIC
    HIDAPI
    POWER
    SENSOR
)
case "$platform" in
web)
    off+=(
        LOCALE
        MISC
        FILESYSTEM
        DUMMYVIDEO
        OFFSCREEN
        OPENGL # WebGL comes through OPENGLES
    )
    # SDL_LEAN_AND_MEAN drops the optimised surface blitters, RLE and YUV (the
    # game draws only rectangles and lines) but would drop the software
    # renderer too, which the game needs where WebGL is missing. The page calls
    # the game's main itself.
    settings=(-DSDL2_DISABLE_SDL2MAIN=ON -DCMAKE_C_FLAGS="-DSDL_LEAN_AND_MEAN=1 -DSDL_VIDEO_RENDER_SW=1")
    configure=(emcmake cmake)
    tools=(emcmake emcc)
    video=emscripten
    # emcc's JavaScript tools need Debian's node modules, whichever node runs them.
    export NODE_PATH=/usr/share/nodejs
    ;;
windows)
    settings=(--toolchain "$root/cmake/mingw-w64-x86_64.cmake")
    configure=(cmake)
    tools=(x86_64-w64-mingw32-gcc-posix)
    video=windows
    ;;
*) fail "usage: $0 web|windows" ;;
esac
for tool in cmake ninja "${tools[@]}"; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup.sh $platform"
done

sources=$("$root/scripts/sdl2-source.sh") || fail "no SDL2 source to build (see above)"
[ -d "$sources/src/video/$video" ] ||
    fail "$sources is not SDL2's own source with a $platform video driver: this system's libsdl2-dev" \
        "comes from another source package (dpkg-query -W -f='\${source:Package}' libsdl2-dev)"
prefix=$root/build/sdl2/$platform
build=$root/build/sdl2/$platform-build
options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DSDL_SHARED=OFF
    -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_CCACHE=OFF "${settings[@]}")
for part in "${off[@]}"; do
    options+=("-DSDL_$part=OFF")
done
# What the installed library was built from and with.
recipe="$sources ${options[*]}"

if [ "$(cat "$prefix/recipe" 2>/dev/null)" != "$recipe" ]; then
    echo "sdl2-build: building SDL2 for $platform from $sources (a few minutes)" >&2
    rm -rf "$prefix" "$build"
    "${configure[@]}" -S "$sources" -B "$build" "${options[@]}" >&2
    cmake --build "$build" >&2
    cmake --install "$build" >&2
    echo "$recipe" >"$prefix/recipe"
fi
echo "$prefix"
