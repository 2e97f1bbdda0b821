#!/usr/bin/env bash
# Drives the real program on a private X server (Xvfb and openbox, no clipboard manager) and
# checks that what it copies can still be pasted after it has ended.
#
# Usage: clipboard_outlives_program.sh <lirvane executable> <case>
#   copy_and_quit  a double-click and Enter on another entry, then "Copier et Quitter": both
#                  addresses stay pasteable; the keeper (xclip) holds none of the descriptors
#                  the program inherited and nothing in the program folder
#   close_box      a double-click, then Alt+F4: the address stays pasteable
#   keeper         without xclip, the program's own keeper keeps the bytes exactly and ends
#                  when the clipboard is taken
#   keeper_variable LIRVANE_CLIPBOARD_KEEPER set by the user: the program starts as usual,
#                  and what it starts does not inherit the variable
#   display_gone   either keeper ends when the X server goes away
#   cleared        the keeper ends when another program clears the clipboard (owner None)
#   twenty_runs    twenty runs of "Copier et Quitter": each copy pastes, one keeper is left
#   folder_renamed the program folder renamed and the executable deleted while it runs
#
# Set CLEAR_CLIPBOARD to the program that clears the clipboard (built with the tests).
set -euo pipefail

executable=$(realpath "$1")
case_name=$2

# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"

base_url=http://example.org/tmp/
folder=$work/www
program=$folder/lirvane

# A keeper (xclip, or the program's own where xclip is missing) runs detached from the program
# that started it, in a session of its own, with the program's environment.
keeper_pid() {
    local pid
    for pid in $(pgrep -x 'xclip|lirvane'); do
        [ "$(ps -o sid= -p "$pid" | tr -d ' ')" = "$pid" ] &&
            grep -qxzF "HOME=$HOME" "/proc/$pid/environ" 2>/dev/null && echo "$pid"
    done
    return 0
}

# The keeper the program starts: xclip, or the program's own when no xclip is in its PATH.
use_keeper() {
    keeper_name=$1
    program_environment=()
    [ "$keeper_name" = xclip ] || program_environment=(PATH="$work/no-xclip")
    mkdir -p "$work/no-xclip"
}
use_keeper xclip

before_cleanup() {
    local keeper
    for keeper in $(keeper_pid); do
        kill "$keeper" 2>/dev/null || true
    done
}

# The program folder: the settings file, a few files and a copy of the executable.
make_program_folder() {
    [ -e "$program" ] && return
    mkdir -p "$folder"
    printf '%s\r\n' "$base_url" >"$folder/PARAM.ini"
    : >"$folder/Compte rendu d'été.pdf"
    : >"$folder/index.html"
    cp "$executable" "$program"
}

# Arguments go to the program's command line.
start_program() {
    make_program_folder
    start_program_in "$work" "$@"
    window=$(wait_for_window "$main_title") || fail "the main window did not appear"
}

double_click_first_row() {
    double_click_at "$window" "${list_first_row[@]}"
}

click_copy_and_quit() {
    click_at "$window" "${main_copy[@]}"
}

close_with_alt_f4() {
    activate "$window" || fail "the main window could not be activated"
    press alt+F4
}

# Compares byte for byte, so that line ends and encodings count.
expect_clipboard_bytes() {
    printf '%s' "$1" >"$work/expected"
    clipboard -t "${2:-UTF8_STRING}" >"$work/actual" || fail "nothing to paste (${2:-UTF8_STRING})"
    cmp -s "$work/expected" "$work/actual" ||
        fail "clipboard (${2:-UTF8_STRING}) holds:
$(od -c "$work/actual")
expected:
$(od -c "$work/expected")"
}

wait_for_program_end() {
    within 15 not running "$program_pid" || fail "the program did not end"
    local status=0
    wait "$program_pid" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with exit code $status"
}

# Once the program has ended, one keeper serves its copy, shown under its name; sets keeper.
find_keeper() {
    keeper=$(keeper_pid)
    [ -n "$keeper" ] || fail "no keeper serves the clipboard"
    [ "$(wc -l <<<"$keeper")" -eq 1 ] || fail "more than one keeper: $keeper"
    local name
    name=$(ps -o comm= -p "$keeper")
    [ "$name" = "$keeper_name" ] || fail "the keeper is shown as '$name', not $keeper_name"
    # A Qt or GTK program pastes UTF8_STRING where it is offered, else STRING, read as Latin-1:
    # "été" would paste as "Ã©tÃ©".
    clipboard -t TARGETS | grep -qx UTF8_STRING ||
        fail "the keeper offers no UTF8_STRING, only: $(clipboard -t TARGETS | xargs)"
}

# The keeper must not keep what the program's caller left open, or whoever waits for the end of
# a pipe waits as long as the keeper lives.
expect_keeper_holds_no_inherited_descriptor() {
    local descriptor
    for descriptor in /proc/"$keeper"/fd/*; do
        [ "$(readlink "$descriptor")" != "$work/held" ] ||
            fail "the keeper holds the caller's descriptor ${descriptor##*/}"
    done
}

