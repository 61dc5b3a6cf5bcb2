#!/usr/bin/env bash
# Builds SDL2 as a static library for another platform, from the source that
# sdl2-source.sh fetches (the version the desktop build links), once a machine
# into its cache (see scripts/cache.sh), and prints that folder; the Makefile
# hands it to the platform's preset. Every clone reuses it; a change of SDL's
# version, the compiler's or the settings below builds another.
# Usage: scripts/sdl2-build.sh web|windows
set -euo pipefail
trap 'echo "sdl2-build: \"$BASH_COMMAND\" failed with status $? (line $LINENO)" >&2' ERR

fail() {
    echo "sdl2-build: $*" >&2
    exit 1
}

platform=${1-}
root=$(cd "$(dirname "$0")/.." && pwd)
# The game uses SDL's video, events, renderer, game controllers (through its
# joystick part: the browser's gamepads; XInput, DirectInput and raw input on
# Windows, whose DLLs SDL loads itself) and audio (Web Audio; WASAPI,
# DirectSound and winmm; each platform's disk and dummy drivers too, which the
# tests listen through); the parts it never calls are switched off, which
# makes the page's download and the .exe smaller. One part a line, so that
# switching one on is a one-line change: first those both platforms leave
# out, then each platform's own.
off=(
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
    compiler=emcc
    tools=(emcmake cc)
    video=emscripten
    # SDL's resampling filter made on its first use, not carried as tables in
    # the page's download (see the header).
    own_filter=$root/scripts/sdl2-web/SDL_audio_resampler_filter.h
    # emcc's JavaScript tools need Debian's node modules, whichever node runs them.
    export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
    ;;
windows)
    toolchain=$root/cmake/mingw-w64-x86_64.cmake
    settings=(--toolchain "$toolchain")
    configure=(cmake)
    compiler=x86_64-w64-mingw32-gcc-posix
    tools=()
    video=windows
    ;;
*) fail "usage: $0 web|windows" ;;
esac
for tool in cmake ninja "$compiler" "${tools[@]}"; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run scripts/setup.sh $platform"
done

sources=$("$root/scripts/sdl2-source.sh") || fail "no SDL2 source to build (see above)"
[ -d "$sources/src/video/$video" ] ||
    fail "$sources is not SDL2's own source with a $platform video driver: this system's libsdl2-dev" \
        "comes from another source package (dpkg-query -W -f='\${source:Package}' libsdl2-dev)"
options=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_CCACHE=OFF)
for part in "${off[@]}"; do
    options+=("-DSDL_$part=OFF")
done

# What the entry depends on, one thing a line. The compiler also as its
# package names it, when dpkg knows it: a Debian update may keep the
# --version line.
compiler_version=$("$compiler" --version | sed -n 1p)
compiler_package=$(dpkg-query --search "$(readlink -f "$(command -v "$compiler")")" 2>/dev/null |
    awk -F ': ' 'NR == 1 { print $1 }') || true
if [ -n "$compiler_package" ]; then
    compiler_version+=" (Debian's $compiler_package $(dpkg-query -W -f='${Version}' "$compiler_package"))"
fi
recipe="SDL2 $(dpkg-query -W -f='${source:Version}' libsdl2-dev) for $platform
compiler: $compiler_version
cmake: $(cmake --version | sed -n 1p)
settings: ${options[*]} ${settings[*]/#$root/<clone>}"
if [ -n "${toolchain-}" ]; then
    recipe+="
toolchain file: $(sha256sum <"$toolchain" | cut -d ' ' -f 1)"
fi
if [ -n "${own_filter-}" ]; then
    recipe+="
resampling filter: $(sha256sum <"$own_filter" | cut -d ' ' -f 1)"
fi

# Into DEST, for the folder the cache renames it to.
build() {
    local dest=$1
    echo "sdl2-build: building SDL2 for $platform from $sources (a few minutes)" >&2
    local from=$sources
    if [ -n "${own_filter-}" ]; then
        from=$dest/source
        cp -a "$sources" "$from"
        replace_filter "$from/src/audio"
    fi
    "${configure[@]}" -S "$from" -B "$dest/build" -DCMAKE_INSTALL_PREFIX="$SKERRION_CACHE_ENTRY" \
        "${options[@]}" "${settings[@]}" >&2
    cmake --build "$dest/build" >&2
    cmake --install "$dest/build" --prefix "$dest" >&2
    rm -rf "$dest/build" "$dest/source"
}

# Into the copy of SDL's audio source in folder $1, the game's own filter
# header, once a build for this machine has found it the same as SDL's tables.
replace_filter() {
    local audio=$1 check
    check=$(mktemp)
    cc -std=c99 -D_DEFAULT_SOURCE -I"$audio" "$(dirname "$own_filter")/check-resampler-filter.c" -lm -o "$check"
    "$check" || fail "$own_filter makes another filter than this SDL's tables (see above)"
    rm -f "$check"
    cp "$own_filter" "$audio/"
}

. "$root/scripts/cache.sh"
cache_entry "sdl2/$platform" "$recipe" build || fail "SDL2 for $platform could not be built (see above)"
