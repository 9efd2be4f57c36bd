#!/usr/bin/env bash
# Installs the build into a DESTDIR and checks what a desktop user gets: the files, the
# menu entry, and the launcher that starts snipdeck in a folder of the user's own.
# Usage: test_install.sh <build dir> <source dir>
set -euo pipefail
build=$1
source=$2

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "PASS: $*"; }

# --- installed files ---------------------------------------------------------------
root=$tmp/root
DESTDIR=$root cmake --install "$build" --prefix /usr >"$tmp/install.log" \
    || { cat "$tmp/install.log"; echo "FAIL: cmake --install"; exit 1; }

expected='usr/bin/snipdeck
usr/bin/snipdeck-launch
usr/share/applications/snipdeck.desktop
usr/share/doc/snipdeck/changelog.gz
usr/share/doc/snipdeck/copyright
usr/share/icons/hicolor/128x128/apps/snipdeck.png
usr/share/icons/hicolor/16x16/apps/snipdeck.png
usr/share/icons/hicolor/24x24/apps/snipdeck.png
usr/share/icons/hicolor/32x32/apps/snipdeck.png
usr/share/icons/hicolor/48x48/apps/snipdeck.png
usr/share/icons/hicolor/64x64/apps/snipdeck.png
usr/share/icons/hicolor/scalable/apps/snipdeck.svg
usr/share/man/man1/snipdeck-launch.1.gz
usr/share/man/man1/snipdeck.1.gz
usr/share/snipdeck/Start.ini
usr/share/snipdeck/sample.cdt'
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" = "$expected" ]; then
    pass "installed exactly the program, launcher, entry and icon"
else
    fail "installed files differ:"; diff <(echo "$expected") <(echo "$actual") || true
fi
for f in usr/bin/snipdeck usr/bin/snipdeck-launch; do
    [ -x "$root/$f" ] || fail "$f is not executable"
done
cmp -s "$source/resources/snipdeck.svg" "$root/usr/share/icons/hicolor/scalable/apps/snipdeck.svg" \
    || fail "installed icon is not resources/snipdeck.svg"
# Each rendered icon is a PNG of the size its folder names.
for png in "$root"/usr/share/icons/hicolor/*x*/apps/snipdeck.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file "$png" | grep -q "PNG image data, ${size/x/ x }," || fail "$png is not a $size PNG: $(file -b "$png")"
done

# --- desktop entry -----------------------------------------------------------------
entry=$root/usr/share/applications/snipdeck.desktop
if out=$(desktop-file-validate "$entry" 2>&1) && [ -z "$out" ]; then
    pass "desktop-file-validate has nothing to say"
else
    fail "desktop-file-validate: $out"
fi

