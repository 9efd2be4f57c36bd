#!/usr/bin/env bash
# Checks the Debian package as a user gets it: lintian finds no error, apt installs it, the
# menu's launcher under a new HOME brings up the sample bar, and removing it leaves nothing.
# Usage: check-package.sh BUILD_DIR (where `make package` put the .deb). Installs as root.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
debs=("$build"/snipdeck_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "expected one package in $build: ${debs[*]}" >&2; exit 1; }
deb=${debs[0]}
sudo=(); [ "$(id -u)" -eq 0 ] || sudo=(sudo)

dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
# Errors fail the check; warnings are printed.
lintian --allow-root --fail-on error "$deb"

DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$deb" >/dev/null
cd "$here/tests/e2e"
SNIPDECK_LAUNCH=/usr/bin/snipdeck-launch SNIPDECK_BIN=/usr/bin/snipdeck PYTHONDONTWRITEBYTECODE=1 \
    python3 -m unittest -v test_launcher
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get purge -y -qq snipdeck >/dev/null
left=$(dpkg -L snipdeck 2>/dev/null || true)
[ -z "$left" ] && [ ! -e /usr/bin/snipdeck ] || { echo "snipdeck left files behind: $left" >&2; exit 1; }
echo "package checked: lintian, install, first start from the launcher, removal"
