# The machine's cache of things that take minutes to make and rarely change
# (SDL's source, SDL built for the web and for Windows), shared by every clone.
# Sourced by the scripts that fill it; tests/scripts/test_cache.py drives it
# with a maker that takes no time.
#
# cache_entry NAME RECIPE COMMAND...
#   prints the folder of the entry NAME-<hash of RECIPE>, made when missing
#   by COMMAND with a new empty folder as its last argument, which is renamed
#   to the folder SKERRION_CACHE_ENTRY names once whole (for files that hold
#   their own path). RECIPE is everything the entry depends on, one thing a
#   line, in words: it is kept in the entry (recipe), so a person can see what
#   each one is, and a changed line makes another entry. The entry also keeps
#   its files' checksums (files.sha256); one whose files no longer match them
#   is made anew. SKERRION_CACHE names the cache's folder, by default
#   ${XDG_CACHE_HOME:-~/.cache}/skerrion.

cache_root() {
    echo "${SKERRION_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/skerrion}"
}

# Whether the entry is whole: every file as written, its recipe among them (the
# folder's name already stands for the recipe).
cache_whole() {
    (cd "$1" && sha256sum --check --quiet --strict files.sha256 >/dev/null 2>&1)
}

cache_entry() {
    local name=$1 recipe=$2
    shift 2
    local entry
    entry=$(cache_root)/$name-$(printf '%s\n' "$recipe" | sha256sum | cut -c1-12)
    mkdir -p "$(dirname "$entry")"
    # One maker at a time for an entry: others wait, then find it made.
    exec {lock}>"$entry.lock"
    flock "$lock"
    if cache_whole "$entry"; then
        echo "cache: reusing $entry (made $(date -r "$entry/files.sha256" '+%Y-%m-%d %H:%M'))" >&2
    else
        if [ -e "$entry" ]; then
            echo "cache: $entry is broken or half-written: making it anew" >&2
        fi
        # Leftovers of a maker that was stopped half-way.
        rm -rf "$entry" "$entry".partial.*
        local partial
        partial=$(mktemp -d "$entry.partial.XXXXXX")
        # In the background, so that a function given as COMMAND stops at its
        # first failing command under set -e (a condition would switch that off).
        local status=0
        SKERRION_CACHE_ENTRY=$entry "$@" "$partial" &
        wait $! || status=$?
        if [ $status -ne 0 ]; then
            rm -rf "$partial"
            exec {lock}>&-
            echo "cache: making $entry failed with status $status (see above); nothing was kept" >&2
            return 1
        fi
        printf '%s\n' "$recipe" >"$partial/recipe"
        (cd "$partial" && find . -type f ! -name files.sha256 -print0 | sort -z |
            xargs -0 --no-run-if-empty sha256sum >files.sha256)
        mv --no-target-directory "$partial" "$entry"
    fi
    exec {lock}>&-
    echo "$entry"
}
