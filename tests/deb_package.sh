#!/usr/bin/env bash
# The Debian package from `cpack -G DEB`: the files of `cmake --install
# --prefix /usr`, the packages of the libraries the program links, a Japanese
# font recommended, the card deck's authors and licence, a desktop entry into
# /usr, a hardened program, and no error or warning from lintian.  Built again
# from a copy of the sources in other folders, the package has the same bytes.
#
#   deb_package.sh BUILD_DIR    (the layout comes from tests/CMakeLists.txt;
#                                KESTRANO_FORTIFIED=0 without _FORTIFY_SOURCE,
#                                KESTRANO_BUILD_AGAIN=0 without the second build)
# shellcheck source-path=SCRIPTDIR
set -euo pipefail # an unset KESTRANO_* variable ends it

build=${1:?usage: deb_package.sh BUILD_DIR}
# Debian's own record of the deck's authors, from the package that ships it.
deck_copyright=/usr/share/doc/kdegames-card-data-kf5/copyright

say() { echo "deb_package: $*"; }

# shellcheck source=lib/scratch.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/scratch.sh"
make_scratch deb
need dpkg-deb dpkg-shlibdeps objdump readelf lintian

# CPack stamps every archive member and every file with SOURCE_DATE_EPOCH;
# unset, it is the last commit's time, as in the README (in a copy without
# git, the release's).
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$KESTRANO_SOURCE_DIR" log -1 --format=%ct 2>/dev/null ||
        date -d "$KESTRANO_CHANGELOG_DATE" +%s)
fi
export SOURCE_DATE_EPOCH

# package BUILD OUT: cpack makes one .deb of BUILD in OUT, named by $packaged.
package() {
    local debs
    (cd "$work" && "${CPACK_COMMAND:-cpack}" -G DEB --config "$1/CPackConfig.cmake" -B "$2") \
        >"$2.log" 2>&1 || fatal "cpack -G DEB failed in $1"
    debs=("$2"/*.deb)
    { [ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ]; } || fatal "expected one .deb, found: ${debs[*]}"
    packaged=${debs[0]}
}
package "$build" "$work/out"
deb=$packaged
say "built ${deb##*/}"
# lintian takes longest: it judges the package while the rest is checked.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 &
lintian=$!
pids+=("$lintian")

DESTDIR="$work/tree" "${CMAKE_COMMAND:-cmake}" --install "$build" --prefix /usr >"$work/install.log" ||
    fatal "cmake --install --prefix /usr failed"
(cd "$work/tree" && find . ! -type d | sed 's|^\.||' | sort) >"$work/tree.txt"
# dpkg-deb -c lists like tar -tv: the path is the sixth field ("./usr/...").
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\./, "", $6); print $1, $6 }' >"$work/deb.txt"
diff -u "$work/tree.txt" <(cut -d ' ' -f 2 "$work/deb.txt" | sort) >&2 ||
    problem "the package's files differ from the installed tree's (- tree, + package)"
for file in "$KESTRANO_GAMESDIR/kestrano" "$KESTRANO_PROGRAMDIR/kestrano"; do
    grep -qxF -- "-rwxr-xr-x /usr/$file" "$work/deb.txt" || problem "/usr/$file is not executable"
done

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = kestrano ] || problem "Package: $(field Package)"
[ "$(field Section)" = games ] || problem "Section: $(field Section)"
depends=$(field Depends)
# The package names alone, one a line.
tr ',|' '\n' <<<"$depends" | sed -e 's/(.*//' -e 's/[[:space:]]//g' -e '/^$/d' >"$work/depends.txt"
# Every library the program needs, by the package that ships it here.
extract="$work/extracted"
dpkg-deb -x "$deb" "$extract"
program="$extract/usr/$KESTRANO_PROGRAMDIR/kestrano"
ldconfig -p >"$work/ldconfig.txt"
objdump -p "$program" | awk '$1 == "NEEDED" { print $2 }' >"$work/needed.txt"
[ -s "$work/needed.txt" ] || problem "the packaged program needs no libraries?"
while read -r soname; do
    library=$(awk -v name="$soname" '$1 == name { print $NF; exit }' "$work/ldconfig.txt")
    [ -n "$library" ] || { problem "$soname is not installed here" && continue; }
    owner=$( (dpkg -S "$library" 2>/dev/null || dpkg -S "$(readlink -f "$library")") |
        sed -n '1s/:.*//p')
    grep -qxF "$owner" "$work/depends.txt" || problem "Depends lacks $owner (for $soname): $depends"
