#!/usr/bin/env bash
# The real program as a screen reader and a keyboard-only user meet it, on a private X desktop
# with the accessibility bus of at-spi2-core on a private session bus: every window's controls
# are named, have their roles, and take the focus in order; the first start, an address from the
# list, the settings window, the maker's site and copy and quit are done with keys alone (sent
# through XTEST, as a keyboard sends them). One entry is double-clicked where the accessibility
# interface says it is shown.
#
# Usage: keyboard_and_screen_reader.sh <lirvane executable>
set -euo pipefail

executable=$(realpath "$1")
case_name=keyboard_and_screen_reader
lib=$(dirname "$0")/lib
# shellcheck source=lib/desktop.sh
source "$lib/desktop.sh"
bus_launcher=/usr/libexec/at-spi-bus-launcher
require_tools dbus-daemon "$bus_launcher" /usr/bin/python3

folder=$work/www
program=$folder/lirvane
site=http://www.odrasque.example/

before_cleanup() {
    local pid
    for pid in $(pgrep -x -f -- "$program" || true); do kill "$pid" 2>/dev/null || true; done
}

# A session bus of its own, and on it the accessibility bus that screen readers read.
start_accessibility_bus() {
    dbus-daemon --session --nofork --address="unix:path=$work/session-bus" >"$work/dbus.log" 2>&1 &
    own_processes+=($!)
    within 5 test -S "$work/session-bus" || fail "the session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/session-bus
    "$bus_launcher" --launch-immediately >"$work/at-spi.log" 2>&1 &
    own_processes+=($!)
    within 10 screen_reader_sees_desktop || fail "the accessibility bus did not start"
    # Qt serves the bus without waiting for a screen reader to ask for it.
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
}

screen_reader_sees_desktop() {
    /usr/bin/python3 -c 'import pyatspi; pyatspi.Registry.getDesktop(0)' 2>/dev/null
}

screen_reader() {
    /usr/bin/python3 "$lib/accessible.py" Lirvane "$@" 2>>"$work/screen-reader.log"
}

# A browser that notes the addresses it is given.
install_browser() {
    mkdir -p "$work/bin"
    printf '#!/bin/sh\nprintf "%%s\\n" "$@" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    export PATH=$work/bin:$PATH
}

tree_is() {
    [ "$(screen_reader tree)" = "$1" ]
}

# The screen reader's view of the shown windows, once it is the one given.
expect_tree() {
    within 10 tree_is "$1" || fail "the screen reader reads:
$(screen_reader tree)
expected:
$1"
}

focus_is() {
    [ "$(screen_reader focused)" = "$1" ]
}

# Each key moves the focus to the next control given.
expect_focus_order() {
    local key=$1 control
    shift
    for control in "$@"; do
        press "$key"
        within 5 focus_is "$control" ||
            fail "after $key the focus is on $(screen_reader focused), not $control"
    done
}

expect_focus() {
    within 5 focus_is "$1" || fail "the focus is on $(screen_reader focused), not $1"
}

expect_clipboard() {
    within 5 clipboard_holds "$1" || fail "the clipboard holds '$(clipboard)', not '$1'"
}

main_frame="frame 'Lirvane 1.0.1 By Odrasque ( http://www.odrasque.example/ )'"
settings_frame="frame 'Paramètre'"
files="list 'Fichiers dans le répertoire :'"
box="text 'Url Créer, Vous pouvez aussi glisser le fichier dans le textbox.'"
url="text 'Adresse De Base. ( Exemple : http://votre_site_web/dossiertemp/ )'"
save="push button 'Enregistrer'"
cancel="push button 'Cancel'"
link="link 'Site Web Du Créateur: Odrasque ( http://www.odrasque.example/ )'"
copy="push button 'Copier et Quitter'"
refresh="push button 'Actualiser'"
settings="push button 'Paramètre'"

main_tree="$main_frame
  $box labelled-by label focusable
  $copy focusable Press
  $refresh focusable Press
  $settings focusable Press
  $files focusable
  label 'Url Créer, Vous pouvez aussi glisser le fichier dans le textbox.' label-for text
  label 'Fichiers dans le répertoire :' label-for list"

# Cancel is listed first: it is the window's first control.
settings_tree() {
    echo "$settings_frame
  $cancel $1
  $url labelled-by label focusable
  $save focusable Press
  $link focusable Press
  label 'Adresse De Base. ( Exemple : http://votre_site_web/dossiertemp/ )' label-for text"
}

start_desktop
start_accessibility_bus
install_browser
mkdir -p "$folder"
cp "$executable" "$program"
: >"$folder/rapport final.pdf"
start_program_in "$work"

# The first start: the notice, then the settings window, whose Cancel is disabled.
expect_tree "alert 'Paramètre Manquant'
  label \"C'est votre première utilisation, On va paramètrer le programme.\" focusable
  push button 'OK' focusable Press"
press Return
expect_tree "$(settings_tree 'disabled focusable')"
expect_focus "$url"
# Typed before the Tab key comes back to the box and selects its text.
type_text example.org/tmp
expect_focus_order Tab "$save" "$link" "$url"
press Return
# The confirmation is shown over the settings window.
expect_tree "$(settings_tree 'disabled focusable')
alert 'Save'
  label 'Paramètre sauvgarder.' focusable
  push button 'OK' focusable Press"
press Return

# The main window; Enter on the list's last entry adds and copies its address.
expect_tree "$main_tree"
expect_focus "$copy"
expect_focus_order Tab "$files" "$box" "$refresh" "$settings" "$copy" "$files"
press End Return
report=http://www.example.org/tmp/rapport%20final.pdf
expect_clipboard "$report"

# The settings window again, now with Cancel; Enter on the link opens the maker's site, Escape
# goes back.
expect_focus_order Tab "$box" "$refresh" "$settings"
press Return
expect_tree "$(settings_tree 'focusable Press')"
expect_focus_order Tab "$save" "$cancel" "$link"
press Return
within 5 test -s "$work/opened" || fail "the link opened nothing"
[ "$(cat "$work/opened")" = "$site" ] || fail "the link opened $(cat "$work/opened")"
expect_focus "$link"
press Escape
expect_tree "$main_tree"

# Enter on an entry, a double-click where the entry is shown, then copy and quit by keyboard.
expect_focus_order Tab "$files"
press End Return
read -r x y < <(screen_reader row PARAM.ini) || fail "the screen reader finds no PARAM.ini"
xdotool mousemove "$x" "$y" click --repeat 2 --delay 80 1
expect_clipboard http://www.example.org/tmp/PARAM.ini
expect_focus_order shift+Tab "$copy"
press Return
within 15 not running "$program_pid" || fail "the program did not end"
wait "$program_pid" || fail "the program ended with an error"
expect_clipboard "$report"$'\r\n'http://www.example.org/tmp/PARAM.ini
echo PASS
