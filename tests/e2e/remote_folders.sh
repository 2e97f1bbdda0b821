#!/usr/bin/env bash
# Proves the program in a web folder of another machine, on a loopback lab: an SSH server on
# 127.0.0.1 whose account lirvane-remote owns a web folder that nginx publishes, and a desktop
# user, lirvane-e2e, who reaches that folder over SFTP:
# - sshfs, mounted with default options: lirvane-deploy installs into the mount and its address
#   check passes; the program started from the mount on a private X desktop copies an entry's
#   address by Enter and "Copier et Quitter"; then the mount unmounts while the copy still
#   pastes (xclip keeps it and holds nothing of the mount), and the address fetches the file.
# - GVFS, on a private session bus: `gio mount` of the account with the key in an ssh-agent;
#   a drop of the file's sftp:// URL, as PCManFM sends it, on the real main window whose folder
#   is GVFS's FUSE view of the deployed folder adds the file's address, which fetches it.
# Each step names itself when it fails. It runs as root (it adds the two users and runs the SSH
# server) and exits 77, skipped, where it is not root, FUSE is missing, or sshd, sshfs or GVFS is
# missing.
#
# Usage: remote_folders.sh <lirvane executable> <lirvane-deploy> <drop_files executable>
set -euo pipefail

skipped=77
if [ "$(id -u)" -ne 0 ]; then
    echo "SKIP: only root can run the SSH server and add its users"
    exit $skipped
fi
# Containers and chroots often have no FUSE device, which sshfs and GVFS's view both need.
if ! { [ -c /dev/fuse ] && : <>/dev/fuse; } 2>/dev/null; then
    echo "SKIP: /dev/fuse is missing or cannot be opened (sshfs and GVFS need FUSE)"
    exit $skipped
fi
for tool in /usr/sbin/sshd ssh-keygen ssh-agent ssh-add sshfs fusermount3 setpriv gio \
    dbus-daemon /usr/libexec/gvfsd /usr/libexec/gvfsd-fuse /usr/libexec/gvfsd-sftp; do
    command -v "$tool" >/dev/null || {
        echo "SKIP: $tool is missing (packages openssh-server sshfs gvfs gvfs-backends gvfs-fuse)"
        exit $skipped
    }
done

executable=$(realpath "$1")
deploy_command=$(realpath "$2")
drop_files=$(realpath "$3")
case_name=remote_folders
# shellcheck source=lib/desktop.sh
source "$(dirname "$0")/lib/desktop.sh"
# shellcheck source=lib/web_server.sh
source "$(dirname "$0")/lib/web_server.sh"

desktop_user=lirvane-e2e
remote_user=lirvane-remote
add_system_user "$desktop_user"
add_system_user "$remote_user"
# Key login needs an account that is not locked: "*" matches no password, "!" would lock it.
usermod -p '*' "$remote_user"

# The users reach their folders through the work folder.
chmod 755 "$work"
remote_folder=$work/remote/www
user_folder=$work/user
runtime=$user_folder/runtime
mount_point=$user_folder/mount
bin=$work/bin
mkdir -p "$remote_folder" "$user_folder/home" "$mount_point" "$bin" "$work/sshd"
mkdir -m 700 "$runtime"
file_name='1 rapport été.pdf'
file_address='1%20rapport%20été.pdf'
printf 'remote file\n' >"$remote_folder/$file_name"
printf 'private\n' >"$remote_folder/privé.txt"
chmod 600 "$remote_folder/privé.txt"
chown -R "$remote_user": "$work/remote"
chown -R "$desktop_user": "$user_folder"
cp "$executable" "$deploy_command" "$(dirname "$deploy_command")/lirvane-address" "$drop_files" \
    "$bin/"

# The desktop user's session: set here, DISPLAY and the session bus added once they run.
user_session=(PATH=/usr/bin:/bin HOME="$user_folder/home" XDG_RUNTIME_DIR="$runtime"
    LANG=C.UTF-8)
as_desktop_user() {
    setpriv --reuid="$desktop_user" --regid="$desktop_user" --init-groups \
        env -i "${user_session[@]}" "$@"
}

# Mounts that a failure left: lazily unmounted, so that the work folder can be removed; the
# processes that the desktop user still runs (sshfs, GVFS, xclip, ssh-agent) stopped.
before_cleanup() {
    local mount pid
    while read -r mount; do
        umount -l "$mount" 2>/dev/null || true
    done < <(awk -v work="$work" 'index($2, work) == 1 { print $2 }' /proc/mounts)
    for pid in $(pgrep -u "$desktop_user"); do
        kill "$pid" 2>/dev/null || true
    done
}

ssh_server_listens() {
    : 2>/dev/null </dev/tcp/127.0.0.1/"$ssh_port"
}

