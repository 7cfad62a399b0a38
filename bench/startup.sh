#!/usr/bin/env bash
# Start-up benchmark: the game against a floor program, side by side in one
# run.  The floor (bench/floor) is a window with the game's furniture and none
# of its logic: the same size, a menu bar, a status bar, card places with the
# card back, buttons, a hidden text browser on the help page, a hidden about
# window and the sound effects.  Not a test: it measures, it does not judge
# (targets and the figures of the last run are in docs/performance.md).
#
#   bench/startup.sh [BUILD_DIR] [STARTS] [IDLE_STARTS]     (build, 20, 3)
#
# Builds what it needs, installs the game into a temporary prefix, then starts
# three programs in turn (the order flips every round) on a private Xvfb with
# a private PulseAudio server (null sink):
#
#   floor     BUILD_DIR/bench/kestrano_floor, from the runnable folder
#   game      BUILD_DIR/game/kestrano, from the runnable folder
#   launcher  the installed tree's launcher, from another folder
#
# Each start is measured by bench/first_frame: time from exec to the first
# painted frame of the 640 x 480 window (X DAMAGE) and the CPU used until
# then.  STARTS starts of each program are left alone for 1 s after the
# frame; IDLE_STARTS more for 10 s, which give peak resident memory (VmHWM),
# the CPU and wake-ups of those 10 s, and the sound server's clients and
# streams of the process at their end.  One round of warm-up starts is not
# counted.  Prints a Markdown summary with medians and the game's ratios to
# the floor; the raw lines are kept.
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
starts=${2:-20}
idle_starts=${3:-3}
idle=10
game_dir="$build/game"

say() { echo "startup: $*" >&2; }

for tool in Xvfb pulseaudio pactl cmake; do
    command -v "$tool" >/dev/null || { say "$tool is not installed"; exit 1; }
done

say "building in $build"
cmake -D KESTRANO_BUILD_BENCH=ON "$build" >/dev/null
cmake --build "$build" --target kestrano kestrano_data kestrano_icon kestrano_floor first_frame \
    >/dev/null
harness="$build/bench/first_frame"
floor="$build/bench/kestrano_floor"

# The scratch folder, the private session, its sound server and display are
# those of the shell tests.  The raw results stay in the folder.
lib="$here/../tests/lib"
# shellcheck source=../tests/lib/scratch.sh
source "$lib/scratch.sh"
# shellcheck source=../tests/lib/xvfb.sh
source "$lib/xvfb.sh"
# shellcheck source=../tests/lib/pulse.sh
source "$lib/pulse.sh"
make_scratch bench
keep_work=true
readonly lifetime=3600 # seconds any helper process may live

cmake --install "$build" --prefix "$work/prefix" >/dev/null
launcher="$work/prefix/games/kestrano"
mkdir -p "$work/elsewhere"

# Nothing of the caller's session: no desktop, no session bus, no real sound.
isolate_session
export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
start_pulseaudio "$lifetime" bench_null || { say "the private PulseAudio server did not start"; exit 1; }
start_xvfb "$lifetime" -noreset || { say "Xvfb did not start"; exit 1; }

# The sound server's view of the process: connected clients and open streams.
cat >"$work/probe.sh" <<'PROBE'
clients=$(pactl list clients 2>/dev/null | grep -c "application.process.id = \"$1\"") || true
streams=$(pactl list sink-inputs 2>/dev/null | grep -c "application.process.id = \"$1\"") || true
echo "audio_clients=$clients audio_streams=$streams"
PROBE

# measure NAME SECONDS KIND: one start of program NAME left for SECONDS after
# its first frame; its line, tagged KIND, goes to the results.
measure() {
    local name=$1 seconds=$2 kind=${3:-warm-up} folder command
    case "$name" in
    floor) folder=$game_dir command=$floor ;;
    game) folder=$game_dir command=$game_dir/kestrano ;;
    launcher) folder=$work/elsewhere command=$launcher ;;
    esac
    local line
    line=$(cd "$folder" && "$harness" --idle "$seconds" --probe "bash $work/probe.sh \$1" \
        -- "$command" 2>>"$work/programs.log") || {
        say "the $name start failed:"
        tail -n 3 "$work/programs.log" >&2
        exit 1
    }
    echo "$name kind=$kind $line" >>"$work/results.txt"
}

