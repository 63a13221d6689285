#!/usr/bin/env bash
# Sets up, builds and runs the clock.
#
# The program reads and writes its files in the folder it is started in, so it runs through the
# launcher an installation puts on PATH (installed here into the build folder), which starts it in
# the per-user working folder $XDG_DATA_HOME/horavista (~/.local/share/horavista), seeded on first run.
# Without a display it runs under Xvfb, saves a screenshot after two seconds and keeps ticking
# until interrupted. With --screenshot FILE it always runs under Xvfb, saves the screenshot as
# FILE and ends.
set -euo pipefail
shot_only=""
if [ "${1:-}" = "--screenshot" ] && [ -n "${2:-}" ]; then
    shot_only=$(realpath -m "$2")
fi
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$top/build/run"

"$top/scripts/setup.sh"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHORAVISTA_BUILD_TESTS=OFF \
    -DHORAVISTA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
cmake --install "$build" --prefix "$build/stage" >/dev/null

program="$build/stage/bin/horavista"
workdir="${XDG_DATA_HOME:-$HOME/.local/share}/horavista"
if [ -z "$shot_only" ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$program"
fi

[ -n "$shot_only" ] || echo "No display: running the clock under Xvfb."
# A private runtime folder keeps Qt quiet about a missing XDG_RUNTIME_DIR.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
fi
export HORAVISTA_PROGRAM="$program" HORAVISTA_SHOT="${shot_only:-$workdir/screenshot.png}" HORAVISTA_SHOT_ONLY="$shot_only"
exec xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" bash -c '
    "$HORAVISTA_PROGRAM" &
    pid=$!
    trap "kill $pid 2>/dev/null" INT TERM EXIT
    sleep 2
    if import -window "++ Pelkin Horavista ++" "$HORAVISTA_SHOT" 2>/dev/null; then
        echo "Screenshot: $HORAVISTA_SHOT"
    else
        echo "Could not take a screenshot." >&2
        [ -z "$HORAVISTA_SHOT_ONLY" ] || exit 1
    fi
    [ -z "$HORAVISTA_SHOT_ONLY" ] || exit 0
    echo "The clock keeps running; press Ctrl+C to stop it."
    wait $pid
'
