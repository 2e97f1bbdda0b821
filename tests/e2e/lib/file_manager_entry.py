"""Runs a file manager's menu entry on files, as that file manager runs it. Debian's python3.

Usage: file_manager_entry.py KIND ENTRY FILE...
  KIND   nautilus, caja (a script), nemo (an action), dolphin (a service menu), pcmanfm (a
         file-manager action) or thunar (an action in uca.xml)
  ENTRY  the file that holds the entry; for thunar, uca.xml#ID, ID the action's unique id
  FILE   absolute paths of the chosen files, all in one folder, as a selection is
Exits with the command's exit code.
"""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

from gi.repository import GLib


def double_quoted(path):
    """Nemo's Quote=double: the path inside double quotes, its \\ " $ ` escaped."""
    return '"' + re.sub(r'([\\"$`])', r"\\\1", path) + '"'


def expanded(command, paths, quote):
    """The command with "%F" replaced by the quoted paths and "%%" by "%"."""
    return re.sub(
        r"%([%F])",
        lambda code: "%" if code.group(1) == "%" else " ".join(quote(p) for p in paths),
        command,
    )


def mangled(name):
    """A name as Nautilus and Caja hand it to a script: a "%" is lost with the character after it."""
    return re.sub(r"%.?", "", name)


def key_file_value(entry, group, key):
    key_file = GLib.KeyFile()
    key_file.load_from_file(entry, GLib.KeyFileFlags.NONE)
    return key_file.get_string(group, key)


def thunar_command(entry):
    actions_file, unique_id = entry.rsplit("#", 1)
    for action in ElementTree.parse(actions_file).getroot().iter("action"):
        if action.findtext("unique-id", "") == unique_id:
            return action.findtext("command")
    sys.exit(f"no action {unique_id} in {actions_file}")


def command_line(kind, entry, paths):
    """The argument vector and the environment that the file manager gives the command."""
    environment = dict(os.environ)
    if kind in ("nautilus", "caja"):
        # The chosen files' names as arguments, from their folder, mangled; their paths and URIs
        # whole in variables, one a line.
        prefix = kind.upper()
        environment[f"{prefix}_SCRIPT_SELECTED_FILE_PATHS"] = "".join(p + "\n" for p in paths)
        environment[f"{prefix}_SCRIPT_SELECTED_URIS"] = "".join(
            GLib.filename_to_uri(p) + "\n" for p in paths)
        environment[f"{prefix}_SCRIPT_CURRENT_URI"] = GLib.filename_to_uri(
            os.path.dirname(paths[0]))
        return [entry] + [mangled(os.path.basename(p)) for p in paths], environment
    if kind == "nemo":
        command = expanded(key_file_value(entry, "Nemo Action", "Exec"), paths, double_quoted)
    elif kind == "dolphin":
        exec_line = key_file_value(entry, "Desktop Action copyWebAddress", "Exec")
        command = expanded(exec_line, paths, GLib.shell_quote)
    elif kind == "pcmanfm":
        exec_line = key_file_value(entry, "X-Action-Profile files", "Exec")
        command = expanded(exec_line, paths, GLib.shell_quote)
    elif kind == "thunar":
        command = expanded(thunar_command(entry), paths, GLib.shell_quote)
    else:
        sys.exit(f"unknown kind {kind}")
    return GLib.shell_parse_argv(command)[1], environment


def main():
    kind, entry, paths = sys.argv[1], os.path.abspath(sys.argv[2]), sys.argv[3:]
    arguments, environment = command_line(kind, entry, paths)
    folder = os.path.dirname(paths[0])
    sys.exit(subprocess.run(arguments, cwd=folder, env=environment).returncode)


main()
