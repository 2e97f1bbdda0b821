#!/usr/bin/env bash
# The memory of the process that keeps the copy on X11 once the program has ended: the program,
# on a private Xvfb desktop, copies one address with "Copier et Quitter" and quits; this prints
# the keeper's name and resident size (VmRSS), for xclip and for the program's own keeper
# (xclip out of the PATH). A measurement, not a test: ctest never runs it.
#   bash bench/keeper_memory.sh [LIRVANE_EXECUTABLE]
set -euo pipefail

executable=$(realpath "${1:-build/lirvane}")
case_name=keeper_memory
# shellcheck source=../tests/e2e/lib/desktop.sh
source "$(dirname "$0")/../tests/e2e/lib/desktop.sh"

folder=$work/www
program=$folder/lirvane
mkdir -p "$folder" "$work/no-xclip"
printf 'http://example.org/tmp/\r\n' >"$folder/PARAM.ini"
cp "$executable" "$program"

# The keeper: detached, in a session of its own, with this script's HOME.
keeper_pid() {
    local pid
    for pid in $(pgrep -x 'xclip|lirvane'); do
        [ "$(ps -o sid= -p "$pid" | tr -d ' ')" = "$pid" ] &&
            grep -qxzF "HOME=$HOME" "/proc/$pid/environ" 2>/dev/null && echo "$pid"
    done
    return 0
}
before_cleanup() {
    local keeper
    for keeper in $(keeper_pid); do kill "$keeper" 2>/dev/null || true; done
}

start_desktop
for program_path in "$PATH" "$work/no-xclip"; do
    program_environment=(PATH="$program_path")
    start_program_in "$work" "$folder/index.html"
    window=$(wait_for_window "$main_title") || fail "the main window did not appear"
    click_at "$window" "${main_copy[@]}"
    within 15 not running "$program_pid" || fail "the program did not end"
    sleep 1
    keeper=$(keeper_pid)
    [ "$(wc -w <<<"$keeper")" -eq 1 ] || fail "not one keeper: $keeper"
    printf '%-8s %s\n' "$(ps -o comm= -p "$keeper")" "$(grep VmRSS "/proc/$keeper/status")"
done
