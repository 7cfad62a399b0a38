#!/usr/bin/env bash
# Every sound the game plays must be a WAVE file of plain PCM (format tag 1):
# Qt 6.4's sound effects decode nothing else, and play nothing, silently, for
# WAVE_FORMAT_EXTENSIBLE, float or compressed data.  The start sound "kidou"
# has no extension, so every file under wave/ is checked, whatever its name.
#
#   sounds_plain_pcm.sh RUNNABLE_FOLDER
set -euo pipefail

game_dir=${1:?usage: sounds_plain_pcm.sh RUNNABLE_FOLDER}

# The SIZE bytes at OFFSET of FILE as text, or (with a type) as a little-endian number.
text() { dd if="$3" bs=1 skip="$1" count="$2" status=none; }
number() { od -A n -t "u$2" -j "$1" -N "$2" --endian=little "$3" | tr -d ' '; }

# Prints what is wrong with FILE, nothing when it is plain PCM.  The chunks
# are walked up to "fmt ": it need not come first.
check() {
    local file=$1 size at=12 length
    size=$(stat -c %s "$file")
    if [ "$size" -lt 44 ] || [ "$(text 0 4 "$file")" != RIFF ] || [ "$(text 8 4 "$file")" != WAVE ]; then
        echo "not a RIFF WAVE file"
        return
    fi
    while [ $((at + 8)) -le "$size" ]; do
        length=$(number $((at + 4)) 4 "$file")
        if [ "$(text "$at" 4 "$file")" = "fmt " ]; then
            local tag channels bits
            tag=$(number $((at + 8)) 2 "$file")
            channels=$(number $((at + 10)) 2 "$file")
            bits=$(number $((at + 22)) 2 "$file")
            if [ "$tag" -ne 1 ]; then
                echo "format tag $tag, not 1 (plain PCM)"
            elif [ "$channels" -lt 1 ] || [ $((bits % 8)) -ne 0 ] || [ "$bits" -eq 0 ]; then
                echo "odd PCM layout: $channels channels of $bits bits"
            fi
            return
        fi
        at=$((at + 8 + length + length % 2))
    done
    echo "no fmt chunk"
}

shopt -s globstar nullglob
checked=0 failed=0
for file in "$game_dir"/wave/**; do
    [ -f "$file" ] || continue
    checked=$((checked + 1))
    problem=$(check "$file")
    [ -z "$problem" ] || { echo "sounds_plain_pcm: FAIL: ${file#"$game_dir"/}: $problem" && failed=1; }
done
[ "$checked" -gt 0 ] || { echo "sounds_plain_pcm: FAIL: no sound files under $game_dir/wave" && exit 1; }
[ "$failed" -eq 0 ] || exit 1
echo "sounds_plain_pcm: $checked sound files, all plain PCM"
