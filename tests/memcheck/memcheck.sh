#!/usr/bin/env bash
# One whole session (memcheck_match.cpp: start-up, a match, the verdict, both
# help windows, "close") under valgrind's memcheck: no memory error and no
# block definitely lost, but the platform's findings in platform.supp.
#
#   memcheck.sh BUILD_FOLDER [PLATFORM]    (Qt's platform, offscreen unless
#                                           given; xcb needs a DISPLAY)
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

build=${1:?usage: memcheck.sh BUILD_FOLDER [PLATFORM]}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "$build" && pwd)
driver="$build/tests/memcheck_match"

say() { echo "memcheck: $*"; }

# shellcheck source=../lib/scratch.sh
source "$here/../lib/scratch.sh"
make_scratch memcheck
need valgrind
[ -x "$driver" ] || fatal "no driver at $driver (is it built?)"

# 99 is memcheck's verdict, any other failure the driver's.
status=0
(cd "$build/game" && exec env QT_QPA_PLATFORM="${2:-offscreen}" LC_ALL=C.UTF-8 LANG=C.UTF-8 \
    timeout 600 valgrind --tool=memcheck --error-exitcode=99 \
    --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite \
    --child-silent-after-fork=yes --num-callers=40 \
    --suppressions="$here/platform.supp" --log-file="$work/valgrind.txt" \
    "$driver") >/dev/null 2>"$work/driver.log" || status=$?

case $status in
0) grep -E 'ERROR SUMMARY|definitely lost:' "$work/valgrind.txt" | sed 's/^==[0-9]*== */memcheck: /' ;;
99) cat "$work/valgrind.txt" && fatal "memory errors or leaks (valgrind's report above)" ;;
*) tail -n 20 "$work/valgrind.txt" && fatal "the session could not be played (exit status $status)" ;;
esac
