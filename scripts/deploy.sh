#!/usr/bin/env bash
# Puts Lirvane into a folder that a web server publishes, from a clone: installs what building
# needs, builds the program and lirvane-deploy, then runs lirvane-deploy with the arguments.
#
#   deploy.sh FOLDER [BASE-ADDRESS] [--launcher] [--no-check]
#   deploy.sh --remove-launcher FOLDER
#
# See docs/deploying.md or docs/man/lirvane-deploy.1. A failed build installs nothing.
# LIRVANE_EXECUTABLE names an already built program to install instead: then only
# lirvane-deploy is built, and only if the build tree lacks it.
set -euo pipefail

repository=$(realpath "$(dirname "$0")/..")
command=$repository/build/lirvane-deploy
if [ -z "${LIRVANE_EXECUTABLE:-}" ] || [ ! -x "$command" ]; then
    targets=(lirvane-deploy)
    [ -n "${LIRVANE_EXECUTABLE:-}" ] || targets+=(lirvane)
    (
        cd "$repository"
        bash scripts/setup.sh
        # A first build tree holds the program alone: its tests need the test command's packages.
        [ -f build/CMakeCache.txt ] ||
            cmake --preset default -DLIRVANE_BUILD_TESTS=OFF -DLIRVANE_BUILD_BENCHMARKS=OFF
        cmake --build --preset default -j "$(nproc)" --target "${targets[@]}"
    ) >&2
fi
exec -a "$0" "$command" "$@"
