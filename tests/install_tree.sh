#!/usr/bin/env bash
# The installed tree: `cmake --install BUILD --prefix` into a temporary folder
# must lay out the launcher, the program, the data folder, a valid desktop
# entry and metainfo and the icons; and the tree, moved elsewhere, must start
# through its launcher from a foreign working directory and show the card back
# on the pile (the game opens its pictures by relative path, so this is what
# fails when the launcher does not start it from its data folder).
#
#   install_tree.sh BUILD_DIR
#
# The layout comes from the environment, set by tests/packaging.cmake from the
# build's install folders: KESTRANO_GAMESDIR, KESTRANO_PROGRAMDIR,
# KESTRANO_GAMEDATADIR, KESTRANO_DATADIR, KESTRANO_MANDIR (relative to the
# prefix), KESTRANO_APP_ID, KESTRANO_VERSION, KESTRANO_GAME_DIR (the runnable folder)
# and CMAKE_COMMAND.
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

build=${1:?usage: install_tree.sh BUILD_DIR}
: "${KESTRANO_GAMESDIR:?}" "${KESTRANO_PROGRAMDIR:?}" "${KESTRANO_GAMEDATADIR:?}"
: "${KESTRANO_DATADIR:?}" "${KESTRANO_MANDIR:?}" "${KESTRANO_APP_ID:?}" "${KESTRANO_VERSION:?}"
: "${KESTRANO_GAME_DIR:?}"
cmake_command=${CMAKE_COMMAND:-cmake}
readonly lifetime=60 # seconds any process started here may live

say() { echo "install_tree: $*"; }

# shellcheck source=lib/scratch.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/scratch.sh"
# shellcheck source=lib/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/xvfb.sh"
make_scratch install

for tool in desktop-file-validate appstreamcli man Xvfb xdotool import convert identify; do
    command -v "$tool" >/dev/null || fatal "$tool is not installed (run tools/ensure-packages.sh)"
done

prefix="$work/prefix"
touch "$work/before-install"
"$cmake_command" --install "$build" --prefix "$prefix" >"$work/install.log" ||
    fatal "cmake --install failed (see $work/install.log)"
# An install writes into the prefix alone (CMake's own list of what it
# installed aside): one run as root must leave no files of root's in the
# build tree.  CTest's logs and the package test's folder are no install's.
written=$(find "$build" -newer "$work/before-install" -type f ! -name 'install_manifest*.txt' \
    ! -path "$build/Testing/*" ! -path '*/_CPack_Packages/*' | head -n 5)
[ -z "$written" ] || problem "cmake --install wrote into the build tree: $written"

launcher="$prefix/$KESTRANO_GAMESDIR/kestrano"
program="$prefix/$KESTRANO_PROGRAMDIR/kestrano"
data="$prefix/$KESTRANO_GAMEDATADIR"
entry="$prefix/$KESTRANO_DATADIR/applications/$KESTRANO_APP_ID.desktop"
metainfo="$prefix/$KESTRANO_DATADIR/metainfo/$KESTRANO_APP_ID.metainfo.xml"
icons="$prefix/$KESTRANO_DATADIR/icons/hicolor"

# --- The layout -------------------------------------------------------------

[ -x "$launcher" ] || problem "no executable launcher at ${launcher#"$prefix"/}"
[ -x "$program" ] || problem "no executable program at ${program#"$prefix"/}"
if [ -f "$program" ] && ! head -c 4 "$program" | grep -q 'ELF'; then
    problem "${program#"$prefix"/} is not the compiled program"
fi

# The data folder holds exactly what the runnable folder holds besides the
# program: every picture, sound, the help page and the translation.
(cd "$KESTRANO_GAME_DIR" && find . -type f ! -path ./kestrano | sort) >"$work/runnable.txt"
[ -d "$data" ] && (cd "$data" && find . -type f | sort) >"$work/data.txt" ||
    problem "no data folder at ${data#"$prefix"/}"
