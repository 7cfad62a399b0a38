#!/usr/bin/env bash
# Builds Kestrano when needed and starts it.  Arguments go to the game (Qt
# options such as `-platform offscreen`).
#
#   ./run.sh                       on a desktop
#   ./run.sh -platform offscreen   without a display
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

# A platform of one's own, or an answer that opens no window at all.
needs_no_display() {
    local arg
    for arg in "$@"; do
        case "$arg" in
        -platform | --platform | -h | --help | --help-all | -v | --version) return 0 ;;
        esac
    done
    return 1
}

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ] &&
    ! needs_no_display "$@"; then
    echo "run.sh: no display (neither DISPLAY nor WAYLAND_DISPLAY is set); to run headless: ./run.sh -platform offscreen" >&2
    exit 1
fi

# Standard output belongs to the game's trace lines: set-up talks on stderr.
# Only what building and playing need; ./test.sh adds the checks' tools.
{
    bash tools/ensure-packages.sh
    [ -f build/build.ninja ] || cmake --preset default
    # Only the game and its data; ./test.sh builds the tests.
    cmake --build --preset default --target kestrano kestrano_data
} >&2

# The game opens its pictures, sounds and help page relative to its folder.
cd build/game
exec ./kestrano "$@"