# A mount of the program folder can be unmounted while the keeper runs: its executable, its
# current folder and its files are elsewhere.
expect_keeper_holds_nothing_in_program_folder() {
    local held
    for held in /proc/"$keeper"/exe /proc/"$keeper"/cwd /proc/"$keeper"/fd/*; do
        [[ $(readlink "$held") != "$folder"/* ]] ||
            fail "the keeper holds $(readlink "$held") as ${held#/proc/"$keeper"/}"
    done
}

expect_keeper_ends_when_clipboard_is_taken() {
    echo other | xclip -quiet -selection clipboard >/dev/null 2>&1 &
    own_processes+=($!)
    within 10 not running "$keeper" ||
        fail "the keeper still runs after another program took the clipboard"
    within 5 clipboard_holds other || fail "the other program's text is not on the clipboard"
}

case_copy_and_quit() {
    start_desktop
    # The program inherits a descriptor, as in 'lirvane FILE 9>FILE'.
    exec 9>"$work/held"
    start_program
    local report=${base_url}Compte%20rendu%20d\'été.pdf index=${base_url}index.html
    double_click_first_row
    within 10 clipboard_holds "$report" || fail "the double-click copied nothing"
    enter_on_row "$window" 1
    within 10 clipboard_holds "$index" || fail "Enter on the second entry copied nothing"
    click_copy_and_quit
    wait_for_program_end
    expect_clipboard_bytes "$report"$'\r\n'"$index"
    expect_clipboard_bytes "$report"$'\r\n'"$index" 'text/plain;charset=utf-8'
    find_keeper
    expect_keeper_holds_no_inherited_descriptor
    expect_keeper_holds_nothing_in_program_folder
    expect_keeper_ends_when_clipboard_is_taken
}

case_close_box() {
    # No folder is written to hand the text over.
    export TMPDIR=$work/read-only
    mkdir -m 500 "$TMPDIR"
    start_desktop
    start_program
    local report=${base_url}Compte%20rendu%20d\'été.pdf
    double_click_first_row
    within 10 clipboard_holds "$report" || fail "the double-click copied nothing"
    close_with_alt_f4
    wait_for_program_end
    expect_clipboard_bytes "$report"
    find_keeper
    expect_keeper_ends_when_clipboard_is_taken
}

# Starts the program with the file's address in the box, copies and quits; the copy must paste.
copy_file_address_and_quit() {
    start_program "$folder/$1"
    click_copy_and_quit
    wait_for_program_end
    expect_clipboard_bytes "$base_url$1"
}

case_keeper() {
    use_keeper lirvane
    start_desktop
    copy_file_address_and_quit 'b€é.txt'
    expect_clipboard_bytes "${base_url}b€é.txt" text/plain
    find_keeper
    expect_keeper_ends_when_clipboard_is_taken
}

case_keeper_variable() {
    program_environment=(LIRVANE_CLIPBOARD_KEEPER=1)
    start_desktop
    start_program </dev/null
    click_copy_and_quit
    wait_for_program_end
    find_keeper
    ! grep -qzF LIRVANE_CLIPBOARD_KEEPER= "/proc/$keeper/environ" ||
        fail "the keeper inherited LIRVANE_CLIPBOARD_KEEPER"
}

# Each keeper in turn, each on an X server of its own.
case_display_gone() {
    local kind
    for kind in xclip lirvane; do
        use_keeper "$kind"
        start_desktop
        copy_file_address_and_quit index.html
        find_keeper
        kill "$xvfb"
        within 10 not running "$keeper" ||
            fail "the $kind keeper still runs after the X server went away"
    done
}

case_cleared() {
    [ -x "${CLEAR_CLIPBOARD:-}" ] || fail "CLEAR_CLIPBOARD names no program"
    start_desktop
    copy_file_address_and_quit index.html
    find_keeper
    "$CLEAR_CLIPBOARD" || fail "the clipboard could not be cleared"
    within 5 not running "$keeper" || fail "the keeper still runs after the clipboard was cleared"
}

only_one_keeper() {
    [ "$(keeper_pid | wc -l)" -eq 1 ]
}

case_twenty_runs() {
    start_desktop
    local run
    for run in {1..20}; do
        copy_file_address_and_quit "$run.txt"
        # The keeper of the run before ends once the new one has taken the clipboard.
        within 5 only_one_keeper || fail "run $run: keepers alive: $(keeper_pid | xargs)"
    done
    find_keeper
    expect_keeper_ends_when_clipboard_is_taken
}

case_folder_renamed() {
    start_desktop
    start_program "$folder/index.html"
    mv "$folder" "$work/moved"
    rm "$work/moved/lirvane"
    click_copy_and_quit
    wait_for_program_end
    expect_clipboard_bytes "${base_url}index.html"
    find_keeper
    expect_keeper_ends_when_clipboard_is_taken
}

case "$case_name" in
copy_and_quit | close_box | keeper | keeper_variable | display_gone | cleared | twenty_runs | \
    folder_renamed)
    "case_$case_name"
    ;;
*) fail "unknown case: $case_name" ;;
esac
