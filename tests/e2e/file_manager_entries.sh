#!/usr/bin/env bash
# "Copier l'adresse web" in the file managers' menus, as lirvane-deploy --file-manager adds it
# for a user whose Thunar already has two actions of their own and whose Nautilus a script:
# - a deploy that fails half-way leaves nothing behind, hidden files included;
# - a file of the user's at an entry's own place is kept, never replaced or removed;
# - each entry is well-formed: desktop-file-validate finds nothing but the keys and types of the
#   format it extends, xmllint parses uca.xml, sh parses the scripts;
# - uca.xml holds the user's text, byte for byte, plus one action; a second deploy changes no
#   file; the removal gives back the user's uca.xml exactly, and leaves their script;
# - each entry, run the way its file manager runs it (the scripts' variables and mangled
#   arguments, "%F" expanded with each one's quoting), copies the chosen files' addresses, which
#   paste after it has ended, and a notification on the session bus says so; a file outside the
#   folder is named in the notification, and the other still copies;
# - a second web folder named tmp, in a folder whose name holds "%", gets entries of its own,
#   which copy its files, and keeps them when the first folder's are removed;
# - removing the entries gives back Thunar's state before them: no uca.xml, an empty one, a
#   dangling link;
# - PCManFM and Thunar, for real on a private X desktop: every file of a folder below the
#   deployed one selected, the context menu opened and the entry chosen with the keyboard, and
#   the addresses paste.
#
# Usage: file_manager_entries.sh <lirvane-deploy>   (lirvane and lirvane-address beside it)
set -euo pipefail

deploy_command=$(realpath "$1")
address_command=$(dirname "$deploy_command")/lirvane-address
case_name=file_manager_entries
lib=$(dirname "$0")/lib
# shellcheck source=lib/desktop.sh
source "$lib/desktop.sh"
require_tools desktop-file-validate xmllint dbus-daemon pcmanfm thunar /usr/bin/python3
[ -n "$(find /usr/lib -path '*/libfm/modules/gtk-menu-actions.so' -print -quit)" ] ||
    fail "PCManFM's actions module is missing (package libfm-modules)"

# The last copy's keeper runs lirvane-address without arguments.
before_cleanup() {
    pkill -x -f -- "$(sed 's/[][\\.*^$+?(){}|]/\\&/g' <<<"$address_command")" || true
}

folder=$work/www/tmp
selection_folder="$folder/sous dossier"
base_address=http://example.org/tmp/
chosen=("$selection_folder/a b é.txt" "$selection_folder/c#d.txt"
    "$selection_folder/l'avis \"n°2\" \$HOME 100%.txt")
mkdir -p "$selection_folder"
for file in "${chosen[@]}"; do echo "$file" >"$file"; done
echo outside >"$work/outside.txt"
# Another web folder of the same name.
other_folder="$work/site 100%/tmp"
mkdir -p "$other_folder"
echo other >"$other_folder/autre 50%.txt"

nautilus_scripts=$HOME/.local/share/nautilus/scripts
# A folder's entries: kind|file, for its id and its label.
entries() {
    local id=$1 label=$2
    printf '%s\n' "nautilus|$nautilus_scripts/$label" "caja|$HOME/.config/caja/scripts/$label" \
        "nemo|$HOME/.local/share/nemo/actions/$id.nemo_action" \
        "dolphin|$HOME/.local/share/kio/servicemenus/$id.desktop" \
        "pcmanfm|$HOME/.local/share/file-manager/actions/$id.desktop" \
        "thunar|$HOME/.config/Thunar/uca.xml#$id"
}

entry_id_of() {
    printf 'lirvane-%s' "$(printf '%s' "$1" | md5sum | cut -c1-12)"
}

# The user's own: two Thunar actions, as Thunar writes them, and a Nautilus script.
write_users_own_entries() {
    mkdir -p "$HOME/.config/Thunar" "$nautilus_scripts"
    cat >"$HOME/.config/Thunar/uca.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<actions>
<action>
	<icon>utilities-terminal</icon>
	<name>Ouvrir un terminal ici</name>
	<submenu></submenu>
	<unique-id>1700000000000001-1</unique-id>
	<command>exo-open --working-directory %f --launch TerminalEmulator</command>
	<description>Mon action</description>
	<range></range>
	<patterns>*</patterns>
	<startup-notify/>
	<directories/>
</action>
<action>
	<icon></icon>
	<name>Taille &amp; nombre</name>
	<submenu></submenu>
	<unique-id>1700000000000002-2</unique-id>
	<command>du -sh %F &gt; /tmp/taille</command>
	<description></description>
	<range>*</range>
	<patterns>*</patterns>
	<other-files/>
	<text-files/>
</action>
</actions>
EOF
    cp "$HOME/.config/Thunar/uca.xml" "$work/users-uca.xml"
    printf '#!/bin/sh\necho mine\n' >"$nautilus_scripts/Mon script"
    chmod 755 "$nautilus_scripts/Mon script"
}

