#!/usr/bin/env bash
# Starts the game on a virtual X display (Xvfb), for screenshots and for
# trying things by hand without a desktop.  Both keep running in the
# background; the game's window id is printed on standard output.
#
#   tools/xvfb-run-game.sh [:DISPLAY] [GAME ARGUMENTS...]     (default :99)
#
# Example, a screenshot of the table after Ctrl+B:
#
#   window=$(tools/xvfb-run-game.sh :99)
#   DISPLAY=:99 xdotool windowfocus --sync "$window" key ctrl+b
#   DISPLAY=:99 import -window root docs/table.png        # the whole screen
#   DISPLAY=:99 import -window "$window" /tmp/window.png  # the window alone
#
# The game runs from its runnable folder (it opens its data by relative
# path): build/game, or $KESTRANO_GAME_DIR for another build folder.  Its
# standard output and errors go to $KESTRANO_LOG (default
# /tmp/kestrano-DISPLAY.log).  An Xvfb already serving the display is reused.
# The process ids to stop afterwards are printed on standard error.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
display=:99
if [[ ${1:-} =~ ^:[0-9]+$ ]]; then
    display=$1
    shift
fi
game_dir=${KESTRANO_GAME_DIR:-$here/../build/game}
number=${display#:}
log=${KESTRANO_LOG:-/tmp/kestrano-$number.log}

say() { echo "xvfb-run-game: $*" >&2; }

if [ ! -x "$game_dir/kestrano" ]; then
    say "no game at $game_dir/kestrano; build it first (./run.sh -platform offscreen, or cmake --build --preset default)"
    exit 1
fi

if [ -S "/tmp/.X11-unix/X$number" ]; then
    say "reusing the X server on $display"
else
    setsid Xvfb "$display" -nolisten tcp -screen 0 "${XVFB_SCREEN:-1024x768x24}" \
        >"/tmp/xvfb-$number.log" 2>&1 </dev/null &
    say "Xvfb on $display: pid $!"
    for _ in $(seq 100); do
        [ -S "/tmp/.X11-unix/X$number" ] && break
        sleep 0.1
    done
    [ -S "/tmp/.X11-unix/X$number" ] || { say "Xvfb did not start (see /tmp/xvfb-$number.log)"; exit 1; }
fi

cd "$game_dir"
DISPLAY=$display QT_QPA_PLATFORM=xcb setsid ./kestrano "$@" >"$log" 2>&1 </dev/null &
game=$!
say "game: pid $game, output in $log"

window=$(DISPLAY=$display timeout 20 xdotool search --sync --onlyvisible --pid "$game" 2>/dev/null |
    head -n 1) || true
if [ -z "$window" ]; then
    say "the game window did not appear (see $log)"
    exit 1
fi
echo "$window"
