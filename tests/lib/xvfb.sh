# shellcheck shell=bash
# A private X display, sourced after scratch.sh.  `start_xvfb LIFETIME
# [OPTION...]` runs Xvfb for at most LIFETIME seconds (messages in xvfb.log)
# and exports DISPLAY, or returns 1 after 10 s; `table_window` prints the
# game window's id once it shows, nothing when it has not within 20 s.
# shellcheck disable=SC2154 # $work and `pids` belong to scratch.sh
start_xvfb() {
    local seconds=$1
    shift
    # Xvfb picks a free display number and writes it to fd 3 once it is ready.
    timeout "$seconds" Xvfb -displayfd 3 -nolisten tcp "$@" -screen 0 1024x768x24 \
        3>"$work/display" 2>"$work/xvfb.log" &
    pids+=($!)
    wait_for 10 grep -q '[0-9]' "$work/display" || return 1
    DISPLAY=":$(tr -dc '0-9' <"$work/display")"
    export DISPLAY
}

# `window_titled PATTERN SECONDS` prints the id of the first shown window whose
# title matches PATTERN, once there is one.  A window that vanishes while
# xdotool looks (a menu closing) ends xdotool with an X error: it looks again.
shown_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 | grep .; }
window_titled() { wait_for "$2" shown_window "$1"; }
table_window() { window_titled '^Title:12-1$' 20 || true; }
