#!/usr/bin/env bash
# Puts Lirvane into a folder that a web server publishes.
#
#   deploy.sh FOLDER [BASE-ADDRESS] [--launcher] [--no-check]
#       Builds the program if needed and installs the executable FOLDER/lirvane, nothing else.
#       With BASE-ADDRESS, also writes FOLDER/PARAM.ini as the settings window would, so the
#       program opens straight on its main window; an existing PARAM.ini is left as it is.
#       Then checks that BASE-ADDRESS serves FOLDER (unless --no-check): a failed check is a
#       warning and exit code 3, the folder is deployed all the same.
#       With --launcher, also adds "Lirvane – <folder name>" to the user's applications, so
#       that file managers offer it in "Open with" for the folder's files.
#   deploy.sh --remove-launcher FOLDER
#       Removes what --launcher added for FOLDER.
#
# Installed by the Debian package as lirvane-deploy, it installs the packaged executable
# (../lib/lirvane/lirvane beside its own folder) and icon instead of building from a clone.
# LIRVANE_EXECUTABLE names an already built executable to install instead of either.
set -euo pipefail

command_name=$(basename "$0")
here=$(dirname "$(realpath "$0")")
if [ -x "$here/../lib/lirvane/lirvane" ]; then
    packaged_executable=$(realpath "$here/../lib/lirvane/lirvane")
    icon_source=$(realpath -m "$here/../share/icons/hicolor/32x32/apps/lirvane.png")
else
    repository=$(realpath "$here/..")
    icon_source=$repository/ui/icons/main_window.png
fi

usage() {
    echo "Usage: $0 FOLDER [BASE-ADDRESS] [--launcher] [--no-check]" >&2
    echo "       $0 --remove-launcher FOLDER" >&2
    exit 2
}

refuse() {
    echo "$command_name: $*" >&2
    exit 1
}

# The launcher's files: the user's applications folder and hicolor theme; the entry's name is
# unique to the folder's full path, the icon is shared.
set_launcher_places() {
    local data=${XDG_DATA_HOME:-$HOME/.local/share}
    applications=$data/applications
    icon=$data/icons/hicolor/32x32/apps/lirvane.png
}

launcher_entry() {
    echo "$applications/lirvane-$(printf '%s' "$1" | md5sum | cut -c1-12).desktop"
}

refresh_desktop_database() {
    if command -v update-desktop-database >/dev/null; then
        update-desktop-database -q "$applications" || true
    fi
}

remove_launcher() {
    local entry
    set_launcher_places
    entry=$(launcher_entry "$(realpath -m "$1")")
    if [ ! -e "$entry" ]; then
        echo "No launcher for $1."
        return
    fi
    rm -f "$entry"
    # The icon is shared by every folder's launcher.
    if ! compgen -G "$applications/lirvane-*.desktop" >/dev/null; then
        rm -f "$icon"
    fi
    refresh_desktop_database
    echo "Removed $entry"
}

