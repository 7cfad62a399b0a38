#!/usr/bin/env bash
# The installed tree: `cmake --install BUILD --prefix` into a temporary folder
# lays out the launcher, the program, the data, a valid desktop entry,
# metainfo, manual page and icons; moved elsewhere, the tree starts through
# its launcher from a foreign folder and shows the card back on the pile.
#
#   install_tree.sh BUILD_DIR    (the layout comes from tests/CMakeLists.txt)
# shellcheck source-path=SCRIPTDIR
set -euo pipefail # an unset KESTRANO_* variable ends it

build=${1:?usage: install_tree.sh BUILD_DIR}
readonly lifetime=60 # seconds any process started here may live

say() { echo "install_tree: $*"; }

# shellcheck source=lib/scratch.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/scratch.sh"
# shellcheck source=lib/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/xvfb.sh"
# shellcheck source=lib/pulse.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/pulse.sh"
make_scratch install
need desktop-file-validate appstreamcli man Xvfb xdotool import convert identify

prefix="$work/prefix"
touch "$work/before-install"
"${CMAKE_COMMAND:-cmake}" --install "$build" --prefix "$prefix" >"$work/install.log" ||
    fatal "cmake --install failed"
# An install writes into the prefix alone (CMake's own list of what it
# installed aside), so a run as root leaves no files of root's in the build.
written=$(find "$build" -newer "$work/before-install" -type f ! -name 'install_manifest*.txt' \
    ! -path "$build/Testing/*" ! -path '*/_CPack_Packages/*' | head -n 5)
[ -z "$written" ] || problem "cmake --install wrote into the build tree: $written"

launcher="$prefix/$KESTRANO_GAMESDIR/kestrano"
program="$prefix/$KESTRANO_PROGRAMDIR/kestrano"
data="$prefix/$KESTRANO_GAMEDATADIR"
entry="$prefix/$KESTRANO_DATADIR/applications/$KESTRANO_APP_ID.desktop"
metainfo="$prefix/$KESTRANO_DATADIR/metainfo/$KESTRANO_APP_ID.metainfo.xml"
icons="$prefix/$KESTRANO_DATADIR/icons/hicolor"

[ -x "$launcher" ] || problem "no executable launcher at ${launcher#"$prefix"/}"
{ [ -x "$program" ] && head -c 4 "$program" | grep -q 'ELF'; } ||
    problem "no executable compiled program at ${program#"$prefix"/}"

# The data folder holds the runnable folder's files but the program, the same.
diff -r -x kestrano "$KESTRANO_GAME_DIR" "$data" >&2 ||
    problem "the data folder ${data#"$prefix"/} differs from the runnable folder's data"
for needed in gazo/UB0.png gazo/s01.png gazo/D13D@2x.png wave/12-1/kidou html/12-1.html \
    Kestrano_ja.qm; do
    [ -f "$KESTRANO_GAME_DIR/$needed" ] || problem "the runnable folder lacks $needed"
done

for pixels in 48 128 256; do
    icon="$icons/${pixels}x$pixels/apps/$KESTRANO_APP_ID.png"
    size=$(identify -format '%wx%h' "$icon" 2>/dev/null) || size="missing"
    [ "$size" = "${pixels}x$pixels" ] || problem "the ${pixels} px icon is $size"
done
grep -q '<svg' "$icons/scalable/apps/$KESTRANO_APP_ID.svg" 2>/dev/null || problem "no scalable SVG icon"

desktop-file-validate "$entry" || problem "desktop-file-validate rejects the entry"
value() { sed -n "s/^$1=//p" "$entry" | head -n 1; }
for line in "Path=$data" "Exec=$launcher" "Categories=Game;CardGame;" "Icon=$KESTRANO_APP_ID"; do
    [ "$(value "${line%%=*}")" = "${line#*=}" ] || problem "the entry has no $line"
done
for key in Keywords 'Name\[ja\]' 'Comment\[ja\]'; do
    [ -n "$(value "$key")" ] || problem "the entry has no ${key//\\/}="
done

appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || problem "appstreamcli rejects the metainfo"
for element in "<launchable type=\"desktop-id\">$KESTRANO_APP_ID.desktop</launchable>" \
    '<screenshot type="default">' '<content_rating type="oars-1.1"' \
    "<release version=\"$KESTRANO_VERSION\""; do
    grep -qF "$element" "$metainfo" || problem "the metainfo lacks $element"
