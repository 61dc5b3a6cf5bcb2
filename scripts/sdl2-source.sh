#!/usr/bin/env bash
# Fetches the source of the SDL2 this machine's desktop build links (the
# version of its installed libsdl2-dev) once into the machine's cache (see
# scripts/cache.sh), and prints the folder it unpacked; the web and Windows
# builds compile it, so all three builds of one machine use the same SDL, and
# every clone reuses it. apt fetches it from the
# archive and suite the system's own apt sources name for that package, in
# whichever format they are written, and checks it against the archive's signed
# index; apt reads a private sources list and keeps its lists beside the
# download, so the system's apt configuration stays as it is.
set -euo pipefail
trap 'echo "sdl2-source: \"$BASH_COMMAND\" failed with status $? (line $LINENO)" >&2' ERR
export LC_ALL=C

fail() {
    echo "sdl2-source: $*" >&2
    exit 1
}

for tool in apt-get apt-cache dpkg-query tar awk; do
    command -v "$tool" >/dev/null || fail "$tool is missing: this script needs Debian's apt and dpkg"
done
binary=libsdl2-dev
installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Version} ${source:Package} ${source:Version}' $binary 2>/dev/null) ||
    true
read -r status binary_version package version <<<"$installed" || true
[ "${status-}" = ii ] || fail "$binary is not installed: run scripts/setup.sh run first"

# Into DEST: the unpacked source in DEST/source.
fetch() {
    local dest=$1
    apt_dir=$dest/apt
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"

    # The system's entries that offer the installed version ("500 URI SUITE/COMPONENT
    # ARCH Packages" under it in apt-cache policy), and where each was written.
    offered=$(apt-cache policy $binary | awk -v version="$binary_version" '
        NF == 2 || ($1 == "***" && NF == 3) { here = ($(NF - 1) == version) }
        here && NF == 5 && $2 ~ /^[a-z+]+:\/\// { print $2, $3 }')
    [ -n "$offered" ] || fail "none of this system's apt sources offers $binary $binary_version (see" \
        "apt-cache policy $binary): run apt-get update, and if the archive has moved on, apt-get install" \
        "$binary to get its current version; then try again"
    entries=$(apt-get indextargets --format '$(SITE) $(RELEASE)/$(COMPONENT) $(SOURCESENTRY)' 'Created-By: Packages')
    while read -r site suite_component; do
        entry=$(awk -v key="$site $suite_component" '$1 " " $2 == key { print $3; exit }' <<<"$entries")
        [ -n "$entry" ] || fail "apt-get indextargets names no sources entry for $site $suite_component"
        file=${entry%:*} number=${entry##*:}
        suite=${suite_component%/*} component=${suite_component##*/}
        # The same entry for source packages, its options (the key it is signed
        # with above all) kept: the line of a one-line list, the stanza of a deb822 file.
        if [[ $file == *.sources ]]; then
            awk -v number="$number" -v suite="$suite" -v component="$component" '
                /^#/ { next }
                /^[ \t]*$/ { if (stanza) { count++; stanza = 0 } next }
                { stanza = 1 }
                count + 1 != number { next }
                /^Types:/ { print "Types: deb-src"; next }
                /^Suites:/ { print "Suites: " suite; next }
                /^Components:/ { print "Components: " component; next }
                /^(Architectures|Enabled):/ { next }
                { print }
                END { print "" }' "$file" >>"$apt_dir/sources.list.d/system.sources"
        else
            sed -n "${number}s/^[ \t]*deb\([ \t]\)/deb-src\1/p" "$file" |
                awk -v suite="$suite" -v component="$component" '{
                    for (i = 2; i <= NF && $i ~ /^\[|=|\]$/; i++) {}
                    print $0 ~ /\[/ ? substr($0, 1, index($0, "]")) : "deb-src", $(i), suite, component }' \
                    >>"$apt_dir/sources.list"
        fi
    done <<<"$offered"
    touch "$apt_dir/sources.list"

    options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
        -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
    [ "$(id -u)" -ne 0 ] || options+=(-o APT::Sandbox::User=root)
    apt-get "${options[@]}" update -qq --error-on=any >&2 ||
        fail "apt could not read the source index of $(echo "$offered" | tr '\n' ' ')(see above): is the" \
            "archive reachable from here (a proxy, the network)?"
    # apt checks the files against the archive's signed index.
    (cd "$dest" && apt-get "${options[@]}" source --download-only -qq "$package=$version" >&2) ||
        fail "apt could not fetch the source of $package $version (see above)"
    upstream=${version#*:}
    upstream=${upstream%-*}
    tarball=$(find "$dest" -maxdepth 1 -name "${package}_$upstream.orig.tar.*" -print -quit)
    [ -n "$tarball" ] || fail "the source of $package $version has no ${package}_$upstream.orig.tar.* in $dest"
    mkdir "$dest/source"
    tar -xf "$tarball" -C "$dest/source" --strip-components=1
    # Only the unpacked source is kept.
    rm -rf "$apt_dir" "$dest"/*.tar.* "$dest"/*.dsc
}

. "$(dirname "$0")/cache.sh"
entry=$(cache_entry "sdl2-source/$version" "SDL2's source: Debian's $package $version, upstream's tarball" fetch) ||
    fail "no source of $package $version (see above)"
echo "$entry/source"
