#!/usr/bin/env bash
# Publishes a program folder with a real web server (nginx) and checks that every address the
# program makes fetches its file, byte for byte:
# - by a double-click on the list's first entry and Enter on each other one (the real program
#   on a private X server);
# - by the command line (the real program, started once per file, its box copied with
#   "Copier et Quitter");
# - by a drop on the address box and on the list (the real main window, offscreen: a drag cannot
#   be made on a private X server without a file manager);
# - by lirvane-address without a display: its lines are the drops' lines; a file outside the
#   folder and a missing one are named on standard error and the others still print; a file
#   reached through a link inside the folder to a folder elsewhere gets the address that the
#   server serves; with --copy on the X server its lines paste after it has ended.
# The base address is written by hand, as people write it: no final "/", blanks and an empty line
# after it.
# The plain addresses of a drop on the list are fetched where the name holds no character that a
# web address cannot carry raw: a blank, "#", "?" or "%" (control characters are encoded there too).
#
# Usage: addresses_reach_files.sh <lirvane executable> <drop_files executable>
#                                 <lirvane-address executable>
set -euo pipefail

executable=$(realpath "$1")
drop_files=$(realpath "$2")
address_command=$(realpath "$3")
case_name=addresses_reach_files
# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
# shellcheck source=lib/web_server.sh
source "$(dirname "$0")/lib/web_server.sh"
require_tools md5sum

# The program folder's own path holds a "\", a blank, "#", "%" and an accent; its address is
# the base address the user records.
folder_name='w\w #1 100% é'
folder_address='w%5Cw%20%231%20100%25%20%C3%A9'
published=$work/pub
folder=$published/$folder_name
program=$folder/lirvane

names=(
    'plain.txt'
    'a b+c&d=e;f,g.txt'
    '100%.txt'
    '#1 ?x.txt'
    '~tilde [1] {2} $@.txt'
    'été €.txt'
    '日本語.txt'
    'emoji 😀.txt'
    'x\y.txt'
    $'bad\xff\xfe.bin'
    $'tab\there.txt'
    $'line\nfeed.txt'
    '-style'
    'sub one/sub two/photo 1.jpg'
    'deep/er/photo.jpg'
    $'line\u2028sep\u202Ertl\u200Bzero\u00A0nbsp.txt'
)

# Keepers of the clipboard run the program folder's executable, without arguments.
stop_keepers() {
    local pattern keeper
    pattern=$(sed 's/[][\\.*^$+?(){}|]/\\&/g' <<<"$program")
    pattern+="|$(sed 's/[][\\.*^$+?(){}|]/\\&/g' <<<"$address_command")"
    for keeper in $(pgrep -x -f -- "$pattern"); do
        kill "$keeper" 2>/dev/null || true
    done
}

before_cleanup() {
    stop_keepers
}

# The files, each with content of its own; a link that reaches the folder through another path.
make_program_folder() {
    local i
    mkdir -p "$folder"
    for i in "${!names[@]}"; do
        mkdir -p "$(dirname "$folder/${names[i]}")"
        printf 'file %d: %s\n' "$i" "${names[i]}" >"$folder/${names[i]}"
    done
    cp "$executable" "$program"
    ln -s "$folder" "$work/linked folder"
    # A deployed folder whose settings file is no file.
    mkdir "$work/fifo-settings"
    : >"$work/fifo-settings/lirvane"
    : >"$work/fifo-settings/f.txt"
}

# The published folder's server; the folder's address is the base address of its PARAM.ini.
publish_folder() {
    start_web_server "$published"
    base_url="http://127.0.0.1:$port/$folder_address/"
    printf '%s \t\r\n\r\n' "${base_url%/}" >"$folder/PARAM.ini"
}

# Starts the program with the given arguments from the given folder; sets window.
start_program() {
    start_program_in "$@"
    window=$(wait_for_window "$main_title") || fail "the main window did not appear"
    activate "$window" || true
}

# Runs the command that presses "Copier et Quitter"; once the program has ended, sets copied
# to what the clipboard holds.
copy_and_quit() {
    "$@"
    within 15 not running "$program_pid" || fail "the program did not end"
    wait "$program_pid" || fail "the program ended with an error"
    copied=$(clipboard) || fail "nothing to paste"
}

# Lines of a box's text, separated by CR LF (a name may hold a line feed, never a CR).
split_box() {
    local piece
    lines=()
    while IFS= read -r -d $'\r' piece; do
        lines+=("${piece#$'\n'}")
    done < <(printf '%s\r' "$1")
}

# Fetches the address; true when it returns the bytes of the file.
fetches() {
    local status
    status=$(curl -g -s -o "$work/fetched" -w '%{http_code}' -- "$1") || return 1
    [ "$status" = 200 ] && cmp -s "$work/fetched" "$2"
}

expect_fetches() {
    fetches "$1" "$2" || fail "$3: $(printf '%q' "$1") does not fetch $(printf '%q' "$2")"
}