# sshd on a free loopback port with a host key of its own; the desktop user's key may log in as
# the remote user, and the host key is known to the desktop user's ssh. Sets ssh_port.
start_ssh_server() {
    local tries sshd
    ssh-keygen -q -t ed25519 -N '' -f "$work/sshd/host_key"
    ssh-keygen -q -t ed25519 -N '' -f "$user_folder/key"
    chown "$desktop_user": "$user_folder/key" "$user_folder/key.pub"
    cp "$user_folder/key.pub" "$work/sshd/authorized_keys"
    # sshd's privilege separation folder.
    mkdir -p /run/sshd
    for ((tries = 20; tries > 0; tries--)); do
        ssh_port=$((20000 + RANDOM % 40000))
        cat >"$work/sshd/sshd_config" <<CONF
ListenAddress 127.0.0.1
Port $ssh_port
HostKey $work/sshd/host_key
PidFile none
StrictModes no
UsePAM no
PasswordAuthentication no
KbdInteractiveAuthentication no
AuthorizedKeysFile $work/sshd/authorized_keys
AllowUsers $remote_user
Subsystem sftp internal-sftp
LogLevel VERBOSE
CONF
        /usr/sbin/sshd -D -e -f "$work/sshd/sshd_config" >>"$work/sshd.log" 2>&1 &
        sshd=$!
        if within 5 ssh_server_listens && running "$sshd"; then
            own_processes+=("$sshd")
            break
        fi
        stop_process "$sshd"
    done
    [ "$tries" -gt 0 ] || fail "sshd did not start on a loopback port"
    echo "[127.0.0.1]:$ssh_port $(cut -d ' ' -f 1,2 "$work/sshd/host_key.pub")" \
        >"$user_folder/known_hosts"
    cat >"$user_folder/ssh_config" <<CONF
Host lab
    HostName 127.0.0.1
    Port $ssh_port
    User $remote_user
    IdentityFile $user_folder/key
    IdentitiesOnly yes
    UserKnownHostsFile $user_folder/known_hosts
    StrictHostKeyChecking yes
    BatchMode yes
CONF
}

mounted() {
    awk -v at="$1" '$2 == at { found = 1 } END { exit !found }' /proc/mounts
}

# Fetches the address; true when it returns the bytes of the file.
fetches() {
    local status
    status=$(curl -g -s -o "$work/fetched" -w '%{http_code}' -- "$1") || return 1
    [ "$status" = 200 ] && cmp -s "$work/fetched" "$2"
}

# The remote folder mounted by sshfs with default options; lirvane-deploy installs into the
# mount, proves the address and exits 0; the installed program is the built one, executable.
check_sshfs_deploy() {
    as_desktop_user sshfs -F "$user_folder/ssh_config" "lab:$remote_folder" "$mount_point" \
        >"$work/sshfs.log" 2>&1 || fail "sshfs: the remote folder could not be mounted"
    local status=0
    as_desktop_user "$bin/lirvane-deploy" "$mount_point" "$base_url" >"$work/deploy.log" 2>&1 ||
        status=$?
    [ "$status" -eq 0 ] || fail "sshfs: lirvane-deploy into the mount exited with $status"
    grep -qxF "OK : $base_url mène au dossier « $mount_point »" "$work/deploy.log" ||
        fail "sshfs: lirvane-deploy did not prove the address: $(cat "$work/deploy.log")"
    # Again: the program is replaced in place, the settings file kept.
    as_desktop_user "$bin/lirvane-deploy" "$mount_point" "$base_url" --no-check \
        >"$work/deploy.log" 2>&1 || fail "sshfs: lirvane-deploy again: $(cat "$work/deploy.log")"
    local kept="« $mount_point/PARAM.ini » existe déjà et est gardé"
    grep -qxF "$kept (il donne la même adresse de base)." "$work/deploy.log" ||
        fail "sshfs: lirvane-deploy again said: $(cat "$work/deploy.log")"
    if ! cmp -s "$executable" "$remote_folder/lirvane" ||
        [ "$(stat -c %a "$remote_folder/lirvane")" != 755 ]; then
        fail "sshfs: the deployed program is not the built one, mode 755"
    fi
    echo "sshfs: lirvane-deploy installed into the mount and proved $base_url"
    check_rights_shown_by_the_mount "$mount_point" sshfs
}

