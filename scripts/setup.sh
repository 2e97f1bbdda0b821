#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Lirvane need.
# Does nothing when they are all present; uses sudo when not run as root.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkgconf
    qt6-base-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-liberation2
    xvfb xauth openbox xdotool xclip x11-utils procps
    libxcb1-dev libwayland-dev qt6-wayland libwayland-client0 wl-clipboard
    sway wtype mutter dbus-daemon util-linux passwd
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
