# shellcheck shell=bash
# Shared by the end-to-end scripts: a work folder removed at exit, the processes a script
# started (stopped at exit), failure reports and waits. Sourced, not run.
#
# Before sourcing, set case_name (named in failures). Optional environment:
#   LOG_LINES  how many last lines of each log in the work folder a failure shows (default 40)
# Hooks that the sourcing script or library may define:
#   before_cleanup  called first when the script exits
#   on_failure      called when a case fails, after the logs are shown

: "${case_name:?must be set before sourcing common.sh}"

# Resolved, so that paths built on it are those a program reports.
work=$(realpath "$(mktemp -d -t lirvane-e2e.XXXXXX)")
# Processes the script started; stopped in reverse order when it exits.
own_processes=()

fail() {
    local log
    echo "FAIL ($case_name): $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n "${LOG_LINES:-40}" "$log" >&2; }
    done
    if declare -F on_failure >/dev/null; then on_failure || true; fi
    exit 1
}

# Stops a process this script started and reaps it.
stop_process() {
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

cleanup() {
    local i
    if declare -F before_cleanup >/dev/null; then before_cleanup; fi
    for ((i = ${#own_processes[@]} - 1; i >= 0; i--)); do
        stop_process "${own_processes[i]}"
    done
    rm -rf "$work"
}
trap cleanup EXIT

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null ||
            fail "$tool is missing (scripts/setup.sh --tests installs it)"
    done
}
require_tools ps pgrep

# Nothing from the session this runs in: no session bus, no desktop settings, a home and a
# runtime folder of its own.
isolate_from_session() {
    unset WAYLAND_DISPLAY SESSION_MANAGER XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME \
        QT_SCALE_FACTOR
    export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus
    mkdir -p "$HOME"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
}

# Creates the system user when missing: no home, no login shell, a group of its own. Needs root.
add_system_user() {
    id "$1" >/dev/null 2>&1 ||
        useradd --system --user-group --no-create-home --home-dir /nonexistent \
            --shell /usr/sbin/nologin "$1" 2>/dev/null ||
        id "$1" >/dev/null 2>&1 || fail "no user $1 could be created"
}

# A process that has ended may stay a zombie until its parent reaps it.
running() {
    local state
    state=$(ps -o stat= -p "$1") && [[ $state != Z* ]]
}

# Tries the command every 0.1 s for at most the given number of seconds.
within() {
    local seconds=$1 tries
    shift
    for ((tries = seconds * 10; tries > 0; tries--)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

not() { ! "$@"; }

# True when the clipboard holds the text; the sourcing script or library defines clipboard,
# which prints what a paste gives.
clipboard_holds() {
    [ "$(clipboard 2>/dev/null)" = "$1" ]
}
