#!/usr/bin/env bash
# A person's whole journeys through the real program, deployed with lirvane-deploy into a
# fresh folder and driven on a private X desktop with the keyboard and the mouse. Every journey
# ends with the program's exit code 0 and no process of it left but a clipboard keeper.
#
# Usage: journeys.sh <lirvane executable> <case>
#   first_start       deploy into an empty folder, answer the first-run questions, save
#   typical_use       a file of the list (click, arrow keys, Enter), then "Copier et Quitter"
#   change_address    "Paramètre", a new address, "Enregistrer": the command line's file uses it
#   cancel_settings   "Paramètre", some typing, "Cancel": nothing written, the main window back
#   line_breaks       lines typed into the address box, broken with Shift+Enter and Enter,
#                     copied by "Copier et Quitter" with CR LF between them
#   close_main        the main window's close box ends the program, nothing written
#   close_settings    the first-run settings window's close box ends it, nothing written
#   close_settings_later  so does the close box of the settings window opened by "Paramètre"
#   launcher          the "Open with" entry's command line, given a file of the folder
#   run_script        scripts/run.sh in a clone, given a path relative to the caller's folder
set -euo pipefail

executable=$(realpath "$1")
case_name=$2
scripts=$(realpath "$(dirname "$0")/../../scripts")
# Built beside the program.
deploy=$(dirname "$executable")/lirvane-deploy
# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"

base_url=http://example.org/tmp/
folder=$work/www
program=$folder/lirvane
report_address=${base_url}rapport%20final.pdf

# Client-area points of the controls, in logical pixels (15 twips each); desktop.sh has
# "Copier et Quitter" and the list's first row.
main_settings=(60 308)
main_box=(432 150)
settings_save=(340 76)
settings_cancel=(68 76)

# Keepers run the folder's executable, detached from the program that started them.
program_processes() {
    pgrep -x -f -- "$program( .*)?" || true
}

is_keeper() {
    tr '\0' '\n' <"/proc/$1/environ" 2>/dev/null | grep -q '^LIRVANE_CLIPBOARD_KEEPER='
}

before_cleanup() {
    local pid
    for pid in $(program_processes); do kill "$pid" 2>/dev/null || true; done
}

# The published folder as the deployment leaves it, with the files to address.
deploy_folder() {
    mkdir -p "$folder"
    LIRVANE_EXECUTABLE=$executable "$deploy" "$folder" "$@" --no-check \
        >"$work/deploy.log" 2>&1 || fail "lirvane-deploy failed"
}

add_files() {
    local name
    for name in "$@"; do : >"$folder/$name"; done
}

start_program() {
    start_program_in "$work" "$@"
}

# Waits for the window, activates it and sets `window`.
expect_window() {
    window=$(wait_for_window "$1") || fail "no window titled $2 appeared"
    activate "$window" || fail "the window $2 could not be activated"
}

expect_window_gone() {
    within 10 not window_shown "$1" || fail "the window $2 is still shown"
}

# Snapshot of the folder's names, sizes, times and contents, to prove nothing was written.
folder_state() {
    (
        cd "$folder"
        find . -printf '%p %s %T@\n' | sort
        cat ./PARAM.ini 2>/dev/null || true
    ) | md5sum
}

expect_param_ini() {
    printf '%s\r\n' "$1" >"$work/expected.ini"
    cmp -s "$work/expected.ini" "$folder/PARAM.ini" ||
        fail "PARAM.ini holds: $(od -c "$folder/PARAM.ini" 2>&1)"
}

expect_clipboard() {
    within 5 clipboard_holds "$1" || fail "the clipboard holds '$(clipboard)', not '$1'"
}

# The program ends with exit code 0, and nothing of it but a clipboard keeper runs on.
expect_program_end() {
    within 15 not running "$program_pid" || fail "the program did not end"
    local status=0 pid
    wait "$program_pid" || status=$?
    [ "$status" -eq 0 ] || fail "the program ended with exit code $status"
    for pid in $(program_processes); do
        is_keeper "$pid" || fail "a process of the program is left: $(ps -o pid=,args= -p "$pid")"
    done
}

# On a fresh start the focus is on "Copier et Quitter": Enter copies the box and quits.
copy_and_quit_with_enter() {
    expect_window "$main_title" "main"
    press Return
    expect_program_end
}

case_first_start() {
    start_desktop
    deploy_folder
    [ "$(ls -A "$folder")" = lirvane ] || fail "the deployed folder holds: $(ls -A "$folder")"
    start_program
    expect_window '^Paramètre Manquant$' '"Paramètre Manquant"'
    press Return
    expect_window '^Paramètre$' '"Paramètre"'
    # The caret stands after "http://www.": typing completes the address.
    type_text example.org/tmp
    press Return
    expect_window '^Save$' '"Save"'
    expect_param_ini http://www.example.org/tmp/
    press Return
    expect_window "$main_title" "main"
    expect_window_gone '^Paramètre$' '"Paramètre"'
    press alt+F4
    expect_program_end
    [ "$(ls -A "$folder" | LC_ALL=C sort | tr '\n' ' ')" = "PARAM.ini lirvane " ] ||
        fail "the folder holds: $(ls -A "$folder")"
}

case_typical_use() {
    start_desktop
    deploy_folder "$base_url"
    add_files "rapport final.pdf"
    start_program
    expect_window "$main_title" "main"
    # Rows: lirvane, PARAM.ini, rapport final.pdf.
    enter_on_row "$window" 2
    expect_clipboard "$report_address"
    click_at "$window" "${main_copy[@]}"
    expect_program_end
    expect_clipboard "$report_address"
}

