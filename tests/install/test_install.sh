#!/usr/bin/env bash
# What a desktop user gets from installing the build: the files, the menu entry, and the
# launcher that starts snipdeck in a folder of the user's own. Usage: test_install.sh BUILD SOURCE
set -euo pipefail
build=$1 source=$2 tmp=$(mktemp -d) failures=0
trap 'rm -rf "$tmp"' EXIT
check() { if eval "$2"; then echo "PASS: $1"; else echo "FAIL: $1"; failures=$((failures + 1)); fi; }

root=$tmp/root icons=usr/share/icons/hicolor
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
expected=$(printf '%s\n' usr/bin/snipdeck{,-launch} usr/share/applications/snipdeck.desktop \
    usr/share/doc/snipdeck/{changelog.gz,copyright} $icons/{128x128,16x16,24x24,32x32,48x48,64x64}/apps/snipdeck.png \
    $icons/scalable/apps/snipdeck.svg usr/share/man/man1/snipdeck{-launch,}.1.gz usr/share/snipdeck/{Start.ini,sample.cdt})
check "installed exactly the program, launcher, entry, icons, pages and samples" \
    '[ "$(cd "$root" && find . -type f -o -type l | sed "s|^\./||" | LC_ALL=C sort)" = "$expected" ] && [ -x "$root/usr/bin/snipdeck" ]'
check "the icons are the drawing and PNGs of their sizes" 'cmp -s "$source/resources/snipdeck.svg" "$root/$icons/scalable/apps/snipdeck.svg" &&
    for s in 16 24 32 48 64 128; do file "$root/$icons/${s}x$s/apps/snipdeck.png" | grep -q "PNG image data, $s x $s,"; done'
entry=$root/usr/share/applications/snipdeck.desktop
check "a valid menu entry starting the launcher from the Utility menu, with Japanese name and comment" \
    '[ -z "$(desktop-file-validate "$entry" 2>&1)" ] && [ "$(LC_ALL=C grep -cE "^(Name|Comment)\[ja\]=.*[^ -~]" "$entry")" = 2 ] &&
    [ "$(grep -E "^(Type|Exec|Icon|Categories|Terminal)=" "$entry" | LC_ALL=C sort | tr "\n" " ")" = "Categories=Utility; Exec=snipdeck-launch Icon=snipdeck Terminal=false Type=Application " ]'

# The installed launcher beside a stub snipdeck that records where and how it ran.
bin=$tmp/stub/bin home=$tmp/home log=$tmp/stub.log data=$tmp/home/.local/share/snipdeck
mkdir -p "$bin" "$home" "$tmp/relative" && cp "$root/usr/bin/snipdeck-launch" "$bin/" && cp -r "$root/usr/share" "$tmp/stub/"
printf '#!/bin/sh\npwd -P >"$STUB_LOG"\nprintf "%%s\\n" "$@" >>"$STUB_LOG"\nexit ${STUB_STATUS:-0}\n' >"$bin/snipdeck"
chmod +x "$bin/snipdeck"
launch() { rm -f "$log"; status=0; (cd "$tmp" && env -i PATH=/usr/bin:/bin STUB_LOG="$log" "$@") >/dev/null 2>&1 || status=$?; }
ran() { [ "$status" = 0 ] && [ "$(cat "$log")" = "$(cd "$1" && pwd -P)${2:+$'\n'$2}" ]; }

mkdir -p "$data" && echo mine >"$data/定型文.cdt"
launch HOME="$home" /bin/sh "$bin/snipdeck-launch" -platform xcb
check "first start runs in ~/.local/share/snipdeck with the arguments, seeded, a clip data file kept" \
    'ran "$data" "-platform"$'"'"'\n'"'"'"xcb" && cmp -s "$source/samples/Start.ini" "$data/Start.ini" && [ "$(cat "$data/定型文.cdt")" = mine ]'
launch HOME="$home" XDG_DATA_HOME="$tmp/data home" "$bin/snipdeck-launch"
check "XDG_DATA_HOME (with a space) is used" 'ran "$tmp/data home/snipdeck"'
echo keep >"$data/Start.ini"
launch HOME="$home" XDG_DATA_HOME=relative PATH="$bin:/usr/bin:/bin" STUB_STATUS=7 snipdeck-launch
check "found through PATH, a relative XDG_DATA_HOME ignored, Start.ini left alone, snipdeck's exit status passed on" \
    '[ "$status" = 7 ] && [ "$(head -1 "$log")" = "$(cd "$data" && pwd -P)" ] && [ "$(cat "$data/Start.ini")" = keep ] && [ ! -e "$tmp/relative/snipdeck" ]'
launch "$bin/snipdeck-launch"
check "without HOME it refuses and starts nothing" '[ "$status" != 0 ] && [ ! -f "$log" ]'
[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
