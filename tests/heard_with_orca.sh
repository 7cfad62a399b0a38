#!/usr/bin/env bash
# A blind player's round, through a real screen reader: the program on a
# private X display with a session and an accessibility bus of its own, read
# by Debian's Orca, which speaks only into its log.  One round is played by
# keys.  After each key Orca must have said by itself, in order, what the key
# brought about, and never the name of a CPU card before "Card open" opened
# it (the trace names the cards dealt); its flat review finds the row of card
# buttons that appeared at the deal.
#
#   heard_with_orca.sh GAME_BINARY RUNNABLE_FOLDER
# shellcheck source-path=SCRIPTDIR
set -euo pipefail

binary=${1:?usage: heard_with_orca.sh GAME_BINARY RUNNABLE_FOLDER}
game_dir=${2:?usage: heard_with_orca.sh GAME_BINARY RUNNABLE_FOLDER}
readonly lifetime=120     # seconds any process started here may live
readonly step_wait=20     # seconds Orca may take to say what a key brought about
readonly order=(3 1 5 2 4) # the card buttons, in the order they are played

say() { echo "heard_with_orca: $*"; }

# shellcheck source=lib/scratch.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/scratch.sh"
# shellcheck source=lib/xvfb.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/xvfb.sh"
# shellcheck source=lib/pulse.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/pulse.sh"
# shellcheck source=lib/atspi.sh
source "$(dirname "${BASH_SOURCE[0]}")/lib/atspi.sh"
make_scratch orca

skip_if_refused orca orca
need Xvfb xdotool stdbuf timeout dbus-daemon dbus-send orca /usr/bin/python3 \
    /usr/libexec/at-spi-bus-launcher /usr/libexec/at-spi2-registryd
[ -x "$binary" ] || fatal "no game binary at $binary"

isolate_session
start_xvfb "$lifetime" || fatal "Xvfb did not start"
start_accessibility "$lifetime" || fatal "the accessibility bus did not start"

# The game in the C locale, its trace unbuffered.
(cd "$game_dir" && exec timeout "$lifetime" env QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 \
    LANG=C.UTF-8 stdbuf -o0 "$binary") >"$work/trace.txt" 2>"$work/game.log" &
pids+=($!)
window=$(table_window)
[ -n "$window" ] || fatal "the game window \"Title:12-1\" did not appear on $DISPLAY"
xdotool windowfocus --sync "$window" || fatal "cannot focus the game window"
start_orca "$lifetime"

ranks=(Ace Two Three Four Five Six Seven Eight Nine Ten Jack Queen King)
suits=(Spades Clubs Hearts Diamonds)
name() { echo "${ranks[($1 - 1) % 13]} of ${suits[($1 - 1) / 13]}"; }

heard=0     # utterances checked so far
opened=0    # CPU cards opened so far
cpu=()      # the CPU's hand as dealt
step="Orca's start"
count_said() { spoken | wc -l; }
has_said() { [ "$(count_said)" -ge $((heard + $1)) ]; }

# `hears UTTERANCE...`: since the last check Orca has said exactly these.
hears() {
    local expected said
    wait_for "$step_wait" has_said $# || true
    said=$(spoken | tail -n +$((heard + 1)))
    expected=$(printf '%s\n' "$@")
    [ "$said" = "$expected" ] ||
        fatal "after $step Orca said \"${said//$'\n'/\" \"}\" instead of \"${expected//$'\n'/\" \"}\""
    heard=$((heard + $#))
    local card
    for card in "${cpu[@]:opened}"; do
        ! spoken | grep -qF "$(name "$card")" ||
            fatal "Orca named the CPU's face-down $(name "$card") by $step"
    done
}

# Flat review, from the line Orca starts on down, reaches LINE; then it is left.
reviews() {
    step="flat review"
    xdotool key KP_Up
    for _ in 1 2 3 4 5 6 7 8; do
        wait_for "$step_wait" has_said 1 || fatal "Orca's flat review says nothing"
        heard=$(count_said)
        if [ "$(spoken | tail -n 1)" = "$1" ]; then
            xdotool key KP_Subtract
            hears "Leaving flat review."
            return
        fi
        xdotool key KP_Page_Up
    done
    fatal "Orca's flat review does not reach \"$1\": $(spoken | tail -n 8 | paste -s -d '|')"
}

hears "Screen reader on." "Title:12-1 frame."

step="Ctrl+B"
xdotool key ctrl+b
hears "notification Ready to deal cards."

step="D"
xdotool key d
wait_for 10 grep -q '^buf_cpu_deal1=' "$work/trace.txt" || fatal "D dealt no cards"
mapfile -t user < <(grep -m 1 '^count=1,buf_deal1=' "$work/trace.txt" | grep -o '=[0-9]*' |
    tail -n 5 | tr -d =)
mapfile -t cpu < <(grep -m 1 '^buf_cpu_deal1=' "$work/trace.txt" | grep -o '=[0-9]*' | tr -d =)
[ $((${#user[@]} + ${#cpu[@]})) -eq 10 ] || fatal "the trace does not name the ten cards dealt"
names=()
for p in 1 2 3 4 5; do
    names+=("$p: $(name "${user[p - 1]}")")
done
listed=$(printf '%s, ' "${names[@]}")
hears "notification Round 1. Your cards: ${listed%, }."
reviews "${names[*]}"

# Who took the pair and the score, as the k-th judgement in the trace has them.
judged() {
    grep -o -E '(cpu win:|user win:|tie :3\.)CPU=[0-9]+,User=[0-9]+,tie=[0-9]+' "$work/trace.txt" |
        sed -n "$1p" | grep .
}
for p in "${order[@]}"; do
    step="key $p"
    xdotool key "$p"
    hears "notification You play $(name "${user[p - 1]}")."
    step="O after $p"
    xdotool key o
    opened=$((opened + 1))
    wait_for 10 judged "$opened" >/dev/null || fatal "O judged no pair"
    pair=$(judged "$opened")
    case $pair in
    cpu*) notice="User lose" ;;
    user*) notice="User win" ;;
    *) notice="This is tie It's no count" ;;
    esac
    # After the round's last card, "Deal cards" is alive again.
    ready=""
    [ "$opened" -lt 5 ] || ready=". Ready to deal cards"
    hears "notification CPU opens $(name "${cpu[opened - 1]}"). $notice. CPU=${pair#*CPU=}$ready."
done

say "Orca said, one utterance a line:"
spoken | sed 's/^/  /'
