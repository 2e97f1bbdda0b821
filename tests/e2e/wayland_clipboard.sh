#!/usr/bin/env bash
# Drives the real program on a headless Wayland compositor and checks that what it copies can
# still be pasted after it has ended. Compositors refuse to run as root, so when run as root
# the compositor, the program and the clipboard tools run as an unprivileged user.
#
# Usage: wayland_clipboard.sh <lirvane executable> <case>
#   sway_copy_and_quit  sway (data-control): "Copier et Quitter" by Enter; the copy pastes
#   sway_copy_and_close the address box copied with Ctrl+C, then the window closed by sway
#   sway_twenty_runs    twenty runs: each copy pastes, one keeper at most; a later copy ends it
#   sway_copy_lost      without wl-copy the program says that the copy is lost, then ends
#   sway_xwayland       the program on X11 through Xwayland: the copy pastes in Wayland and X11
#                       programs after it has ended
#   sway_address_copy   lirvane-address --copy: its lines paste after it has ended
#   mutter_twenty_runs  mutter (no data-control) keeps the copy it read; twenty runs paste
#
# Set MUTTER_REMOTE to the program that drives mutter and ADDRESS_COMMAND to lirvane-address
# (both built with the tests).
set -euo pipefail

executable=$(realpath "$1")
case_name=$2
# shellcheck source=lib/common.sh
source "$(dirname "$0")/lib/common.sh"

base_url=http://example.org/tmp/
test_user=lirvane-e2e
# The test user reaches the program folder and its runtime folder through the work folder.
chmod 755 "$work"
folder=$work/www
program=$folder/lirvane
runtime=$work/runtime

# Root runs everything as the test user, created when missing.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    require_tools setpriv
    add_system_user "$test_user"
    as_user=(setpriv --reuid="$test_user" --regid="$test_user" --init-groups)
fi
owner=$(id -un "${as_user:+$test_user}")

mkdir -m 700 "$runtime" "$work/home"
chown "$owner": "$runtime" "$work/home"

# The compositor's session, once it runs; nothing of the session this script runs in. In a
# sanitizer build no leaks are checked: Qt's Wayland plugin leaves its protocol objects, and
# the copies they hold, at exit.
session=(PATH=/usr/bin:/bin HOME="$work/home" LANG=C.UTF-8 XDG_RUNTIME_DIR="$runtime"
    QT_QPA_PLATFORM=wayland ASAN_OPTIONS=detect_leaks=0)

# Runs a command as the test user in the compositor's session.
in_session() {
    "${as_user[@]}" env -i "${session[@]}" "$@"
}

# The same in the background; sets started to the process id of the command.
start_in_session() {
    "${as_user[@]}" env -i "${session[@]}" "$@" &
    started=$!
    own_processes+=("$started")
}

# The name of the compositor's socket, once it listens.
wayland_socket() {
    local socket
    for socket in "$runtime"/wayland-[0-9]; do
        [ -S "$socket" ] && echo "${socket##*/}" && return
    done
    return 1
}

mutter_ready() {
    local socket
    socket=$(wayland_socket) || return 1
    session+=(WAYLAND_DISPLAY="$socket")
}

sway_ready() {
    local socket swaysock
    socket=$(wayland_socket) && swaysock=$(compgen -G "$runtime/sway-ipc.*.sock") || return 1
    session+=(WAYLAND_DISPLAY="$socket" SWAYSOCK="$swaysock")
}

# Starts sway, with Xwayland when the argument is "enable".
start_sway() {
    require_tools sway swaymsg wtype wl-copy wl-paste
    [ "${1:-}" = enable ] && require_tools Xwayland xclip xmessage
    printf '%s\n' "xwayland ${1:-disable}" 'output HEADLESS-1 resolution 1280x800' \
        >"$work/sway.conf"
    start_in_session WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
        sway --config "$work/sway.conf" >"$work/sway.log" 2>&1
    within 10 sway_ready || fail "sway did not start"
    # The seat has a keyboard only while a virtual keyboard exists: one that waits keeps it, so
    # that the program has its keyboard before the keys of each wtype arrive.
    start_in_session wtype -s 3600000 >/dev/null 2>&1
    press_enter_when_ready=sway_press_enter
    paste=sway_paste
}