done <"$work/needed.txt"
[[ "$(field Recommends)" == *fonts-noto-cjk* ]] ||
    problem "Recommends names no Japanese font: $(field Recommends)"

doc="$extract/usr/share/doc/kestrano"
for line in svg-standard '^License: GPL-2+' /usr/share/common-licenses/GPL-2; do
    grep -q -- "$line" "$doc/copyright" 2>/dev/null || problem "the copyright file lacks $line"
done
if [ -f "$deck_copyright" ]; then
    # The holders of the stanza that covers carddecks/svg-standard/*.
    awk '/^Files:/ { inside = 0 } /carddecks\/svg-standard\// { inside = 1 }
         inside && /^(Copyright:| )/ && !/^ *(carddecks|declarativeimports|kgame|libkdegames)/ {
             sub(/^(Copyright:)? +/, ""); sub(/^[0-9, -]+/, ""); sub(/ *<.*/, ""); print }
         /^License:/ { inside = 0 }' "$deck_copyright" | sort -u >"$work/deck-holders.txt"
    [ -s "$work/deck-holders.txt" ] || problem "cannot read the deck's holders from $deck_copyright"
    while read -r holder; do
        grep -qF "$holder" "$doc/copyright" 2>/dev/null ||
            problem "the copyright file lacks the deck's holder $holder"
    done <"$work/deck-holders.txt"
fi

entry="$extract/usr/$KESTRANO_DATADIR/applications/$KESTRANO_APP_ID.desktop"
for line in "Path=/usr/$KESTRANO_GAMEDATADIR" "Exec=/usr/$KESTRANO_GAMESDIR/kestrano"; do
    grep -qxF "$line" "$entry" 2>/dev/null || problem "the packaged desktop entry lacks $line"
done

[ -s "$extract/usr/share/man/man6/kestrano.6.gz" ] || problem "no manual page kestrano(6)"
zcat "$doc/changelog.Debian.gz" 2>/dev/null | grep -q "^kestrano ($(field Version)) " ||
    problem "changelog.Debian.gz has no entry for $(field Version)"

# Captured first: `grep -q` leaving a pipe early would fail it under pipefail.
elf=$(readelf -hlSdW "$program")
symbols=$(objdump -T "$program")
grep -q 'Type: *DYN' <<<"$elf" || problem "the program is not position-independent"
grep -q GNU_RELRO <<<"$elf" || problem "the program has no read-only relocations"
grep -Eq '\(FLAGS(_1)?\).*\bNOW\b' <<<"$elf" ||
    problem "the program's relocations are not bound at start (-z now)"
grep -q '__stack_chk_fail' <<<"$symbols" || problem "the program has no stack protector"
[ "${KESTRANO_FORTIFIED:-1}" = 0 ] || grep -Eq '__[a-z]+_chk\b' <<<"$symbols" ||
    problem "the program calls no fortified functions"
! grep -qF '.comment' <<<"$elf" || problem "the program keeps its .comment section"

# The sources as git knows them, uncommitted changes included (in a copy
# without git, every file outside the build folders).
source_files() {
    if git -C "$KESTRANO_SOURCE_DIR" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git -C "$KESTRANO_SOURCE_DIR" ls-files -z
    else
        (cd "$KESTRANO_SOURCE_DIR" && find . -path './build*' -prune -o ! -type d -print0)
    fi
}

# diff's lines, if any: its status 1 (they differ) is no failure, 2 is.
lines_apart() { diff "$@" || [ $? -eq 1 ]; }

