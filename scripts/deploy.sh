#!/usr/bin/env bash
# Puts Lirvane into a folder that a web server publishes.
#
#   deploy.sh FOLDER [BASE-ADDRESS] [--launcher]
#       Builds the program if needed and installs the executable FOLDER/lirvane, nothing else.
#       With BASE-ADDRESS, also writes FOLDER/PARAM.ini as the settings window would, so the
#       program opens straight on its main window; an existing PARAM.ini is left as it is.
#       With --launcher, also adds "Lirvane – <folder name>" to the user's applications, so
#       that file managers offer it in "Open with" for the folder's files.
#   deploy.sh --remove-launcher FOLDER
#       Removes what --launcher added for FOLDER.
#
# LIRVANE_EXECUTABLE names an already built executable to install instead of building one.
set -euo pipefail

repository=$(realpath "$(dirname "$0")/..")

usage() {
    echo "Usage: $0 FOLDER [BASE-ADDRESS] [--launcher]" >&2
    echo "       $0 --remove-launcher FOLDER" >&2
    exit 2
}

refuse() {
    echo "deploy.sh: $*" >&2
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

write_launcher() {
    local folder=$1 entry
    [[ $folder != *[[:cntrl:]]* ]] || refuse "a launcher cannot name a folder with control characters"
    iconv -f UTF-8 -t UTF-8 <<<"$folder" >/dev/null 2>&1 ||
        refuse "a launcher needs a folder name in UTF-8"
    set_launcher_places
    entry=$(launcher_entry "$folder")
    mkdir -p "$applications" "$(dirname "$icon")"
    install -m 644 "$repository/ui/icons/main_window.png" "$icon"
    cat >"$entry.new" <<EOF
[Desktop Entry]
Type=Application
Name=Lirvane – $(entry_string "$(basename "$folder")")
Comment=Web address of a file of $(entry_string "$folder")
Icon=lirvane
TryExec=$(entry_string "$folder/lirvane")
Exec=$(exec_argument "$folder/lirvane") %f
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

build_executable() {
    if [ -n "${LIRVANE_EXECUTABLE:-}" ]; then
        [ -x "$LIRVANE_EXECUTABLE" ] || refuse "LIRVANE_EXECUTABLE is not an executable file"
        realpath "$LIRVANE_EXECUTABLE"
        return
    fi
    (
        cd "$repository"
        bash scripts/setup.sh
        [ -f build/CMakeCache.txt ] || cmake --preset default
        cmake --build --preset default -j "$(nproc)" --target lirvane
    ) >&2
    echo "$repository/build/lirvane"
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
arguments=()
for argument in "$@"; do
    case $argument in
    --launcher) launcher=true ;;
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
trap 'rm -f "$probe"' EXIT
if [ ${#arguments[@]} -eq 2 ]; then
    settings_bytes "${arguments[1]}" >"$probe"
fi

executable=$(build_executable)
install_executable "$executable" "$folder"
if [ ${#arguments[@]} -eq 2 ]; then write_settings "$folder" "$probe"; fi
if $launcher; then write_launcher "$folder"; fi