done

page="$prefix/$KESTRANO_MANDIR/man6/kestrano.6.gz"
MANWIDTH=200 man --warnings -l "$page" >"$work/man.txt" 2>"$work/man.log" ||
    problem "man -l cannot render a manual page at ${page#"$prefix"/}"
[ ! -s "$work/man.log" ] || problem "man -l warns (see man.log)"
for line in 'kestrano - five-round card match' "$launcher" "$data/"; do
    grep -qF "$line" "$work/man.txt" || problem "the manual page does not name $line (under its prefix)"
done

# Moved, so that nothing can lean on the folder it was installed to.
moved="$work/moved"
mv "$prefix" "$moved"
launcher="$moved/$KESTRANO_GAMESDIR/kestrano"
elsewhere="$work/elsewhere"
mkdir -p "$elsewhere" "$work/bin" "$work/decoy/$KESTRANO_GAMESDIR"
isolate_session # and so no sound server either
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
start_xvfb "$lifetime" -noreset || fatal "Xvfb did not start"

# The card back's commonest colours, each with its count of pixels.
convert "$KESTRANO_GAME_DIR/gazo/UB0.png" -format %c histogram:info:- |
    sed -n 's/^ *\([0-9]*\):.*#\([0-9A-F]\{6\}\)FF .*/\2 \1/p' | sort -k2,2nr | head -n 5 \
        >"$work/back-colours.txt"
[ "$(wc -l <"$work/back-colours.txt")" -eq 5 ] || fatal "cannot read the card back's colours"

# Starts COMMAND from $from (the foreign folder unless set), prints the
# game's working directory, takes a picture of its window into $picture if
# set and stops it.
start() {
    (cd "${from:-$elsewhere}" && exec timeout "$lifetime" "$@") >"$work/game.out" 2>"$work/game.log" &
    local game=$! window
    pids+=("$game")
    window=$(table_window)
    [ -n "$window" ] || fatal "the game window did not appear (started as: $*)"
    readlink "/proc/$(xdotool getwindowpid "$window")/cwd" || true
    if [ -n "${picture:-}" ]; then
        sleep 1 # the first frame follows the window's mapping closely
        import -window "$window" "$picture"
    fi
    kill "$game" 2>/dev/null || true
    wait "$game" 2>/dev/null || true
}

# True when every one of the card back's commonest colours shows in the
# picture at least as often as on the card back itself.
shows_card_back() {
    convert "$1" -alpha off -format %c histogram:info:- |
        sed -n 's/^ *\([0-9]*\):.*#\([0-9A-F]\{6\}\) .*/\2 \1/p' >"$work/shot-colours.txt"
    awk 'NR == FNR { seen[$1] = $2; next }
         { if (seen[$1] + 0 < $2 + 0) missing = 1 }
         END { exit missing }' "$work/shot-colours.txt" "$work/back-colours.txt"
}

# Started HOW by COMMAND, the game runs in the moved tree's data folder.
runs_in_data() {
    local how=$1 cwd
    shift
    cwd=$(start "$@")
    [ "$cwd" = "$moved/$KESTRANO_GAMEDATADIR" ] || problem "started $how, the game ran in $cwd"
}
picture="$work/launcher.png" runs_in_data "through the launcher" "$launcher"
shows_card_back "$work/launcher.png" ||
    problem "started through the launcher, the window shows no card back (see $work/launcher.png)"
# A link to the launcher (in a folder of one's own on the PATH, say), and a
# relative path with a CDPATH holding a folder of the same name: the launcher
# goes by its own place, and prints nothing.
ln -s "$launcher" "$work/bin/kestrano"
runs_in_data "through a link to the launcher" "$work/bin/kestrano"
from="$moved" runs_in_data "by a relative path under CDPATH" \
    env CDPATH="$work/decoy" "$KESTRANO_GAMESDIR/kestrano"
! grep -qF "$work/decoy" "$work/game.out" || problem "the launcher printed a CDPATH folder"

# The program started directly from the foreign folder finds no data: if the
# check above saw a card back here too, it could not tell the difference.
picture="$work/direct.png" start "$moved/$KESTRANO_PROGRAMDIR/kestrano" >/dev/null
! shows_card_back "$work/direct.png" ||
    problem "the card back check also passes for a game without its data, so it proves nothing"

[ "$failures" -eq 0 ] || exit 1
say "the tree installs, validates, moves and starts through its launcher showing the card back"
