#!/usr/bin/env bash
# Publishes a program folder with a real web server (nginx) and checks that every address the
# program makes fetches its file, byte for byte:
# - by a double-click on each entry of the list (the real program on a private X server);
# - by the command line (the real program, started once per file, its box copied with
#   "Copier et Quitter");
# - by a drop on the address box and on the list (the real main window, offscreen: a drag cannot
#   be made on a private X server without a file manager).
# The plain addresses of a drop on the list are fetched where the name holds no character that a
# web address cannot carry raw: a blank, "#", "?" or "%" (control characters are encoded there too).
#
# Usage: addresses_reach_files.sh <lirvane executable> <drop_files executable>
# LIRVANE_E2E_FIRST_DISPLAY chooses the first of ten X display numbers tried (default 90).
set -euo pipefail

executable=$(realpath "$1")
drop_files=$(realpath "$2")

work=$(mktemp -d -t lirvane-addresses.XXXXXX)
# The program folder's own path holds a "\", a blank, "#", "%" and an accent; its address is
# the base address the user records.
folder_name='w\w #1 100% é'
folder_address='w%5Cw%20%231%20100%25%20%C3%A9'
published=$work/pub
folder=$published/$folder_name
program=$folder/lirvane
own_processes=()

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
)

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.log "$work"/nginx/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

# Keepers of the clipboard run the program folder's executable, without arguments.
stop_keepers() {
    local pattern keeper
    pattern=$(sed 's/[][\\.*^$+?(){}|]/\\&/g' <<<"$program")
    for keeper in $(pgrep -x -f -- "$pattern"); do
        kill "$keeper" 2>/dev/null || true
    done
}

