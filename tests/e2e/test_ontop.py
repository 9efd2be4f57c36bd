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


class FramesTest(SnipdeckTestCase):
    """Every window with its frame, title and close box, whole on the screen, at 100, 150 and 200 %."""
    window_manager = ["jwm"]

    def frame(self, app, window):
        """The window's state and frame as the window manager set them, and its place with the frame."""
        props = self.x.run("xprop", "-id", window, "_NET_WM_STATE", "_NET_FRAME_EXTENTS", check=False).decode()
        state = props.split("_NET_FRAME_EXTENTS")[0]
        extents = props.split("_NET_FRAME_EXTENTS")[-1].partition("=")[2]
        if not extents.strip():
            return None  # not managed yet
        left, right, top, bottom = [int(v) for v in extents.split(",")]
        info = dict(line.strip().split(": ", 1) for line in self.x.run("xwininfo", "-id", window).decode().splitlines()
                    if ": " in line)
        x, y = int(info["Absolute upper-left X"]), int(info["Absolute upper-left Y"])  # xdotool's are off by the frame
        return state, (x - left, y - top, x + int(info["Width"]) + right, y + int(info["Height"]) + bottom), top

    def assert_framed(self, app, title):
        window = app.wait_window(title)
        # A window manager's full screen may come a moment after the frame; the program undoes it at once.
        framed = lambda f: f and "FULLSCREEN" not in f[0] and "MAXIMIZED" not in f[0] and f[2] >= 10 and f
        outer = wait_until(lambda: framed(self.frame(app, window)), 5, title + " with a frame and title")[1]
        self.assertTrue(0 <= outer[0] and 0 <= outer[1] and outer[2] <= 1280 and outer[3] <= 1024, (title, outer))
        return window

    def test_every_window_framed(self):
        bar_file = self.write("bar.cdt", "#A\r\na\r\n#B\r\nb\r\n".encode())
        for scale in ("1", "1.5", "2"):
            app = self.start([2, 300, 2400, 0, 0, 1500, 1500, 0], [bar_file], {"QT_SCALE_FACTOR": scale})
            bar = self.assert_framed(app, "bar")
            for key, title, close in (("F2", "ﾎﾞﾀﾝ内容編集", "alt+F4"), ("F1", "ﾎﾞﾀﾝ名の変更", "Escape"),
                                      ("F6", "読込ﾌｧｲﾙ選択", "Escape"), ("F8", "Snipdeckのﾌﾟﾛﾊﾟﾃｨ", None)):
                app.key(bar, key)
                window = self.assert_framed(app, title)
                if not close:  # the version box, from the properties
                    app.key(window, "alt+a")
                    about = self.assert_framed(app, "Snipdeckのﾊﾞｰｼﾞｮﾝ情報")
                    app.key(about, "alt+F4")
                    app.wait_gone(about)
                app.key(window, close or "alt+F4")
                app.wait_gone(window)
            app.exit(bar)


class FramesUnderOpenboxTest(FramesTest):
    window_manager = ["openbox"]
