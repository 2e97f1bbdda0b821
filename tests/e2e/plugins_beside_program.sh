#!/usr/bin/env bash
# Plants a qt.conf and plugin folders beside a copy of the program, as an upload to the
# published folder could, and checks that the program still starts with the system's platform
# plugin and never looks into its own folder for plugins.
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

folder=$work/www
log=$work/program.log

# Genuine plugins, which Qt would load, beside the program and where a planted qt.conf sends
# Qt's plugin folder.
plant() {
    mkdir -p "$folder/platforms" "$folder/platformthemes" "$folder/plugins/platforms"
    cp "$executable" "$folder/lirvane"
    printf 'http://example.org/tmp/\r\n' >"$folder/PARAM.ini"
    cp "$system_plugins"/platforms/*.so "$folder/platforms/"
    cp "$system_plugins"/platforms/*.so "$folder/plugins/platforms/"
    printf 'not a plugin' >"$folder/platformthemes/libqgtk3.so"
    printf '[Paths]\nPrefix=%s\nPlugins=plugins\n' "$folder" >"$folder/qt.conf"
}

loaded_platform_plugin() {
    grep -qF "\"$system_plugins/platforms/libq$platform.so\" loaded library" "$log"
}

plant
# A folder named in QT_PLUGIN_PATH is still searched.
mkdir -p "$work/extra"
export QT_PLUGIN_PATH=$work/extra QT_QPA_PLATFORM=$platform QT_DEBUG_PLUGINS=1
[ "$platform" = xcb ] && start_x_server 1024x768

"$folder/lirvane" >"$log" 2>&1 &
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
if grep -F "$folder" "$log" | grep -q '^qt\.core\.'; then
    fail "Qt looked for plugins in the program's folder"
fi
echo "PASS ($platform)"
