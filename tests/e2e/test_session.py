"""A Wayland session with XWayland: the program runs on X11, at the position it saved.

No compositor runs: WAYLAND_DISPLAY names a socket that does not exist, and Qt reports
"wl_display" whenever it tries the Wayland plugin."""

import os
import unittest

from harness import SnipdeckTestCase


class SessionPlatformTest(SnipdeckTestCase):

    def test_wayland_with_xwayland_runs_on_x11_at_the_saved_position(self):
        os.mkdir(self.path("runtime"), 0o700)
        wayland = {"XDG_SESSION_TYPE": "wayland", "WAYLAND_DISPLAY": "none", "XDG_RUNTIME_DIR": self.path("runtime")}
        app = self.start([1, 240, 2400, 0, 0, 1500, 3000, 0], {"memo.cdt": [("A", "a")]}, wayland)
        bar = app.wait_window("memo")
        self.assertEqual(app.geometry(bar)[:2], (200, 100))  # left 3000, top 1500 twips
        self.exit(app, bar)
        self.assertNotIn(b"wl_display", self.read(".snipdeck.log"))


if __name__ == "__main__":
    unittest.main()