# A session bus with a notification service that writes down what it is asked to show.
start_session_bus() {
    dbus-daemon --session --nofork --address="unix:path=$work/session-bus" >"$work/dbus.log" 2>&1 &
    own_processes+=($!)
    within 5 test -S "$work/session-bus" || fail "the session bus did not start"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/session-bus
    mkfifo "$work/notifications-ready"
    /usr/bin/python3 "$lib/notification_service.py" "$work/notifications" \
        >"$work/notifications-ready" 2>"$work/notification-service.log" &
    own_processes+=($!)
    read -r -t 10 _ <"$work/notifications-ready" || fail "the notification service did not start"
}

# Every name in the home and the web folders, hidden ones too, with its type, mode and bytes.
state() {
    find "$HOME" "$work/www" "$work/site 100%" -printf '%p %y %m %l\n' | sort
    find "$HOME" "$work/www" "$work/site 100%" -type f -exec md5sum {} + | sort
}

# A deploy that fails half-way, Nemo's folder a link to nowhere, leaves no entry, no program, no
# settings and no hidden file, and the user's own entries as they were.
check_failed_deploy_leaves_nothing() {
    local before
    mkdir -p "$HOME/.local/share/nemo"
    ln -s "$work/nowhere" "$HOME/.local/share/nemo/actions"
    before=$(state)
    "$deploy_command" "$folder" "$base_address" --file-manager --no-check \
        >>"$work/deploy.log" 2>&1 && fail "lirvane-deploy succeeded with Nemo's folder nowhere"
    [ "$(state)" = "$before" ] ||
        fail "a failed deploy left: $(diff <(echo "$before") <(state))"
    rm "$HOME/.local/share/nemo/actions"
    echo "a deploy that fails half-way: nothing left"
}

# A file of the user's at the place of one of the folder's entries is theirs: a script of the
# entries' name is kept (the entries take another name), an action of the entries' id refuses the
# deploy.
check_users_file_in_an_entrys_place() {
    local script="$nautilus_scripts/Copier l'adresse web – tmp (site 100٪)"
    local action
    action=$HOME/.local/share/nemo/actions/$(entry_id_of "$other_folder").nemo_action
    printf '#!/bin/sh\necho my own\n' >"$script"
    mkdir -p "$(dirname "$action")"
    echo "[Nemo Action]" >"$action"
    "$deploy_command" "$other_folder" http://example.org/site/tmp/ --file-manager --no-check \
        >>"$work/deploy.log" 2>&1 && fail "lirvane-deploy replaced the user's own $action"
    [ "$(cat "$action")" = "[Nemo Action]" ] || fail "the user's own $action was changed"
    rm "$action"
    deploy "$other_folder" http://example.org/site/tmp/ --file-manager --no-check
    [ "$(cat "$script")" = "$(printf '#!/bin/sh\necho my own')" ] ||
        fail "the user's own script was replaced"
    echo "a file of the user's in an entry's place: kept"
}

deploy() {
    "$deploy_command" "$@" >>"$work/deploy.log" 2>&1 || fail "lirvane-deploy $* failed"
}

# What desktop-file-validate says of a file, but for the types and keys of the format it extends.
validation_faults() {
    desktop-file-validate "$1" 2>&1 | grep -v -e 'is not a registered type value' \
        -e 'file contains key "Profiles" in group "Desktop Entry"' \
        -e '"all" is an unregistered media type' -e 'required key "Name" in group' \
        -e 'but the type is "Service" while this key is only valid' || true
}

check_entries_are_well_formed() {
    local kind entry
    while IFS='|' read -r kind entry; do
        entry=${entry%#*}
        [ -f "$entry" ] || fail "no $kind entry: $entry"
        case $kind in
        nautilus | caja) sh -n "$entry" || fail "sh cannot parse $entry" ;;
        dolphin | pcmanfm)
            [ -z "$(validation_faults "$entry")" ] ||
                fail "desktop-file-validate $entry: $(validation_faults "$entry")"
            ;;
        thunar) xmllint --noout "$entry" 2>"$work/xmllint.log" || fail "xmllint refuses $entry" ;;
        esac
    done < <(main_entries)
    echo "entries: well-formed"
}

