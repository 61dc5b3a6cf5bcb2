#!/usr/bin/env bash
# Fetches Debian's source of SDL2 (the same version the desktop build links)
# into build/sdl2/source once and prints the folder it unpacked; the web and
# Windows builds compile it. apt reads a private sources list and keeps its
# lists under build/, so the system's apt configuration stays as it is.
set -euo pipefail

version=2.26.5
debian_version=$version+dfsg-1
root=$(cd "$(dirname "$0")/.." && pwd)
dest=$root/build/sdl2/source
unpacked=$dest/SDL2-$version

if [ ! -f "$unpacked/CMakeLists.txt" ]; then
    apt_dir=$dest/apt
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
    # The archive the system itself uses, as a source entry of its own.
    archive=$(sed -n 's/^URIs: *\([^ ]*\/debian\)\/*$/\1/p' /etc/apt/sources.list.d/debian.sources \
        2>/dev/null | head -n 1)
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg]" \
        "${archive:-http://deb.debian.org/debian} bookworm main" >"$apt_dir/sources.list"
    options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o Dir::Etc::SourceParts=-
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
    [ "$(id -u)" -ne 0 ] || options+=(-o APT::Sandbox::User=root)
    apt-get "${options[@]}" update -qq >&2
    # apt checks the files against the archive's signed index.
    (cd "$dest" && apt-get "${options[@]}" source --download-only -qq "libsdl2=$debian_version" >&2)
    tar -xzf "$dest/libsdl2_$version+dfsg.orig.tar.gz" -C "$dest"
fi
echo "$unpacked"