# A desktop entry's string value: backslashes escaped (control characters are refused before).
entry_string() {
    local value=${1//\\/\\\\}
    printf '%s' "$value"
}

# An Exec argument: quoted, with the characters that stay special inside quotes escaped,
# "%" doubled; then escaped once more as a string value.
exec_argument() {
    local value=$1 character
    for character in "\\" '"' '`' '$'; do
        value=${value//"$character"/\\$character}
    done
    value=${value//"%"/%%}
    entry_string "\"$value\""
}

# The entry's command line for the program. GIO looks for the Exec line's program before it
# turns "%%" into "%", so a program path holding a "%" is handed to sh as an argument instead.
exec_line() {
    if [[ $1 == *%* ]]; then
        printf '%s %s %s\n' "sh -c $(exec_argument 'exec "$0" "$@"')" "$(exec_argument "$1")" %f
    else
        printf '%s %%f\n' "$(exec_argument "$1")"
    fi
}

write_launcher() {
    local folder=$1 entry
    [[ $folder != *[[:cntrl:]]* ]] || refuse "a launcher cannot name a folder with control characters"
    iconv -f UTF-8 -t UTF-8 <<<"$folder" >/dev/null 2>&1 ||
        refuse "a launcher needs a folder name in UTF-8"
    set_launcher_places
    entry=$(launcher_entry "$folder")
    mkdir -p "$applications" "$(dirname "$icon")"
    install -m 644 "$icon_source" "$icon"
    cat >"$entry.new" <<EOF
[Desktop Entry]
Type=Application
Name=Lirvane – $(entry_string "$(basename "$folder")")
Comment=Web address of a file of $(entry_string "$folder")
Icon=lirvane
TryExec=$(entry_string "$folder/lirvane")
Exec=$(exec_line "$folder/lirvane")
MimeType=application/octet-stream;text/plain;
Categories=Utility;
Terminal=false
EOF
    mv -f "$entry.new" "$entry"
    refresh_desktop_database
    echo "Launcher: $entry"
}

# The address as the settings window saves it: a final "/", one line, Windows-1252, CR LF.
settings_bytes() {
    local address=${1//[$'\r\n']/}
    [ -n "$address" ] || refuse "the base address is empty"
    [[ $address == */ ]] || address+=/
    printf '%s\r\n' "$address" | iconv -f UTF-8 -t WINDOWS-1252 2>/dev/null ||
        refuse "the base address holds characters that Windows-1252 cannot store: $1"
}

write_settings() {
    local folder=$1 bytes_file=$2
    if [ -e "$folder/PARAM.ini" ]; then
        echo "Kept the existing $folder/PARAM.ini (the base address was not written)."
        return
    fi
    # Readable as a file the program wrote itself would be.
    chmod "$(printf '%04o' $((0666 & ~0$(umask))))" "$bytes_file"
    mv -n "$bytes_file" "$folder/PARAM.ini"
    echo "Settings: $folder/PARAM.ini"
}

# The likely cause of a failed fetch, from curl's exit code.
fetch_failure_cause() {
    case $1 in
    6) echo "the host name is not known (a typo?)" ;;
    7) echo "nothing answers at that host and port (the server is down, or http and https" \
        "are mixed up)" ;;
    28) echo "no answer within 5 seconds (the server or the network is slow or down)" ;;
    35 | 51 | 58 | 60 | 77 | 83 | 90 | 91)
        echo "the secure connection failed (https where the server speaks only http, or a" \
            "certificate this machine does not trust)" ;;
    *) echo "the address cannot be fetched from this machine" ;;
    esac
}

# The likely cause of an HTTP status other than 200.
status_cause() {
    case $1 in
    404) echo "the base address does not lead to this folder (a missing folder part, a typo," \
        "another site)" ;;
    401 | 403) echo "the server refuses to give the folder's files (its rights, or a password)" ;;
    *) echo "the server does not give the folder's files" ;;
    esac
}

