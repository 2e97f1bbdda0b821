#!/usr/bin/env bash
# Plants a qt.conf and plugin folders beside a copy of the program, as an upload to the
# published folder could, and in the current folder, and checks that the program still starts
# with the system's platform plugin and never looks into either folder for plugins, also when
# the program's folder has a ':' or a name that is not UTF-8.
#
# Usage: plugins_beside_program.sh <lirvane executable> <system Qt plugin folder> <platform>
#   platform  offscreen, or xcb on a private Xvfb server
set -euo pipefail

executable=$(realpath "$1")
system_plugins=$(realpath "$2")
platform=$3
case_name=$platform
# The X tools are required only once an X server is started.
# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"

log=$work/program.log
current=$work/current

# Genuine plugins, which Qt would load, in the folder, and where a planted qt.conf sends Qt's
# plugin folder.
plant() {
    mkdir -p "$1/platforms" "$1/platformthemes" "$1/plugins/platforms"
    cp "$system_plugins"/platforms/*.so "$1/platforms/"
    cp "$system_plugins"/platforms/*.so "$1/plugins/platforms/"
    printf 'not a plugin' >"$1/platformthemes/libqgtk3.so"
    printf '[Paths]\nPrefix=%s\nPlugins=plugins\n' "$1" >"$1/qt.conf"
}

loaded_platform_plugin() {
    grep -qF "\"$system_plugins/platforms/libq$platform.so\" loaded library" "$log"
}

# Starts a copy of the program in the folder, plugins planted beside it and in the current
# folder, and checks that Qt searched for plugins in no folder of the work area but the one
# named in QT_PLUGIN_PATH. Qt splits its plugin path on ':', and it takes the current folder
# for the program's folder when the program's folder's name is not UTF-8.
run_from() {
    local folder=$work/$1 program
    case_name="$platform, folder $1"
    plant "$folder"
    cp "$executable" "$folder/lirvane"
    printf 'http://example.org/tmp/\r\n' >"$folder/PARAM.ini"
    (cd "$current" && exec "$folder/lirvane") >"$log" 2>&1 &
    program=$!
    own_processes+=("$program")
    within 20 grep -q 'loaded library' "$log" || fail "no platform plugin was loaded"
    if [ "$platform" = xcb ]; then
        wait_for_window '^Lirvane ' >/dev/null || fail "the main window did not appear"
    fi
    sleep 1
    kill -0 "$program" 2>/dev/null || fail "the program ended"

    loaded_platform_plugin || fail "the system's platform plugin was not the one loaded"
    grep -qF "checking directory path \"$work/extra/platforms\"" "$log" ||
        fail "the folder named in QT_PLUGIN_PATH was not searched"
    grep -qF "checking directory path \"$work/extra/platformthemes\"" "$log" ||
        fail "no platform theme was looked for"
    if grep '^qt\.core\.' "$log" | grep -F "$work/" | grep -qvF "$work/extra/"; then
        fail "Qt looked for plugins in the program's or the current folder"
    fi
    stop_process "$program"
}

mkdir -p "$current"
plant "$current"
# A folder named in QT_PLUGIN_PATH is still searched; a platform theme is asked for by name, so
# that Qt looks for theme plugins. Without a display, a name that no installed theme has: GTK's
# theme, where installed, ends a program that has no display.
mkdir -p "$work/extra"
theme=gtk3
[ "$platform" = offscreen ] && theme=lirvane-test-theme
export QT_PLUGIN_PATH=$work/extra QT_QPA_PLATFORM=$platform QT_QPA_PLATFORMTHEME=$theme
export QT_DEBUG_PLUGINS=1
[ "$platform" = xcb ] && start_x_server 1024x768

run_from www
run_from 'a:b'
run_from $'caf\xE9'
case_name=$platform
echo "PASS ($platform)"
