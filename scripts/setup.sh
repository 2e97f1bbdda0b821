#!/usr/bin/env bash
# Installs the Debian packages that Lirvane needs; does nothing when they are all present, and
# uses sudo when not run as root.
#
#   setup.sh           what building and running the program need;
#   setup.sh --tests   that and what its tests need.
set -euo pipefail

# Building and running: the compiler, CMake, Qt's and GIO's development files, the font the
# windows ask for, Qt's Wayland plugin and wl-copy on a Wayland desktop, xclip, which keeps a
# copy on X11 after the program ends, curl for deploy's address check.
run_packages=(
    cmake ninja-build g++ pkgconf
    qt6-base-dev libgl-dev libxcb1-dev libwayland-dev libglib2.0-dev
    fonts-liberation2
    qt6-wayland wl-clipboard xclip
    curl
)

# Testing: the test libraries, private X and Wayland desktops, a web server, clang for the
# fuzzers, and what building and checking the Debian package needs (dpkg-buildpackage wants
# build-essential itself).
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth openbox xdotool x11-utils procps
    desktop-file-utils imagemagick libglib2.0-bin
    nginx-light
    clang libclang-rt-dev
    # The performance guard counts instructions with callgrind.
    valgrind
    # The deploy test sees in the system calls that PARAM.ini is synced before it is renamed.
    strace
    libwayland-client0 sway wtype mutter dbus-daemon util-linux passwd
    xwayland
    build-essential debhelper lintian
    # The screen reader's view in the end-to-end tests: the accessibility bus and its Python client.
    at-spi2-core python3-pyatspi
    # Remote web folders: an SSH server on loopback, mounted by sshfs and by GVFS.
    openssh-server sshfs gvfs gvfs-backends gvfs-fuse
    # The file managers' menu entries: two real file managers (PCManFM's actions are a module of
    # libfm), an XML parser for Thunar's actions file, and GLib's parsers for the entries.
    pcmanfm libfm-modules thunar libxml2-utils python3-gi
)

packages=("${run_packages[@]}")
case ${1:-} in
--tests) packages+=("${test_packages[@]}") ;;
'') ;;
*)
    echo "Usage: $0 [--tests]" >&2
    exit 2
    ;;
esac

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
            "su -c 'bash scripts/setup.sh $*' in $(realpath "$(dirname "$0")/.."), then this" \
            "again." >&2
        exit 1
    fi
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
"${as_root[@]}" apt-get update -qq
# Passed through env: sudo drops the caller's environment, and with the output hidden a
# debconf question would wait unseen.
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
