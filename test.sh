#!/usr/bin/env bash
# shellcheck disable=SC2317 # the check functions are called through `stage`
# Installs what is missing, builds, and runs every check.  Exits non-zero when
# any stage fails.  A new check is one function and one `stage` line below.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")" || exit 1

packages() {
    bash tools/ensure-packages.sh --checks || return
    set_up_removes_nothing
}

# The set-up must never remove a package, here nor on a desktop whose sound
# is pipewire-audio (which conflicts with pulseaudio): a dry run must plan no
# removal, both against dpkg's database and against a copy of it where
# pipewire-audio is installed instead of pulseaudio; there it must leave
# pulseaudio out with a reason and go on.
set_up_removes_nothing() {
    local dir plan status
    if ! plan=$(bash tools/ensure-packages.sh --checks --simulate 2>&1) ||
        grep -q '^Remv' <<<"$plan"; then
        echo "$plan"
        echo "packages: the set-up's dry run fails or removes a package"
        return 1
    fi
    dir=$(mktemp -d) || return
    awk '/^Package: / { skip = $2 == "pulseaudio" || $2 == "pipewire-audio" } !skip' \
        /var/lib/dpkg/status >"$dir/status"
    printf '%s\n' "Package: pipewire-audio" "Status: install ok installed" \
        "Architecture: all" "Version: 0.3.65-3" "Conflicts: pulseaudio" "" >>"$dir/status"
    echo "Dir::State::status \"$dir/status\";" >"$dir/apt.conf"
    plan=$(APT_CONFIG=$dir/apt.conf bash tools/ensure-packages.sh --checks --simulate 2>&1)
    status=$?
    rm -rf "$dir"
    if [ "$status" -ne 0 ] || grep -q '^Remv' <<<"$plan" ||
        ! grep -q '^ensure-packages: leaving out pulseaudio: .*pipewire-audio' <<<"$plan"; then
        echo "$plan"
        echo "packages: beside pipewire-audio, the set-up's dry run fails, removes a package or keeps pulseaudio"
        return 1
    fi
    echo "packages: beside pipewire-audio, the dry run says: $plan"
}

build() {
    if [ ! -f build/build.ninja ]; then
        cmake --preset default || return
    fi
    cmake --build --preset default
}

# Our own C and C++ sources: those git knows (generated files stay out), or
# every one outside the build folders in a copy without git.
sources() {
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files -z -- '*.cpp' '*.h'
    else
        find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0
    fi
}

format() { sources | xargs -0 -r clang-format --dry-run --Werror; }

