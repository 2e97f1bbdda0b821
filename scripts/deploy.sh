#!/usr/bin/env bash
# Puts Lirvane into a folder that a web server publishes, from a clone: installs what building
# needs, builds the program and lirvane-deploy, then runs lirvane-deploy with the arguments.
#
#   deploy.sh FOLDER [BASE-ADDRESS] [--launcher] [--file-manager] [--no-check]
#   deploy.sh --remove-launcher FOLDER
#   deploy.sh --remove-file-manager FOLDER
#
# See docs/deploying.md or docs/man/lirvane-deploy.1. A failed build installs nothing.
# LIRVANE_EXECUTABLE names an already built program to install instead: then only the commands
# are built, and only if the build tree lacks them.
# The file managers' entries run lirvane-address by its path, which must outlive the build tree:
# with --file-manager, lirvane-deploy and lirvane-address are installed into ~/.local/bin and
# run from there.
set -euo pipefail

repository=$(realpath "$(dirname "$0")/..")
build=$repository/build
commands=(lirvane-deploy)
file_manager=false
launcher=false
for argument in "$@"; do
    case $argument in
    --file-manager) file_manager=true ;;
    --launcher) launcher=true ;;
    esac
done
! $file_manager || commands+=(lirvane-address)

targets=()
for target in "${commands[@]}"; do
    [ -n "${LIRVANE_EXECUTABLE:-}" ] && [ -x "$build/$target" ] || targets+=("$target")
done
[ -n "${LIRVANE_EXECUTABLE:-}" ] || targets+=(lirvane)
if [ ${#targets[@]} -gt 0 ]; then
    (
        cd "$repository"
        bash scripts/setup.sh
        # A first build tree holds the program alone: its tests need the test command's packages.
        [ -f build/CMakeCache.txt ] ||
            cmake --preset default -DLIRVANE_BUILD_TESTS=OFF -DLIRVANE_BUILD_BENCHMARKS=OFF
        cmake --build --preset default -j "$(nproc)" --target "${targets[@]}"
    ) >&2
fi
command=$build/lirvane-deploy
if $file_manager; then
    bin=$HOME/.local/bin
    mkdir -p "$bin"
    for target in "${commands[@]}"; do
        install -m 755 "$build/$target" "$bin/.$target.new"
        mv -f "$bin/.$target.new" "$bin/$target"
    done
    # Found beside the command's folder, where the launcher puts it too.
    ! $launcher || install -D -m 644 "$build/lirvane.png" \
        "$HOME/.local/share/icons/hicolor/32x32/apps/lirvane.png"
    export LIRVANE_EXECUTABLE=${LIRVANE_EXECUTABLE:-$build/lirvane}
    command=$bin/lirvane-deploy
    echo "lirvane-deploy et lirvane-address sont installés dans « $bin » ; les entrées de" \
        "menu lancent « $bin/lirvane-address »."
fi
exec -a "$0" "$command" "$@"
