#!/usr/bin/env bash
# Installs the Debian packages listed in tools/packages.txt that are not
# installed yet.  Quick and silent when everything is there: it only asks dpkg.
# `apt-get update` runs only when something has to be installed.
#
#   tools/ensure-packages.sh [--dry-run] [EXTRA_PACKAGE...]
#
# --dry-run prints the commands instead of running them (to see what a fresh
# machine would get).  Extra package names are checked along with the list.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
list="$here/packages.txt"

dry_run=false
extra=()
for arg in "$@"; do
    case "$arg" in
    --dry-run) dry_run=true ;;
    -*) echo "ensure-packages: unknown option $arg" >&2; exit 2 ;;
    *) extra+=("$arg") ;;
    esac
done

mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' -e '/^$/d' "$list")
wanted+=("${extra[@]}")

is_installed() {
    [ "$(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null)" = installed ]
}

missing=()
for package in "${wanted[@]}"; do
    is_installed "$package" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "ensure-packages: not root and no sudo; install these as root: ${missing[*]}" >&2
        exit 1
    fi
    as_root=(sudo)
fi

run() {
    if $dry_run; then
        echo "would run: $*"
    else
        "$@"
    fi
}

apt=(apt-get -q -y -o DPkg::Lock::Timeout=600)
run "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "${apt[@]}" update
run "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive "${apt[@]}" install "${missing[@]}"

$dry_run && exit 0
still_missing=()
for package in "${missing[@]}"; do
    is_installed "$package" || still_missing+=("$package")
done
if [ ${#still_missing[@]} -ne 0 ]; then
    echo "ensure-packages: still not installed: ${still_missing[*]}" >&2
    exit 1
fi
