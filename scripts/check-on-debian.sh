#!/usr/bin/env bash
# Checks the README's commands on a fresh, minimal Debian, as a new machine would run them:
# builds a tree with debootstrap from the Debian mirror that this machine's apt sources name,
# clones this repository's committed HEAD into it and, inside it,
#   - runs scripts/run.sh (offscreen: the program must start) and checks that it installed no
#     test tool;
#   - runs the test command, scripts/test.sh;
#   - builds the Debian package with the README's command, installs it with apt, deploys a
#     folder with lirvane-deploy, purges the package and checks that none of its files is left.
# On trixie it also checks that an executable built on Debian 12 runs there: every library it
# links to is found once only libqt6widgets6 and fonts-liberation2 are installed, and after the
# tests, on an X desktop, it shows its window with a file's address, which "Copier et Quitter"
# copies (the "launcher" journey of tests/e2e/journeys.sh).
#
#   check-on-debian.sh bookworm
#   check-on-debian.sh trixie [DEBIAN12_EXECUTABLE]
#
# Without DEBIAN12_EXECUTABLE, trixie's check builds one from the committed HEAD on this
# machine, which must then be Debian 12 with the build packages (scripts/setup.sh).
#
# Root only (debootstrap, chroot, mounts); needs debootstrap and git. Everything runs in new
# mount and PID namespaces: the tree's own /proc, /dev, /sys and /tmp are unmounted, and every
# process started inside is ended, when the check ends, also on failure or Ctrl-C. The tree is
# made under /var/tmp and removed at the end; the logs of the steps inside stay beside it.
# Takes 15 to 30 minutes on 2 cores.
set -euo pipefail

suite=${1:-}
debian12_executable=${2:-}
case $suite in
bookworm | trixie) ;;
*)
    echo "Usage: $0 bookworm | $0 trixie [DEBIAN12_EXECUTABLE]" >&2
    exit 2
    ;;
esac
if [ "$(id -u)" -ne 0 ]; then
    echo "check-on-debian.sh: run it as root (debootstrap, chroot)" >&2
    exit 1
fi
for tool in debootstrap git unshare chroot; do
    command -v "$tool" >/dev/null || { echo "check-on-debian.sh: $tool is missing" >&2; exit 1; }
done
repository=$(realpath "$(dirname "$0")/..")

# The first Debian archive (not its security one) that the machine's apt sources name.
# (Missing source files are skipped.)
debian_mirror() {
    {
        sed -n 's/^URIs:[[:space:]]*//p' /etc/apt/sources.list.d/*.sources 2>/dev/null | tr ' ' '\n'
        sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]\+\).*/\2/p' \
            /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null
    } | grep -E '^https?://' | grep -v -- '-security' | grep '/debian/\?$' | head -n 1
}
mirror=$(debian_mirror || true)
[ -n "$mirror" ] || { echo "check-on-debian.sh: no Debian mirror in the apt sources" >&2; exit 1; }

tree=$(mktemp -d /var/tmp/lirvane-check-"$suite".XXXXXX)
# The tree's root is "/" for the users that the tests create: as on any machine, 755.
chmod 755 "$tree"
# The logs of the steps inside are kept in $tree.logs. The mounts live in the namespace only,
# so removing the tree never reaches the host's /dev.
trap 'mkdir -p "$tree.logs"; cp "$tree"/root/*.log "$tree.logs/" 2>/dev/null || true
rm -rf --one-file-system "$tree"' EXIT
echo "== debootstrap $suite from $mirror into $tree"
# In a mount namespace of its own: the /proc and /sys that debootstrap mounts end with it.
unshare --mount --propagation private debootstrap --variant=minbase "$suite" "$tree" "$mirror" \
    >"$tree.debootstrap.log" 2>&1 || {
    tail -n 30 "$tree.debootstrap.log" >&2
    rm -f "$tree.debootstrap.log"
    exit 1
}
rm -f "$tree.debootstrap.log"
cp /etc/resolv.conf "$tree/etc/resolv.conf"
git clone -q --no-local "$repository" "$tree/root/lirvane"
echo "== cloned $(git -C "$repository" rev-parse --short HEAD)"