# uca.xml is the user's, with one <action> element inserted before the end of the list.
check_thunar_merge() {
    local added
    added=$(diff "$work/users-uca.xml" "$HOME/.config/Thunar/uca.xml" | grep -v '^>' |
        grep -v "^[0-9]*a[0-9]*,[0-9]*$" || true)
    [ -z "$added" ] || fail "the merge changed the user's uca.xml: $added"
    [ "$(grep -c '<action>' "$HOME/.config/Thunar/uca.xml")" -eq 3 ] &&
        grep -q "<unique-id>$main_id</unique-id>" "$HOME/.config/Thunar/uca.xml" ||
        fail "uca.xml does not hold the user's two actions and ours once"
    echo "Thunar: the user's uca.xml plus one action"
}

# Every entry file's bytes and mode, to compare the second deploy's with the first's.
entries_state() {
    local kind entry
    while IFS='|' read -r kind entry; do
        stat -c '%a %n' "${entry%#*}" && md5sum "${entry%#*}"
    done < <(main_entries)
}

check_second_deploy_changes_nothing() {
    local before
    before=$(entries_state)
    deploy "$folder" --file-manager --no-check
    [ "$(entries_state)" = "$before" ] || fail "a second deploy changed the entries"
    echo "a second deploy: no entry written twice"
}

# The lines that pasting gives once the addresses of the files are copied, CR LF between them.
expected_paste() {
    local lines
    lines=$(cd "$folder" && env -u DISPLAY "$address_command" -- "$@" 2>>"$work/address.log") ||
        fail "lirvane-address $* failed"
    printf '%s' "${lines//$'\n'/$'\r\n'}"
}

