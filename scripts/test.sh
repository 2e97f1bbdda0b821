#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test, in three build trees:
#   build/           the program, its tests and benchmarks, as users get them;
#   build-sanitize/  the unit and widget tests under AddressSanitizer (leaks included) and
#                    UndefinedBehaviorSanitizer: any report fails them;
#   build-fuzz/      the libFuzzer targets (clang), each run on a bounded number of inputs.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --tests
jobs=$(nproc)

for preset in default sanitize fuzz; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
done