# The program alone, built from the committed HEAD on this machine, copied into the tree.
build_on_debian12() {
    local work=$tree.debian12 status=0
    # shellcheck source=/dev/null
    [ "$(. /etc/os-release && echo "${VERSION_CODENAME:-}")" = bookworm ] || {
        echo "check-on-debian.sh: this machine is not Debian 12; give a Debian 12 build" >&2
        return 1
    }
    git clone -q --no-local "$repository" "$work/source"
    {
        cmake -S "$work/source" -B "$work/build" -G Ninja -DLIRVANE_BUILD_TESTS=OFF \
            -DLIRVANE_BUILD_BENCHMARKS=OFF &&
            cmake --build "$work/build" --target lirvane -j2 &&
            cp "$work/build/lirvane" "$tree/root/lirvane-debian12"
    } >"$work.log" 2>&1 || status=$?
    rm -rf "$work"
    if [ "$status" -ne 0 ]; then
        tail -n 30 "$work.log" >&2
        return 1
    fi
    rm -f "$work.log"
}
if [ "$suite" = trixie ]; then
    if [ -n "$debian12_executable" ]; then
        cp "$debian12_executable" "$tree/root/lirvane-debian12"
    else
        echo "== building the program on this Debian 12"
        build_on_debian12
    fi
fi

# Run inside the chroot: what a new user does, with nothing from this machine's environment.
cat >"$tree/root/check.sh" <<'INSIDE'
set -euo pipefail
cd /root/lirvane
debian12=/root/lirvane-debian12
if [ -e "$debian12" ]; then
    echo "== the Debian 12 build with only libqt6widgets6 and fonts-liberation2"
    { apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
        --no-install-recommends libqt6widgets6 fonts-liberation2; } >/root/debian12.log 2>&1 ||
        { tail -n 20 /root/debian12.log; echo "FAIL: apt-get install"; exit 1; }
    if ldd "$debian12" | grep 'not found'; then
        echo "FAIL: the Debian 12 build needs more libraries"
        exit 1
    fi
    echo "Debian 12 build: every library found"
fi

echo "== scripts/run.sh"
# The program waits for its first-run question, offscreen: it must get there.
DISPLAY=:0 QT_QPA_PLATFORM=offscreen bash scripts/run.sh >/root/run.log 2>&1 &
run=$!
started=false
for ((seconds = 0; seconds < 1800; seconds++)); do
    kill -0 "$run" 2>/dev/null || break
    if [ "$(readlink "/proc/$run/exe" 2>/dev/null)" = /root/lirvane/demo/lirvane ]; then
        sleep 3
        kill -0 "$run" 2>/dev/null && started=true
        break
    fi
    sleep 1
done
kill "$run" 2>/dev/null || true
wait "$run" 2>/dev/null || true
$started || { tail -n 40 /root/run.log; echo "FAIL: run.sh did not start the program"; exit 1; }
grep '^Installing:' /root/run.log || true
for package in sway mutter nginx-light xvfb openbox clang lintian libgtest-dev; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        echo "FAIL: run.sh installed the test package $package"
        exit 1
    fi
done
echo "run.sh: the program started; no test package installed"

echo "== scripts/test.sh"
start=$(date +%s)
if ! bash scripts/test.sh >/root/test.log 2>&1; then
    tail -n 60 /root/test.log
    echo "FAIL: scripts/test.sh"
    exit 1
fi
grep -E '^(== |Installing:|[0-9]+% tests passed)' /root/test.log
echo "test.sh: passed in $(($(date +%s) - start)) s"

