#!/usr/bin/env bash
# Ctrl+B in the game window must be heard, not just started (a sound that dies
# with the slot that starts it is silent): on a private X display and a
# private PulseAudio server, the null sink's monitor is recorded, and sox
# finds it silent up to the key press and loud within a few seconds after it.
#
#   audible_start_sound.sh GAME_BINARY RUNNABLE_FOLDER
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

binary=${1:?usage: audible_start_sound.sh GAME_BINARY RUNNABLE_FOLDER}
game_dir=${2:?usage: audible_start_sound.sh GAME_BINARY RUNNABLE_FOLDER}

readonly rate=44100
readonly bytes_per_second=$((rate * 2)) # mono, 16 bit
readonly lifetime=60                    # seconds any helper process may live
readonly listen_after=4                 # seconds recorded after the key press
readonly max_onset=3.0                  # the sound must start this soon after the key
readonly min_peak=0.05                  # loudness that counts as heard (full scale = 1)
readonly min_rms=0.005
readonly max_silence_peak=0.001         # what still counts as silence before the key

say() { echo "audible_start_sound: $*"; }

# shellcheck source=lib/scratch.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/scratch.sh"
# shellcheck source=lib/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/xvfb.sh"
# shellcheck source=lib/pulse.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/pulse.sh"
make_scratch sound

# Skipped (77) without pulseaudio only where installing it would remove
# another package (pipewire-audio, say), which the set-up refuses.
skip_if_refused pulseaudio pulseaudio

need Xvfb xdotool pulseaudio pactl parec sox timeout
[ -x "$binary" ] || fatal "no game binary at $binary"
[ -s "$game_dir/wave/12-1/kidou" ] || fatal "no start sound at $game_dir/wave/12-1/kidou"

isolate_session
start_pulseaudio "$lifetime" kestrano_null || fatal "the private PulseAudio server did not start"
start_xvfb "$lifetime" || fatal "Xvfb did not start"

# The game in the C locale, so that its title is known.
(cd "$game_dir" && exec timeout "$lifetime" env QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 LANG=C.UTF-8 \
    "$binary") >"$work/game-stdout.txt" 2>"$work/game.log" &
pids+=($!)
window=$(table_window)
[ -n "$window" ] || fatal "the game window \"Title:12-1\" did not appear on $DISPLAY"

# The recording's length follows the clock once the first data has arrived.
: >"$work/recording.raw"
timeout "$lifetime" parec --device=kestrano_null.monitor --latency-msec=20 \
    --format=s16le --rate=$rate --channels=1 >"$work/recording.raw" 2>"$work/parec.log" &
pids+=($!)
recorded() { stat -c %s "$work/recording.raw" 2>/dev/null || echo 0; }
has_recorded() { [ "$(recorded)" -ge "$1" ]; }
wait_for 10 has_recorded 1 || fatal "nothing arrives from the null sink's monitor"
wait_for 10 has_recorded $((bytes_per_second / 2)) || fatal "the recording stalls"

xdotool windowfocus --sync "$window" 2>/dev/null || fatal "cannot focus the game window"
# Everything recorded so far was played before the key press.
before_key=$(recorded)
xdotool key --clearmodifiers ctrl+b
wait_for 15 has_recorded $((before_key + listen_after * bytes_per_second)) ||
    fatal "the recording stalls after the key press"
kill "${pids[-1]}" 2>/dev/null || true
wait "${pids[-1]}" 2>/dev/null || true

sox -q -t raw -r $rate -e signed -b 16 -c 1 "$work/recording.raw" "$work/recording.wav"

# The value of WHAT in what sox's `stat` prints (on stderr) after EFFECTS.
measure() {
    sox "$work/recording.wav" -n "${@:2}" stat 2>&1 | awk -v what="$1" -F':' \
        '$1 ~ "^" what { gsub(/ /, "", $2); print $2 }'
}
key_at=$(awk -v b="$before_key" -v r="$bytes_per_second" 'BEGIN { printf "%.3f", b / r }')
total=$(measure 'Length \\(seconds\\)')
silence_peak=$(measure 'Maximum amplitude' trim 0 "$key_at")
peak=$(measure 'Maximum amplitude' trim "$key_at")
rms=$(measure 'RMS +amplitude' trim "$key_at")
# Cutting the leading silence leaves the part from the first sound on.
from_onset=$(measure 'Length \\(seconds\\)' silence 1 0.005 0.5%)
delay=$(awk -v t="$total" -v f="${from_onset:-0}" -v k="$key_at" 'BEGIN { printf "%.3f", t - f - k }')

above() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a + 0 > b + 0) }'; }
! above "$silence_peak" "$max_silence_peak" ||
    fatal "sound before Ctrl+B (peak $silence_peak in the first $key_at s), so what Ctrl+B plays cannot be told apart"
{ ! above "$min_peak" "$peak" && ! above "$min_rms" "$rms"; } ||
    fatal "Ctrl+B started no audible sound: peak $peak, RMS $rms in the $listen_after s after it (need peak >= $min_peak and RMS >= $min_rms)"
! above "$delay" "$max_onset" ||
    fatal "the start sound began $delay s after Ctrl+B (at most $max_onset s expected)"
say "heard the start sound $delay s after Ctrl+B: peak $peak, RMS $rms"