# What differs between the packages $1 and $2, one line each, by its name in
# the package: a file's contents, an entry of the control or data tar (mode,
# owner, size, time), an archive member (its header or its bytes).
package_differences() {
    local side member tar apart="$work/apart"
    for side in 1 2; do
        mkdir -p "$apart/$side/ar"
        (cd "$apart/$side/ar" && ar x "${!side}")
        dpkg-deb -R "${!side}" "$apart/$side/package"
    done
    lines_apart -rq "$apart"/{1,2}/package |
        sed -e "s|^Files $apart/1/package/DEBIAN/\([^ ]*\) and .*|contents of control file \1|" \
            -e "s|^Files $apart/1/package/\([^ ]*\) and .*|contents of ./\1|" \
            -e "s|^Only in $apart/\([12]\)/package\(.*\): |only in package \1: .\2/|"
    for tar in control:ctrl data:fsys; do
        lines_apart <(dpkg-deb --"${tar#*:}"-tarfile "$1" | tar -tv --full-time) \
            <(dpkg-deb --"${tar#*:}"-tarfile "$2" | tar -tv --full-time) |
            sed -n "s/^[<>] .* /${tar%:*}.tar.gz entry /p" | sort -u
    done
    {
        lines_apart <(ar tv "$1") <(ar tv "$2") | sed -n 's/^[<>] .* /archive member /p'
        for member in $(ar t "$1"); do
            cmp -s "$apart"/{1,2}/ar/"$member" || echo "archive member $member"
        done
    } | sort -u
}

# The game and its data built once more, from a copy of the sources at
# another path into another folder, with this build's generator, build type,
# compiler, flags and settings; the tests stay out.
build_again() {
    local again="$work/again" generator settings
    local names='CMAKE_(BUILD_TYPE|CXX_COMPILER|CXX_FLAGS|[A-Z]+_LINKER_FLAGS)[A-Z_]*'
    names+='|KESTRANO_[A-Z_]+'
    mkdir -p "$again/sources"
    # A file deleted but not yet from git is only a warning.
    source_files |
        tar -C "$KESTRANO_SOURCE_DIR" --null -T - --ignore-failed-read -cf - 2>"$again.log" |
        tar -C "$again/sources" -xf - || return
    generator=$(sed -n 's/^CMAKE_GENERATOR:INTERNAL=//p' "$build/CMakeCache.txt")
    # The cache's NAME:TYPE=VALUE lines, as -D options.
    mapfile -t settings < <(sed -n -E "s/^(($names):[A-Z]+=.*)/-D\1/p" "$build/CMakeCache.txt")
    "${CMAKE_COMMAND:-cmake}" -S "$again/sources" -B "$again/build" -G "$generator" \
        "${settings[@]}" -DBUILD_TESTING=OFF >>"$again.log" 2>&1 &&
        "${CMAKE_COMMAND:-cmake}" --build "$again/build" >>"$again.log" 2>&1
}

if [ "${KESTRANO_BUILD_AGAIN:-1}" = 0 ]; then
    say "not built a second time here (KESTRANO_BUILD_AGAIN=0)"
elif ! build_again; then
    problem "the second build failed (see again.log)"
else
    package "$work/again/build" "$work/again/out"
    if cmp -s "$deb" "$packaged"; then
        say "built again elsewhere, the package has the same bytes:" \
            "$(sha256sum <"$deb" | cut -d ' ' -f 1)"
    else
        package_differences "$deb" "$packaged" >"$work/differences.log"
        problem "built again elsewhere, the package differs in $(wc -l <"$work/differences.log")" \
            "places (differences.log), first: $(head -n 4 "$work/differences.log" | paste -sd '|')"
    fi
fi

wait "$lintian" || problem "lintian finds errors or warnings, or cannot judge the package (see lintian.log)"
[ "$failures" -eq 0 ] || exit 1
say "the package is whole and hardened, lintian accepts it; Depends: $depends"
