"""Dragging the bar's border under a real window manager: the rule, and no creep."""

import time
import unittest

from harness import SnipdeckTestCase, wait_until


class ResizeTest(SnipdeckTestCase):
    window_manager = ["jwm"]

    def test_user_resize_sets_width_and_height_and_layout_settles(self):
        path = self.write_clip_file("bar.cdt", [("A", "a"), ("B", "b"), ("C", "c"), ("D", "d"),
                                                ("E", "e")])
        self.write_start_ini([5, 300, 2400, 0, 0, 1500, 1500, 0], [path])
        app = self.launch()
        bar = app.wait_window("bar")
        wait_until(lambda: app.geometry(bar)[2:] == (160, 207), what="initial layout")

        # The user makes the window 200 × 310 pixels: 3000 twips wide buttons, and
        # (310 × 15 − 100) / 10 = 455 twips high ones, which the window snaps to.
        self.x.xdotool("windowsize", bar, "200", "310")
        expected = (200, round((10 * 455 + 100) / 15))
        wait_until(lambda: app.geometry(bar)[2:] == expected, what="snapped layout")
        # However late the window system reports the program's own resizes, the layout
        # holds still.
        time.sleep(1.0)
        self.assertEqual(app.geometry(bar)[2:], expected)

        app.key(bar, "alt+x")
        self.assertEqual(app.wait_exit(), 0)
        lines = self.read("Start.ini").split(b"\r\n")
        self.assertEqual(lines[:3], [b" 5 ", b" 455 ", b" 3000 "])
        # The frame stays where it was placed: the position comes back as it was saved.
        self.assertEqual(lines[5:7], [b" 1500 ", b" 1500 "])


if __name__ == "__main__":
    unittest.main()
