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
    desktop-file-utils imagemagick
    nginx-light curl
    clang-14 libclang-rt-14-dev
    libxcb1-dev libwayland-dev qt6-wayland libwayland-client0 wl-clipboard
    sway wtype mutter dbus-daemon util-linux passwd
    xwayland
    # The screen reader's view in the end-to-end tests: the accessibility bus and its Python client.
    at-spi2-core python3-pyatspi
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    # Without a terminal sudo cannot ask for a password; without sudo only root can install.
    if ! command -v sudo >/dev/null || { ! sudo -n true 2>/dev/null && ! [ -t 0 ]; }; then
        echo "Installing packages needs root and sudo is not available: run" \
            "su -c 'bash scripts/setup.sh' in $(realpath "$(dirname "$0")/.."), then this again." >&2
        exit 1
    fi
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