bus_ready() {
    [ -S "$runtime/bus" ]
}

start_mutter() {
    require_tools mutter dbus-daemon
    [ -x "${MUTTER_REMOTE:-}" ] || fail "MUTTER_REMOTE names no program"
    mutter_remote=$work/mutter_remote
    cp "$MUTTER_REMOTE" "$mutter_remote"
    start_in_session dbus-daemon --session --nofork --address="unix:path=$runtime/bus" \
        >"$work/dbus.log" 2>&1
    within 10 bus_ready || fail "the session bus did not start"
    session+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus")
    start_in_session mutter --headless --wayland --no-x11 --virtual-monitor 1280x1024 \
        >"$work/mutter.log" 2>&1
    within 10 mutter_ready || fail "mutter did not start"
    # mutter adds a keyboard to the seat with a remote session's first key; it stays while the
    # session does.
    start_in_session "$mutter_remote" hold >"$work/remote.log" 2>&1
    press_enter_when_ready=mutter_press_enter
    paste=mutter_paste
}

# The program folder: the settings file and a copy of the executable, owned by the test user.
make_program_folder() {
    mkdir -p "$folder"
    printf '%s\r\n' "$base_url" >"$folder/PARAM.ini"
    cp "$executable" "$program"
    chown -R "$owner": "$folder"
}

main_window_focused() {
    in_session swaymsg '[con_id=__focused__ title="^Lirvane [0-9.]+ By"] nop' >/dev/null 2>&1
}

# What a paste gives, by the compositor's means.
clipboard() {
    "$paste"
}

# The clipboard tools' processes that serve a copy; wl-copy stays only while it keeps one.
live_keepers() {
    local pid
    for pid in $(pgrep -u "$owner" -x wl-copy); do
        running "$pid" && echo "$pid"
    done
}

at_most_one_keeper() {
    [ "$(live_keepers | wc -l)" -le 1 ]
}

# How Enter is pressed and the clipboard read; set by the compositor's start.
press_enter_when_ready=
paste=

# Starts the program with the file's address in the box and presses Enter, which the focused
# "Copier et Quitter" takes; then the program must end and its copy, the file's address (the
# second argument, when the name is encoded), paste.
copy_file_address_and_quit() {
    start_in_session "$program" "$folder/$1" >"$work/program.log" 2>&1
    program_pid=$started
    $press_enter_when_ready
    local status=0
    wait "$program_pid" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with exit code $status"
    within 5 clipboard_holds "$base_url${2:-$1}" ||
        fail "the clipboard holds '$(clipboard 2>&1)' after the program ended"
}

sway_press_enter() {
    within 20 main_window_focused || fail "the main window did not appear"
    in_session wtype -k Return
    within 10 not running "$program_pid" || fail "the program did not end after Enter"
}

sway_paste() {
    in_session timeout 5 wl-paste --no-newline
}

# mutter tells no client which window has the focus: Enter is pressed until the program ends.
mutter_press_enter() {
    local tries
    for ((tries = 20; tries > 0; tries--)); do
        in_session "$mutter_remote" key 0xff0d
        within 1 not running "$program_pid" && return
    done
    fail "the program did not end after Enter"
}

mutter_paste() {
    in_session timeout 5 "$mutter_remote" paste
}

case_sway_copy_and_quit() {
    start_sway
    copy_file_address_and_quit 'rapport final.pdf' 'rapport%20final.pdf'
}

# No pointer can be driven on a headless sway: the keyboard copies instead of a double-click.
case_sway_copy_and_close() {
    start_sway
    local address=${base_url}index.html
    start_in_session "$program" "$folder/index.html" >"$work/program.log" 2>&1
    program_pid=$started
    within 20 main_window_focused || fail "the main window did not appear"
    # From "Copier et Quitter" past the file list into the address box, then copy all of it.
    in_session wtype -k Tab -k Tab -M ctrl -k a -k c -m ctrl
    within 5 clipboard_holds "$address" || fail "Ctrl+C in the address box copied nothing"
    in_session swaymsg kill >/dev/null
    within 10 not running "$program_pid" || fail "the program did not end when its window closed"
    wait "$program_pid" || fail "the program ended with an error"
    within 5 clipboard_holds "$address" || fail "the clipboard holds '$(clipboard 2>&1)' afterwards"
}

