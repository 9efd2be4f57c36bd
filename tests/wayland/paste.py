"""The bar on XWayland pastes into a native Wayland GTK4 field through the RemoteDesktop portal: the
desktop's consent accepted once (through AT-SPI, as a user would click it), the restore token kept in
Snipdeck.ini, and after a restart the paste works with no dialog.
usage: paste.py SNIPDECK WORKDIR (inside run.sh's session) | paste.py field OUTFILE"""

import os
import pathlib
import subprocess
import sys
import time

import gi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from harness import wait_until  # noqa: E402

SNIPPET = "お世話になります"
TIMEOUT = 60


def field(out):
    """A native Wayland text field: its text, and whether its window is active, go to OUT."""
    gi.require_version("Gtk", "4.0")
    from gi.repository import GLib, Gtk

    app = Gtk.Application(application_id="org.example.SnipdeckField")

    def write(entry, window):
        with open(out + ".part", "w") as f:
            f.write("%d%s" % (window.is_active(), entry.get_text()))
        os.replace(out + ".part", out)
        return True

    def activate(app):
        window = Gtk.ApplicationWindow(application=app, title="field")
        window.set_default_size(500, 200)
        entry = Gtk.Entry()
        window.set_child(entry)
        window.present()
        GLib.timeout_add(50, write, entry, window)

    app.connect("activate", activate)
    app.run([])


class Pointer:
    """mutter's own remote desktop API, which asks no one: the user's hand on the mouse."""

    def __init__(self):
        from gi.repository import Gio, GLib
        self.GLib = GLib
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        self.path = self.call("/org/gnome/Mutter/RemoteDesktop", "", "CreateSession").unpack()[0]
        self.call(self.path, ".Session", "Start")
        # The seat has no keyboard until a key comes: the portal's first keys would only make it.
        for down in (True, False):
            self.call(self.path, ".Session", "NotifyKeyboardKeysym", GLib.Variant("(ub)", (0xffe1, down)))

    def call(self, path, interface, method, args=None):
        return self.bus.call_sync("org.gnome.Mutter.RemoteDesktop", path, "org.gnome.Mutter.RemoteDesktop" + interface,
                                  method, args, None, 0, 5000, None)

    def click(self, x, y):
        # Into the bottom right corner, then back by the difference: the pointer moves relatively.
        for dx, dy in ((10000, 10000), (x - 1279, y - 1023)):
            self.call(self.path, ".Session", "NotifyPointerMotionRelative", self.GLib.Variant("(dd)", (dx, dy)))
            time.sleep(0.2)
        for down in (True, False):
            self.call(self.path, ".Session", "NotifyPointerButton", self.GLib.Variant("(ib)", (0x110, down)))
            time.sleep(0.05)


def consent_dialog():
    """GNOME's dialog: the box "Allow Remote Interaction" and the button "Share"."""
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi

    def find(node, role, name):
        """The first such node that can be pressed."""
        action = node.get_action_iface()
        if node.get_role_name() == role and node.get_name() == name and action and action.get_n_actions():
            return node
        for i in range(node.get_child_count()):
            child = node.get_child_at_index(i)
            if child is not None and (found := find(child, role, name)):
                return found
        return None

    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == "xdg-desktop-portal-gnome":
            box, share = find(app, "check box", "Allow Remote Interaction"), find(app, "button", "Share")
            if box and share:
                return box, share
    return None


def main(snipdeck, work):
    folder = os.path.join(work, "bar")
    os.makedirs(folder)
    pathlib.Path(folder, "p.cdt").write_bytes(("#A\r\n%s\r\n" % SNIPPET).encode("cp932"))
    pathlib.Path(folder, "Start.ini").write_bytes("".join(" %d \r\n" % n for n in (1, 300, 2400, 0, 0, 1500, 1500, 0)).encode() + b"p.cdt\r\n")
    options = os.path.join(folder, "Snipdeck.ini")
    pathlib.Path(options).write_bytes(b"ClickPaste=1\n")  # turned on in an earlier run, never granted
    out = os.path.join(work, "field.txt")
    pointer = Pointer()
    field_process = subprocess.Popen([sys.executable, __file__, "field", out], env=dict(os.environ, GDK_BACKEND="wayland"))
    text = lambda: open(out, encoding="utf-8").read() if os.path.exists(out) else ""
    wait_until(lambda: text().startswith("1"), TIMEOUT, "the field's window")
    try:
        for run, expected in ((1, SNIPPET), (2, SNIPPET * 2)):
            log = open(os.path.join(work, "snipdeck%d.log" % run), "w")
            bar = subprocess.Popen([snipdeck], cwd=folder, stdout=log, stderr=subprocess.STDOUT)
            try:
                window = wait_until(lambda: subprocess.run(["xdotool", "search", "--all", "--pid", str(bar.pid), "--onlyvisible", "--name", "^p$"],
                                                           capture_output=True, text=True).stdout.split(), TIMEOUT, "the bar")[0]
                if run == 1:  # the desktop asks once
                    box, share = wait_until(consent_dialog, TIMEOUT, "the consent dialog")
                    box.get_action_iface().do_action(0)
                    time.sleep(0.3)
                    share.get_action_iface().do_action(0)
                    wait_until(lambda: b"RestoreToken=" in open(options, "rb").read(), TIMEOUT, "the restore token kept")
                # Once the desktop has given the keyboard, a click no longer takes the focus.
                hints = lambda: subprocess.run(["xprop", "-id", window, "WM_HINTS"], capture_output=True, text=True).stdout
                try:
                    wait_until(lambda: "input or input focus: False" in hints(), TIMEOUT, "the bar unfocusable")
                except AssertionError as error:
                    raise AssertionError("%s; window %s: %s" % (error, window, hints())) from None
                time.sleep(1)  # mutter drops the keys of a new virtual keyboard for a moment; no user is that quick
                pointer.click(640, 512)  # the user's field, in the middle of the screen
                wait_until(lambda: text().startswith("1"), TIMEOUT, "the field active")
                # Where the bar is on the screen (xdotool counts a reparented window's frame twice).
                info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True).stdout
                x, y = (int(line.split(":")[1]) for line in info.splitlines() if "Absolute upper-left" in line)
                pointer.click(x + 20, y + 8)
                wait_until(lambda: text()[1:] == expected, 15, "the paste (field: %r)" % text()[1:])
                assert text().startswith("1"), "the field lost the focus to the bar"
                assert run == 1 or consent_dialog() is None, "the desktop asked again"
            finally:
                bar.terminate()
                bar.wait(10)
                log.close()
            print("run %d: pasted, field %r" % (run, text()[1:]), flush=True)
    finally:
        field_process.terminate()
        field_process.wait(10)


if __name__ == "__main__":
    if sys.argv[1] == "field":
        field(sys.argv[2])
    else:
        main(sys.argv[1], sys.argv[2])
