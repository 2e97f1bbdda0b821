#!/usr/bin/env bash
# Builds the Debian package from a copy of the sources, as the README says (dpkg-buildpackage),
# checks its files, its dependencies and lintian's verdict; then unpacks it and deploys with its
# lirvane-deploy into a folder that nginx publishes: a right base address is proven, wrong or
# unreachable ones are warned about with exit code 3, and no probe file is left, also when the
# deployment is interrupted while it waits for the server.
#
# Usage: debian_package.sh
set -euo pipefail

case_name=debian_package
# shellcheck source=lib/web_server.sh
source "$(dirname "$0")/lib/web_server.sh"
require_tools dpkg-buildpackage dpkg-deb lintian
sources=$(realpath "$(dirname "$0")/../..")

# The sources as a clone holds them, without build trees.
mkdir "$work/src"
tar -C "$sources" --exclude='./build*' --exclude=./demo --exclude=./.git --exclude=./.cache \
    -cf - . |
    tar -C "$work/src" -xf -
(cd "$work/src" && dpkg-buildpackage -b --no-sign -j"$(nproc)") >"$work/build.log" 2>&1 ||
    { tail -n 40 "$work/build.log" >&2; fail "dpkg-buildpackage failed"; }
deb=$(echo "$work"/lirvane_*.deb)
[ -f "$deb" ] || fail "no package was built: $(ls "$work")"

version=$(sed -n 's/^project(lirvane VERSION \([0-9.]*\) .*/\1/p' "$sources/CMakeLists.txt")
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
    fail "the package's version $(dpkg-deb -f "$deb" Version) is not the program's $version"

files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort | tr '\n' ' ')
expected="./usr/bin/lirvane-address ./usr/bin/lirvane-deploy ./usr/lib/lirvane/lirvane \
./usr/share/doc/lirvane/changelog.gz ./usr/share/doc/lirvane/copyright \
./usr/share/icons/hicolor/32x32/apps/lirvane.png ./usr/share/man/man1/lirvane-address.1.gz \
./usr/share/man/man1/lirvane-deploy.1.gz ./usr/share/man/man1/lirvane.1.gz "
[ "$files" = "$expected" ] || fail "the package holds: $files"

# The libraries of the executable (dpkg-shlibdeps; Debian 13 renamed some with "t64"), the font
# of its windows, curl for the check. GIO is loaded on demand; Qt's core library depends on it.
depends=" $(dpkg-deb -f "$deb" Depends | tr -d ',') "
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libxcb1 libwayland-client0 \
    fonts-liberation2 curl; do
    [[ $depends == *" $package "* || $depends == *" ${package}t64 "* ]] ||
        fail "Depends lacks $package: $depends"
done
[ "$(dpkg-deb -f "$deb" Recommends)" = "qt6-wayland, wl-clipboard, xclip" ] ||
    fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"

lintian --fail-on error,warning --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian"; }
echo "package: $(basename "$deb"); lintian, no error or warning:"
sed 's/^/  /' "$work/lintian.log"

dpkg-deb -x "$deb" "$work/root"
deploy=$work/root/usr/bin/lirvane-deploy
published=$work/pub
folder=$published/partage
mkdir -p "$folder"
start_web_server "$published"

# Runs lirvane-deploy; sets status and said.
run_deploy() {
    status=0
    "$deploy" "$@" >"$work/said" 2>&1 || status=$?
    said=$(cat "$work/said")
}

expect_folder() {
    local names
    names=$(ls -A "$folder" | LC_ALL=C sort | tr '\n' ' ')
    [ "$names" = "$1" ] || fail "$2: the folder holds $names"
}

# base address | exit code | what it says
cases=(
    "http://127.0.0.1:$port/partage|0|OK : http://127.0.0.1:$port/partage/ mène au dossier \
« $folder »"
    "http://127.0.0.1:$port/|3|.txt : HTTP 404."
    "http://127.0.0.1:$port/partage/partage/|3|.txt : HTTP 404."
    "http://127.0.0.1:9/partage/|3|rien ne répond à cet hôte et à ce port"
)
for case in "${cases[@]}"; do
    IFS='|' read -r address code words <<<"$case"
    rm -f "$folder/PARAM.ini"
    run_deploy "$folder" "$address"
    [ "$status" -eq "$code" ] && [[ $said == *"$words"* ]] ||
        fail "deploying with $address: exit code $status, said: $said"
    expect_folder "PARAM.ini lirvane " "deploying with $address"
done
cmp -s "$work/root/usr/lib/lirvane/lirvane" "$folder/lirvane" || fail "the deployed program differs"

# A server that accepts the connection but never answers: interrupted while it waits, the
# deployment removes its probe. (The address checked is the one PARAM.ini holds.)
rm -f "$folder/PARAM.ini"
# shellcheck disable=SC2046 # nginx and its worker
kill -STOP "$web_server" $(pgrep -P "$web_server")
"$deploy" "$folder" "http://127.0.0.1:$port/partage/" >"$work/said" 2>&1 &
deployment=$!
within 10 compgen -G "$folder/lirvane-check-*" >/dev/null || fail "no probe file was written"
kill -TERM "$deployment"
status=0
wait "$deployment" || status=$?
# shellcheck disable=SC2046
kill -CONT "$web_server" $(pgrep -P "$web_server")
[ "$status" -eq 143 ] || fail "the interrupted deployment ended with exit code $status"
expect_folder "PARAM.ini lirvane " "an interrupted deployment"
echo "PASS"
