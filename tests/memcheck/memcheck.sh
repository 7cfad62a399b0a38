#!/usr/bin/env bash
# Plays one whole session (tests/memcheck/memcheck_match.cpp: start-up, a
# five-round match, the verdict, both help windows, "close") under valgrind's
# memcheck.  Fails on any memory error and on any block definitely lost,
# except the platform-library findings listed, with their reasons, in
# tests/memcheck/platform.supp.
#
#   memcheck.sh BUILD_FOLDER [PLATFORM]
#
# PLATFORM is Qt's platform plugin, offscreen unless given (xcb needs the
# caller's DISPLAY).  The game's trace goes nowhere; on failure valgrind's
# report and the driver's messages are shown.
set -euo pipefail

build=${1:?usage: memcheck.sh BUILD_FOLDER [PLATFORM]}
platform=${2:-offscreen}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "$build" && pwd)
driver="$build/tests/memcheck_match"

say() { echo "memcheck: $*"; }

command -v valgrind >/dev/null || {
    say "valgrind is not installed (run tools/ensure-packages.sh)"
    exit 1
}
[ -x "$driver" ] || {
    say "no driver at $driver (is tests/memcheck.cmake included and built?)"
    exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrano-memcheck.XXXXXX")
trap 'rm -rf "$work"' EXIT

# valgrind's own verdict is kept apart from the driver's: 99 means memcheck
# found something, any other failure that the session could not be played.
status=0
(
    cd "$build/game"
    exec env QT_QPA_PLATFORM="$platform" LC_ALL=C.UTF-8 LANG=C.UTF-8 \
        timeout 600 valgrind --tool=memcheck --error-exitcode=99 \
        --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
        --child-silent-after-fork=yes --num-callers=40 \
        --suppressions="$here/platform.supp" --log-file="$work/valgrind.log" \
        "$driver"
) >/dev/null 2>"$work/driver.log" || status=$?

if [ "$status" -eq 0 ]; then
    grep -E 'ERROR SUMMARY|definitely lost:' "$work/valgrind.log" | sed 's/^==[0-9]*== */memcheck: /'
    exit 0
fi
if [ "$status" -eq 99 ]; then
    say "FAIL: memory errors or leaks (valgrind's report follows)"
    cat "$work/valgrind.log"
else
    say "FAIL: the session could not be played (exit status $status)"
    cat "$work/driver.log"
    tail -n 20 "$work/valgrind.log"
fi
exit 1