# The program started from the mount copies the first entry's address by Enter and "Copier et
# Quitter"; once it has ended, the mount unmounts while the copy still pastes and fetches.
check_sshfs_copy_and_unmount() {
    start_desktop
    user_session+=(DISPLAY="$DISPLAY")
    program=$mount_point/lirvane
    # Run as the desktop user from the mount, as a file manager starts it (root cannot enter the
    # mount of another user).
    program_wrapper=(setpriv --reuid="$desktop_user" --regid="$desktop_user" --init-groups
        env -i "${user_session[@]}" sh -c 'cd -- "${0%/*}" && exec "$0" "$@"')
    start_program_in /
    local window address=$base_url$file_address
    window=$(wait_for_window "$main_title") || fail "sshfs: the main window did not appear"
    enter_on_row "$window" 0
    sleep 0.25
    click_at "$window" "${main_copy[@]}"
    within 15 not running "$program_pid" || fail "sshfs: the program did not end"
    wait "$program_pid" || fail "sshfs: the program ended with an error"
    within 5 clipboard_holds "$address" || fail "sshfs: the clipboard holds '$(clipboard)'"
    as_desktop_user fusermount3 -u "$mount_point" >"$work/unmount.log" 2>&1 ||
        fail "sshfs: the mount could not be unmounted after \"Copier et Quitter\""
    clipboard_holds "$address" || fail "sshfs: after the unmount the clipboard holds '$(clipboard)'"
    fetches "$address" "$remote_folder/$file_name" || fail "sshfs: $address does not fetch the file"
    echo "sshfs: the copy pastes after the unmount and fetches its file"
}

bus_ready() {
    [ -S "$runtime/bus" ]
}

agent_ready() {
    [ -S "$runtime/agent" ]
}

fuse_ready() {
    mounted "$runtime/gvfs"
}

# A session bus, GVFS with its FUSE view on it, and an ssh-agent that holds the key.
start_gvfs() {
    as_desktop_user dbus-daemon --session --nofork --address="unix:path=$runtime/bus" \
        >"$work/dbus.log" 2>&1 &
    own_processes+=($!)
    within 10 bus_ready || fail "GVFS: the session bus did not start"
    as_desktop_user ssh-agent -D -a "$runtime/agent" >"$work/agent.log" 2>&1 &
    own_processes+=($!)
    within 10 agent_ready || fail "GVFS: ssh-agent did not start"
    user_session+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$runtime/bus"
        SSH_AUTH_SOCK="$runtime/agent")
    as_desktop_user ssh-add -q "$user_folder/key" 2>>"$work/agent.log" ||
        fail "GVFS: ssh-agent did not take the key"
    as_desktop_user /usr/libexec/gvfsd >"$work/gvfsd.log" 2>&1 &
    own_processes+=($!)
    within 10 fuse_ready || fail "GVFS: gvfsd-fuse did not mount $runtime/gvfs"
}

# A file that only the remote account may read: the mount shows the server's rights, and
# lirvane-address warns that the web server cannot read it.
check_rights_shown_by_the_mount() {
    local view=$1 what=$2 status=0
    as_desktop_user "$bin/lirvane-address" "$view/privé.txt" >/dev/null 2>"$work/said" || status=$?
    [ "$status" -eq 4 ] &&
        grep -q "« privé.txt » : le serveur web ne pourra pas le lire (droits rw-------)" \
            "$work/said" || fail "$what: lirvane-address exited $status and said: $(cat "$work/said")"
    echo "$what: the server's rights are read through the mount"
}

# The account mounted by gio; a drop of the file's sftp:// URL on the main window whose folder
# is the FUSE view of the deployed folder adds the file's address, which fetches it.
check_gvfs_drop() {
    start_gvfs
    local location=sftp://$remote_user@127.0.0.1:$ssh_port
    as_desktop_user timeout 30 gio mount "$location/" </dev/null >"$work/gio.log" 2>&1 ||
        fail "GVFS: gio mount $location/ failed"
    local view=$runtime/gvfs/sftp:host=127.0.0.1,port=$ssh_port,user=$remote_user$remote_folder
    as_desktop_user test -x "$view/lirvane" || fail "GVFS: no deployed program in $view"
    # As PCManFM writes it: the path percent-encoded, UTF-8 bytes included.
    printf '%s/1%%20rapport%%20%%C3%%A9t%%C3%%A9.pdf\0' "$location$remote_folder" \
        >"$user_folder/dropped"
    as_desktop_user "$bin/lirvane_drop_files" "$view" "$user_folder/dropped" \
        "$user_folder/box" "$user_folder/list" >"$work/drop.log" 2>&1 ||
        fail "GVFS: the drop failed"
    local address=$base_url$file_address
    [ "$(cat "$user_folder/box")" = "$address" ] ||
        fail "GVFS: the drop of $location…/$file_name added '$(cat "$user_folder/box")'"
    fetches "$address" "$remote_folder/$file_name" || fail "GVFS: $address does not fetch the file"
    echo "GVFS: the drop of the sftp:// URL adds the address, which fetches its file"
    check_rights_shown_by_the_mount "$view" GVFS
}

start_ssh_server
start_web_server "$remote_folder"
base_url=http://127.0.0.1:$port/
check_sshfs_deploy
check_sshfs_copy_and_unmount
check_gvfs_drop
echo "PASS"
