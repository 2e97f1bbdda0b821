#!/usr/bin/env bash
# Runs a fuzzer for a bounded number of inputs on a copy of its seed corpus, so that the
# corpus in the repository stays as it is. Fails on a crash, a sanitizer report or a broken
# property; the input that did it is kept in the current folder.
#
# Usage: run_fuzzer.sh <fuzzer> <seed corpus folder> <runs>
set -euo pipefail

fuzzer=$1
seeds=$2
runs=$3

corpus=$(mktemp -d -t lirvane-fuzz.XXXXXX)
trap 'rm -rf "$corpus"' EXIT
cp -r "$seeds"/. "$corpus"

# Fuzzers that write files do it in the temporary folder: in memory where the system has one,
# as writes end with fsync.
[ -d /dev/shm ] && [ -w /dev/shm ] && export TMPDIR=/dev/shm

# -max_total_time only guards against a machine far slower than expected.
"$fuzzer" -runs="$runs" -max_total_time=240 -print_final_stats=1 \
    -artifact_prefix="$PWD/$(basename "$fuzzer")-" "$corpus"
