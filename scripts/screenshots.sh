#!/usr/bin/env bash
# Makes the README's pictures in docs/screenshots/: the program deployed into a folder of fixed
# demo files (/tmp/partage) and driven on a private X server (Xvfb and openbox) with one fixed
# font and locale, each window cut out with its frame; and PCManFM's menu on those files. The PNG files carry no time stamps, so a second run gives
# the same bytes.
#
# LIRVANE_EXECUTABLE names an already built executable; without it the program is built.
set -euo pipefail
cd "$(dirname "$0")/.."
repository=$PWD
output=$repository/docs/screenshots

case_name=screenshots
# shellcheck source-path=SCRIPTDIR/../tests/e2e/lib source=../tests/e2e/lib/desktop.sh
source tests/e2e/lib/desktop.sh
require_tools import convert pcmanfm

# Only the Liberation fonts that the set-up installs, every face the windows ask for mapped
# onto Liberation Sans, and no theme or style from the desktop this runs in.
mkdir -p "$work/fontconfig"
cat >"$work/fontconfig/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/liberation2</dir>
  <cachedir>$work/fontconfig/cache</cachedir>
  <match target="pattern"><edit name="family" mode="assign" binding="strong">
    <string>Liberation Sans</string></edit></match>
  <match target="font"><edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="hintstyle" mode="assign"><const>hintslight</const></edit>
    <edit name="rgba" mode="assign"><const>none</const></edit></match>
</fontconfig>
EOF
export FONTCONFIG_FILE=$work/fontconfig/fonts.conf
export LC_ALL=C.UTF-8
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE

# A fixed path, which the file manager's picture shows: one that is there already is not touched.
folder=/tmp/partage
program=$folder/lirvane
base_url=http://example.org/partage/

before_cleanup() {
    local pid
    for pid in $(pgrep -x -f -- "$program( .*)?" || true); do kill "$pid" 2>/dev/null || true; done
    [ -z "${folder_made:-}" ] || rm -rf "$folder"
}
mkdir "$folder" 2>/dev/null || fail "$folder is there already: move it away first"
folder_made=1

deploy_demo() {
    rm -rf "$folder"
    mkdir -p "$folder"
    # The demo address is not served: no address check.
    bash scripts/deploy.sh "$folder" "$@" --no-check >"$work/deploy.log"
    touch "$folder/rapport final.pdf" "$folder/été 2024.txt" "$folder/#1 [old] 100%.doc" \
        "$folder/notes.txt"
}

start_program() {
    start_program_in "$folder" "$@"
}

end_program() {
    press alt+F4
    within 10 not running "$program_pid" || fail "the program did not end"
}

expect_window() {
    window=$(wait_for_window "$1") || fail "no window titled $1 appeared"
    activate "$window" || fail "the window $1 could not be activated"
    # No pointer over a button, so none is drawn highlighted.
    xdotool mousemove 0 0
    sleep 0.3
}

# The window with its frame, and the menus open over it, without time stamps in the file. A
# blinking caret is caught while shown: of three shots half a blink apart, the darkest.
shoot() {
    local name=$1 shot darkest='' darkest_mean=2
    for shot in 1 2 3; do
        import -screen -frame -window "$window" "$work/shot$shot.miff"
        local mean
        mean=$(convert "$work/shot$shot.miff" -format '%[fx:mean]' info:)
        if awk "BEGIN { exit !($mean < $darkest_mean) }"; then
            darkest=$work/shot$shot.miff darkest_mean=$mean
        fi
        sleep 0.35
    done
    convert "$darkest" -strip -define png:exclude-chunks=date,time "$output/$name.png"
    echo "docs/screenshots/$name.png"
}

mkdir -p "$output"
start_desktop 1600x1000
if [ -z "${LIRVANE_EXECUTABLE:-}" ]; then
    LIRVANE_EXECUTABLE=$(bash scripts/deploy.sh "$work" >&2 && echo "$work/lirvane")
fi
export LIRVANE_EXECUTABLE

# The first start: the notice, the settings window with the address typed in, the saved notice.
deploy_demo
start_program
expect_window '^Paramètre Manquant$'
shoot first_run
press Return
expect_window '^Paramètre$'
type_text example.org/partage
shoot settings_window
press Return
expect_window '^Save$'
shoot saved
press Return
expect_window '^Lirvane '
end_program

# The main window with three addresses: one from the command line, the first row double-clicked
# and the last one added with End and Enter (in the C locale's byte order). A drop of the same
# files adds the same lines; a file manager's drop cannot be made on Xvfb.
deploy_demo "$base_url"
start_program "$folder/rapport final.pdf"
expect_window '^Lirvane '
double_click_at "$window" "${list_first_row[@]}"
press End Return
expect_window '^Lirvane '
shoot main_window
end_program

# Scaled twice: the whole window grows, texts and controls alike.
QT_SCALE_FACTOR=2 start_program "$folder/rapport final.pdf"
expect_window '^Lirvane '
shoot main_window_scaled
end_program

# The file manager's menu entry: PCManFM on the folder, every file selected and their menu opened
# with the keyboard where the pointer stands, the entry chosen.
deploy_demo "$base_url" --file-manager
(cd "$work" && exec pcmanfm "$folder") >>"$work/pcmanfm.log" 2>&1 &
own_processes+=($!)
expect_window '^partage$'
xdotool windowsize "$window" 720 420
sleep 1
xdotool mousemove --window "$window" 330 150
press ctrl+a shift+F10
sleep 0.5
press Up Up
xdotool mousemove 0 0
sleep 0.3
shoot file_manager_entry
