#!/usr/bin/env bash
# Click to paste in a headless GNOME Wayland session: mutter with XWayland, the desktop portals, a
# native Wayland GTK4 text field and the built bar on XWayland. Runs as root in a session bus of its
# own.   usage: tests/wayland/run.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-build}" && pwd)/snipdeck
if [ -z "${SNIPDECK_WAYLAND_INNER:-}" ]; then
    work=$(mktemp -d /tmp/snipdeck-wayland.XXXXXX)
    # XWayland needs the socket folder; mutter asks a system bus for the seat.
    mkdir -p /tmp/.X11-unix /run/dbus && chmod 1777 /tmp/.X11-unix
    rm -f /run/dbus/pid
    dbus-daemon --system --fork --print-pid >"$work/system-bus.pid"
    # The document portal may still have its file system mounted in the runtime folder.
    trap 'kill $(cat "$work/system-bus.pid") 2>/dev/null || true; umount -l "$work/runtime/doc" 2>/dev/null || true
          rm -rf "$work" 2>/dev/null || true' EXIT
    mkdir -m 700 "$work/runtime"
    rc=0
    env XDG_RUNTIME_DIR="$work/runtime" HOME="$work" SNIPDECK_WAYLAND_INNER="$work" \
        dbus-run-session -- "$0" "$@" || rc=$?
    [ $rc -eq 0 ] || tail -n 30 "$work"/*.log >&2 || true
    exit $rc
fi
work=$SNIPDECK_WAYLAND_INNER
export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME
mutter --headless --wayland --virtual-monitor 1280x1024 --wayland-display wl-snipdeck >"$work/mutter.log" 2>&1 &
compositor=$!
trap 'kill $(jobs -p) 2>/dev/null; wait' EXIT
for _ in $(seq 150); do
    grep -q 'Using public X11 display' "$work/mutter.log" && [ -S "$XDG_RUNTIME_DIR/wl-snipdeck" ] && break
    kill -0 $compositor || { echo "mutter ended" >&2; exit 1; }
    sleep 0.2
done
display=$(grep -o 'Using public X11 display :[0-9]*' "$work/mutter.log" | grep -o ':[0-9]*$')
export WAYLAND_DISPLAY=wl-snipdeck DISPLAY=$display
export XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* | head -1)
dbus-update-activation-environment WAYLAND_DISPLAY DISPLAY XAUTHORITY XDG_SESSION_TYPE XDG_CURRENT_DESKTOP
gdbus wait --session --timeout 30 org.gnome.Mutter.RemoteDesktop
# The GNOME portal backend sometimes sees no Wayland display at first: started again, it does.
for try in 1 2 3; do
    /usr/libexec/xdg-desktop-portal-gnome >"$work/portal-gnome.log" 2>&1 &
    backend=$!
    sleep 2
    grep -q "Non-compatible" "$work/portal-gnome.log" || break
    kill $backend; wait $backend || true
done
/usr/libexec/xdg-desktop-portal >"$work/portal.log" 2>&1 &
gdbus wait --session --timeout 30 org.freedesktop.portal.Desktop
python3 "$here/paste.py" "$bin" "$work"
