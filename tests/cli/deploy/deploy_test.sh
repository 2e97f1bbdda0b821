#!/usr/bin/env bash
# Checks lirvane-deploy with an already built executable: what it puts into the folder, the
# settings file it writes, what it refuses, the address it checks against a real web server and
# the "Open with" launcher it adds and removes; and scripts/deploy.sh in a stand-in clone, what
# it does when the build fails.
#
# Usage: deploy_test.sh <lirvane executable> <lirvane-deploy>
set -euo pipefail

case_name=deploy
# shellcheck source-path=SCRIPTDIR source=../../e2e/lib/web_server.sh
source "$(dirname "$0")/../../e2e/lib/web_server.sh"
sources=$(realpath "$(dirname "$0")/../../..")
LIRVANE_EXECUTABLE=$(realpath "$1")
export LIRVANE_EXECUTABLE
deploy=$(realpath "$2")
export HOME=$work/home XDG_DATA_HOME=$work/home/data
mkdir -p "$HOME"
umask 022
failures=0

before_cleanup() {
    chmod -R u+w "$work"
}

# Every check runs; the failures are counted.
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Runs lirvane-deploy, keeping its status and what it said; never stops the test.
run_deploy() {
    status=0
    "$deploy" "$@" >"$work/said" 2>&1 || status=$?
    said=$(cat "$work/said")
}

fresh_folder() {
    folder=$work/$1
    rm -rf "$folder"
    mkdir -p "$folder"
}

folder_names() {
    ls -A "$folder" | sort | tr '\n' ' '
}

# address given | bytes of PARAM.ini (printf format)
settings_cases=(
    'http://example.org/tmp|http://example.org/tmp/\r\n'
    'http://example.org/tmp/|http://example.org/tmp/\r\n'
    'http://site/été|http://site/\351t\351/\r\n'
    'http://site/€ – ok|http://site/\200%20\226%20ok/\r\n'
    'http://site/a\|http://site/a\\/\r\n'
    $'http://site/a\r\nb|http://site/ab/\r\n'
)
for case in "${settings_cases[@]}"; do
    address=${case%%|*}
    fresh_folder settings
    run_deploy "$folder" "$address" --no-check
    [ "$status" -eq 0 ] || fail "deploying with '$address' failed: $said"
    printf '%b' "${case#*|}" >"$work/expected"
    cmp -s "$work/expected" "$folder/PARAM.ini" ||
        fail "'$address' gave PARAM.ini: $(od -c "$folder/PARAM.ini" 2>&1)"
    [ "$(folder_names)" = "PARAM.ini lirvane " ] || fail "'$address' left: $(folder_names)"
    [ "$(stat -c %a "$folder/PARAM.ini")" = 644 ] || fail "PARAM.ini's mode is not 644"
done

fresh_folder plain
run_deploy "$folder"
[ "$status" -eq 0 ] || fail "deploying without an address failed: $said"
[ "$(folder_names)" = "lirvane " ] || fail "an empty folder received: $(folder_names)"
cmp -s "$LIRVANE_EXECUTABLE" "$folder/lirvane" || fail "the installed executable differs"
[ "$(stat -c %a "$folder/lirvane")" = 755 ] || fail "the executable's mode is not 755"

# address given | what the refusal names
refused_addresses=(
    'http://site/ő|Windows-1252'
    'http://site/日本|Windows-1252'
    '|vide'
    $'\r\n|vide'
    '127.0.0.1:8080/r/|« 127.0.0.1:8080/r/ » ne dit pas son protocole'
    'http://site/?x=1|« ? » ou « # »'
    'http://site/#frag|« ? » ou « # »'
)
for case in "${refused_addresses[@]}"; do
    fresh_folder refused
    run_deploy "$folder" "${case%%|*}"
    [ "$status" -ne 0 ] || fail "the address '${case%%|*}' was accepted"
    [[ $said == *"${case#*|}"* ]] || fail "refusing '${case%%|*}' said: $said"
    [ -z "$(folder_names)" ] || fail "refusing '${case%%|*}' left: $(folder_names)"
done

