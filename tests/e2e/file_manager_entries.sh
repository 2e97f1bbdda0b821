#!/usr/bin/env bash
# "Copier l'adresse web" in the file managers' menus, as lirvane-deploy --file-manager adds it
# for a user whose Thunar already has two actions of their own and whose Nautilus a script:
# - a deploy that fails half-way leaves nothing behind;
# - each entry is well-formed: desktop-file-validate finds nothing but the keys and types of the
#   format it extends, xmllint parses uca.xml, sh parses the scripts;
# - uca.xml holds the user's text, byte for byte, plus one action; a second deploy changes no
#   file; the removal gives back the user's uca.xml exactly, and leaves their script;
# - each entry, run the way its file manager runs it (the scripts' variables and arguments,
#   "%F" expanded with each one's quoting), copies the chosen files' addresses, which paste after
#   it has ended, and a notification on the session bus says so; a file outside the folder is
#   named in the notification, and the other still copies;
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
chosen=("$selection_folder/a b é.txt" "$selection_folder/c#d.txt")
mkdir -p "$selection_folder"
for file in "${chosen[@]}"; do echo "$file" >"$file"; done
echo outside >"$work/outside.txt"

nautilus_scripts=$HOME/.local/share/nautilus/scripts
entry_id=''
entries() {
    local label="Copier l'adresse web – tmp"
    printf '%s\n' "nautilus|$nautilus_scripts/$label" "caja|$HOME/.config/caja/scripts/$label" \
        "nemo|$HOME/.local/share/nemo/actions/$entry_id.nemo_action" \
        "dolphin|$HOME/.local/share/kio/servicemenus/$entry_id.desktop" \
        "pcmanfm|$HOME/.local/share/file-manager/actions/$entry_id.desktop" \
        "thunar|$HOME/.config/Thunar/uca.xml"
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

# A deploy that fails half-way, Nemo's folder a link to nowhere, leaves no entry, no program and
# no settings, and the user's own entries as they were.
check_failed_deploy_leaves_nothing() {
    mkdir -p "$HOME/.local/share/nemo"
    ln -s "$work/nowhere" "$HOME/.local/share/nemo/actions"
    "$deploy_command" "$folder" "$base_address" --file-manager --no-check \
        >>"$work/deploy.log" 2>&1 && fail "lirvane-deploy succeeded with Nemo's folder nowhere"
    [ -z "$(find "$HOME" "$folder" -name 'lirvane*' -o -name "Copier l'adresse web*" \
        -o -name PARAM.ini)" ] || fail "a failed deploy left: $(find "$HOME" "$folder" -type f)"
    cmp -s "$work/users-uca.xml" "$HOME/.config/Thunar/uca.xml" ||
        fail "a failed deploy changed the user's uca.xml"
    rm "$HOME/.local/share/nemo/actions"
    echo "a deploy that fails half-way: nothing left"
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
        [ -f "$entry" ] || fail "no $kind entry: $entry"
        case $kind in
        nautilus | caja) sh -n "$entry" || fail "sh cannot parse $entry" ;;
        dolphin | pcmanfm)
            [ -z "$(validation_faults "$entry")" ] ||
                fail "desktop-file-validate $entry: $(validation_faults "$entry")"
            ;;
        thunar) xmllint --noout "$entry" 2>"$work/xmllint.log" || fail "xmllint refuses $entry" ;;
        esac
    done < <(entries)
    echo "entries: well-formed"
}

# uca.xml is the user's, with one <action> element inserted before the end of the list.
check_thunar_merge() {
    local added
    added=$(diff "$work/users-uca.xml" "$HOME/.config/Thunar/uca.xml" | grep -v '^>' |
        grep -v "^[0-9]*a[0-9]*,[0-9]*$" || true)
    [ -z "$added" ] || fail "the merge changed the user's uca.xml: $added"
    [ "$(grep -c '<action>' "$HOME/.config/Thunar/uca.xml")" -eq 3 ] &&
        grep -q "<unique-id>$entry_id</unique-id>" "$HOME/.config/Thunar/uca.xml" ||
        fail "uca.xml does not hold the user's two actions and ours once"
    echo "Thunar: the user's uca.xml plus one action"
}