cleanup() {
    local i
    stop_keepers
    for ((i = ${#own_processes[@]} - 1; i >= 0; i--)); do
        kill "${own_processes[i]}" 2>/dev/null || true
        wait "${own_processes[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

for tool in nginx curl Xvfb openbox xdotool xclip xdpyinfo xprop md5sum; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
done

unset WAYLAND_DISPLAY SESSION_MANAGER XDG_CONFIG_HOME XDG_CACHE_HOME
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
export QT_QPA_PLATFORM=xcb
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

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
}

# nginx on a free loopback port, run by this user, everything it writes kept in $work/nginx.
start_web_server() {
    local tries user_line=''
    mkdir -p "$work/nginx"
    [ "$(id -u)" -eq 0 ] && user_line='user root;'
    for ((tries = 20; tries > 0; tries--)); do
        port=$((20000 + RANDOM % 40000))
        cat >"$work/nginx/nginx.conf" <<EOF
$user_line
daemon off;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 64; }
http {
    access_log off;
    client_body_temp_path $work/nginx/body;
    proxy_temp_path $work/nginx/proxy;
    fastcgi_temp_path $work/nginx/fastcgi;
    uwsgi_temp_path $work/nginx/uwsgi;
    scgi_temp_path $work/nginx/scgi;
    charset off;
    disable_symlinks off;
    server {
        listen 127.0.0.1:$port;
        root $published;
    }
}
EOF
        nginx -p "$work/nginx" -e "$work/nginx/error.log" -c "$work/nginx/nginx.conf" &
        local server=$!
        if within 5 curl -s -o /dev/null "http://127.0.0.1:$port/"; then
            own_processes+=("$server")
            base_url="http://127.0.0.1:$port/$folder_address/"
            printf '%s\r\n' "$base_url" >"$folder/PARAM.ini"
            return
        fi
        kill "$server" 2>/dev/null || true
        wait "$server" 2>/dev/null || true
    done
    fail "nginx did not start on a loopback port"
}

start_desktop() {
    local display first=${LIRVANE_E2E_FIRST_DISPLAY:-90} tries
    for ((display = first; display < first + 10; display++)); do
        [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ] && continue
        Xvfb ":$display" -nolisten tcp -noreset -screen 0 1280x800x24 >"$work/xvfb.log" 2>&1 &
        local xvfb=$!
        for ((tries = 100; tries > 0; tries--)); do
            running "$xvfb" || break
            if xdpyinfo -display ":$display" >/dev/null 2>&1; then
                own_processes+=("$xvfb")
                export DISPLAY=:$display
                openbox --sm-disable >"$work/openbox.log" 2>&1 &
                own_processes+=($!)
                within 10 xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 ||
                    fail "openbox did not start"
                return
            fi
            sleep 0.1
        done
        kill "$xvfb" 2>/dev/null || true
        wait "$xvfb" 2>/dev/null || true
    done
    fail "no X display in :$first-:$((first + 9)) could be started"
}

# Starts the program with the given arguments from the given folder; sets window.
start_program() {
    local current_folder=$1
    shift
    (cd "$current_folder" && exec "$program" "$@") >>"$work/program.log" 2>&1 &
    program_pid=$!
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Lirvane [0-9.]+ By' |
        head -n 1) || fail "the main window did not appear"
    xdotool windowactivate --sync "$window" 2>/dev/null || true
}

# Runs the command that presses "Copier et Quitter"; once the program has ended, sets copied
# to what the clipboard holds.
copy_and_quit() {
    "$@"
    within 15 not running "$program_pid" || fail "the program did not end"
    wait "$program_pid" || fail "the program ended with an error"
    copied=$(timeout 5 xclip -o -selection clipboard 2>/dev/null) || fail "nothing to paste"
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

# One double-click on each entry of the list, then the box: each line fetches one listed file
# and every listed file is fetched once. The order of the list does not matter.
check_double_clicks() {
    local listed=() name row line expected fetched
    for name in "$folder"/*; do
        [ -f "$name" ] && listed+=("$name")
    done
    start_program "$folder"
    # The list starts at y 16; rows about 13 px high.
    for ((row = 0; row < ${#listed[@]}; row++)); do
        xdotool mousemove --window "$window" 60 $((23 + 13 * row)) click --repeat 2 --delay 80 1
        sleep 0.25
    done
    copy_and_quit xdotool mousemove --window "$window" 432 308 click 1
    split_box "$copied"
    [ ${#lines[@]} -eq ${#listed[@]} ] ||
        fail "double-clicks: ${#lines[@]} addresses for ${#listed[@]} files: ${lines[*]}"
    expected=$(for name in "${listed[@]}"; do md5sum <"$name"; done | sort)
    fetched=$(for line in "${lines[@]}"; do
        curl -g -s -f -- "$line" | md5sum
    done | sort)
    [ "$expected" = "$fetched" ] ||
        fail "double-clicks: the addresses do not fetch the listed files: $(printf '%q ' "${lines[@]}")"
    echo "double-click: ${#lines[@]} addresses fetch their files"
}

# The command line as a user writes it: relative to the current folder, through a linked
# folder, with "..", doubled "/" or a name like a Qt option.
check_command_lines() {
    local i name argument current
    for i in "${!names[@]}"; do
        name=${names[i]}
        current=/
        case $((i % 4)) in
        0) current=$folder argument=$name ;;
        1) argument="$work/linked folder/$name" ;;
        2) argument="$folder/deep/../$name" ;;
        3) argument="$folder//$name" ;;
        esac
        start_program "$current" "$argument"
        copy_and_quit xdotool key Return
        expect_fetches "$copied" "$folder/$name" \
            "command line $(printf '%q' "$argument")"
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
    split_box "$(cat "$work/list")"
    [ ${#lines[@]} -eq ${#names[@]} ] || fail "drop on the list: ${#lines[@]} addresses"
    for i in "${!names[@]}"; do
        name=${names[i]}
        [[ $name =~ [\ #?%] ]] && continue
        expect_fetches "${lines[i]}" "$folder/$name" "drop on the list"
        plain=$((plain + 1))
    done
    echo "drops: ${#names[@]} encoded and $plain plain addresses fetch their files"
}

make_program_folder
start_web_server
check_drops
start_desktop
check_command_lines
check_double_clicks
stop_keepers
echo "PASS"