# Deployments checked against nginx, which publishes $work/pub at http://127.0.0.1:$port/. The
# address checked is the one PARAM.ini holds after deploying.
# folder below $work | PARAM.ini before (printf format; - none) | base address | option |
# exit code | what it says (a pattern) | the folder's files after | PARAM.ini after (- none)
mkdir -p "$work/pub"
start_web_server "$work/pub"
site=http://127.0.0.1:$port
deploy_cases=(
    "pub/t|$site/tt/\r\n|$site/t/||3|*il donne $site/tt/ et non $site/t/*Réponse de $site/tt/\
lirvane-check-*.txt : HTTP 404.*PARAM.ini » et déployez de nouveau*|PARAM.ini lirvane \
|$site/tt/\r\n"
    "pub/t|$site/t/\r\n|$site/tt/||0|*OK : $site/t/ mène au dossier « $work/pub/t »|PARAM.ini \
lirvane |$site/t/\r\n"
    "pub/t|-|$site/t/ ||0|Installé : *OK : $site/t/ mène au dossier « $work/pub/t »|PARAM.ini \
lirvane |$site/t/\r\n"
    "pub/t|-|   |--no-check|1|*l'adresse de base est vide.||-"
    $'dep\xff|-|'"$site/|--launcher|1|*un lanceur demande un chemin de dossier en UTF-8.||-"
    $'dep\tx|-|'"$site/|--launcher|1|*un lanceur ne peut pas nommer un dossier dont*||-"
)
for case in "${deploy_cases[@]}"; do
    IFS='|' read -r name before address option code pattern names after <<<"$case"
    fresh_folder "$name"
    # shellcheck disable=SC2059 # the bytes are given as a format
    [ "$before" = - ] || printf "$before" >"$folder/PARAM.ini"
    # shellcheck disable=SC2086 # no option is no argument
    run_deploy "$folder" "$address" $option
    [ "$status" -eq "$code" ] || fail "'$address' into $name: exit code $status: $said"
    # shellcheck disable=SC2053 # a pattern
    [[ $said == $pattern ]] || fail "'$address' into $name said: $said"
    [ "$(folder_names)" = "$names" ] || fail "'$address' into $name left: $(folder_names)"
    if [ "$after" != - ]; then
        # shellcheck disable=SC2059
        printf "$after" | cmp -s - "$folder/PARAM.ini" ||
            fail "'$address' into $name left PARAM.ini: $(od -c "$folder/PARAM.ini" 2>&1)"
    fi
done
! compgen -G "$XDG_DATA_HOME/applications/*" >/dev/null || fail "a refused launcher was written"

# Every file the deploy writes (the program, PARAM.ini, the launcher and its icon, the menu
# entries, Thunar's actions) reaches the disk before it replaces the old one: the hidden file it
# is written to is synced before the rename, or a power cut right after a deploy may leave an
# empty file. Seen in the system calls, as nothing else shows it.
fresh_folder synced
strace -f -qq -e trace=openat,fsync,fdatasync,close,rename,renameat,renameat2 -o "$work/calls" \
    "$deploy" "$folder" http://example.org/tmp/ --no-check --launcher --file-manager \
    >"$work/said" 2>&1 || fail "deploying under strace failed: $(cat "$work/said")"
unsynced=$(/usr/bin/python3 "$(dirname "$0")/unsynced_renames.py" "$work/calls") ||
    fail "files renamed into place without being synced first: $unsynced"
"$deploy" --remove-launcher "$folder" >/dev/null && "$deploy" --remove-file-manager "$folder" \
    >/dev/null || fail "removing the launcher and the menu entries failed"

# An existing settings file is kept, and said so; the executable is still updated.
fresh_folder kept
printf 'http://old/\r\n' >"$folder/PARAM.ini"
run_deploy "$folder" http://new/ --no-check
[ "$status" -eq 0 ] || fail "deploying over a settings file failed: $said"
[ "$(cat "$folder/PARAM.ini")" = $'http://old/\r' ] || fail "the existing PARAM.ini was changed"
[[ $said == *"existe déjà et est gardé"* ]] || fail "keeping PARAM.ini was not said: $said"
[ -x "$folder/lirvane" ] || fail "the executable was not installed beside a PARAM.ini"

