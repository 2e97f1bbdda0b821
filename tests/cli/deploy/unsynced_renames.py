"""Reads strace's record (-f) of openat, fsync, fdatasync, close and the renames, and prints each
file that the traced command itself (not a program it ran) renamed over another without its
content being synced first. Exits with 1 when there is one, or when nothing was renamed.
Debian's python3.

Usage: unsynced_renames.py CALLS
"""
import re
import sys

call = re.compile(r'^(\d+) +(\w+)\((.*)\) += (-?\d+)')
quoted = re.compile(r'"((?:[^"\\]|\\.)*)"')


def main():
    opened = {}  # (pid, descriptor) -> path
    synced = set()
    renamed = 0
    unsynced = []
    command = None
    for line in open(sys.argv[1], encoding="utf-8", errors="surrogateescape"):
        match = call.match(line)
        if not match or int(match.group(4)) < 0:
            continue
        pid, name, arguments, result = match.groups()
        command = command or pid
        if pid != command:
            continue
        paths = quoted.findall(arguments)
        descriptor = arguments.split(",")[0]
        if name == "openat" and paths:
            opened[(pid, result)] = paths[0]
        elif name in ("fsync", "fdatasync") and (pid, descriptor) in opened:
            synced.add(opened[(pid, descriptor)])
        elif name == "close":
            opened.pop((pid, descriptor), None)
        elif name.startswith("rename") and len(paths) == 2:
            renamed += 1
            if paths[0] not in synced:
                unsynced.append(f"{paths[0]} -> {paths[1]}")
    for rename in unsynced:
        print(rename)
    if not renamed:
        print("nothing was renamed")
    sys.exit(1 if unsynced or not renamed else 0)


main()