if [ -f "$work/data.txt" ] && ! diff -u "$work/runnable.txt" "$work/data.txt" >"$work/data.diff"; then
    problem "the data folder differs from the runnable folder's data:"
    cat "$work/data.diff" >&2
fi
for needed in gazo/UB0.png gazo/s01.png gazo/D13D@2x.png wave/12-1/kidou html/12-1.html \
    Kestrano_ja.qm; do
    grep -qxF "./$needed" "$work/runnable.txt" || problem "the runnable folder lacks $needed"
done
while read -r file; do
    cmp -s "$KESTRANO_GAME_DIR/$file" "$data/$file" || problem "installed $file differs from the build's"
done <"$work/runnable.txt"

for pixels in 48 128 256; do
    icon="$icons/${pixels}x$pixels/apps/$KESTRANO_APP_ID.png"
    if [ ! -f "$icon" ]; then
        problem "no ${pixels} px icon"
    elif [ "$(identify -format '%wx%h' "$icon")" != "${pixels}x$pixels" ]; then
        problem "the ${pixels} px icon is $(identify -format '%wx%h' "$icon")"
    fi
done
svg="$icons/scalable/apps/$KESTRANO_APP_ID.svg"
grep -q '<svg' "$svg" 2>/dev/null || problem "no scalable SVG icon"

# --- The desktop entry and the metainfo ---------------------------------------

[ -f "$entry" ] || fatal "no desktop entry at ${entry#"$prefix"/}"
desktop-file-validate "$entry" || problem "desktop-file-validate rejects the entry"
value() { sed -n "s/^$1=//p" "$entry" | head -n 1; }
[ "$(value Path)" = "$data" ] || problem "Path=$(value Path), expected the data folder $data"
[ "$(value Exec)" = "$launcher" ] || problem "Exec=$(value Exec), expected the launcher $launcher"
[ "$(value Categories)" = "Game;CardGame;" ] || problem "Categories=$(value Categories)"
[ "$(value Icon)" = "$KESTRANO_APP_ID" ] || problem "Icon=$(value Icon)"
for key in Keywords 'Name\[ja\]' 'Comment\[ja\]'; do
    [ -n "$(value "$key")" ] || problem "the entry has no ${key//\\/}="
done

[ -f "$metainfo" ] || fatal "no metainfo at ${metainfo#"$prefix"/}"
appstreamcli validate --no-net "$metainfo" >"$work/appstream.log" 2>&1 || {
    problem "appstreamcli rejects the metainfo:"
    cat "$work/appstream.log" >&2
}
grep -q "<launchable type=\"desktop-id\">$KESTRANO_APP_ID.desktop</launchable>" "$metainfo" ||
    problem "the metainfo does not launch $KESTRANO_APP_ID.desktop"
grep -q '<screenshot type="default">' "$metainfo" || problem "the metainfo has no screenshot"
grep -q '<content_rating type="oars-1.1"' "$metainfo" || problem "the metainfo has no content rating"
grep -q "<release version=\"$KESTRANO_VERSION\"" "$metainfo" ||
    problem "the metainfo has no release $KESTRANO_VERSION"

# --- The manual page ---------------------------------------------------------------

page="$prefix/$KESTRANO_MANDIR/man6/kestrano.6.gz"
if [ ! -f "$page" ]; then
    problem "no manual page at ${page#"$prefix"/}"
else
    MANWIDTH=200 man --warnings -l "$page" >"$work/man.txt" 2>"$work/man.log" ||
        problem "man -l cannot render the manual page"
    [ ! -s "$work/man.log" ] || { problem "man -l warns:"; cat "$work/man.log" >&2; }
    grep -q 'kestrano - five-round card match' "$work/man.txt" || problem "the manual page has no NAME line"
    # It names the installed files under the prefix they were installed to.
    grep -qF "$launcher" "$work/man.txt" || problem "the manual page does not name $launcher"
    grep -qF "$data/" "$work/man.txt" || problem "the manual page does not name $data/"
fi

