#!/usr/bin/env bash
# Installs the Debian packages that are not installed yet: those of
# tools/packages.txt (building and playing), and with --checks also those of
# tools/packages-checks.txt (what the checks and tests add).  Quick and silent
# when everything is there: it only asks dpkg.  `apt-get update` runs only
# when something has to be installed.
#
#   tools/ensure-packages.sh [--checks] [--simulate] [EXTRA_PACKAGE...]
#
# It never removes a package: every package is first tried with
# `apt-get --simulate`, and one whose installation would remove another is
# left out with one line saying which and why; the install itself runs with
# `--no-remove`.  A package marked `optional` in the lists is then simply
# left out (the checks that need it report themselves skipped); any other
# stops the set-up with exit status 1.
#
# --simulate asks apt-get what it would do and prints its plan, installing
# nothing (no root needed, no `apt-get update`).  Extra package names are
# needed along with the lists.  The dpkg database is the one apt is
# configured to read (APT_CONFIG, Dir::State::status), so that a dry run can
# be asked about another machine's set of installed packages.
# shellcheck disable=SC2016 # dpkg-query's formats are not the shell's
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
lists=("$here/packages.txt")

simulate=false
extra=()
for arg in "$@"; do
    case "$arg" in
    --checks) lists+=("$here/packages-checks.txt") ;;
    --simulate) simulate=true ;;
    -*)
        echo "ensure-packages: unknown option $arg" >&2
        exit 2
        ;;
    *) extra+=("$arg") ;;
    esac
done

say() { echo "ensure-packages: $*"; }

# "NAME" or "NAME optional" a line.
mapfile -t entries < <(sed -e 's/#.*//' -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//' \
    -e '/^$/d' "${lists[@]}")
entries+=("${extra[@]}")

eval "$(apt-config shell status_file Dir::State::status/f)"
admindir=$(dirname "${status_file:-/var/lib/dpkg/status}")
query() { dpkg-query --admindir="$admindir" "$@" 2>/dev/null; }
is_installed() { [ "$(query -W -f='${db:Status-Status}' "$1")" = installed ]; }

missing=()
declare -A optional=()
for entry in "${entries[@]}"; do
    read -r package flag <<<"$entry"
    [ "${flag:-}" = optional ] && optional[$package]=1
    is_installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

say "missing Debian packages: ${missing[*]}"

as_root=()
if ! $simulate && [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        say "not root and no sudo; install these as root: ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi
apt=(env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600)

if ! $simulate; then
    "${as_root[@]}" "${apt[@]}" update
fi

# Why installing $1 would remove $2: the relation that one of them declares
# against the other, as dpkg and apt know them.
why_removed() {
    local wanted=$1 removed=$2 relation
    relation=$(query -W -f='Conflicts: ${Conflicts}\nBreaks: ${Breaks}\n' "$removed" |
        grep -E "[ ,]${wanted//+/\\+}( |,|$)" | head -n 1) && {
        echo "$removed declares $relation"
        return
    }
    relation=$(apt-cache show --no-all-versions "$wanted" 2>/dev/null |
        grep -E "^(Conflicts|Breaks):.*[ ,]${removed//+/\\+}( |,|$)" | head -n 1) && {
        echo "$wanted declares $relation"
        return
    }
    echo "apt-get resolves their dependencies so"
}

# Each package alone: prints nothing when apt-get would install it without
# removing anything, else the reason.
refusal() {
    local package=$1 plan removed
    if ! plan=$("${apt[@]}" --simulate install "$package" 2>&1); then
        grep -m 1 '^E:' <<<"$plan" || echo "apt-get cannot install it"
        return
    fi
    removed=$(sed -n 's/^Remv \([^ :]*\).*/\1/p' <<<"$plan" | sort -u | tr '\n' ' ')
    [ -n "$removed" ] || return 0
    removed=${removed% }
    echo "installing it would remove ${removed// /, } ($(why_removed "$package" "${removed%% *}"))"
}

plans_cleanly() {
    local plan
    plan=$("${apt[@]}" --simulate install "$@" 2>&1) && ! grep -q '^Remv' <<<"$plan"
}

accepted=()
stop=false
# Usually all of them go in together without a removal; only when they do
# not is each one asked about alone.
if plans_cleanly "${missing[@]}"; then
    accepted=("${missing[@]}")
    missing=()
fi
for package in "${missing[@]}"; do
    reason=$(refusal "$package")
    if [ -z "$reason" ]; then
        accepted+=("$package")
    elif [ -n "${optional[$package]:-}" ]; then
        say "leaving out $package: $reason; the checks that need it are skipped" >&2
    else
        say "cannot install $package: $reason" >&2
        stop=true
    fi
done
$stop && exit 1
[ ${#accepted[@]} -eq 0 ] && exit 0

if $simulate; then
    # The plan alone: what it would install, and removals, which must not be.
    plan=$("${apt[@]}" --simulate install --no-remove "${accepted[@]}" 2>&1) || {
        echo "$plan" >&2
        exit 1
    }
    grep -E '^(Inst|Remv) ' <<<"$plan" || true
    exit 0
fi
"${as_root[@]}" "${apt[@]}" -y install --no-remove "${accepted[@]}"

still_missing=()
for package in "${accepted[@]}"; do
    is_installed "$package" || still_missing+=("$package")
done
if [ ${#still_missing[@]} -ne 0 ]; then
    say "still not installed: ${still_missing[*]}" >&2
    exit 1
fi
