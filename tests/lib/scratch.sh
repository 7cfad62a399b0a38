# shellcheck shell=bash
# A test script's scratch folder, processes and failures; the script defines
# `say` (its prefix on each line).  make_scratch NAME makes $work; on exit the
# processes in `pids` are stopped and $work is removed unless `keep_work` is
# true or a `problem` (counted in `failures`) or `fatal` one came, when the end
# of each $work/*.log is shown.  `need TOOL...` is fatal unless each is
# installed; `skip_if_refused TOOL PACKAGE` skips the test (77) when TOOL is
# missing because installing PACKAGE would remove another package, which the
# set-up refuses; `wait_for SECONDS COMMAND...` polls COMMAND every 0.1 s.

make_scratch() {
    work=$(mktemp -d "${TMPDIR:-/tmp}/kestrano-$1.XXXXXX")
    keep_work=false
    pids=()
    failures=0
    trap remove_scratch EXIT
    trap 'exit 1' INT TERM HUP
}

remove_scratch() {
    local log
    if [ ${#pids[@]} -gt 0 ]; then
        kill "${pids[@]}" 2>/dev/null || true
        wait "${pids[@]}" 2>/dev/null || true
    fi
    for log in "$work"/*.log; do
        if [ "$failures" -gt 0 ] && [ -s "$log" ]; then
            echo "--- ${log##*/}" >&2
            tail -n 30 "$log" >&2
        fi
    done
    if $keep_work || [ "$failures" -gt 0 ]; then
        say "files kept in $work"
    else
        rm -rf "$work"
    fi
}

need() {
    local tool
    for tool; do
        command -v "$tool" >/dev/null || fatal "$tool is not installed (run tools/ensure-packages.sh)"
    done
}

skip_if_refused() {
    local plan removed conflict
    command -v "$1" >/dev/null && return
    plan=$(apt-get --simulate install "$2" 2>&1) || true
    removed=$(sed -n 's/^Remv \([^ ]*\).*/\1/p' <<<"$plan" | paste -s -d ' ')
    conflict=$(grep -m 1 -E '(Conflicts|Breaks): ' <<<"$plan" | sed 's/^ *//') || true
    if [ -n "$removed" ] || [ -n "$conflict" ]; then
        say "SKIP: $2 is not installed, and installing it would remove ${removed:-another package}${conflict:+ ($conflict)}"
        exit 77
    fi
}

problem() {
    say "FAIL: $*" >&2
    failures=$((failures + 1))
}

fatal() {
    problem "$@"
    exit 1
}

wait_for() {
    local tries=$(($1 * 10))
    shift
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}
