#!/usr/bin/env bash
# Checks scripts/deploy.sh with an already built executable: what it puts into the folder, the
# settings file it writes, what it refuses, and the "Open with" launcher it adds and removes;
# and, in a stand-in clone, what it does when the build fails. (The address check is tested
# against a real web server with the Debian package.)
#
# Usage: deploy_test.sh <lirvane executable>
set -euo pipefail

LIRVANE_EXECUTABLE=$(realpath "$1")
export LIRVANE_EXECUTABLE
deploy=$(realpath "$(dirname "$0")/../../scripts/deploy.sh")
work=$(mktemp -d -t lirvane-deploy.XXXXXX)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
export HOME=$work/home XDG_DATA_HOME=$work/home/data
mkdir -p "$HOME"
umask 022
failures=0

fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

# Runs deploy.sh, keeping its status and what it said; never stops the test.
run_deploy() {
    status=0
    bash "$deploy" "$@" >"$work/said" 2>&1 || status=$?
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
    'http://site/€ – ok|http://site/\200 \226 ok/\r\n'
    'http://site/a\|http://site/a\\/\r\n'
    $'http://site/a\r\nb|http://site/ab/\r\n'
    '   |   /\r\n'
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
    '|empty'
    $'\r\n|empty'
)
for case in "${refused_addresses[@]}"; do
    fresh_folder refused
    run_deploy "$folder" "${case%%|*}"
    [ "$status" -ne 0 ] || fail "the address '${case%%|*}' was accepted"
    [[ $said == *"${case#*|}"* ]] || fail "refusing '${case%%|*}' said: $said"
    [ -z "$(folder_names)" ] || fail "refusing '${case%%|*}' left: $(folder_names)"
done

# An existing settings file is kept, and said so; the executable is still updated.
fresh_folder kept
printf 'http://old/\r\n' >"$folder/PARAM.ini"
run_deploy "$folder" http://new/ --no-check
[ "$status" -eq 0 ] || fail "deploying over a settings file failed: $said"
[ "$(cat "$folder/PARAM.ini")" = $'http://old/\r' ] || fail "the existing PARAM.ini was changed"
[[ $said == *Kept* ]] || fail "keeping PARAM.ini was not said: $said"
[ -x "$folder/lirvane" ] || fail "the executable was not installed beside a PARAM.ini"

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
[ "$status" -ne 0 ] && [[ $said == *"not an existing folder"* ]] || fail "a file was taken: $said"
run_deploy "$work/missing"
[ "$status" -ne 0 ] && [[ $said == *"not an existing folder"* ]] ||
    fail "a missing folder was taken: $said"
[ ! -e "$work/missing" ] || fail "the missing folder was created"
fresh_folder read-only
chmod 555 "$folder"
# Root writes into any folder that permissions protect; /proc takes no new file even from root.
[ "$(id -u)" -ne 0 ] || folder=/proc
run_deploy "$folder"
[ "$status" -ne 0 ] && [[ $said == *"cannot write"* ]] || fail "$folder was taken: $said"
for arguments in "" "--launcher" "a b c" "--unknown $work"; do
    # shellcheck disable=SC2086 # the words are the arguments
    run_deploy $arguments
    [ "$status" -eq 2 ] && [[ $said == Usage:* ]] || fail "'$arguments' gave no usage: $said"
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
    entry=$(grep -lF "Comment=Web address of a file of " "$applications"/*.desktop |
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
cmp -s "$(dirname "$deploy")/../ui/icons/main_window.png" "$icon" || fail "the icon is missing"

# Removing one launcher keeps the icon the other still uses; removing the last removes it.
run_deploy --remove-launcher "$work/mon site"
[ "$status" -eq 0 ] || fail "removing a launcher failed: $said"
[ "$(ls "$applications"/lirvane-*.desktop | wc -l)" -eq 1 ] || fail "not exactly one launcher left"
[ -e "$icon" ] || fail "the icon went while a launcher still uses it"
run_deploy --remove-launcher "$work/$name"
! compgen -G "$applications/lirvane-*.desktop" >/dev/null || fail "a launcher is left"
[ ! -e "$icon" ] || fail "the icon is left"
run_deploy --remove-launcher "$work/$name"
[ "$status" -eq 0 ] && [[ $said == "No launcher"* ]] || fail "removing twice said: $said"

# A clone whose build fails, set up by a user with sudo: nothing is installed, the exit code
# says so; the set-up asks apt for what building and running need alone, and passes
# DEBIAN_FRONTEND through sudo, which keeps none of the caller's environment.
clone=$work/clone
mkdir -p "$clone/scripts" "$clone/build" "$work/bin"
cp "$(dirname "$deploy")/deploy.sh" "$(dirname "$deploy")/setup.sh" "$clone/scripts/"
: >"$clone/build/CMakeCache.txt"
cp "$LIRVANE_EXECUTABLE" "$clone/build/lirvane" # an earlier build
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
echo "deploy.sh: all checks passed"
