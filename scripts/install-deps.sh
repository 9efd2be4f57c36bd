#!/usr/bin/env bash
# Installs the Debian packages of the given lists (default packages.txt) that are not installed yet.
# A line names one package, or alternatives as "a | b": the line is met when any of them is
# installed, and otherwise the first one this release has is installed, so one list serves the
# Debian releases that renamed or split a package.
# As root it calls apt-get directly, otherwise through sudo.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
[ $# -gt 0 ] || set -- "$here/packages.txt"

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
available() { apt-cache policy "$1" 2>/dev/null | grep -q 'Candidate: [^(]'; }

missing=()
for list in "$@"; do
    while read -r line; do
        line=${line%%#*}
        line=${line//[[:space:]]/}
        [ -n "$line" ] || continue
        met=0
        IFS='|' read -ra alternatives <<<"$line"
        for pkg in "${alternatives[@]}"; do installed "$pkg" && met=1 && break; done
        [ $met -eq 1 ] || missing+=("$line")
    done < "$list"
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
chosen=()
for line in "${missing[@]}"; do
    IFS='|' read -ra alternatives <<<"$line"
    pick=
    for pkg in "${alternatives[@]}"; do available "$pkg" && pick=$pkg && break; done
    # None found: name the first, so that apt-get says which line cannot be met.
    chosen+=("${pick:-${alternatives[0]}}")
done
echo "Installing: ${chosen[*]}"
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${chosen[@]}"
