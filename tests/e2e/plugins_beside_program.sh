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

work=$(realpath "$(mktemp -d -t lirvane-plugins.XXXXXX)")
folder=$work/www
log=$work/program.log
# Processes this script started; stopped in reverse order when it exits.
own_processes=()

fail() {
    echo "FAIL ($platform): $*" >&2
    [ -s "$log" ] && { echo "--- $log" >&2; cat "$log" >&2; }
    exit 1
}

cleanup() {
    local i
    for ((i = ${#own_processes[@]} - 1; i >= 0; i--)); do
        kill "${own_processes[i]}" 2>/dev/null || true
        wait "${own_processes[i]}" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

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

start_x_server() {
    command -v Xvfb >/dev/null || fail "Xvfb is missing (scripts/setup.sh installs it)"
    # Xvfb picks a free display itself and writes its number to the descriptor.
    Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
    own_processes+=($!)
    timeout 10 bash -c "until [ -s '$work/display' ]; do sleep 0.1; done" ||
        fail "Xvfb did not start"
    export DISPLAY=:$(cat "$work/display")
}

loaded_platform_plugin() {
    grep -qF "\"$system_plugins/platforms/libq$platform.so\" loaded library" "$log"
}

plant
# A folder named in QT_PLUGIN_PATH is still searched.
mkdir -p "$work/extra" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
unset WAYLAND_DISPLAY SESSION_MANAGER
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_PLUGIN_PATH=$work/extra
export QT_QPA_PLATFORM=$platform QT_DEBUG_PLUGINS=1
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-session-bus
[ "$platform" = xcb ] && start_x_server

"$folder/lirvane" >"$log" 2>&1 &
program=$!
own_processes+=("$program")
timeout 20 bash -c "until grep -q 'loaded library' '$log'; do sleep 0.1; done" ||
    fail "no platform plugin was loaded"
if [ "$platform" = xcb ]; then
    command -v xdotool >/dev/null || fail "xdotool is missing (scripts/setup.sh installs it)"
    timeout 20 xdotool search --sync --onlyvisible --name '^Lirvane ' >/dev/null ||
        fail "the main window did not appear"
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
