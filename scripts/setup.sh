#!/usr/bin/env bash
# Installs the Debian packages that building, playing or testing Skerrion
# needs, and only those that are missing.
# Usage: scripts/setup.sh [run|test|clang|bench|package|web|windows]
set -euo pipefail

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
# The web build (emscripten) and its browser test (Chromium driven by Selenium).
web) packages+=(emscripten python3 chromium chromium-driver python3-selenium python3-pil) ;;
# The Windows build: the cross compilers with POSIX threads (a monotonic
# steady_clock), and Wine in Xvfb with a window manager for its test.
windows) packages+=(g++-mingw-w64-x86-64-posix python3 wine wine64 xvfb xauth xdotool imagemagick openbox) ;;
*)
    echo "usage: $0 [run|test|clang|bench|package|web|windows]" >&2
    exit 2
    ;;
esac

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
