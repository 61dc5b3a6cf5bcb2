#!/usr/bin/env bash
# Installs the Debian packages that building, playing or testing Skerrion
# needs, and only those that are missing.
# Usage: scripts/setup.sh [run|test|clang|bench|package|web|windows|debian13]
set -euo pipefail
trap 'echo "setup: \"$BASH_COMMAND\" failed with status $? (line $LINENO)" >&2' ERR

fail() {
    echo "setup: $*" >&2
    exit 1
}

purpose=${1:-run}
packages=(g++ make cmake ninja-build pkg-config libsdl2-dev)
case "$purpose" in
run) ;;
# cpack finds the dependencies with dpkg-dev and file; packaging/check-installed.sh
# runs Debian's checker, the validators and man on the installed package.
package) packages+=(dpkg-dev file lintian desktop-file-utils appstream man-db) ;;
test | clang) packages+=(googletest libgtest-dev xvfb xauth xdotool imagemagick python3) ;;&
clang) packages+=(clang) ;;
test) packages+=(tmux) ;; # the terminal test runs the game in a tmux pane
bench) packages+=(libbenchmark-dev python3 python3-matplotlib) ;;
# The web build (emscripten), make serve (python3) and the browser test and bench
# (Chromium and Firefox ESR, driven by tests/web's npm packages; Mesa's EGL and
# llvmpipe give Firefox its WebGL).
web)
    packages+=(emscripten python3 chromium firefox-esr libegl1 libegl-mesa0 libgl1-mesa-dri)
    command -v npm >/dev/null || packages+=(npm)
    ;;
# The Windows build: the cross compilers with POSIX threads (a monotonic
# steady_clock), and Wine in Xvfb with a window manager for its test.
windows) packages+=(g++-mingw-w64-x86-64-posix python3 wine wine64 xvfb xauth xdotool imagemagick openbox) ;;
# CI's check in a Debian 13 system (.ci/debian13).
debian13) packages+=(debootstrap git) ;;
*)
    echo "usage: $0 [run|test|clang|bench|package|web|windows|debian13]" >&2
    exit 2
    ;;
esac

for tool in dpkg-query apt-get; do
    command -v $tool >/dev/null ||
        fail "$tool is missing: this script installs Debian's packages; elsewhere install these: ${packages[*]}"
done
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || fail "installing packages needs root: run this as root, or install sudo"
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq ||
        fail "apt-get update failed (see above): check the network and the system's apt sources"
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" ||
        fail "apt-get could not install ${missing[*]} (see above); on a system that is not Debian or" \
            "Ubuntu, install the same packages by their names there"
fi

# The browser test's npm packages, exactly as its lockfile pins them, into
# tests/web/node_modules, again only when the lockfile is newer. No browser of
# their own: the test drives Debian's.
web_test=$(dirname "$0")/../tests/web
if [ "$purpose" = web ] && ! [ "$web_test/node_modules/.package-lock.json" -nt "$web_test/package-lock.json" ]; then
    (cd "$web_test" && npm ci --ignore-scripts --no-audit --no-fund) ||
        fail "npm ci in tests/web failed (see above): check the network and the npm registry"
fi
