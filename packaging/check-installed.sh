#!/usr/bin/env bash
# Checks the Debian package once it is installed, given its .deb file:
# Debian's checker finds no error and no warning in it; it asks for SDL2's
# runtime library and the shared C++ runtime; the manual page shows and is
# indexed; the icons, the desktop entry and the software-centre entry are in
# place and valid; and the installed game, started once on the dummy video
# driver, reaches the start screen and, stopped with SIGTERM, prints its
# final score and exits with status 0.
# Usage: packaging/check-installed.sh build/package/skerrion_<version>_<arch>.deb
set -euo pipefail
trap 'echo "check-installed: \"$BASH_COMMAND\" failed with status $? (line $LINENO)" >&2' ERR

fail() {
    echo "check-installed: $*" >&2
    exit 1
}

deb=${1:?usage: $0 PACKAGE.deb}
game=/usr/games/skerrion
metainfo=/usr/share/metainfo/example.skerrion.Skerrion.metainfo.xml
[ "$(dpkg-deb -f "$deb" Version)" = "$(dpkg-query -W -f='${Version}' skerrion)" ] ||
    fail "the installed package is not $deb"

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
# lintian does not vouch for its results as root: there it runs as nobody, on
# a copy of the package that nobody can read.
chmod 755 "$dir"
install -m 644 "$deb" "$dir/package.deb"
as_user=()
[ "$(id -u)" -ne 0 ] || as_user=(runuser -u nobody --)
(cd / && "${as_user[@]}" lintian --fail-on error,warning --info "$dir/package.deb") ||
    fail "lintian found errors or warnings in $deb"

depends=$(dpkg-query -W -f='${Depends}' skerrion)
for runtime in libsdl2-2.0-0 libstdc++6; do
    [[ $depends == *"$runtime "* ]] || fail "the package does not depend on $runtime: $depends"
done
[[ $depends != *libsdl2-dev* ]] || fail "the package depends on SDL2's development package"

for file in $game /usr/share/applications/skerrion.desktop $metainfo \
    /usr/share/man/man6/skerrion.6.gz /usr/share/doc/skerrion/{README.md,copyright,changelog.gz}; do
    [ -f "$file" ] || fail "$file is missing"
done
for size in 16 22 24 32 48 64 128 256; do
    icon=/usr/share/icons/hicolor/${size}x$size/apps/skerrion.png
    [[ $(file -b "$icon") == "PNG image data, $size x $size,"* ]] ||
        fail "$icon is not a $size x $size PNG image: $(file -b "$icon")"
done
desktop-file-validate /usr/share/applications/skerrion.desktop ||
    fail "desktop-file-validate rejects the desktop entry"
grep -qx Icon=skerrion /usr/share/applications/skerrion.desktop || fail "the desktop entry names no icon skerrion"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects $metainfo"
for element in '<launchable type="desktop-id">skerrion.desktop</launchable>' \
    '<content_rating type="oars-1.1"'; do
    grep -qF "$element" "$metainfo" || fail "$metainfo lacks $element"
done

# The index comes from the package's installation (man-db's trigger). The
# page is read as a user would: as root, man would keep a formatted copy that
# the index would list even without the page.
listed=$(man -k skerrion 2>&1) || fail "man -k skerrion lists nothing: $listed"
[[ $listed == "skerrion (6) "* ]] || fail "man -k skerrion does not list the page: $listed"
page=$(cd / && "${as_user[@]}" man -P cat 6 skerrion 2>&1) || fail "man 6 skerrion: $page"
[[ $page == *"Skerrion: no display available (is DISPLAY or WAYLAND_DISPLAY set?)"* ]] ||
    fail "man 6 skerrion does not show the game's page"

out=$dir/out
SDL_VIDEODRIVER=dummy $game >"$out" &
pid=$!
# The first status line follows the first frame; state 0 is the start screen.
for _ in $(seq 100); do
    grep -q 'State: 0' "$out" && break
    sleep 0.1
done
kill -TERM "$pid" 2>/dev/null || true
status=0
wait "$pid" || status=$?

grep -q 'State: 0' "$out" || fail "the game never reached the start screen"
[ "$status" -eq 0 ] || fail "the game exited with status $status on SIGTERM"
grep -q 'Your final score is 0\.' "$out" || fail "the game printed no final score"
echo "check-installed: lintian clean, files in place and valid, manual page shown and indexed;"
echo "check-installed: start screen reached, final score printed, exit status 0"
