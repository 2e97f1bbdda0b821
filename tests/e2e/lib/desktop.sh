# shellcheck shell=bash
# Shared by the scripts that drive the real program on a private X desktop (Xvfb and openbox,
# no session, no clipboard manager): the X server and the window manager, the xdotool and xclip
# wrappers, and where the program's main window takes clicks and how its list's entries are
# reached. Sourced, not run; sources common.sh, whose work folder, bookkeeping and waits it uses.
#
# Before sourcing, set case_name (named in failures). Optional environment:
#   LIRVANE_E2E_OUTPUT     a folder that receives a screenshot of the screen when a case fails

# shellcheck source-path=SCRIPTDIR/lib source=common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

isolate_from_session
export QT_QPA_PLATFORM=xcb

# A screenshot left by an earlier failure would mislead.
[ -z "${LIRVANE_E2E_OUTPUT:-}" ] || rm -f "$LIRVANE_E2E_OUTPUT/screen.png"

# The screen as it was when a case failed, for the report.
on_failure() {
    [ -n "${LIRVANE_E2E_OUTPUT:-}" ] && [ -n "${xvfb:-}" ] && running "$xvfb" || return 0
    mkdir -p "$LIRVANE_E2E_OUTPUT"
    import -window root "$LIRVANE_E2E_OUTPUT/screen.png" 2>/dev/null &&
        echo "screenshot: $LIRVANE_E2E_OUTPUT/screen.png" >&2
}

# Starts Xvfb on a display that it finds free itself (-displayfd): it passes over every display
# whose lock file or socket is taken, the abstract sockets of servers in other folder trees (a
# chroot) included. Sets xvfb and DISPLAY.
start_x_server() {
    local size=${1:-1280x800} display=''
    require_tools Xvfb xdpyinfo xdotool xclip
    rm -f "$work/display"
    mkfifo "$work/display"
    Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 "${size}x24" 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    own_processes+=("$xvfb")
    read -r -t 20 display <"$work/display" || true
    [ -n "$display" ] || fail "no X display could be started"
    export DISPLAY=:$display
}

window_manager_ready() {
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'
}

start_desktop() {
    require_tools openbox xprop
    start_x_server "$@"
    # The first XTEST key makes the server switch to the XTEST keyboard's map and tell every
    # client. openbox then drops and takes its key bindings again, and an Alt+F4 sent meanwhile
    # reaches the window instead. One key before openbox starts makes that switch beforehand.
    xdotool key shift
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

# Activates the window and waits until it is both the window manager's active window (its key
# bindings, Alt+F4, act on that one) and the X server's input focus (where keys go).
activate() {
    xdotool windowactivate --sync "$1" 2>/dev/null
    within 5 is_active_and_focused "$1"
}

is_active_and_focused() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] &&
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]
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

# shellcheck disable=SC2120 # the scripts pass xclip's options, such as a target
clipboard() {
    timeout 5 xclip -o -selection clipboard "$@" 2>/dev/null
}

# The main window's title, once its version caption is set.
# shellcheck disable=SC2034 # for the scripts that source this
main_title='^Lirvane [0-9]+\.[0-9]+\.[0-9]+ By '
# Client-area point of "Copier et Quitter", in logical pixels (15 twips each).
# shellcheck disable=SC2034
main_copy=(432 308)
# The list starts at y 16 and its entries are sorted without regard to case. Their height
# depends on the fonts: only the first entry has a known place, 8 px below the list's top edge.
# shellcheck disable=SC2034
list_first_row=(60 24)

# Adds the list's entry ROW (0 the first) to the box and copies its address, with the keyboard:
# a click puts the focus on the list (it selects, nothing more), Home goes to the first entry and
# Down on to the row, Enter adds it.
enter_on_row() {
    local window=$1 row=$2 keys=(Home)
    click_at "$window" "${list_first_row[@]}"
    activate "$window" || fail "the window could not be activated"
    for (( ; row > 0; row--)); do keys+=(Down); done
    press "${keys[@]}" Return
}

# Variables (NAME=VALUE) that start_program_in sets for the program alone.
program_environment=()
# A command that start_program_in runs the program through, such as setpriv to run it as
# another user.
program_wrapper=()

# Starts $program with the given arguments from the given folder, its output added to
# program.log; sets program_pid.
start_program_in() {
    local current_folder=$1
    shift
    (cd "$current_folder" &&
        exec env "${program_environment[@]}" "${program_wrapper[@]}" "${program:?}" "$@") \
        >>"$work/program.log" 2>&1 &
    program_pid=$!
    own_processes+=("$program_pid")
}