# Every entry file's bytes and mode, to compare the second deploy's with the first's.
entries_state() {
    local kind entry
    while IFS='|' read -r kind entry; do stat -c '%a %n' "$entry" && md5sum "$entry"; done < <(entries)
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
    lines=$(cd "$folder" && env -u DISPLAY "$address_command" -- "$@") ||
        fail "lirvane-address $* failed"
    printf '%s' "${lines//$'\n'/$'\r\n'}"
}

check_entries_run_as_their_file_managers_run_them() {
    local kind entry expected
    expected=$(expected_paste "${chosen[@]}")
    while IFS='|' read -r kind entry; do
        : >"$work/notifications"
        "$CLEAR_CLIPBOARD" >/dev/null 2>&1 || fail "the clipboard could not be cleared"
        /usr/bin/python3 "$lib/file_manager_entry.py" "$kind" "$entry" "${chosen[@]}" \
            >>"$work/entries.log" 2>&1 || fail "the $kind entry failed"
        within 5 clipboard_holds "$expected" ||
            fail "after the $kind entry the clipboard holds: $(clipboard)"
        grep -qx 'Adresses copiées : 2|' "$work/notifications" ||
            fail "the $kind entry notified: $(cat "$work/notifications")"
    done < <(entries)
    : >"$work/notifications"
    /usr/bin/python3 "$lib/file_manager_entry.py" pcmanfm "$(entries | sed -n 's/^pcmanfm|//p')" \
        "$work/outside.txt" "${chosen[0]}" >>"$work/entries.log" 2>&1 &&
        fail "the entry succeeded on a file outside the folder"
    within 5 clipboard_holds "$(expected_paste "${chosen[0]}")" &&
        grep -q "^Adresse copiée : .*« $work/outside.txt » : ce fichier n'est pas dans le" \
            "$work/notifications" ||
        fail "with a file outside: the clipboard holds $(clipboard), notified" \
            "$(cat "$work/notifications")"
    echo "entries: each one, run as its file manager runs it, copies and notifies"
}

# The real file manager in the folder below the deployed one: Ctrl+A selects its files,
# Shift+F10 opens their menu, whose last entries are ours and "Propriétés".
check_real_file_manager() {
    local name=$1 title=$2 window pid
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
    press Up Up Return
    within 10 clipboard_holds "$(expected_paste "${chosen[@]}")" ||
        fail "after the entry in $name the clipboard holds: $(clipboard)"
    stop_process "$pid"
    echo "$name: the entry copies the selected files' addresses"
}

check_removal() {
    local kind entry
    deploy --remove-file-manager "$folder"
    cmp -s "$work/users-uca.xml" "$HOME/.config/Thunar/uca.xml" ||
        fail "removal did not give back the user's uca.xml"
    while IFS='|' read -r kind entry; do
        [ "$kind" = thunar ] || [ ! -e "$entry" ] || fail "removal left $entry"
    done < <(entries)
    [ "$(cat "$nautilus_scripts/Mon script")" = "$(printf '#!/bin/sh\necho mine')" ] ||
        fail "removal touched the user's own script"
    echo "removal: the user's own entries exactly as they were"
}

[ -x "${CLEAR_CLIPBOARD:-}" ] || fail "CLEAR_CLIPBOARD names no program"
write_users_own_entries
check_failed_deploy_leaves_nothing
deploy "$folder" "$base_address" --file-manager --no-check
entry_id=$(sed -n 's|.*<unique-id>\(lirvane-[0-9a-f]*\)</unique-id>.*|\1|p' \
    "$HOME/.config/Thunar/uca.xml")
[ -n "$entry_id" ] || fail "no action of ours in uca.xml"
check_entries_are_well_formed
check_thunar_merge
check_second_deploy_changes_nothing
start_desktop
start_session_bus
check_entries_run_as_their_file_managers_run_them
check_real_file_manager pcmanfm '^sous dossier$'
check_real_file_manager thunar '^sous dossier - Thunar$'
check_removal
echo "PASS"
