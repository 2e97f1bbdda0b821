#!/usr/bin/env bash
# A web folder served by nginx whose workers run as www-data, as on a Debian web server, while
# the files belong to another user: a file that only its owner may read (0600), or one in a
# folder only its owner may enter (0700), gets its address with a warning, and the server
# refuses it; lirvane-address --check asks the server, and names what it answers; in the window,
# « Oui » to « Fichier non lisible » makes the file readable, and the server then serves it.
#
# Usage: unreadable_files.sh <lirvane executable> <lirvane-address executable>
# Exits 77 (skipped) when not run as root: nginx's workers run as another user only then.
set -euo pipefail

executable=$(realpath "$1")
address_command=$(realpath "$2")
case_name=unreadable_files
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIPPED: nginx's workers run as another user only when it is started as root"
    exit 77
fi
# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
# shellcheck source=lib/web_server.sh
source "$(dirname "$0")/lib/web_server.sh"

# Folders above the web folder are the server's to enter, as /var/www is.
chmod 755 "$work"
published=$work/pub
folder=$published/partage
program=$folder/lirvane
mkdir -p "$folder/sous" "$folder/interdit"
cp "$executable" "$program"
for file in public.txt privé.txt sous/a.txt interdit/b.txt; do echo "$file" >"$folder/$file"; done
chmod 600 "$folder/privé.txt"
chmod 700 "$folder/sous"
web_server_user=www-data
web_server_locations='location /partage/interdit/ { deny all; }'
start_web_server "$published"
base_url=http://127.0.0.1:$port/partage/
printf '%s\r\n' "$base_url" >"$folder/PARAM.ini"

status_of() {
    curl -g -s -o /dev/null -w '%{http_code}' -- "$1"
}

# lirvane-address from the folder; sets status, printed and said.
run_address_command() {
    status=0
    printed=$(cd "$folder" && env -u DISPLAY "$address_command" "$@" 2>"$work/said") || status=$?
    said=$(cat "$work/said")
}

# arguments | exit code | what it says on standard error (a pattern) | the server's answer
cases=(
    "public.txt|0||200"
    "privé.txt|4|*« privé.txt » : le serveur web ne pourra pas le lire (droits rw-------).|403"
    "sous/a.txt|4|*« sous » : le serveur web ne pourra pas y entrer (droits rwx------).|403"
    "--check|interdit/b.txt|4|*« interdit/b.txt » : le serveur répond HTTP 403 à son adresse*|403"
    "--check|public.txt|0||200"
)
for case in "${cases[@]}"; do
    IFS='|' read -r -a fields <<<"$case"
    arguments=("${fields[@]:0:${#fields[@]}-3}")
    code=${fields[-3]} pattern=${fields[-2]} answer=${fields[-1]}
    run_address_command "${arguments[@]}"
    # shellcheck disable=SC2053 # a pattern
    [ "$status" -eq "$code" ] && [[ $said == $pattern ]] ||
        fail "lirvane-address ${arguments[*]}: exit code $status, said: $said"
    [ "$(status_of "$printed")" = "$answer" ] ||
        fail "the server answers $(status_of "$printed") for $printed, not $answer"
done
echo "lirvane-address: ${#cases[@]} files, each warned about as the server answers"

# The window, started with the file: « Fichier non lisible », Enter for « Oui ».
start_desktop
start_program_in "$folder" "$folder/privé.txt"
question=$(wait_for_window '^Fichier non lisible$') || fail "no question « Fichier non lisible »"
activate "$question" || fail "the question could not be activated"
press Return
within 5 test "$(status_of "${base_url}priv%C3%A9.txt")" = 200 ||
    fail "after « Oui » the server answers $(status_of "${base_url}priv%C3%A9.txt")"
[ "$(stat -c %a "$folder/privé.txt")" = 604 ] || fail "privé.txt has mode $(stat -c %a "$folder/privé.txt")"
echo "the window: « Oui » makes the file readable, and the server serves it"
echo "PASS"
