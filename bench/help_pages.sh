#!/usr/bin/env bash
# Start-up with a damaged help page.  The table builds the help window, which
# lays its page out at once, so a page the game's checks let through but the
# text browser is slow on keeps the table from appearing.  This times exec to
# the table's first painted frame (bench/first_frame) with html/12-1.html
# replaced by 250 KB of one piece of markup repeated, for many pieces, and by
# pages at the game's limits, which it still shows; then it counts the file
# lookups of missing pictures once the help window is open (strace).  Not a test: it
# measures, it does not judge (figures of the last run: docs/performance.md).
#
#   bench/help_pages.sh [BUILD_DIR] [STARTS] [TIMEOUT]      (build, 3, 120)
#
# KESTRANO_PROGRAM=FILE times another build of the game on the same pages,
# such as one built from an older commit.  Prints a Markdown table: the
# median first frame of STARTS starts per page, or "> TIMEOUT s".
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
starts=${2:-3}
timeout=${3:-120}
page_bytes=$((250 * 1024))

say() { echo "help_pages: $*" >&2; }

for tool in Xvfb xdotool strace cmake; do
    command -v "$tool" >/dev/null || { say "$tool is not installed"; exit 1; }
done

say "building in $build"
cmake -D KESTRANO_BUILD_BENCH=ON "$build" >/dev/null
cmake --build "$build" --target kestrano kestrano_data first_frame >/dev/null
harness="$build/bench/first_frame"
program=${KESTRANO_PROGRAM:-$build/game/kestrano}

lib="$here/../tests/lib"
# shellcheck source=../tests/lib/scratch.sh
source "$lib/scratch.sh"
# shellcheck source=../tests/lib/xvfb.sh
source "$lib/xvfb.sh"
# shellcheck source=../tests/lib/pulse.sh
source "$lib/pulse.sh"
make_scratch help-pages
isolate_session
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
start_xvfb 7200 -noreset || { say "Xvfb did not start"; exit 1; }

# The runnable folder with the program to time and a picture in html/.
game="$work/game"
cp -R "$build/game" "$game"
cp "$program" "$game/kestrano"
cp "$game/gazo/UB0.png" "$game/html/card.png"
real_page=$(cat "$game/html/12-1.html")

