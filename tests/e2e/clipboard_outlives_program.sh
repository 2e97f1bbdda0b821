#!/usr/bin/env bash
# Drives the real program on a private X server (Xvfb and openbox, no clipboard manager) and
# checks that what it copies can still be pasted after it has ended.
#
# Usage: clipboard_outlives_program.sh <lirvane executable> <case>
#   copy_and_quit  two double-clicks, then "Copier et Quitter": both addresses stay pasteable;
#                  the keeper holds none of the descriptors the program inherited
#   close_box      a double-click, then Alt+F4: the address stays pasteable
#   keeper         the keeper alone keeps the bytes exactly and ends when the clipboard is taken
#   display_gone   the keeper ends when the X server goes away
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

# A keeper runs the program folder's executable, detached from the program that started it.
keeper_pid() {
    pgrep -x -f -- "$program"
}

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

double_click_row() {
    double_click_at "$window" 60 "$(list_row_y "$1")"
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

# Once the program has ended, one keeper serves its copy, shown under the program's name; sets
# keeper.
find_keeper() {
    keeper=$(keeper_pid) || fail "no keeper serves the clipboard"
    [ "$(wc -l <<<"$keeper")" -eq 1 ] || fail "more than one keeper: $keeper"
    local name
    name=$(ps -o comm= -p "$keeper")
    [ "$name" = lirvane ] || fail "the keeper is shown as '$name', not lirvane"
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
    double_click_row 0
    within 10 clipboard_holds "$report" || fail "the first double-click copied nothing"
    double_click_row 1
    within 10 clipboard_holds "$index" || fail "the second double-click copied nothing"
    click_copy_and_quit
    wait_for_program_end
    expect_clipboard_bytes "$report"$'\r\n'"$index"
    find_keeper
    expect_keeper_holds_no_inherited_descriptor
    expect_keeper_ends_when_clipboard_is_taken
}

case_close_box() {
    # No folder is written to hand the text over.
    export TMPDIR=$work/read-only
    mkdir -m 500 "$TMPDIR"
    start_desktop
    start_program
    local report=${base_url}Compte%20rendu%20d\'été.pdf
    double_click_row 0
    within 10 clipboard_holds "$report" || fail "the double-click copied nothing"
    close_with_alt_f4
    wait_for_program_end
    expect_clipboard_bytes "$report"
    find_keeper
    expect_keeper_ends_when_clipboard_is_taken
}

# Starts the executable in keeper mode with the text on its standard input; sets keeper.
start_keeper() {
    make_program_folder
    printf '%s' "$1" >"$work/kept"
    LIRVANE_CLIPBOARD_KEEPER=1 "$program" <"$work/kept" >"$work/keeper.log" 2>&1 &
    keeper=$!
    own_processes+=("$keeper")
}

case_keeper() {
    start_x_server
    local text=$'a\r\nb€é'
    start_keeper "$text"
    within 10 clipboard_holds "$text" || fail "the keeper did not take the clipboard"
    expect_clipboard_bytes "$text" UTF8_STRING
    expect_clipboard_bytes "$text" text/plain

    expect_keeper_ends_when_clipboard_is_taken
    local status=0
    wait "$keeper" || status=$?
    [ "$status" -eq 0 ] || fail "the keeper ended with exit code $status"
}

case_display_gone() {
    start_x_server
    start_keeper kept
    within 10 clipboard_holds kept || fail "the keeper did not take the clipboard"
    kill "$xvfb"
    within 10 not running "$keeper" || fail "the keeper still runs after the X server went away"
}

# Starts the program with the file's address in the box, copies and quits; the copy must paste.
copy_file_address_and_quit() {
    start_program "$folder/$1"
    click_copy_and_quit
    wait_for_program_end
    expect_clipboard_bytes "$base_url$1"
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
copy_and_quit | close_box | keeper | display_gone | cleared | twenty_runs | folder_renamed)
    "case_$case_name"
    ;;
*) fail "unknown case: $case_name" ;;
esac
