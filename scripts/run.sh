#!/usr/bin/env bash
# Installs what is missing, builds, lays out a demo folder beside the sources and starts
# Lirvane from it. Arguments are passed on to the program (a file path to turn into an address).
set -euo pipefail

# Relative paths are the caller's, not the demo folder's.
arguments=()
for argument in "$@"; do
    [[ -z $argument || $argument == /* ]] || argument=$PWD/$argument
    arguments+=("$argument")
done
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: run this from a desktop session (or set DISPLAY)." >&2
    exit 1
fi

# The program lists and addresses the files of its own folder: give it one with a few names
# that need encoding. PARAM.ini is kept between runs; delete it to see the first start again.
demo=demo
mkdir -p "$demo/images"
touch "$demo/rapport final.pdf" "$demo/été 2024.txt" "$demo/#1 [old] 100%.doc" \
      "$demo/notes.txt" "$demo/images/photo 1.jpg"
bash scripts/deploy.sh "$demo" >/dev/null

cd "$demo"
exec ./lirvane "${arguments[@]}"
