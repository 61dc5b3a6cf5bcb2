#!/usr/bin/env bash
# Checks the installed Debian package: it asks for SDL2's runtime library,
# its files are in place, and the installed game, started once on the dummy
# video driver, reaches the start screen and, stopped with SIGTERM, prints
# its final score and exits with status 0.
set -euo pipefail

fail() {
    echo "check-installed: $*" >&2
    exit 1
}

depends=$(dpkg-query -W -f='${Depends}' skerrion)
[[ $depends == *libsdl2-2.0-0* ]] || fail "the package does not depend on libsdl2-2.0-0: $depends"
[[ $depends != *libsdl2-dev* ]] || fail "the package depends on SDL2's development package"
for file in /usr/bin/skerrion /usr/share/applications/skerrion.desktop \
    /usr/share/doc/skerrion/README.md; do
    [ -e "$file" ] || fail "$file is missing"
done

out=$(mktemp)
trap 'rm -f "$out"' EXIT
SDL_VIDEODRIVER=dummy /usr/bin/skerrion >"$out" &
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
echo "check-installed: start screen reached, final score printed, exit status 0"
