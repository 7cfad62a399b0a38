#!/usr/bin/env bash
# shellcheck disable=SC2317 # the check functions are called through `stage`
# Installs what is missing, builds, and runs every check.  Exits non-zero when
# any stage fails.  A new check is one function and one `stage` line below.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")" || exit 1

packages() { bash tools/ensure-packages.sh; }

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

tests() { ctest --preset default; }

failed=()

# stage NAME COMMAND...: runs one check and remembers a failure.
stage() {
    local name=$1
    shift
    echo "==> $name"
    if ! "$@"; then
        echo "==> $name: FAILED"
        failed+=("$name")
    fi
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
stage tests tests
finish