# Proves that the base address serves the folder: a probe file with a random name is written
# into it, fetched through the address, compared byte for byte and removed. curl reads no
# ~/.curlrc (-q) but honours the proxy variables, as this user's browser would. Says the
# outcome; false when the address does not serve the folder.
check_address() {
    local folder=$1 address=${2//[$'\r\n']/} content url status=0 code got='' cause
    [[ $address == */ ]] || address+=/
    content=$(od -An -N16 -tx1 /dev/urandom | tr -d ' \n')
    fetched=$(mktemp)
    # Named before it is made (noclobber: never an existing file), so that the exit trap knows it.
    address_probe=$folder/lirvane-check-${content:0:12}.txt
    (umask 022 && set -C && printf '%s' "$content" >"$address_probe") 2>/dev/null || {
        address_probe=''
        refuse "cannot write into $folder"
    }
    url=$address$(basename "$address_probe")
    code=$(curl -q -g -sS -L --max-redirs 5 --max-time 5 -o "$fetched" -w '%{http_code}' \
        -- "$url" 2>"$fetched.error") || status=$?
    rm -f "$address_probe"
    if [ "$status" -ne 0 ]; then
        got=$(head -n 1 "$fetched.error")
        cause=$(fetch_failure_cause "$status")
    elif [ "$code" != 200 ]; then
        got="HTTP $code"
        cause=$(status_cause "$code")
    elif [ "$(cat "$fetched")" != "$content" ]; then
        got="other bytes than the file's"
        cause="the address leads to another folder, or to a page that the server gives for any name"
    fi
    rm -f "$fetched" "$fetched.error"
    if [ -n "$got" ]; then
        {
            echo "Warning: $address does not serve $folder:"
            echo "  $url gave $got."
            echo "  Likely cause: $cause."
            echo "The folder is deployed all the same; correct the address, or deploy with" \
                "--no-check."
        } >&2
        return 1
    fi
    echo "OK: $address serves $folder"
}

# Sets executable. Called as a command of its own, not inside "$(…)", so that a failed build
# stops the deployment.
build_executable() {
    if [ -n "${LIRVANE_EXECUTABLE:-}" ]; then
        [ -x "$LIRVANE_EXECUTABLE" ] || refuse "LIRVANE_EXECUTABLE is not an executable file"
        executable=$(realpath "$LIRVANE_EXECUTABLE")
        return
    fi
    if [ -n "${packaged_executable:-}" ]; then
        executable=$packaged_executable
        return
    fi
    (
        cd "$repository"
        bash scripts/setup.sh
        # A first build tree holds the program alone: its tests need the test command's packages.
        [ -f build/CMakeCache.txt ] ||
            cmake --preset default -DLIRVANE_BUILD_TESTS=OFF -DLIRVANE_BUILD_BENCHMARKS=OFF
        cmake --build --preset default -j "$(nproc)" --target lirvane
    ) >&2
    executable=$repository/build/lirvane
}

# A running copy keeps its file: the new one is written beside it and renamed over it.
install_executable() {
    local executable=$1 folder=$2 staged
    staged=$(mktemp "$folder/.lirvane.XXXXXX")
    install -m 755 "$executable" "$staged" || { rm -f "$staged"; refuse "cannot write $staged"; }
    mv -f "$staged" "$folder/lirvane"
    echo "Installed $folder/lirvane"
}

if [ "${1:-}" = --remove-launcher ]; then
    [ $# -eq 2 ] || usage
    remove_launcher "$2"
    exit 0
fi

launcher=false
check=true
arguments=()
for argument in "$@"; do
    case $argument in
    --launcher) launcher=true ;;
    --no-check) check=false ;;
    -*) usage ;;
    *) arguments+=("$argument") ;;
    esac
done
if [ ${#arguments[@]} -lt 1 ] || [ ${#arguments[@]} -gt 2 ]; then usage; fi

[ -d "${arguments[0]}" ] || refuse "${arguments[0]} is not an existing folder"
folder=$(realpath "${arguments[0]}")
[ ! -d "$folder/lirvane" ] || refuse "$folder/lirvane is a folder"
# Written to before anything is built, so that a folder that refuses writing is known at once.
probe=$(mktemp "$folder/.lirvane.XXXXXX" 2>/dev/null) ||
    refuse "cannot write into $folder"
address_probe='' fetched=''
# No probe file is left behind, also when interrupted.
trap 'rm -f "$probe" ${address_probe:+"$address_probe"} ${fetched:+"$fetched" "$fetched.error"}' \
    EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
if [ ${#arguments[@]} -eq 2 ]; then
    settings_bytes "${arguments[1]}" >"$probe"
fi

build_executable
install_executable "$executable" "$folder"
if [ ${#arguments[@]} -eq 2 ]; then write_settings "$folder" "$probe"; fi
if $launcher; then write_launcher "$folder"; fi
if [ ${#arguments[@]} -eq 2 ] && $check; then
    check_address "$folder" "${arguments[1]}" || exit 3
fi
