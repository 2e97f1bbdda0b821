#!/usr/bin/env bash
# Times the program's start-up against its minimal peer on a private Xvfb display: the first
# free display number, or the one given.
#   bash bench/start_up.sh [BUILD_DIR] [RUNS] [DISPLAY_NUMBER]
set -euo pipefail

build=${1:-build}
runs=${2:-21}

runtime=$(mktemp -d)
xvfb=
trap '[ -n "$xvfb" ] && kill "$xvfb"; rm -rf "$runtime"' EXIT
if [ -n "${3:-}" ]; then
    display=$3
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp &
    xvfb=$!
    sleep 1
else
    mkfifo "$runtime/display"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$runtime/display" &
    xvfb=$!
    read -r display <"$runtime/display"
fi
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$runtime

for files in 13 100000; do
    "$build/bench/lirvane_start_up_bench" "$build/bench/lirvane_first_paint" \
        "$build/bench/lirvane_minimal_peer" "$files" "$runs"
done