case_change_address() {
    start_desktop
    deploy_folder "$base_url"
    add_files "rapport final.pdf"
    start_program "$folder/rapport final.pdf"
    expect_window "$main_title" "main"
    click_at "$window" "${main_settings[@]}"
    expect_window '^Paramètre$' '"Paramètre"'
    expect_window_gone "$main_title" "main"
    press ctrl+a
    type_text https://files.example.net/shared
    click_at "$window" "${settings_save[@]}"
    expect_window '^Save$' '"Save"'
    press Return
    expect_param_ini https://files.example.net/shared/
    copy_and_quit_with_enter
    expect_clipboard https://files.example.net/shared/rapport%20final.pdf
}

case_cancel_settings() {
    start_desktop
    deploy_folder "$base_url"
    add_files "rapport final.pdf"
    local before
    before=$(folder_state)
    start_program "$folder/rapport final.pdf"
    expect_window "$main_title" "main"
    click_at "$window" "${main_settings[@]}"
    expect_window '^Paramètre$' '"Paramètre"'
    type_text not/saved
    click_at "$window" "${settings_cancel[@]}"
    expect_window_gone '^Paramètre$' '"Paramètre"'
    copy_and_quit_with_enter
    expect_clipboard "$report_address"
    [ "$(folder_state)" = "$before" ] || fail "something was written into the folder"
}

case_line_breaks() {
    start_desktop
    deploy_folder "$base_url"
    start_program
    expect_window "$main_title" "main"
    click_at "$window" "${main_box[@]}"
    type_text a
    press shift+Return
    type_text b
    press Return
    type_text c
    click_at "$window" "${main_copy[@]}"
    expect_program_end
    expect_clipboard $'a\r\nb\r\nc'
}

case_close_main() {
    start_desktop
    deploy_folder "$base_url"
    add_files "rapport final.pdf"
    local before
    before=$(folder_state)
    start_program
    expect_window "$main_title" "main"
    press alt+F4
    expect_program_end
    [ "$(folder_state)" = "$before" ] || fail "something was written into the folder"
}

case_close_settings() {
    start_desktop
    deploy_folder
    local before
    before=$(folder_state)
    start_program
    expect_window '^Paramètre Manquant$' '"Paramètre Manquant"'
    press Return
    expect_window '^Paramètre$' '"Paramètre"'
    type_text example.org
    press alt+F4
    expect_program_end
    [ "$(folder_state)" = "$before" ] || fail "something was written into the folder"
}

case_close_settings_later() {
    start_desktop
    deploy_folder "$base_url"
    local before
    before=$(folder_state)
    start_program
    expect_window "$main_title" "main"
    click_at "$window" "${main_settings[@]}"
    expect_window '^Paramètre$' '"Paramètre"'
    expect_window_gone "$main_title" "main"
    type_text not/saved
    press alt+F4
    expect_program_end
    [ "$(folder_state)" = "$before" ] || fail "something was written into the folder"
}

# The Exec line of the entry, its %f replaced by the file, run as a launcher would: the value's
# own escapes undone, then its quoting read as a shell reads double quotes.
run_exec_line() {
    local entry=$1 file=$2 line
    line=$(sed -n 's/^Exec=//p' "$entry")
    [[ $line == *%f* ]] || fail "the entry's Exec line has no %f: $line"
    line=${line//\\\\/\\}
    line=${line//"%f"/$(printf '%q' "$file")}
    (cd "$work" && eval "exec $line") >"$work/program.log" 2>&1 &
    program_pid=$!
    own_processes+=("$program_pid")
}

case_launcher() {
    folder="$work/mon site web"
    program=$folder/lirvane
    start_desktop
    deploy_folder "$base_url" --launcher
    add_files "rapport final.pdf"
    local entry
    entry=$(find "$HOME/.local/share/applications" -name 'lirvane-*.desktop') ||
        fail "no launcher was written"
    [ "$(wc -l <<<"$entry")" -eq 1 ] || fail "more than one launcher: $entry"
    desktop-file-validate "$entry" >"$work/validate.log" 2>&1 || fail "the entry is not valid"
    grep -qx 'Name=Lirvane – mon site web' "$entry" || fail "the entry's name: $(grep ^Name "$entry")"
    run_exec_line "$entry" "$folder/rapport final.pdf"
    copy_and_quit_with_enter
    expect_clipboard "$report_address"
}

# run.sh in a copy of the clone's scripts and built lirvane-deploy, from a subfolder of its demo
# folder; deploy.sh installs the built executable.
case_run_script() {
    local clone=$work/clone
    folder=$clone/demo
    program=$folder/lirvane
    mkdir -p "$clone/scripts" "$clone/build" "$folder/images"
    cp "$scripts/run.sh" "$scripts/deploy.sh" "$clone/scripts/"
    cp "$deploy" "$clone/build/"
    printf '%s\r\n' "$base_url" >"$folder/PARAM.ini"
    start_desktop
    (
        cd "$folder/images"
        LIRVANE_EXECUTABLE=$executable exec bash ../../scripts/run.sh "photo 1.jpg"
    ) >>"$work/program.log" 2>&1 &
    program_pid=$!
    own_processes+=("$program_pid")
    copy_and_quit_with_enter
    expect_clipboard "${base_url}images/photo%201.jpg"
}

case "$case_name" in
first_start | typical_use | change_address | cancel_settings | line_breaks | close_main | \
    close_settings | close_settings_later | launcher | run_script)
    "case_$case_name"
    ;;
*) fail "unknown case: $case_name" ;;
esac