# Ctrl+C at any step of a deploy with a launcher and menu entries leaves the folder and the home
# as they were, or the deploy complete, never a part of it, and the exit code says it was
# interrupted. strace holds one system call open: a file's sync while the deploy prepares it,
# the first rename once it makes its changes; stand-ins hold update-desktop-database and curl.
interrupted=$work/interrupted
for held in update-desktop-database curl; do
    mkdir -p "$work/hold/$held"
    printf '#!/bin/sh\nexec sleep 30\n' >"$work/hold/$held/$held"
    chmod 755 "$work/hold/$held/$held"
done
fresh_home() {
    rm -rf "$interrupted"
    mkdir -p "$interrupted/www/tmp" "$interrupted/home/.config/Thunar"
    printf '<?xml version="1.0" encoding="UTF-8"?>\n<actions>\n<action><name>Mine</name>%s\n' \
        '<unique-id>1-1</unique-id><command>true</command></action></actions>' \
        >"$interrupted/home/.config/Thunar/uca.xml"
}
# Every name, hidden ones too, with its type, mode and bytes.
snapshot() {
    (cd "$interrupted" && find . -printf '%p %y %m %l\n' && find . -type f -exec md5sum {} +) |
        sort
}
# Runs the deploy, with a system call held (strace's injection) or a stand-in first in PATH,
# and interrupts it after a moment; sets status.
deploy_interrupted() {
    local injection=$1 stand_ins=$2 check=$3 path=$PATH tracer
    [ -z "$stand_ins" ] || path=$work/hold/$stand_ins:$PATH
    env -u XDG_DATA_HOME HOME="$interrupted/home" PATH="$path" strace -f -qq -o /dev/null \
        -e trace=fsync,rename -e inject="$injection" "$deploy" "$interrupted/www/tmp" \
        "http://127.0.0.1:$port/" --launcher --file-manager $check >>"$work/interrupted.log" 2>&1 &
    tracer=$!
    sleep 0.6
    pkill -INT -P "$tracer" || true
    status=0
    wait "$tracer" || status=$?
}
fresh_home
before=$(snapshot)
env -u XDG_DATA_HOME HOME="$interrupted/home" "$deploy" "$interrupted/www/tmp" \
    "http://127.0.0.1:$port/" --launcher --file-manager --no-check >/dev/null 2>&1 ||
    fail "the deploy to interrupt fails"
complete=$(snapshot)
# system call held | stand-in | the check | what is left: before or complete
interruptions=()
for step in $(seq 1 12); do
    interruptions+=("fsync:delay_enter=1500000:when=$step||--no-check|before")
done
interruptions+=(
    "rename:delay_enter=1500000:when=1||--no-check|complete"
    "fsync:delay_enter=1:when=100|update-desktop-database|--no-check|complete"
    "fsync:delay_enter=1:when=100|curl||complete"
)
for case in "${interruptions[@]}"; do
    IFS='|' read -r injection stand_ins check left <<<"$case"
    fresh_home
    deploy_interrupted "$injection" "$stand_ins" "$check"
    # Past the last file, the deploy ends before it is interrupted.
    [ "$status" -eq 0 ] && [ "$left" = before ] && [ "$(snapshot)" = "$complete" ] && break
    [ "$status" -eq 130 ] || fail "interrupted at $injection $stand_ins: exit code $status"
    [ "$left" = before ] && expected=$before || expected=$complete
    [ "$(snapshot)" = "$expected" ] || fail "interrupted at $injection $stand_ins left, not" \
        "$left: $(diff <(echo "$expected") <(snapshot))"
done
[ "$status" -eq 0 ] || fail "the deploy's files were not all interrupted: 12 syncs held"

