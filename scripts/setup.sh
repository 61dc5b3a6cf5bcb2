#!/usr/bin/env bash
# Installs the Debian packages that building, playing or testing Skerrion
# needs, and only those that are missing. Usage: scripts/setup.sh [run|test|clang|bench|package]
set -euo pipefail

purpose=${1:-run}
packages=(g++ make cmake ninja-build pkg-config libsdl2-dev)
case "$purpose" in
run) ;;
package) packages+=(dpkg-dev file) ;; # cpack finds the dependencies with them
test | clang) packages+=(googletest libgtest-dev xvfb xdotool imagemagick python3) ;;&
clang) packages+=(clang) ;;
test) ;;
bench) packages+=(libbenchmark-dev python3 python3-matplotlib) ;;
*)
    echo "usage: $0 [run|test|clang|bench|package]" >&2
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