load() { cut -d' ' -f1-3 /proc/loadavg; }
load_before=$(load)
programs=(floor game launcher)
say "warming up"
for name in "${programs[@]}"; do
    measure "$name" 1
done
: >"$work/results.txt"
# round ROUND SECONDS KIND: each program once, the order flipped on even rounds.
round() {
    local order=("${programs[@]}")
    [ $(($1 % 2)) -eq 0 ] && order=(launcher game floor)
    for name in "${order[@]}"; do
        measure "$name" "$2" "$3"
    done
}
for number in $(seq "$starts"); do
    say "start-up round $number of $starts"
    round "$number" 1 start
done
for number in $(seq "$idle_starts"); do
    say "idle round $number of $idle_starts ($idle s each)"
    round "$number" "$idle" idle
done

# Values of KEY for program NAME in starts of KIND, one a line.
values() { awk -v name="$1" -v kind="kind=$2" -v key="$3" '$1 == name && $2 == kind {
    for (i = 3; i <= NF; i++) { split($i, kv, "="); if (kv[1] == key) print kv[2] } }' \
    "$work/results.txt"; }
median() { sort -g | awk '{ v[NR] = $1 } END {
    if (NR == 0) print "nan"; else if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
smallest() { sort -g | head -n 1; }
largest() { sort -g | tail -n 1; }
fmt() { awk -v v="$1" -v d="$2" 'BEGIN { printf "%.*f", d, v }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
megabytes() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb / 1024 }'; }

echo "Kestrano against the floor, $(date -u +%Y-%m-%d): $(nproc) cores, $(uname -r)," \
    "Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo 6), Xvfb 1024x768x24;" \
    "load average $load_before before the run, $(load) after."
echo
echo "Start-up, $starts starts of each program:"
echo
echo "| program | first frame, median ms | fastest ms | slowest ms | CPU to first frame, median ms |"
echo "|---|---|---|---|---|"
for name in "${programs[@]}"; do
    printf '| %s | %s | %s | %s | %s |\n' "$name" \
        "$(fmt "$(values "$name" start frame_ms | median)" 1)" \
        "$(fmt "$(values "$name" start frame_ms | smallest)" 1)" \
        "$(fmt "$(values "$name" start frame_ms | largest)" 1)" \
        "$(fmt "$(values "$name" start startup_cpu_ms | median)" 1)"
done
echo
echo "Memory and idling, $idle_starts starts of each program, each left alone for $idle s after its first frame:"
echo
echo "| program | peak resident MB, median | idle CPU ms, most | idle CPU ticks ms, most | idle wake-ups, most | threads | sound clients / streams, most |"
echo "|---|---|---|---|---|---|---|"
for name in "${programs[@]}"; do
    printf '| %s | %s | %s | %s | %s | %s | %s / %s |\n' "$name" \
        "$(megabytes "$(values "$name" idle peak_kb | median)")" \
        "$(fmt "$(values "$name" idle idle_cpu_ms | largest)" 2)" \
        "$(values "$name" idle idle_tick_ms | largest)" \
        "$(values "$name" idle idle_switches | largest)" \
        "$(values "$name" idle threads | largest)" \
        "$(values "$name" idle audio_clients | largest)" \
        "$(values "$name" idle audio_streams | largest)"
done
echo
floor_frame=$(values floor start frame_ms | median)
floor_cpu=$(values floor start startup_cpu_ms | median)
floor_peak=$(values floor idle peak_kb | median)
for name in game launcher; do
    echo "- $name / floor: first frame $(ratio "$(values "$name" start frame_ms | median)" "$floor_frame")" \
        "(target <= 1.15), CPU to first frame" \
        "$(ratio "$(values "$name" start startup_cpu_ms | median)" "$floor_cpu")," \
        "peak memory $(ratio "$(values "$name" idle peak_kb | median)" "$floor_peak") (target <= 1.10)"
done
echo
say "raw results: $work/results.txt"