# A running copy is replaced, not written into ("Text file busy").
fresh_folder busy
cp "$(command -v sleep)" "$folder/lirvane"
"$folder/lirvane" 30 &
running_copy=$!
run_deploy "$folder"
kill "$running_copy"
wait "$running_copy" 2>/dev/null || true
[ "$status" -eq 0 ] || fail "deploying over a running copy failed: $said"
cmp -s "$LIRVANE_EXECUTABLE" "$folder/lirvane" || fail "the running copy was not replaced"
[ "$(folder_names)" = "lirvane " ] || fail "deploying over a running copy left: $(folder_names)"

# Folders that cannot take the program.
: >"$work/a-file"
run_deploy "$work/a-file"
[ "$status" -ne 0 ] && [[ $said == *"n'est pas un dossier existant"* ]] ||
    fail "a file was taken: $said"
run_deploy "$work/missing"
[ "$status" -ne 0 ] && [[ $said == *"n'est pas un dossier existant"* ]] ||
    fail "a missing folder was taken: $said"
[ ! -e "$work/missing" ] || fail "the missing folder was created"
fresh_folder read-only
chmod 555 "$folder"
# Root writes into any folder that permissions protect; /proc takes no new file even from root.
# The system's reason is said in French, for the file it names.
reason="Permission refusée"
[ "$(id -u)" -ne 0 ] || { folder=/proc && reason="Fichier ou dossier introuvable"; }
run_deploy "$folder"
[ "$status" -ne 0 ] &&
    [[ $said == *"impossible d'écrire dans « $folder » ($folder/lirvane : $reason)." ]] ||
    fail "$folder was taken: $said"

# Wrong arguments are named, as lirvane-address names them; --help explains every option.
# arguments | what the complaint says
usage_cases=(
    "|aucun dossier n'est donné."
    "--launcher|aucun dossier n'est donné."
    "a b c|trop d'arguments : « c »"
    "--unknown $work|option inconnue : « --unknown »"
    "--remove-launcher|l'option --remove-launcher demande un dossier."
    "--remove-launcher a b|--remove-launcher et --remove-file-manager vont seuls"
)
for case in "${usage_cases[@]}"; do
    # shellcheck disable=SC2086 # the words are the arguments
    run_deploy ${case%%|*}
    [ "$status" -eq 2 ] && [[ $said == "lirvane-deploy : ${case#*|}"* ]] &&
        [[ $said == *"Essayez « lirvane-deploy --help »." ]] ||
        fail "'${case%%|*}' gave: $said"
done
run_deploy --help
[ "$status" -eq 0 ] && [[ $said == "Utilisation : "* ]] ||
    fail "--help gave exit code $status: $said"
for option in --launcher --file-manager --no-check --remove-launcher --remove-file-manager; do
    grep -q -- "^  $option" "$work/said" || fail "--help does not explain $option"
done

