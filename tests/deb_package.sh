#!/usr/bin/env bash
# The Debian package: `cpack -G DEB` must build a .deb that installs its files
# where `cmake --install --prefix /usr` puts them, depends on the packages of
# the libraries the program links (as dpkg-shlibdeps finds them), recommends a
# Japanese font, carries the card deck's authors and licence in its copyright
# file, and has a desktop entry that points into /usr, not into the folder
# the package was staged in.
#
#   deb_package.sh BUILD_DIR
#
# From the environment (set by tests/packaging.cmake): CMAKE_COMMAND,
# CPACK_COMMAND, KESTRANO_APP_ID, KESTRANO_GAMESDIR, KESTRANO_PROGRAMDIR,
# KESTRANO_GAMEDATADIR, KESTRANO_DATADIR.
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

build=${1:?usage: deb_package.sh BUILD_DIR}
: "${KESTRANO_APP_ID:?}" "${KESTRANO_GAMESDIR:?}" "${KESTRANO_PROGRAMDIR:?}"
: "${KESTRANO_GAMEDATADIR:?}" "${KESTRANO_DATADIR:?}"
cmake_command=${CMAKE_COMMAND:-cmake}
cpack_command=${CPACK_COMMAND:-cpack}
# Debian's own record of the deck's authors, from the package that ships it.
deck_copyright=/usr/share/doc/kdegames-card-data-kf5/copyright

say() { echo "deb_package: $*"; }

# shellcheck source=lib/scratch.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/scratch.sh"
make_scratch deb

for tool in dpkg-deb dpkg-shlibdeps objdump readelf lintian; do
    command -v "$tool" >/dev/null || fatal "$tool is not installed (run tools/ensure-packages.sh)"
done

(cd "$work" && "$cpack_command" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out") \
    >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    fatal "cpack -G DEB failed"
}
debs=("$work"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fatal "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}
say "built ${deb##*/}"

# --- Files where the tree says ---------------------------------------------------

DESTDIR="$work/tree" "$cmake_command" --install "$build" --prefix /usr >"$work/install.log" ||
    fatal "cmake --install --prefix /usr failed"
(cd "$work/tree" && find . ! -type d | sed 's|^\.||' | sort) >"$work/tree.txt"
# dpkg-deb -c lists like tar -tv: the path is the sixth field ("./usr/...").
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $6 }' | sort >"$work/deb.txt"
if ! diff -u "$work/tree.txt" "$work/deb.txt" >"$work/files.diff"; then
    problem "the package's files differ from the installed tree's (- tree, + package):"
    cat "$work/files.diff" >&2
fi
mode() { dpkg-deb -c "$deb" | awk -v path="./usr/$1" '$6 == path { print $1 }'; }
[ "$(mode "$KESTRANO_GAMESDIR/kestrano")" = "-rwxr-xr-x" ] || problem "the launcher is not executable"
[ "$(mode "$KESTRANO_PROGRAMDIR/kestrano")" = "-rwxr-xr-x" ] || problem "the program is not executable"

# --- Control fields ---------------------------------------------------------------

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kestrano ] || problem "Package: $(field Package)"
[ "$(field Section)" = games ] || problem "Section: $(field Section)"
depends=$(field Depends)
# The package names alone, one a line.
tr ',|' '\n\n' <<<"$depends" | sed -e 's/(.*//' -e 's/[[:space:]]//g' -e '/^$/d' >"$work/depends.txt"
# Every library the program needs, by the package that ships it here.
extract="$work/extracted"
dpkg-deb -x "$deb" "$extract"
ldconfig -p >"$work/ldconfig.txt"
objdump -p "$extract/usr/$KESTRANO_PROGRAMDIR/kestrano" | awk '$1 == "NEEDED" { print $2 }' \
    >"$work/needed.txt"
[ -s "$work/needed.txt" ] || problem "the packaged program needs no libraries?"
while read -r soname; do
    library=$(awk -v name="$soname" '$1 == name { print $NF; exit }' "$work/ldconfig.txt")
    [ -n "$library" ] || { problem "$soname is not installed here"; continue; }
    owner=$( (dpkg -S "$library" 2>/dev/null || dpkg -S "$(readlink -f "$library")") |
        sed -n '1s/:.*//p')
    grep -qxF "$owner" "$work/depends.txt" ||
        problem "Depends lacks $owner (for $soname): $depends"
