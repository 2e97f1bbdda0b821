#!/usr/bin/env bash
# Fails when a piece of the program costs more instructions than its goal allows beside its peer,
# counted by callgrind in the same run (instructions, not seconds: the same on every run):
#   a drop of files on the address box    <= 1.30x a plain Qt drop of the same files
#   EncodeUrl on accented French text     <= 1.10x a one-pass table encoder
#   start-up to first paint, 13 files     <= 1.10x the minimal peer (whole processes, on Xvfb)
# Exits 77 (skipped) when valgrind or Xvfb is missing.
#
#   bash bench/performance_guard.sh INSTRUCTION_PROBE FIRST_PAINT MINIMAL_PEER
set -euo pipefail

probe=$1
first_paint=$2
minimal_peer=$3
drop_files=${LIRVANE_GUARD_DROP_FILES:-2000}
encode_units=${LIRVANE_GUARD_ENCODE_UNITS:-65536}

for tool in valgrind Xvfb; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (scripts/setup.sh --tests installs it)"
        exit 77
    fi
done

work=$(mktemp -d)
xvfb=
trap '[ -n "$xvfb" ] && kill "$xvfb"; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR=$work
failed=0

# The instructions counted in a callgrind output file.
instructions() {
    awk '/^summary:/ { print $2 }' "$1"
}

# Prints the ratio and its goal; counts a failure when the ratio exceeds the goal.
judge() {
    local what=$1 program=$2 peer=$3 goal=$4 ratio
    ratio=$(awk -v a="$program" -v b="$peer" 'BEGIN { printf "%.3f", a / b }')
    if awk -v r="$ratio" -v g="$goal" 'BEGIN { exit !(r > g) }'; then
        echo "FAIL $what: $ratio x the peer (goal <= $goal): $program against $peer instructions"
        failed=1
    else
        echo "ok   $what: $ratio x the peer (goal <= $goal): $program against $peer instructions"
    fi
}

# The probe's dumps of the program's piece and the peer's, in the same run.
count_pair() {
    local what=$1 goal=$2
    shift 2
    rm -f "$work"/pair.*
    QT_QPA_PLATFORM=offscreen valgrind --tool=callgrind --instr-atstart=no --collect-atstart=no \
        --callgrind-out-file="$work/pair.%p" "$probe" "$@" 2>"$work/valgrind.log" ||
        { cat "$work/valgrind.log" >&2; echo "FAIL $what: the probe failed"; failed=1; return; }
    local program='' peer='' dump
    for dump in "$work"/pair.*.*; do
        case $(grep -m1 '^desc: Trigger' "$dump") in
        *': lirvane') program=$(instructions "$dump") ;;
        *': peer') peer=$(instructions "$dump") ;;
        esac
    done
    judge "$what" "$program" "$peer" "$goal"
}

count_pair "drop of $drop_files files" 1.30 drop "$drop_files"
count_pair "EncodeUrl, $encode_units units of accented text" 1.10 encode "$encode_units"

# Start-up: both in one program folder with a settings file, 13 files in all, on a private X server.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
read -r display <"$work/display"
folder=$work/folder
mkdir "$folder"
cp "$first_paint" "$folder/lirvane"
cp "$minimal_peer" "$folder/minimal_peer"
printf 'http://example.org/tmp/\r\n' >"$folder/PARAM.ini"
for i in $(seq 3 12); do : >"$folder/fichier $i.txt"; done
start_up() {
    DISPLAY=:$display QT_QPA_PLATFORM=xcb valgrind --tool=callgrind \
        --callgrind-out-file="$work/start-up" "$folder/$1" >/dev/null 2>"$work/valgrind.log" ||
        { cat "$work/valgrind.log" >&2; return 1; }
    instructions "$work/start-up"
}
judge "start-up to first paint, 13 files" "$(start_up lirvane)" "$(start_up minimal_peer)" 1.10

exit $failed
