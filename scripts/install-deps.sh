#!/usr/bin/env bash
# Installs the Debian packages of packages.txt that are not installed yet.
# As root it calls apt-get directly, otherwise through sudo.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
list=${1:-$here/packages.txt}

missing=()
while read -r pkg; do
    pkg=${pkg%%#*}
    pkg=${pkg//[[:space:]]/}
    [ -n "$pkg" ] || continue
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done < "$list"

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
else
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