# copies COUNT PIECE: PIECE, COUNT times over.
copies() { awk -v n="$1" -v piece="$2" 'BEGIN { for (i = 0; i < n; i++) printf "%s", piece }'; }
# filled PIECE: "<html><body>", then PIECE as often as fits in the page.
filled() {
    local head='<html><body>'
    printf '%s' "$head"
    copies $(((page_bytes - ${#head}) / $(printf '%s' "$1" | wc -c))) "$1"
}

# time_page NAME: STARTS starts on the page now in html/12-1.html.
time_page() {
    local times=() line
    for _ in $(seq "$starts"); do
        if line=$(cd "$game" && "$harness" --idle 0 --timeout "$timeout" -- ./kestrano \
            2>>"$work/programs.log"); then
            times+=("$(sed -E 's/.*frame_ms=([0-9.]+).*/\1/' <<<"$line")")
        else
            times+=(inf)
        fi
    done
    printf '%s\n' "${times[@]}" | sort -g |
        awk -v name="$1" -v bytes="$(wc -c <"$game/html/12-1.html")" -v limit="$timeout" '
        { v[NR] = $1 } END { m = v[int((NR + 1) / 2)]
            printf "| %s | %d | %s |\n", name, bytes,
                m == "inf" ? "> " limit " s" : sprintf("%.0f", m) }'
}

# The pieces, each repeated to fill a page: x.png is no file, card.png a picture.
pieces=(
    '<img>'
    '<img src="x.png">'
    '<img src="card.png">'
    '<option>'
    '<option>x'
    '<p>'
    '<p>x'
    '</p>'
    '<br>'
    '<hr>'
    '<td>'
    '<td>x'
    '<tr>'
    '<tr><td>x'
    '<li>'
    '<li>x'
    '<dt>x'
    '<a>'
    '<a href="#x">x</a>'
    '<b>'
    '<b>x</b>'
    '</b>'
    '<font>'
    '<font color=red>x</font>'
    '<span style="color:red">x</span>'
    '<table>'
    '<table><tr><td>x</td></tr></table>'
    '<div>'
    '<h1>x</h1>'
    '<pre>x</pre>'
    '<select>'
    '<x>'
    '<style>p{color:red}</style>'
    '<!---->'
    '&nbsp;'
    '&amp;'
    '&#12354;'
    'x'
    'x '
)

echo "Start-up with a help page of $page_bytes bytes or less, $(nproc) cores, $(uname -r)," \
    "load average $(cut -d' ' -f1-3 /proc/loadavg); $program."
echo
echo "| help page | bytes | first frame, median ms |"
echo "|---|---|---|"
time_page "the real page"
for piece in "${pieces[@]}"; do
    say "$piece"
    filled "$piece" >"$game/html/12-1.html"
    time_page "\`$piece\` repeated"
done

# Pages that are not one piece repeated: the real page with a style sheet of
# 20,000 rules, and a sheet of as many rules, inline or linked, on 2,000
# paragraphs; then pages at the game's limits (elements count <html> and
# <body> too).
with_style() { printf '%s' "${real_page/<\/head>/<style>$1</style></head>}"; }
with_style "$(copies 20000 'p{color:red}')" >"$game/html/12-1.html"
time_page "the real page with a style sheet of 20,000 rules"
printf '<html><head><style>%s</style></head><body>%s' "$(copies 19000 'p{color:red}')" \
    "$(copies 2000 '<p>x')" >"$game/html/12-1.html"
time_page "a style sheet of 19,000 rules on 2,000 paragraphs"
copies 20000 'p{color:red}' >"$game/html/many.css"
printf '<html><head><link rel="stylesheet" type="text/css" href="many.css"></head><body>%s' \
    "$(copies 2000 '<p>x')" >"$game/html/12-1.html"
time_page "a linked style sheet of 20,000 rules on 2,000 paragraphs"
printf '<html><body>%s' "$(copies 1998 '<p>x')" >"$game/html/12-1.html"
time_page "at the limits: 2,000 elements, \`<p>x\`"
printf '<html><body>%s' "$(copies 1998 '<option>x')" >"$game/html/12-1.html"
time_page "at the limits: 2,000 elements, \`<option>x\`"
printf '<html><body>%s' "$(copies 200 '<img src="x.png">')" >"$game/html/12-1.html"
time_page "at the limits: 200 missing pictures"
copies 64 'p{color:red}' >"$game/html/a.css"
printf '<html><head><style>%s</style>%s</head><body>%s' "$(copies 64 'p{color:red}')" \
    '<link rel="stylesheet" type="text/css" href="a.css">' "$(copies 1995 '<p>x')" \
    >"$game/html/12-1.html"
time_page "at the limits: 2 style sheets of 64 rules on 2,000 elements"
printf '<html><head><style>%s</style>%s</head><body>%s%s' "$(copies 64 'p{color:red}')" \
    '<link rel="stylesheet" type="text/css" href="a.css">' "$(copies 200 '<img src="x.png">')" \
    "$(copies 1795 '<p>x')" >"$game/html/12-1.html"
time_page "at every limit at once: 2 sheets of 64 rules, 200 missing pictures, 2,000 elements"

# Lookups: a page of 100 missing pictures, each of its own name, the help
# window opened from the menu (Help, its second entry) and left for 3 s; then
# the lookups of those names, of any spelling, counted.
say "counting lookups of a missing picture"
awk 'BEGIN { printf "<html><body>"; for (i = 0; i < 100; i++) printf "<img src=\"x%d.png\">", i }' \
    >"$game/html/12-1.html"
(cd "$game" && exec strace -f -qq -e trace=openat,open,stat,newfstatat,statx,access \
    -o "$work/lookups.txt" ./kestrano >/dev/null 2>>"$work/programs.log") &
pids+=($!)
table=$(table_window)
[ -n "$table" ] || { say "the table did not show"; exit 1; }
xdotool windowfocus --sync "$table" key alt+h
sleep 0.5
xdotool key Down
sleep 0.5
xdotool key Return
sleep 3
kill "$(pgrep -P "${pids[-1]}" -x kestrano || true)" 2>/dev/null || true
wait "${pids[-1]}" 2>/dev/null || true
lookups=$(grep -c 'x[0-9]*\.png' "$work/lookups.txt" || true)
echo
echo "Lookups of missing pictures, the help window open on a page of 100 of them:" \
    "$lookups in all, $(awk -v n="$lookups" 'BEGIN { printf "%.2f", n / 100 }') a picture."