# The launcher, for folders whose names need quoting in an Exec line. The program it starts
# here only writes down the arguments it was given.
applications=$XDG_DATA_HOME/applications
icon=$XDG_DATA_HOME/icons/hicolor/32x32/apps/lirvane.png
printf '#!/bin/sh\nprintf "%%s\\n" "$0" "$@" >"%s"\n' "$work/launched" >"$work/recorder"
chmod 755 "$work/recorder"
for name in "mon site" 'a "b" $c `d` \e 100%'; do
    fresh_folder "$name"
    LIRVANE_EXECUTABLE=$work/recorder run_deploy "$folder" --launcher
    entry=$(grep -lF "Comment=Adresse web d'un fichier de " "$applications"/*.desktop |
        xargs grep -lF "Name=Lirvane – ${name//\\/\\\\}" || true)
    [ -n "$entry" ] || { fail "no launcher named after '$name': $said"; continue; }
    desktop-file-validate "$entry" || fail "the launcher for '$name' is not valid"
    # The Exec line read back as a launcher reads it gives the program's path as one argument.
    line=$(sed -n 's/^Exec=//p' "$entry")
    line=${line//\\\\/\\}
    line=${line//"%%"/%}
    eval "words=($line)"
    [ "${words[-2]}" = "$folder/lirvane" ] && [ "${words[-1]}" = %f ] ||
        fail "the Exec line for '$name' reads as: ${words[*]}"
    # Named as earlier versions named it, so that their entries are found and removed.
    [ "$entry" = "$applications/lirvane-$(printf '%s' "$folder" | md5sum | cut -c1-12).desktop" ] ||
        fail "the launcher for '$name' is named $entry"
    # "Open with" as GNOME Files, Thunar and other GIO file managers do it.
    : >"$folder/x y.txt"
    rm -f "$work/launched"
    gio launch "$entry" "$folder/x y.txt" >"$work/said" 2>&1 ||
        fail "gio cannot start the launcher for '$name': $(cat "$work/said")"
    for ((tries = 50; tries > 0; tries--)); do
        [ -s "$work/launched" ] && break
        sleep 0.1
    done
    [ "$(cat "$work/launched" 2>/dev/null)" = "$folder/lirvane"$'\n'"$folder/x y.txt" ] ||
        fail "the launcher for '$name' started: $(cat "$work/launched" 2>/dev/null)"
done
cmp -s "$sources/ui/icons/main_window.png" "$icon" || fail "the icon is missing"

# Removing one launcher keeps the icon the other still uses; removing the last removes it.
run_deploy --remove-launcher "$work/mon site"
[ "$status" -eq 0 ] || fail "removing a launcher failed: $said"
[ "$(ls "$applications"/lirvane-*.desktop | wc -l)" -eq 1 ] || fail "not exactly one launcher left"
[ -e "$icon" ] || fail "the icon went while a launcher still uses it"
run_deploy --remove-launcher "$work/$name"
! compgen -G "$applications/lirvane-*.desktop" >/dev/null || fail "a launcher is left"
[ ! -e "$icon" ] || fail "the icon is left"
run_deploy --remove-launcher "$work/$name"
[ "$status" -eq 0 ] && [[ $said == "Aucun lanceur pour « $work/$name »." ]] ||
    fail "removing twice said: $said"

# scripts/deploy.sh in a clone whose build fails, set up by a user with sudo: nothing is
# installed, not even by an earlier build, and the exit code says so; the set-up asks apt for
# what building and running need alone, and passes DEBIAN_FRONTEND through sudo, which keeps
# none of the caller's environment.
clone=$work/clone
mkdir -p "$clone/scripts" "$clone/build" "$work/bin"
cp "$sources/scripts/deploy.sh" "$sources/scripts/setup.sh" "$clone/scripts/"
: >"$clone/build/CMakeCache.txt"
cp "$LIRVANE_EXECUTABLE" "$deploy" "$clone/build/" # an earlier build
stand_in() {
    printf '#!/bin/sh\n%s\n' "$2" >"$work/bin/$1"
    chmod 755 "$work/bin/$1"
}
stand_in id '[ "$1" = -u ] && { echo 1000; exit; }; exec /usr/bin/id "$@"'
stand_in sudo '[ "$1" = -n ] && shift; exec env -i PATH="$PATH" "$@"'
stand_in dpkg-query 'exit 1'
stand_in apt-get "echo \"DEBIAN_FRONTEND=\${DEBIAN_FRONTEND:-} \$*\" >>'$work/apt-get.log'"
stand_in cmake 'exit 1'
fresh_folder build-fails
status=0
env -u LIRVANE_EXECUTABLE PATH="$work/bin:$PATH" bash "$clone/scripts/deploy.sh" "$folder" \
    >"$work/said" 2>&1 || status=$?
[ "$status" -ne 0 ] || fail "a failed build gave exit code 0: $(cat "$work/said")"
[ -z "$(folder_names)" ] || fail "a failed build left: $(folder_names)"
install_line=$(grep ' install ' "$work/apt-get.log" || true)
[[ $install_line == DEBIAN_FRONTEND=noninteractive* ]] ||
    fail "apt-get was run without DEBIAN_FRONTEND: $install_line"
[[ " $install_line " == *" qt6-base-dev "* ]] || fail "building needs qt6-base-dev: $install_line"
for package in sway mutter nginx-light xvfb clang lintian libgtest-dev; do
    [[ " $install_line " != *" $package "* ]] || fail "deploying installs the test package $package"
done

[ "$failures" -eq 0 ] || exit 1
echo "lirvane-deploy: all checks passed"
