#!/usr/bin/env bash
# Runs the fuzz targets of the three checks of what the game reads: the sounds
# (wave_file_fuzzer), the translation (qm_file_fuzzer) and the help page
# (help_page_fuzzer).  Each starts from a corpus of the game's own files,
# copied from the default build's runnable folder build/game/ (build that
# first), and the translation also as `lrelease -compress` writes it, with
# its table of contexts.  The targets and that seed are built here by the
# "fuzz" presets, with clang and its sanitizers, in build-fuzz/.
#
#   tests/fuzz/run.sh               a fixed number of inputs each, always the
#                                   same ones (test.sh's fuzz stage)
#   tests/fuzz/run.sh --long [S]    the longer run: S seconds each (900 unless
#                                   given), a new seed each time, the corpus
#                                   kept and grown in build-fuzz/corpus/
#   ... NAME...                     only these targets (wave_file, qm_file,
#                                   help_page)
#
# Any crash, leak, sanitizer report or timeout fails the run.  libFuzzer keeps
# the input that did it in build-fuzz/findings/ (crash-*, leak-*, timeout-*);
# build-fuzz/tests/fuzz/NAME_fuzzer FILE plays it again (for the help page,
# from a folder holding html/).  What each target said is in
# build-fuzz/logs/NAME.log.
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
top=$(cd "$here/../.." && pwd)
game="$top/build/game"
targets="$top/build-fuzz/tests/fuzz"
findings="$top/build-fuzz/findings"
logs="$top/build-fuzz/logs"

say() { echo "fuzz: $*"; }

# shellcheck source=../lib/scratch.sh
source "$here/../lib/scratch.sh"
make_scratch fuzz
need clang++

long=false
seconds=900
if [ "${1:-}" = --long ]; then
    long=true
    shift
    if [[ ${1:-} =~ ^[0-9]+$ ]]; then
        seconds=$1
        shift
    fi
fi
only=("$@")

for file in "$game/Kestrano_ja.qm" "$game/html/12-1.html" "$game/wave/12-1/deel.wav"; do
    [ -f "$file" ] || fatal "no $file: build the game first (cmake --build --preset default)"
done
(cd "$top" && { [ -f build-fuzz/build.ninja ] || cmake --preset fuzz; } &&
    cmake --build --preset fuzz) >"$work/build.log" 2>&1 || fatal "the fuzz targets do not build"

# The help page's target lays pages out as the help window does, reading what
# they link from html/ under its working folder: a copy of the game's.
mkdir -p "$work/game" "$findings" "$logs"
cp -R "$game/html" "$work/game/"

# NAME INPUTS SEEDS...: one target, INPUTS inputs (or, in the longer run,
# $seconds seconds) from a corpus of SEEDS, with the words of NAME.dict when
# there is one.
fuzz() {
    local name=$1 inputs=$2 corpus log status=0
    shift 2
    [ ${#only[@]} -eq 0 ] || [[ " ${only[*]} " == *" $name "* ]] || return 0
    corpus="$work/corpus-$name"
    local options=(-timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -artifact_prefix="$findings/$name-")
    [ ! -f "$here/$name.dict" ] || options+=(-dict="$here/$name.dict")
    if $long; then
        corpus="$top/build-fuzz/corpus/$name"
        options+=(-max_total_time="$seconds")
    else
        options+=(-runs="$inputs" -seed=1)
    fi
    mkdir -p "$corpus"
    cp "$@" "$corpus/"
    log="$logs/$name.log"
    (cd "$work/game" && exec env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0" \
        "$targets/${name}_fuzzer" "${options[@]}" "$corpus") >"$log" 2>&1 || status=$?
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$log" >&2
        problem "$name: libFuzzer stopped with status $status (all it said: $log)"
        return
    fi
    # libFuzzer's last word: inputs run, coverage, corpus, speed.
    say "$name: $(grep -E '^#[0-9]+' "$log" | tail -n 1)"
}

fuzz wave_file 300000 "$game"/wave/12-1/*
fuzz qm_file 30000 "$game/Kestrano_ja.qm" "$targets/Kestrano_ja_compressed.qm"
fuzz help_page 1000 "$game/html/12-1.html"
[ "$failures" -eq 0 ]