# Runs each of the entries printed by the command given first, on the files after it.
run_entries() {
    local list=$1 kind entry expected said
    shift
    expected=$(expected_paste "$@") || fail "the files to choose have no address"
    [ $# -eq 1 ] && said="Adresse copiée : $expected|" || said="Adresses copiées : $#|"
    while IFS='|' read -r kind entry; do
        : >"$work/notifications"
        "$CLEAR_CLIPBOARD" >/dev/null 2>&1 || fail "the clipboard could not be cleared"
        /usr/bin/python3 "$lib/file_manager_entry.py" "$kind" "$entry" "$@" \
            >>"$work/entries.log" 2>&1 || fail "the $kind entry $entry failed"
        within 5 clipboard_holds "$expected" ||
            fail "after the $kind entry $entry the clipboard holds: $(clipboard)"
        grep -qxF "$said" "$work/notifications" ||
            fail "the $kind entry $entry notified: $(cat "$work/notifications")"
    done < <("$list")
}

check_entries_run_as_their_file_managers_run_them() {
    run_entries main_entries "${chosen[@]}"
    : >"$work/notifications"
    /usr/bin/python3 "$lib/file_manager_entry.py" pcmanfm \
        "$(main_entries | sed -n 's/^pcmanfm|//p')" "$work/outside.txt" "${chosen[0]}" \
        >>"$work/entries.log" 2>&1 && fail "the entry succeeded on a file outside the folder"
    within 5 clipboard_holds "$(expected_paste "${chosen[0]}")" &&
        grep -q "^Adresse copiée : .*« $work/outside.txt » : ce fichier n'est pas dans le" \
            "$work/notifications" ||
        fail "with a file outside: the clipboard holds $(clipboard), notified" \
            "$(cat "$work/notifications")"
    run_entries other_entries "$other_folder/autre 50%.txt"
    # A file that the web server cannot read is named in the notification.
    chmod 600 "${chosen[0]}"
    : >"$work/notifications"
    /usr/bin/python3 "$lib/file_manager_entry.py" nemo "$(main_entries | sed -n 's/^nemo|//p')" \
        "${chosen[0]}" >>"$work/entries.log" 2>&1 && fail "the entry on a private file exited 0"
    grep -qF "« sous dossier/a b é.txt » : le serveur web ne pourra pas le lire (droits rw-------)" \
        "$work/notifications" || fail "a private file notified: $(cat "$work/notifications")"
    chmod 644 "${chosen[0]}"
    echo "entries: each one of both folders, run as its file manager runs it, copies and notifies"
}

# The real file manager in the folder below the deployed one: Ctrl+A selects its files,
# Shift+F10 opens their menu, whose last entries are ours and "Propriétés"; the entry is the given
# number of entries above the last. PCManFM shows only this folder's entry, Thunar both folders'.
check_real_file_manager() {
    local name=$1 title=$2 above=$3 window pid expected
    expected=$(expected_paste "${chosen[@]}") || fail "the files to choose have no address"
    "$CLEAR_CLIPBOARD" >/dev/null 2>&1 || fail "the clipboard could not be cleared"
    (cd "$work" && exec "$name" "$selection_folder") >>"$work/$name.log" 2>&1 &
    pid=$!
    own_processes+=("$pid")
    window=$(wait_for_window "$title") || fail "$name shows no window"
    activate "$window" || fail "the $name window could not be activated"
    # The folder's files are listed once the window is shown, not always when it appears.
    sleep 1
    press ctrl+a shift+F10
    sleep 1
    for ((; above > 0; above--)); do press Up; done
    press Up Return
    within 10 clipboard_holds "$expected" ||
        fail "after the entry in $name the clipboard holds: $(clipboard)"
    stop_process "$pid"
    echo "$name: the entry copies the selected files' addresses"
}

# Removing one folder's entries keeps the other's, which still copy; removing both gives back the
# user's uca.xml exactly, and leaves their own scripts.
check_removal() {
    local kind entry
    deploy --remove-file-manager "$folder"
    while IFS='|' read -r kind entry; do
        [ "$kind" = thunar ] || [ ! -e "$entry" ] || fail "removal left $entry"
    done < <(main_entries)
    run_entries other_entries "$other_folder/autre 50%.txt"
    deploy --remove-file-manager "$other_folder"
    cmp -s "$work/users-uca.xml" "$HOME/.config/Thunar/uca.xml" ||
        fail "removal did not give back the user's uca.xml"
    while IFS='|' read -r kind entry; do
        [ "$kind" = thunar ] || [ ! -e "$entry" ] || fail "removal left $entry"
    done < <(other_entries)
    [ "$(cat "$nautilus_scripts/Mon script")" = "$(printf '#!/bin/sh\necho mine')" ] ||
        fail "removal touched the user's own script"
    echo "removal: the other folder's entries kept, then the user's own exactly as they were"
}

# What uca.xml is before the first entry went in, and so after the last went away: none (Thunar
# reads the system's), an empty file, a dangling link.
check_thunar_state_given_back() {
    local before kind
    for kind in none empty link; do
        export HOME=$work/home-$kind
        rm -rf "$HOME" && mkdir -p "$HOME/.config/Thunar"
        case $kind in
        none) rmdir "$HOME/.config/Thunar" ;;
        empty) : >"$HOME/.config/Thunar/uca.xml" ;;
        link) ln -s "$work/dotfiles/uca.xml" "$HOME/.config/Thunar/uca.xml" ;;
        esac
        before=$(state)
        deploy "$folder" --file-manager --no-check
        grep -q "<unique-id>$main_id</unique-id>" "$HOME/.config/Thunar/uca.xml" ||
            fail "with $kind uca.xml before, ours is not in it"
        deploy --remove-file-manager "$folder"
        [ "$(state | grep uca.xml)" = "$(echo "$before" | grep uca.xml)" ] ||
            fail "with $kind uca.xml before, removal left: $(state | grep uca.xml)"
    done
    export HOME=$work/home
    echo "Thunar: no uca.xml, an empty one and a dangling link given back"
}

[ -x "${CLEAR_CLIPBOARD:-}" ] || fail "CLEAR_CLIPBOARD names no program"
write_users_own_entries
check_failed_deploy_leaves_nothing
deploy "$folder" "$base_address" --file-manager --no-check
main_id=$(entry_id_of "$folder")
main_entries() { entries "$main_id" "Copier l'adresse web – tmp"; }
check_entries_are_well_formed
check_thunar_merge
check_second_deploy_changes_nothing
check_users_file_in_an_entrys_place
other_id=$(entry_id_of "$other_folder")
other_entries() { entries "$other_id" "Copier l'adresse web – tmp ($other_id)"; }
start_desktop
start_session_bus
check_entries_run_as_their_file_managers_run_them
check_real_file_manager pcmanfm '^sous dossier$' 1
check_real_file_manager thunar '^sous dossier - Thunar$' 2
check_removal
check_thunar_state_given_back
echo "PASS"
