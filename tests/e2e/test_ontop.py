"""Window order and size under a real window manager (jwm): always on top, a user's resize."""

import subprocess
import time
import unittest

from harness import SnipdeckTestCase, wait_until

PROPERTIES = "Snipdeckのﾌﾟﾛﾊﾟﾃｨ"
PROPERTIES_OK = (80 + 36, 176 + 8)  # twips / 15


class WindowManagerTest(SnipdeckTestCase):
    window_manager = ["jwm"]

    def above(self, window):
        return b"_NET_WM_STATE_ABOVE" in self.x.run("xprop", "-id", window, "_NET_WM_STATE", check=False)

    def window_at_bar(self, bar):
        """The window the pointer finds at the bar's first button: the one on top there."""
        info = dict(l.strip().split(":", 1) for l in self.x.run("xwininfo", "-id", bar).decode().splitlines() if ":" in l)
        self.x.xdotool("mousemove", "0", "0")
        self.x.xdotool("mousemove", "--sync", str(int(info["Absolute upper-left X"]) + 20),
                       str(int(info["Absolute upper-left Y"]) + 5), check=False)
        return dict(l.split("=", 1) for l in self.x.xdotool("getmouselocation", "--shell").splitlines())["WINDOW"]

    def test_on_top_keeps_every_window_above_and_can_be_switched(self):
        app = self.start([2, 240, 2400, 1, 0, 1500, 1500, 0], {"top.cdt": [("A", "a"), ("B", "b")]})
        bar = app.wait_window("top")
        wait_until(lambda: self.above(bar), what="the bar above")
        self.assertEqual(app.windows(), [bar])  # the other windows stay hidden
        # Shown before its first layout, the bar keeps that layout when late reports come.
        size = (2400 // 15, round((2 * 240 + 100 + 5 * 240) / 15))
        wait_until(lambda: app.geometry(bar)[2:] == size, what="laid-out bar")
        cover = subprocess.Popen(["xmessage", "-geometry", "300x300+0+0", "cover"], env=self.x.env)
        self.addCleanup(cover.kill)
        cover_id = wait_until(lambda: self.x.xdotool("search", "--onlyvisible", "--class", "Xmessage", check=False))
        for switched, on in enumerate((True, False, True)):
            if switched:
                app.key(bar, "F8")
                dialog = app.wait_window(PROPERTIES)
                app.key(dialog, "alt+t")  # 常に手前に表示(&T), toggled when the key is released
                time.sleep(0.5)
                app.click(dialog, *PROPERTIES_OK)
                app.wait_gone(dialog)
            wait_until(lambda: self.above(bar) == on, what="the bar's state %s" % on)
            self.x.xdotool("windowactivate", "--sync", cover_id, check=False)
            wait_until(lambda: self.window_at_bar(bar) == (bar if on else cover_id), what="the window on top")
            app.key(bar, "F6")  # a hidden window takes the state when shown
            files = app.wait_window("読込ﾌｧｲﾙ選択")
            wait_until(lambda: self.above(files) == on, what="the read-file selection's state")
            app.key(files, "Escape")
            app.wait_gone(files)
        self.assertEqual(app.geometry(bar)[2:], size)
        self.assertEqual(self.exit(app, bar)[:4], [b" 2 ", b" 240 ", b" 2400 ", b" 1 "])

    def test_user_resize_sets_width_and_height_and_the_layout_settles(self):
        app = self.start([5, 300, 2400, 0, 0, 1500, 1500, 0], {"bar.cdt": [(c, c) for c in "ABCDE"]})
        bar = app.wait_window("bar")
        wait_until(lambda: app.geometry(bar)[2:] == (160, 207), what="initial layout")
        # 200 × 310 pixels: buttons of 3000 twips wide and (310 × 15 − 100) / 10 = 455 high,
        # which the window snaps to.
        self.x.xdotool("windowsize", bar, "200", "310")
        expected = (200, round((10 * 455 + 100) / 15))
        wait_until(lambda: app.geometry(bar)[2:] == expected, what="snapped layout")
        time.sleep(1.0)  # late reports of the program's own resizes would show by now
        self.assertEqual(app.geometry(bar)[2:], expected)
        lines = self.exit(app, bar)
        self.assertEqual(lines[:3] + lines[5:7], [b" 5 ", b" 455 ", b" 3000 ", b" 1500 ", b" 1500 "])


if __name__ == "__main__":
    unittest.main()
