"""Window order and size under a real window manager (jwm): always on top, a user's resize."""

import time

from harness import SnipdeckTestCase, wait_until


class WindowManagerTest(SnipdeckTestCase):
    window_manager = ["jwm"]

    def above(self, window):
        return b"_NET_WM_STATE_ABOVE" in self.x.run("xprop", "-id", window, "_NET_WM_STATE", check=False)

    def test_on_top_and_resize(self):
        bar_file = self.write("bar.cdt", "".join("#%s\r\n%s\r\n" % (c, c) for c in "ABCDE").encode())
        app = self.start([5, 300, 2400, 1, 0, 1500, 1500, 0], [bar_file])
        bar = app.wait_window("bar")
        wait_until(lambda: self.above(bar), what="the bar above")
        self.assertEqual(app.windows(), [bar])  # the other windows stay hidden
        wait_until(lambda: app.geometry(bar)[2:] == (160, 207), what="laid-out bar")
        places = []
        for switched, on in enumerate((True, False, True)):
            if switched:
                app.key(bar, "F8")
                dialog = app.wait_window("Snipdeckのﾌﾟﾛﾊﾟﾃｨ")
                app.key(dialog, "alt+t")  # 常に手前に表示(&T), toggled when the key is released
                time.sleep(0.5)
                app.click(dialog, 80 + 36, 176 + 8)  # OK
                app.wait_gone(dialog)
            wait_until(lambda: self.above(bar) == on, what="the bar's state %s" % on)
            app.key(bar, "F6")  # a hidden window takes the state when shown
            files = app.wait_window("読込ﾌｧｲﾙ選択")
            wait_until(lambda: self.above(files) == on, what="the read-file selection's state")
            places.append(app.geometry(files))
            app.key(files, "Escape")
            app.wait_gone(files)
        self.assertEqual(app.geometry(bar)[2:], (160, 207))
        # A dialog hidden while the state changed opens where it opened before, not a frame lower.
        self.assertEqual(places, places[:1] * 3)
        # 200 × 310 pixels: buttons 3000 twips wide and (310 × 15 − 100) / 10 = 455 high.
        self.x.xdotool("windowsize", bar, "200", "310")
        wait_until(lambda: app.geometry(bar)[2:] == (200, 310), what="the resized layout")
        time.sleep(1.0)  # late reports of the program's own resizes would show by now
        self.assertEqual(app.geometry(bar)[2:], (200, 310))
        app.exit(bar)
        # Where it was put, not a frame's size off: the next start would creep up and left.
        self.assertEqual(self.read("Start.ini").split(b"\r\n")[:7],
                         [b" 5 ", b" 455 ", b" 3000 ", b" 1 ", b" 0 ", b" 1500 ", b" 1500 "])
