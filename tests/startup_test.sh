#!/bin/sh
# Starts the real game as a player would: with no display it must say so and
# stop at once; on the dummy driver it must run until SIGTERM and then print
# the final score like a window close.
set -u
game="$1"
dir=$(mktemp -d)
pid=
trap 'kill -TERM "$pid" 2>/dev/null; rm -rf "$dir"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
now_ms() { echo $(($(date +%s%N) / 1000000)); }

# No X11, no Wayland, nothing asked for: SDL would fall back to an invisible
# offscreen window. An empty runtime directory keeps a default Wayland socket away.
mkdir "$dir/runtime"
start=$(now_ms)
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER XDG_RUNTIME_DIR="$dir/runtime" \
    timeout 10 "$game" >"$dir/out" 2>"$dir/err"
status=$?
elapsed=$(($(now_ms) - start))
echo "no display: status $status after $elapsed ms: $(cat "$dir/err")"
[ "$status" -eq 1 ] || fail "no display: exit status $status, wanted 1"
grep -q "no display" "$dir/err" || fail "no display: no message on stderr"
[ ! -s "$dir/out" ] || fail "no display: the game printed on stdout"
[ "$elapsed" -lt 1000 ] || fail "no display: took $elapsed ms to give up"

# The dummy driver has no accelerated renderer, so this also covers the
# fallback to software drawing.
SDL_VIDEODRIVER=dummy "$game" >"$dir/out" 2>"$dir/err" &
pid=$!
waited=0
until grep -q "sec\." "$dir/out"; do
    kill -0 "$pid" 2>/dev/null || fail "dummy: the game ended before its first status line"
    [ "$waited" -lt 600 ] || fail "dummy: no status line after 60 s"
    sleep 0.1
    waited=$((waited + 1))
done
kill -TERM "$pid"
wait "$pid"
status=$?
pid=
[ "$status" -eq 0 ] || fail "dummy: exit status $status after SIGTERM, wanted 0"
spaces=$(printf '%73s' '')
last=$(tr '\r' '\n' <"$dir/out" | tail -n 1)
[ "$last" = "Your final score is 0.$spaces" ] || fail "dummy: last line is '$last'"
[ "$(tail -c 1 "$dir/out" | od -An -c | tr -d ' ')" = '\n' ] || fail "dummy: no newline at the end"
[ ! -s "$dir/err" ] || fail "dummy: stderr: $(cat "$dir/err")"
echo "dummy: started, ended by SIGTERM with the final score"
