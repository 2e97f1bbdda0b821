# shellcheck shell=bash
# Shared by the scripts that drive the real program on a private X desktop (Xvfb and openbox,
# no session, no clipboard manager): the work folder, process bookkeeping, waits, and the
# xdotool and xclip wrappers. Sourced, not run.
#
# Before sourcing, set case_name (named in failures). Optional environment:
#   LIRVANE_TEST_DISPLAYS  the X display numbers to try, as "FIRST LAST" (default "90 99")
#   LIRVANE_E2E_OUTPUT     a folder that receives a screenshot of the screen when a case fails
# A script that defines before_cleanup gets it called first when it exits.

work=$(mktemp -d -t lirvane-e2e.XXXXXX)
# Processes the script started; stopped in reverse order when it exits.
own_processes=()

# A screenshot left by an earlier failure would mislead.
[ -z "${LIRVANE_E2E_OUTPUT:-}" ] || rm -f "$LIRVANE_E2E_OUTPUT/screen.png"

screenshot_on_failure() {
    [ -n "${LIRVANE_E2E_OUTPUT:-}" ] && [ -n "${xvfb:-}" ] && running "$xvfb" || return 0
    mkdir -p "$LIRVANE_E2E_OUTPUT"
    import -window root "$LIRVANE_E2E_OUTPUT/screen.png" 2>/dev/null &&
        echo "screenshot: $LIRVANE_E2E_OUTPUT/screen.png" >&2
}

fail() {
    echo "FAIL ($case_name): $*" >&2
    for log in "$work"/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; cat "$log" >&2; }
    done
    screenshot_on_failure || true
    exit 1
}

desktop_cleanup() {
    local i
    if declare -F before_cleanup >/dev/null; then before_cleanup; fi
    for ((i = ${#own_processes[@]} - 1; i >= 0; i--)); do
        kill "${own_processes[i]}" 2>/dev/null || true
        wait "${own_processes[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap desktop_cleanup EXIT

require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
    done
}
require_tools Xvfb openbox xdotool xclip xdpyinfo xprop pgrep

# Nothing from the desktop this runs in: no session, no clipboard manager, a home of its own.
isolate_from_session() {
    unset WAYLAND_DISPLAY SESSION_MANAGER XDG_RUNTIME_DIR XDG_CONFIG_HOME XDG_CACHE_HOME \
        XDG_DATA_HOME QT_SCALE_FACTOR
    export HOME=$work/home
    export QT_QPA_PLATFORM=xcb
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus
    mkdir -p "$HOME"
}
isolate_from_session

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

# Starts Xvfb on the first free display of the range, with the given screen size; sets xvfb
# and DISPLAY.
start_x_server() {
    local size=${1:-1280x800} first last display tries
    read -r first last <<<"${LIRVANE_TEST_DISPLAYS:-90 99}"
    for ((display = first; display <= last; display++)); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
        Xvfb ":$display" -nolisten tcp -noreset -screen 0 "${size}x24" >"$work/xvfb.log" 2>&1 &
        xvfb=$!
        # Another server may have taken the display first: then this one ends at once.
        for ((tries = 100; tries > 0; tries--)); do
            running "$xvfb" || break
            if xdpyinfo -display ":$display" >/dev/null 2>&1; then
                own_processes+=("$xvfb")
                export DISPLAY=:$display
                return
            fi
            sleep 0.1
        done
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    done
    fail "no X display in :$first-:$last could be started"
}

window_manager_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

start_desktop() {
    start_x_server "$@"
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    own_processes+=($!)
    within 10 window_manager_ready || fail "openbox did not start"
}

# Prints the id of the visible window whose title matches the pattern, once there is one.
wait_for_window() {
    timeout 20 xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .
}

window_shown() {
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1
}

# Activates the window and waits until it has the input focus, so keys reach it.
activate() {
    xdotool windowactivate --sync "$1" 2>/dev/null
    within 5 test "$(xdotool getactivewindow 2>/dev/null)" = "$1"
}

# Keys and text go through XTEST to the active window, as a keyboard would send them.
press() {
    xdotool key --delay 60 "$@"
}

type_text() {
    xdotool type --delay 40 "$1"
}

# A point in the window's client area, in logical pixels from its top-left corner.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

double_click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click --repeat 2 --delay 80 1
}

clipboard() {
    timeout 5 xclip -o -selection clipboard "$@" 2>/dev/null
}

clipboard_holds() {
    [ "$(clipboard)" = "$1" ]
}