# The value of a key in the [Desktop Entry] group.
key() {
    awk -v k="$1" '
        /^\[/ { group = $0; next }
        group == "[Desktop Entry]" && index($0, k "=") == 1 { print substr($0, length(k) + 2); exit }
    ' "$entry"
}
check_key() {
    local value; value=$(key "$1")
    if [ "$value" = "$2" ]; then pass "$1=$2"; else fail "$1 is '$value', expected '$2'"; fi
}
check_key Type Application
check_key Name Snipdeck
check_key Categories 'Utility;'
check_key Icon snipdeck
check_key Exec snipdeck-launch
check_key Terminal false
for k in 'Name[ja]' 'Comment[ja]' Comment; do
    [ -n "$(key "$k")" ] || fail "$k is missing or empty"
done
for k in 'Name[ja]' 'Comment[ja]'; do
    # Japanese text in UTF-8: at least one byte outside ASCII.
    LC_ALL=C grep -q '[^ -~]' <<<"$(key "$k")" || fail "$k is not Japanese: $(key "$k")"
done
[ -x "$root/usr/bin/$(key Exec | cut -d' ' -f1)" ] || fail "Exec names no installed program"
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$(key Icon).svg" ] \
    || fail "Icon names no installed icon"

# --- launcher ------------------------------------------------------------------------
# The installed launcher beside a stub snipdeck that records where and how it ran.
bin=$tmp/stub/bin
mkdir -p "$bin" "$tmp/home" "$tmp/stub/share"
cp "$root/usr/bin/snipdeck-launch" "$bin/"
cp -r "$root/usr/share/snipdeck" "$tmp/stub/share/"
cat >"$bin/snipdeck" <<'STUB'
#!/bin/sh
pwd -P >"$STUB_LOG"
for a in "$@"; do echo "arg:$a" >>"$STUB_LOG"; done
exit "${STUB_STATUS:-0}"
STUB
chmod +x "$bin/snipdeck"
log=$tmp/stub.log

# Runs the launcher with a clean environment plus the given assignments; prints its status.
launch() {
    rm -f "$log"
    local status=0
    (cd "$tmp" && env -i PATH=/usr/bin:/bin STUB_LOG="$log" "$@") >/dev/null 2>&1 || status=$?
    echo "$status"
}
# Checks that the stub ran in the given folder (which must now exist).
ran_in() {
    local name=$1 dir=$2
    if [ -d "$dir" ] && [ -f "$log" ] && [ "$(head -n1 "$log")" = "$(cd "$dir" && pwd -P)" ]; then
        pass "$name"
    else
        fail "$name: expected to run in $dir, log: $(cat "$log" 2>/dev/null || echo none)"
    fi
}

home=$tmp/home
status=$(launch HOME="$home" /bin/sh "$bin/snipdeck-launch")
ran_in "first start creates ~/.local/share/snipdeck and runs there" "$home/.local/share/snipdeck"
[ "$status" = 0 ] || fail "launcher exit status $status"
data=$home/.local/share/snipdeck
cmp -s "$source/samples/Start.ini" "$data/Start.ini" && cmp -s "$source/samples/sample.cdt" "$data/定型文.cdt" \
    && pass "first start seeds Start.ini and the sample clip data file it names" \
    || fail "first start did not seed: $(ls -A "$data")"

# Without Start.ini but with a clip data file of the sample's name, that file is the user's.
rm "$data/Start.ini"; echo mine >"$data/定型文.cdt"
launch HOME="$home" "$bin/snipdeck-launch" >/dev/null
[ "$(cat "$data/定型文.cdt")" = mine ] && [ -f "$data/Start.ini" ] \
    && pass "seeding never replaces a clip data file" || fail "seeding replaced 定型文.cdt"

echo keep >"$home/.local/share/snipdeck/Start.ini"
launch HOME="$home" "$bin/snipdeck-launch" >/dev/null
ran_in "second start reuses the folder" "$home/.local/share/snipdeck"
[ "$(cat "$home/.local/share/snipdeck/Start.ini")" = keep ] || fail "Start.ini was touched"

xdg="$tmp/data home"
launch HOME="$home" XDG_DATA_HOME="$xdg" "$bin/snipdeck-launch" >/dev/null
ran_in "XDG_DATA_HOME (with a space) is used" "$xdg/snipdeck"

launch HOME="$home" XDG_DATA_HOME= "$bin/snipdeck-launch" >/dev/null
ran_in "an empty XDG_DATA_HOME counts as unset" "$home/.local/share/snipdeck"

mkdir -p "$tmp/relative"
launch HOME="$home" XDG_DATA_HOME=relative "$bin/snipdeck-launch" >/dev/null
ran_in "a relative XDG_DATA_HOME is ignored" "$home/.local/share/snipdeck"
[ ! -e "$tmp/relative/snipdeck" ] || fail "a relative XDG_DATA_HOME created a folder"

# Started by a relative path from elsewhere, and through PATH like the menu does.
launch HOME="$home" stub/bin/snipdeck-launch >/dev/null
ran_in "a relative launcher path still finds snipdeck" "$home/.local/share/snipdeck"
launch HOME="$home" PATH="$bin:/usr/bin:/bin" snipdeck-launch >/dev/null
ran_in "found through PATH" "$home/.local/share/snipdeck"

launch HOME="$home" "$bin/snipdeck-launch" -platform xcb >/dev/null
if [ "$(tail -n +2 "$log")" = $'arg:-platform\narg:xcb' ]; then pass "arguments are passed on"
else fail "arguments not passed on: $(cat "$log")"; fi

status=$(launch HOME="$home" STUB_STATUS=7 "$bin/snipdeck-launch")
[ "$status" = 7 ] && pass "snipdeck's exit status is the launcher's" \
    || fail "exit status $status, expected 7"

status=$(launch "$bin/snipdeck-launch")
if [ "$status" != 0 ] && [ ! -f "$log" ]; then pass "without HOME it refuses and starts nothing"
else fail "without HOME: status $status, stub ran: $([ -f "$log" ] && echo yes || echo no)"; fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all install checks passed"