if [ -e "$debian12" ]; then
    echo "== the Debian 12 build on an X desktop"
    # The journey deploys with this tree's lirvane-deploy and icon, beside the executable.
    mkdir -p /root/debian12
    cp "$debian12" /root/debian12/lirvane
    cp build/lirvane-deploy build/lirvane.png /root/debian12/
    bash tests/e2e/journeys.sh /root/debian12/lirvane launcher >/root/debian12-journey.log 2>&1 ||
        { tail -n 40 /root/debian12-journey.log; echo "FAIL: the Debian 12 build"; exit 1; }
    echo "Debian 12 build: its window showed the file's address and copied it"
fi

echo "== the Debian package"
{ apt-get build-dep -y -qq ./ && dpkg-buildpackage -b --no-sign -j2; } >/root/package.log 2>&1 || {
    tail -n 40 /root/package.log
    echo "FAIL: dpkg-buildpackage"
    exit 1
}
deb=$(ls /root/lirvane_*.deb)
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/root/install.log 2>&1 || {
    tail -n 20 /root/install.log
    echo "FAIL: apt install $deb"
    exit 1
}
mkdir -p /srv/www/partage
lirvane-deploy /srv/www/partage http://127.0.0.1:9/partage/ >/root/deploy.log 2>&1 || status=$?
# Nothing listens on port 9: the check warns with its own exit code, and the folder is done.
[ "${status:-0}" -eq 3 ] && cmp -s /usr/lib/lirvane/lirvane /srv/www/partage/lirvane &&
    [ -f /srv/www/partage/PARAM.ini ] ||
    { cat /root/deploy.log; echo "FAIL: lirvane-deploy (exit ${status:-0})"; exit 1; }
files=$(dpkg-query -L lirvane | while read -r path; do [ -f "$path" ] && echo "$path"; done)
DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq lirvane >/root/purge.log 2>&1 ||
    { tail -n 20 /root/purge.log; echo "FAIL: apt purge"; exit 1; }
for path in $files; do
    [ ! -e "$path" ] || { echo "FAIL: $path is left after apt purge"; exit 1; }
done
[ -x /srv/www/partage/lirvane ] || { echo "FAIL: the deployed copy went with the package"; exit 1; }
echo "package: $(basename "$deb") built, installed, deployed, purged" \
    "($(wc -w <<<"$files") files gone)"
INSIDE

# In new mount and PID namespaces: the mounts and the processes end with the check.
inside() {
    local tree=$1 node
    mount -t proc proc "$tree/proc"
    mount -t sysfs sysfs "$tree/sys"
    mount -t tmpfs -o mode=1777 tmpfs "$tree/tmp"
    mount -t tmpfs -o mode=755 tmpfs "$tree/dev"
    for node in null zero full random urandom tty; do
        touch "$tree/dev/$node"
        mount --bind "/dev/$node" "$tree/dev/$node"
    done
    mkdir "$tree/dev/pts" "$tree/dev/shm"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=620 devpts "$tree/dev/pts"
    ln -s pts/ptmx "$tree/dev/ptmx"
    mount -t tmpfs -o mode=1777 tmpfs "$tree/dev/shm"
    ln -s /proc/self/fd "$tree/dev/fd"
    exec chroot "$tree" /usr/bin/env -i \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        HOME=/root LANG=C.UTF-8 TERM=dumb /bin/bash /root/check.sh
}
# When the namespace's first process ends, every process of the namespace is killed. It takes
# no signal but SIGKILL from outside (unshare only forwards what it ends with), so an
# interrupted check kills it; when unshare ends otherwise, --kill-child does.
unshare --mount --pid --fork --kill-child --propagation private \
    bash -c "$(declare -f inside); inside \"\$1\"" inside "$tree" </dev/null &
namespace=$!
# shellcheck disable=SC2046 # unshare's child, if it is still there
trap 'kill -KILL $(pgrep -P "$namespace") 2>/dev/null; wait "$namespace" || true; exit 130' \
    INT TERM HUP
status=0
wait "$namespace" || status=$?
if [ "$status" -eq 0 ]; then
    echo "check-on-debian $suite: PASS"
else
    echo "check-on-debian $suite: FAIL (exit $status)"
fi
exit "$status"