x11_window_focused() {
    in_session swaymsg '[con_id=__focused__ title="^X11 program$"] nop' >/dev/null 2>&1
}

case_sway_xwayland() {
    start_sway enable
    # Programs that sway starts get the X display of its Xwayland.
    in_session swaymsg exec "printenv DISPLAY >$runtime/display" >/dev/null
    within 10 test -s "$runtime/display" || fail "sway named no X display"
    session+=(DISPLAY="$(cat "$runtime/display")" QT_QPA_PLATFORM=xcb)
    copy_file_address_and_quit index.html
    # sway lets an X11 program read the clipboard only while an X11 window has the focus.
    start_in_session xmessage -title 'X11 program' paste >/dev/null 2>&1
    within 10 x11_window_focused || fail "the X11 window did not get the focus"
    local x11_paste
    x11_paste=$(in_session timeout 5 xclip -o -selection clipboard 2>&1) || true
    [ "$x11_paste" = "${base_url}index.html" ] || fail "X11 programs paste '$x11_paste'"
}

message_box_focused() {
    in_session swaymsg '[con_id=__focused__ title="^Lirvane$"] nop' >/dev/null 2>&1
}

case_sway_copy_lost() {
    start_sway
    mkdir "$work/no-tools"
    start_in_session env PATH="$work/no-tools" "$program" "$folder/index.html" \
        >"$work/program.log" 2>&1
    program_pid=$started
    within 20 main_window_focused || fail "the main window did not appear"
    in_session wtype -k Return
    within 10 message_box_focused || fail "no message says that the copy is lost"
    in_session wtype -k Return
    within 10 not running "$program_pid" || fail "the program did not end after the message"
}

case_sway_twenty_runs() {
    start_sway
    local run
    for run in {1..20}; do
        copy_file_address_and_quit "$run.txt"
        within 5 at_most_one_keeper || fail "run $run: keepers alive: $(live_keepers | xargs)"
    done
    local keeper
    keeper=$(live_keepers)
    [ -n "$keeper" ] || fail "no keeper serves the last copy"
    start_in_session wl-copy --foreground other >/dev/null 2>&1
    within 5 clipboard_holds other || fail "a later copy did not replace the kept one"
    within 5 not running "$keeper" || fail "the keeper still runs after a later copy"
}

# lirvane-address --copy, which has no window: once it has ended, its lines paste, CR LF between.
case_sway_address_copy() {
    start_sway
    [ -x "${ADDRESS_COMMAND:-}" ] || fail "ADDRESS_COMMAND names no program"
    local command=$work/lirvane-address printed status=0
    cp "$ADDRESS_COMMAND" "$command"
    mkdir "$folder/sub"
    : >"$folder/rapport final.pdf"
    : >"$folder/sub/index.html"
    chown -R "$owner": "$folder"
    printed=$(in_session "$command" --copy "$folder/rapport final.pdf" "$folder/sub/index.html" \
        2>"$work/command.log") || status=$?
    [ "$status" -eq 0 ] || fail "lirvane-address --copy ended with exit code $status"
    local lines=("${base_url}rapport%20final.pdf" "${base_url}sub/index.html")
    [ "$printed" = "$(printf '%s\n' "${lines[@]}")" ] || fail "lirvane-address printed: $printed"
    within 5 clipboard_holds "${lines[0]}"$'\r\n'"${lines[1]}" ||
        fail "the clipboard holds '$(clipboard 2>&1)' after lirvane-address ended"
}

case_mutter_twenty_runs() {
    start_mutter
    local run
    for run in {1..20}; do
        copy_file_address_and_quit "$run.txt"
    done
}

case "$case_name" in
sway_copy_and_quit | sway_copy_and_close | sway_copy_lost | sway_twenty_runs | \
    sway_xwayland | sway_address_copy | mutter_twenty_runs)
    make_program_folder
    "case_$case_name"
    ;;
*) fail "unknown case: $case_name" ;;
esac
