"""Always on top for real, under an EWMH window manager (jwm): every window of the program
carries _NET_WM_STATE_ABOVE, and a window mapped later does not cover the bar."""

import shutil
import subprocess
import time
import unittest

from harness import SnipdeckTestCase, wait_until

PROPERTIES_OK = (80 + 36, 176 + 8)


class OnTopTest(SnipdeckTestCase):
    window_manager = ["jwm"]

    def setUp(self):
        for tool in ("jwm", "xprop", "xmessage"):
            if not shutil.which(tool):
                self.fail(tool + " is missing; run scripts/install-deps.sh")
        super().setUp()

    def states(self, window):
        out = self.x.run("xprop", "-id", window, "_NET_WM_STATE", check=False).decode()
        return [s.strip() for s in out.split("=", 1)[1].split(",")] if "=" in out else []

    def above(self, window):
        return "_NET_WM_STATE_ABOVE" in self.states(window)

    def window_at(self, x, y):
        """The client window the pointer finds at a screen point: the one on top there."""
        # Off to a corner first: a move onto the spot the pointer is at would never report.
        self.x.xdotool("mousemove", "0", "0")
        self.x.xdotool("mousemove", "--sync", str(x), str(y), check=False)
        out = self.x.xdotool("getmouselocation", "--shell")
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return values.get("WINDOW")

    def position(self, window):
        """Where the window's client area is on the screen. (xdotool's own answer counts the
        frame of a reparenting window manager twice.)"""
        out = self.x.run("xwininfo", "-id", window).decode()
        values = dict(line.strip().split(":", 1) for line in out.splitlines() if ":" in line)
        return (int(values["Absolute upper-left X"]), int(values["Absolute upper-left Y"]))

    def on_top_at_bar(self, app, bar):
        """Which window shows at the middle of the bar's first button."""
        x, y = self.position(bar)
        return self.window_at(x + app.geometry(bar)[2] // 2, y + 5)

    def open_cover(self, app, bar):
        """A window of another program, mapped later right over the bar."""
        x, y = self.position(bar)
        cover = subprocess.Popen(["xmessage", "-geometry", "300x300+%d+%d" % (x, y), "cover"],
                                 env=self.x.env, stdout=subprocess.DEVNULL,
                                 stderr=subprocess.DEVNULL)
        self.addCleanup(cover.wait, 5)
        self.addCleanup(cover.kill)
        found = wait_until(lambda: self.x.xdotool("search", "--all", "--onlyvisible", "--class",
                                                  "Xmessage", check=False).split(),
                           what="the covering window")
        return found[0]

    def toggle_on_top(self, app, bar):
        app.key(bar, "F8")
        dialog = app.wait_window("Snipdeckのﾌﾟﾛﾊﾟﾃｨ")
        app.key(dialog, "alt+t")  # 常に手前に表示(&T)
        # An access key presses the check box for a moment and toggles it on release.
        time.sleep(0.5)
        self.x.xdotool("mousemove", "0", "0")
        app.click(dialog, *PROPERTIES_OK)
        app.wait_gone(dialog)

    def test_all_windows_stay_above_and_a_later_window_does_not_cover_the_bar(self):
        path = self.write_clip_file("top.cdt", [("A", "a"), ("B", "b")])
        self.write_start_ini([2, 240, 2400, 1, 0, 1500, 1500, 0], [path])
        app = self.launch()
        bar = app.wait_window("top")
        wait_until(lambda: self.above(bar), what="the bar above")
        # Only the bar was shown; the other windows stay hidden.
        self.assertEqual(app.windows(), [bar])

        cover = self.open_cover(app, bar)
        self.x.xdotool("windowactivate", "--sync", cover, check=False)
        wait_until(lambda: self.on_top_at_bar(app, bar) == bar, what="the bar over the later window")

        # Hidden windows carry the state when they are shown.
        app.key(bar, "F6")
        files = app.wait_window("読込ﾌｧｲﾙ選択")
        wait_until(lambda: self.above(files), what="the read-file selection above")
        app.key(files, "Escape")
        app.wait_gone(files)

        # Off: the windows go back to the ordinary order, and the bar is never unmapped.
        self.toggle_on_top(app, bar)
        wait_until(lambda: not self.above(bar), what="the bar no longer above")
        self.assertIn(bar, app.windows())
        self.x.xdotool("windowactivate", "--sync", cover, check=False)
        wait_until(lambda: self.on_top_at_bar(app, bar) == cover,
                   what="the later window over the bar")
        app.key(bar, "F6")
        files = app.wait_window("読込ﾌｧｲﾙ選択")
        self.assertFalse(self.above(files))
        app.key(files, "Escape")
        app.wait_gone(files)

        # And on again from the dialog, applied to a bar that is already mapped.
        self.toggle_on_top(app, bar)
        wait_until(lambda: self.above(bar), what="the bar above again")
        self.assertIn(bar, app.windows())
        self.x.xdotool("windowactivate", "--sync", cover, check=False)
        wait_until(lambda: self.on_top_at_bar(app, bar) == bar,
                   what="the bar over the later window again")

        app.key(bar, "alt+x")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(self.read("Start.ini").split(b"\r\n")[3], b" 1 ")

    def test_bar_started_on_top_keeps_its_layout(self):
        """Started on top, the bar is shown before its first layout; the size of that first
        showing, reported back late, is no resize by the user."""
        path = self.write_clip_file("top.cdt", [("A", "a"), ("B", "b")])
        self.write_start_ini([2, 240, 2400, 1, 0, 1500, 1500, 0], [path])
        app = self.launch()
        bar = app.wait_window("top")
        expected = (2400 // 15, round((2 * 240 + 100 + 5 * 240) / 15))
        wait_until(lambda: app.geometry(bar)[2:] == expected, what="laid-out bar")
        time.sleep(1.0)  # late reports from the window system would show by now
        self.assertEqual(app.geometry(bar)[2:], expected)
        app.key(bar, "alt+x")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(self.read("Start.ini").split(b"\r\n")[:4],
                         [b" 2 ", b" 240 ", b" 2400 ", b" 1 "])


if __name__ == "__main__":
    unittest.main()