done <"$work/needed.txt"
[[ "$(field Recommends)" == *fonts-noto-cjk* ]] ||
    problem "Recommends names no Japanese font: $(field Recommends)"

# --- Copyright file ----------------------------------------------------------------

copyright="$extract/usr/share/doc/kestrano/copyright"
if [ ! -f "$copyright" ]; then
    problem "no usr/share/doc/kestrano/copyright"
else
    grep -q 'svg-standard' "$copyright" || problem "the copyright file does not name the svg-standard deck"
    grep -q '^License: GPL-2+' "$copyright" || problem "the copyright file has no GPL-2+ licence"
    grep -q '/usr/share/common-licenses/GPL-2' "$copyright" ||
        problem "the copyright file does not point to the GPL-2 text"
    if [ -f "$deck_copyright" ]; then
        # The holders of the stanza that covers carddecks/svg-standard/*.
        awk '/^Files:/ { inside = 0 } /carddecks\/svg-standard\// { inside = 1 }
             inside && /^(Copyright:| )/ && !/^ *(carddecks|declarativeimports|kgame|libkdegames)/ {
                 sub(/^(Copyright:)? +/, ""); sub(/^[0-9, -]+/, ""); sub(/ *<.*/, ""); print }
             /^License:/ { inside = 0 }' "$deck_copyright" | sort -u >"$work/deck-holders.txt"
        [ -s "$work/deck-holders.txt" ] || problem "cannot read the deck's holders from $deck_copyright"
        while read -r holder; do
            grep -qF "$holder" "$copyright" || problem "the copyright file lacks the deck's holder $holder"
        done <"$work/deck-holders.txt"
    fi
fi

# --- The desktop entry points into /usr ----------------------------------------------

entry="$extract/usr/$KESTRANO_DATADIR/applications/$KESTRANO_APP_ID.desktop"
if [ -f "$entry" ]; then
    grep -qx "Path=/usr/$KESTRANO_GAMEDATADIR" "$entry" || problem "packaged $(grep '^Path=' "$entry")"
    grep -qx "Exec=/usr/$KESTRANO_GAMESDIR/kestrano" "$entry" || problem "packaged $(grep '^Exec=' "$entry")"
else
    problem "no desktop entry in the package"
fi

# --- The program is hardened --------------------------------------------------------

program="$extract/usr/$KESTRANO_PROGRAMDIR/kestrano"
# Captured first: `grep -q` leaving a pipe early would fail it under pipefail.
elf=$(readelf -hlSdW "$program")
symbols=$(objdump -T "$program")
grep -q 'Type: *DYN' <<<"$elf" || problem "the program is not position-independent"
grep -q GNU_RELRO <<<"$elf" || problem "the program has no read-only relocations"
grep -Eq '\(FLAGS(_1)?\).*\bNOW\b' <<<"$elf" ||
    problem "the program's relocations are not bound at start (-z now)"
grep -q '__stack_chk_fail' <<<"$symbols" || problem "the program has no stack protector"
grep -Eq '__[a-z]+_chk\b' <<<"$symbols" || problem "the program calls no fortified functions"
! grep -qF '.comment' <<<"$elf" || problem "the program keeps its .comment section"

# --- The manual page and the changelog ------------------------------------------------

[ -s "$extract/usr/share/man/man6/kestrano.6.gz" ] || problem "no manual page kestrano(6)"
[ -s "$extract/usr/share/doc/kestrano/changelog.Debian.gz" ] || problem "no changelog.Debian.gz"
zcat "$extract/usr/share/doc/kestrano/changelog.Debian.gz" 2>/dev/null |
    grep -q "^kestrano ($(field Version)) " || problem "the changelog's entry is not for $(field Version)"

# --- Debian's own judgement: no error and no warning ----------------------------------------

if ! lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1; then
    problem "lintian finds errors or warnings, or cannot judge the package:"
    cat "$work/lintian.txt" >&2
fi

[ "$failures" -eq 0 ] || exit 1
say "Depends: $depends"
say "the package holds the installed tree, its dependencies and the deck's copyright," \
    "its program is hardened, and lintian accepts it"