# --- Starting the moved tree through its launcher ------------------------------

# Moved, so that nothing can lean on the folder it was installed to.
moved="$work/moved"
mv "$prefix" "$moved"
launcher="$moved/$KESTRANO_GAMESDIR/kestrano"
program="$moved/$KESTRANO_PROGRAMDIR/kestrano"
elsewhere="$work/elsewhere"
mkdir -p "$elsewhere"

export HOME="$work/home"
export XDG_RUNTIME_DIR="$work/runtime"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-session-bus"
export PULSE_SERVER="unix:$work/no-sound-server"
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
mkdir -m 700 "$HOME" "$XDG_RUNTIME_DIR"

start_xvfb "$lifetime" -noreset || fatal "Xvfb did not start"

# The card back's commonest colours, each with its count of pixels.
convert "${KESTRANO_GAME_DIR}/gazo/UB0.png" -format %c histogram:info:- |
    sed -n 's/^ *\([0-9]*\):.*#\([0-9A-F]\{6\}\)FF .*/\2 \1/p' | sort -k2,2nr | head -n 5 \
        >"$work/back-colours.txt"
[ "$(wc -l <"$work/back-colours.txt")" -eq 5 ] || fatal "cannot read the card back's colours"

# Starts COMMAND from the foreign folder, takes a picture of its window into
# FILE and stops it.  Prints the game's working directory.
shot() {
    local file=$1
    shift
    (cd "${from:-$elsewhere}" && exec timeout "$lifetime" "$@") >"$work/game.out" 2>"$work/game.log" &
    local game=$!
    pids+=("$game")
    local window
    window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Title:12-1$' 2>/dev/null |
        head -n 1) || true
    if [ -z "$window" ]; then
        kill "$game" 2>/dev/null || true
        fatal "the game window did not appear (started as: $*)"
    fi
    # The first frame follows the window's mapping closely; give it a moment.
    sleep 1
    import -window "$window" "$file"
    local game_pid
    game_pid=$(xdotool getwindowpid "$window")
    readlink "/proc/$game_pid/cwd" || true
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

cwd=$(shot "$work/launcher.png" "$launcher")
[ "$cwd" = "$moved/$KESTRANO_GAMEDATADIR" ] ||
    problem "the launcher started the game in $cwd, not in its data folder"
shows_card_back "$work/launcher.png" ||
    problem "started through the launcher from $elsewhere, the window shows no card back (see $work/launcher.png)"

# A symbolic link to the launcher (in a folder of one's own on the PATH, say)
# leads to the same tree.
mkdir -p "$work/bin"
ln -s "$launcher" "$work/bin/kestrano"
cwd=$(shot "$work/symlink.png" "$work/bin/kestrano")
[ "$cwd" = "$moved/$KESTRANO_GAMEDATADIR" ] ||
    problem "started through a link to the launcher, the game ran in $cwd, not in its data folder"

# Started by a relative path with a CDPATH that holds a folder of the same
# name: the launcher goes by its own place, and prints nothing.
mkdir -p "$work/decoy/$KESTRANO_GAMESDIR"
cwd=$(from="$moved" shot "$work/cdpath.png" env CDPATH="$work/decoy" "$KESTRANO_GAMESDIR/kestrano")
[ "$cwd" = "$moved/$KESTRANO_GAMEDATADIR" ] ||
    problem "started by a relative path under CDPATH, the game ran in $cwd, not in its data folder"
if grep -qF "$work/decoy" "$work/game.out"; then
    problem "the launcher printed a CDPATH folder on the game's standard output"
fi

# The same program started directly from the foreign folder finds no data: if
# the check above saw a card back here too, it could not tell the difference.
shot "$work/direct.png" "$program" >/dev/null
if shows_card_back "$work/direct.png"; then
    problem "the card back check also passes for a game without its data, so it proves nothing"
fi

[ "$failures" -eq 0 ] || exit 1
say "the tree installs, validates, moves and starts through its launcher showing the card back"
