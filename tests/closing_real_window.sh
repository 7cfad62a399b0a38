#!/usr/bin/env bash
# On a private X display: the table as main() runs it (inside test_window,
# pauses shortened), closed in a round from its Game menu with keys sent by
# xdotool, ends by itself with exit code 0; then test_window ends the real
# program by signals with its streams closed or stalled.
#
#   closing_real_window.sh TEST_WINDOW
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

program=${1:?usage: closing_real_window.sh TEST_WINDOW}
readonly lifetime=110 # seconds any process started here may live (CTest stops it at 120)

say() { echo "closing_real_window: $*"; }

# shellcheck source=lib/scratch.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/scratch.sh"
# shellcheck source=lib/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/xvfb.sh"
make_scratch closing

need Xvfb xdotool stdbuf
start_xvfb "$lifetime" || fatal "Xvfb did not start"

# Unbuffered, so that each trace line is in the log when the game prints it.
KESTRANO_REAL_WINDOW=1 QT_QPA_PLATFORM=xcb timeout "$lifetime" stdbuf -o0 \
    "$program" real_window_closed_from_its_menu >"$work/table.log" 2>&1 &
game=$!
pids+=("$game")
printed() { grep -q "$1" "$work/table.log"; }

window=$(table_window)
[ -n "$window" ] || fatal "the table did not appear"
xdotool windowfocus --sync "$window"
xdotool key ctrl+b
# D does nothing until the start pause is over; the deal prints its trace.
deal() {
    xdotool key d
    wait_for 1 printed 'Secand_Card_deal_Push_shown()'
}
wait_for 10 deal || fatal "the deal never came"
# The first card opened; "close" (the Game menu's first enabled entry) is
# chosen while the result notice's timer is pending.
xdotool key --delay 20 1 o alt+g Return
window_titled '^Question$' 10 >/dev/null || fatal "the close question did not appear"
xdotool key y

status=0 && wait "$game" || status=$?
printed '^cpu=' || fatal "the round was not played: no pair was judged"
[ "$status" -ne 124 ] || fatal "the program did not end after its close was confirmed"
[ "$status" -eq 0 ] || fatal "the program ended with status $status"
printed 'PASS   : TestWindow::real_window_closed_from_its_menu()' ||
    fatal "the table did not close cleanly"
say "closed cleanly in a round"

KESTRANO_REAL_WINDOW=1 timeout "$lifetime" "$program" real_program_closed_in_a_round \
    >"$work/signals.log" 2>&1 || fatal "the program did not end cleanly on a signal or with a stream closed"