# The files clang-tidy reads, as the normal build compiles them: the game, the
# build-time tools and the tests' support code.  The test programs stay out:
# they would triple the stage's time, and what the checks find there is Qt 6's
# qsizetype meeting int and the deliberate joins of expected trace lines.
tidy_sources() {
    local file
    grep -o '"file": *"[^"]*"' build/compile_commands.json | sed 's/^"file": *"//; s/"$//' |
        sort -u | while IFS= read -r file; do
        case ${file#"$PWD"/} in
        app/* | cards/* | dialogs/* | files/* | table/* | tools/* | tests/support/*) printf '%s\0' "$file" ;;
        esac
    done
}

# .clang-tidy says which checks run and why; any finding fails the stage.
tidy() {
    local files
    mapfile -d '' files < <(tidy_sources)
    if [ ${#files[@]} -eq 0 ]; then
        echo "tidy: no sources of ours in build/compile_commands.json"
        return 1
    fi
    printf '%s\0' "${files[@]}" |
        xargs -0 -n 1 -P "$(nproc)" clang-tidy -p build --quiet --use-color=false 2>&1 |
        sed '/^[0-9]* warnings\? generated\.$/d'
}

# Folders are layers: app/ above table/, table/ above cards/, dialogs/ and
# files/.  An include that runs up a layer is named.
layers() {
    local up
    up=$(sources | xargs -0 -r grep -n -E '#include "(app|table)/' -- 2>/dev/null |
        grep -E '^(\./)?(cards|dialogs|files)/'
    sources | xargs -0 -r grep -n -E '#include "app/' -- 2>/dev/null | grep -E '^(\./)?table/')
    [ -z "$up" ] || { echo "$up" && echo "layers: these includes run up a layer" && return 1; }
}

tests() { ctest --preset default; }

# 32-bit Windows, as far as it can be checked here: each of the game's own
# sources (app/, table/, cards/, dialogs/, files/) as the portable build
# compiles it, the *_portable.cpp side of the system seam in place of the
# *_posix.cpp one, through MinGW-w64's compiler against Qt's headers from
# Debian.  No Windows Qt libraries are packaged, so syntax only.  The sources
# and their flags come from the portable build's compile_commands.json (only
# configured, in build-portable/), so that a new source is checked as soon as
# it is built; a source of ours missing there must be one that exists only
# for Unix (posix or unix in its name).
windows() {
    local pairs i unchecked
    cmake --preset portable >/dev/null || return
    mapfile -d '' pairs < <(windows_sources)
    if [ ${#pairs[@]} -eq 0 ]; then
        echo "windows: no sources of ours in build-portable/compile_commands.json"
        return 1
    fi
    unchecked=$(comm -23 <(sources | tr '\0' '\n' | sed 's|^\./||' | grep -v -E 'posix|unix' |
        grep -E '^(app|cards|dialogs|files|table)/[^/]+\.cpp$' | sort) \
        <(for ((i = 0; i < ${#pairs[@]}; i += 2)); do echo "${pairs[i]#"$PWD"/}"; done | sort))
    if [ -n "$unchecked" ]; then
        echo "$unchecked"
        echo "windows: these sources are not in the portable build"
        return 1
    fi
    export -f windows_source
    printf '%s\0' "${pairs[@]}" | xargs -0 -n 2 -P "$(nproc)" bash -c 'windows_source "$@"' _
}

# "FILE\0COMMAND\0" for each of our sources in build-portable/compile_commands.json,
# the command as the shell reads it (JSON's escapes undone).
windows_sources() {
    local key value file command
    sed -n 's/^ *"\(command\|file\)": "\(.*\)",\{0,1\}$/\1 \2/p' build-portable/compile_commands.json |
        while read -r key value; do
            if [ "$key" = command ]; then
                command=$(sed 's/\\\(.\)/\1/g' <<<"$value")
                continue
            fi
            file=$value
            case ${file#"$PWD"/} in
            app/* | cards/* | dialogs/* | files/* | table/*) printf '%s\0%s\0' "$file" "$command" ;;
            esac
        done
}

# windows_source FILE COMMAND: FILE with the command's defines, include
# folders (but Qt's settings for compiling with Linux's g++) and language
# standard.
windows_source() {
    local words flags=() i out
    mapfile -d '' words < <(xargs printf '%s\0' <<<"$2")
    for ((i = 0; i < ${#words[@]}; ++i)); do
        case ${words[i]} in
        -D* | -I* | -std=*) flags+=("${words[i]}") ;;
        -isystem)
            i=$((i + 1))
            [[ ${words[i]} == */linux-g++ ]] || flags+=(-isystem "${words[i]}")
            ;;
        esac
    done
    if ! out=$(i686-w64-mingw32-g++-posix -fsyntax-only "${flags[@]}" "$1" 2>&1); then
        echo "$out"
        echo "windows: FAILED ${1#"$PWD"/}"
        return 1
    fi
    echo "windows: passed ${1#"$PWD"/}${out:+ (with warnings above)}"
    [ -z "$out" ] || echo "$out"
}

# The whole suite again, built with AddressSanitizer (LeakSanitizer included)
# and UndefinedBehaviorSanitizer in build-asan/; the "asan" presets say how.
asan() {
    if [ ! -f build-asan/build.ninja ]; then
        cmake --preset asan || return
    fi
    cmake --build --preset asan && ctest --preset asan
}

# One whole session under valgrind: no memory error, no leak from our code.
memcheck() { bash tests/memcheck/memcheck.sh build; }

# Each check of what the game reads, fuzzed for a fixed number of inputs from
# the game's own files (tests/fuzz/run.sh, which also has the longer run).
fuzz() { bash tests/fuzz/run.sh; }

failed=()

# stage NAME COMMAND...: runs one check, says how long it took and remembers
# a failure.
stage() {
    local name=$1 start=$SECONDS
    shift
    echo "==> $name"
    if ! "$@"; then
        echo "==> $name: FAILED ($((SECONDS - start)) s)"
        failed+=("$name")
    else
        echo "==> $name: passed ($((SECONDS - start)) s)"
    fi
}

# stage_beside NAME COMMAND...: starts a check at the lowest priority, to run
# beside the next stages; `join_stage` waits for it and shows what it printed.
stage_beside() {
    local before=${#failed[@]}
    beside_name=$1 beside_log=$(mktemp)
    shift
    (
        renice -n 19 -p "$BASHPID" >/dev/null
        stage "$beside_name" "$@"
        [ ${#failed[@]} -eq "$before" ]
    ) >"$beside_log" 2>&1 &
    beside_pid=$!
}

join_stage() {
    wait "$beside_pid" || failed+=("$beside_name")
    cat "$beside_log"
    rm -f "$beside_log"
}

# As `stage`, for a check that the later ones cannot do without.
required_stage() {
    stage "$@"
    [ ${#failed[@]} -eq 0 ] || finish
}

finish() {
    if [ ${#failed[@]} -eq 0 ]; then
        echo "test.sh: all stages passed"
        exit 0
    fi
    echo "test.sh: failed stages: ${failed[*]}"
    exit 1
}

required_stage packages packages
required_stage build build
stage format format
stage layers layers
stage windows windows
# clang-tidy only reads the sources, and the tests mostly wait for the game's
# pauses: the two share the processors.
stage_beside tidy tidy
stage tests tests
join_stage
stage memcheck memcheck
stage asan asan
stage fuzz fuzz
finish