# Each entry of the list added (a double-click, then Enter), then the box: each line fetches one
# listed file and every listed file is fetched once. The order of the list does not matter.
check_list_entries() {
    local listed=() name row line expected fetched
    for name in "$folder"/*; do
        [ -f "$name" ] && listed+=("$name")
    done
    start_program "$folder"
    # The first entry by a double-click, each next one by Down and Enter: rows are reached by
    # the keyboard, since their height depends on the fonts.
    double_click_at "$window" "${list_first_row[@]}"
    for ((row = 1; row < ${#listed[@]}; row++)); do
        sleep 0.25
        press Down Return
    done
    sleep 0.25
    copy_and_quit click_at "$window" "${main_copy[@]}"
    split_box "$copied"
    [ ${#lines[@]} -eq ${#listed[@]} ] ||
        fail "list: ${#lines[@]} addresses for ${#listed[@]} files: ${lines[*]}"
    expected=$(for name in "${listed[@]}"; do md5sum <"$name"; done | sort)
    fetched=$(for line in "${lines[@]}"; do
        curl -g -s -f -- "$line" | md5sum
    done | sort)
    [ "$expected" = "$fetched" ] ||
        fail "list: the addresses do not fetch the listed files: $(printf '%q ' "${lines[@]}")"
    echo "double-click and Enter: ${#lines[@]} addresses fetch their files"
}

# The command line as a user writes it: relative to the current folder and unquoted (each
# blank-separated part an argument of its own), through a linked folder, with "..", doubled "/"
# or a name like a Qt option.
check_command_lines() {
    local i name arguments current
    for i in "${!names[@]}"; do
        name=${names[i]}
        current=/
        case $((i % 4)) in
        0) current=$folder && IFS=' ' read -r -a arguments <<<"$name" ;;
        1) arguments=("$work/linked folder/$name") ;;
        2) arguments=("$folder/deep/../$name") ;;
        3) arguments=("$folder//$name") ;;
        esac
        start_program "$current" "${arguments[@]}"
        copy_and_quit press Return
        expect_fetches "$copied" "$folder/$name" \
            "command line $(printf '%q ' "${arguments[@]}")"
    done
    echo "command line: ${#names[@]} addresses fetch their files"
}

check_drops() {
    local i plain=0 name
    for name in "${names[@]}"; do
        printf '%s/%s\0' "$folder" "$name"
    done >"$work/dropped"
    QT_QPA_PLATFORM=offscreen "$drop_files" "$folder" "$work/dropped" "$work/box" "$work/list" \
        >"$work/drop.log" 2>&1 || fail "the drops failed"
    split_box "$(cat "$work/box")"
    [ ${#lines[@]} -eq ${#names[@]} ] || fail "drop on the box: ${#lines[@]} addresses"
    for i in "${!names[@]}"; do
        expect_fetches "${lines[i]}" "$folder/${names[i]}" "drop on the box"
    done
    box_lines=("${lines[@]}")
    split_box "$(cat "$work/list")"
    [ ${#lines[@]} -eq ${#names[@]} ] || fail "drop on the list: ${#lines[@]} addresses"
    for i in "${!names[@]}"; do
        name=${names[i]}
        [[ $name =~ [\ #?%] ]] && continue
        expect_fetches "${lines[i]}" "$folder/$name" "drop on the list"
        plain=$((plain + 1))
    done
    list_lines=("${lines[@]}")
    echo "drops: ${#names[@]} encoded and $plain plain addresses fetch their files"
}

# lirvane-address from the program folder, without a display; sets status and printed (its lines).
run_address_command() {
    status=0
    (cd "$folder" && env -u DISPLAY -u WAYLAND_DISPLAY "$address_command" "$@") \
        >"$work/printed" 2>"$work/complaints" || status=$?
    mapfile -t printed <"$work/printed"
}

# Each name given relatively, through the linked folder or with ".."; a link keeps its own name;
# a file outside and a missing one in between say why they have no line, and the others print.
check_address_command() {
    local i files=() expected=() option
    echo outside >"$work/outside.txt"
    ln -s plain.txt "$folder/link to plain"
    for i in "${!names[@]}"; do
        case $((i % 3)) in
        0) files+=("${names[i]}") ;;
        1) files+=("$work/linked folder/${names[i]}") ;;
        2) files+=("$folder/deep/../${names[i]}") ;;
        esac
        [ "$i" -eq 4 ] && files+=("$work/outside.txt")
        [ "$i" -eq 9 ] && files+=(missing.txt)
    done
    files+=("link to plain")
    for option in '' --plain; do
        if [ -z "$option" ]; then
            expected=("${box_lines[@]}" "${base_url}link%20to%20plain")
        else
            expected=("${list_lines[@]}" "${base_url}link to plain")
        fi
        run_address_command $option -- "${files[@]}"
        [ "$status" -eq 1 ] || fail "lirvane-address $option: exit code $status"
        [ "${printed[*]}" = "${expected[*]}" ] && [ ${#printed[@]} -eq ${#expected[@]} ] ||
            fail "lirvane-address $option printed: $(printf '%q ' "${printed[@]}")"
        grep -q "« $work/outside.txt » : ce fichier n'est dans aucun dossier" "$work/complaints" &&
            grep -q "« missing.txt » : ce fichier n'existe pas" "$work/complaints" ||
            fail "lirvane-address $option said: $(cat "$work/complaints")"
    done
    run_address_command -- "${files[@]}"
    for i in "${!names[@]}"; do
        expect_fetches "${printed[i]}" "$folder/${names[i]}" "lirvane-address"
    done
    expect_fetches "${printed[-1]}" "$folder/plain.txt" "lirvane-address, a link"
    rm "$folder/link to plain"
    echo "lirvane-address: ${#printed[@]} addresses fetch their files"
    mkdir "$work/videos"
    echo clip >"$work/videos/clip 1.mp4"
    ln -s "$work/videos" "$folder/videos"
    run_address_command "videos/clip 1.mp4"
    [ "${printed[*]}" = "${base_url}videos/clip%201.mp4" ] ||
        fail "a file through a link to a folder elsewhere: ${printed[*]}, $(cat "$work/complaints")"
    expect_fetches "${printed[0]}" "$work/videos/clip 1.mp4" "lirvane-address, a linked folder"
    rm "$folder/videos"
    echo "lirvane-address: a file through a link to a folder elsewhere fetches its file"
}

# Usage errors, a named folder reached through a link, a folder without PARAM.ini or with a FIFO
# in its place, names of no file, and --copy without a display: exit code | what it prints |
# what it says, for the arguments after.
check_address_command_failures() {
    local case code lines words arguments
    mkfifo "$folder/pipe" "$work/fifo-settings/PARAM.ini"
    ln -s absent "$folder/dangling"
    local cases=(
        "2||aucun fichier n'est donné|"
        "2||option inconnue|--copie|plain.txt"
        "2||--folder demande un dossier|plain.txt|--folder"
        "0|${base_url}plain.txt||--folder|$work/linked folder|$folder/plain.txt"
        "1||ne peut pas être lue : $work/PARAM.ini|--folder|$work|$folder/plain.txt"
        "1||PARAM.ini : Ce n'est pas un fichier ordinaire|$work/fifo-settings/f.txt"
        "1||« pipe » : ce n'est pas un fichier ordinaire|pipe"
        "1||« dangling » : ce lien symbolique mène à un fichier qui n'existe pas|dangling"
        "1|${base_url}plain.txt|«  » : le nom est vide||plain.txt"
        "1||« $folder » : c'est un dossier, pas un fichier|$folder"
        "3|${base_url}plain.txt|aucun bureau ne répond|--copy|plain.txt"
        "1|${base_url}plain.txt|aucun bureau ne répond|--copy|plain.txt|missing.txt"
    )
    for case in "${cases[@]}"; do
        IFS='|' read -r code lines words arguments <<<"$case"
        IFS='|' read -r -a arguments <<<"$arguments"
        run_address_command "${arguments[@]}"
        # Every complaint is French: none of Qt's own warnings.
        [ "$status" -eq "$code" ] && [ "${printed[*]}" = "$lines" ] &&
            { [ -z "$words" ] || grep -qF -- "$words" "$work/complaints"; } &&
            ! grep -qvE '^(lirvane-address : |Essayez )' "$work/complaints" ||
            fail "lirvane-address $(printf '%q ' "${arguments[@]}"): exit code $status," \
                "printed ${printed[*]}, said $(cat "$work/complaints")"
    done
    rm "$folder/pipe" "$folder/dangling"
    # Lines that cannot be written are a failure.
    status=0
    (cd "$folder" && "$address_command" plain.txt) >/dev/full 2>"$work/complaints" || status=$?
    [ "$status" -eq 1 ] && grep -q "sortie standard (Disque plein)" "$work/complaints" ||
        fail "lirvane-address into /dev/full: exit code $status, said $(cat "$work/complaints")"
    echo "lirvane-address: ${#cases[@]} failures reported"
}

# With --copy on the X server: once it has ended, its lines paste, CR LF between them.
check_address_copy() {
    local expected
    (cd "$folder" && "$address_command" --copy -- "${names[@]:0:3}") >/dev/null 2>&1 ||
        fail "lirvane-address --copy failed"
    expected=$(printf '%s\r\n' "${box_lines[@]:0:3}")
    within 5 clipboard_holds "${expected%$'\r'}" ||
        fail "after lirvane-address --copy the clipboard holds: $(clipboard | od -c)"
    echo "lirvane-address --copy: the lines paste"
}

make_program_folder
publish_folder
check_drops
check_address_command
check_address_command_failures
start_desktop
check_address_copy
check_command_lines
check_list_entries
stop_keepers
echo "PASS"
