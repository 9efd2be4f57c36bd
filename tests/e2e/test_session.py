"""Which Qt platform the program starts on in a Wayland session.

No compositor runs here: WAYLAND_DISPLAY names a socket that does not exist in a private
runtime folder. Qt reports "Failed to create wl_display" whenever it tries the Wayland
plugin, which tells the native path from the X11 one.
"""

import os
import subprocess
import unittest

from harness import SNIPDECK, TIMEOUT, SnipdeckTestCase

WAYLAND_TRIED = b"wl_display"


class SessionPlatformTest(SnipdeckTestCase):

    def setUp(self):
        super().setUp()
        runtime = self.path("runtime")
        os.mkdir(runtime, 0o700)
        self.wayland = {"XDG_SESSION_TYPE": "wayland", "WAYLAND_DISPLAY": "no-compositor",
                        "XDG_RUNTIME_DIR": runtime}

    def run_directly(self, env, *args):
        """Runs the program to its end (it cannot get a window); returns status and output."""
        result = subprocess.run([SNIPDECK, *args], cwd=self.dir, env=env, timeout=TIMEOUT,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        return result.returncode, result.stdout

    def test_wayland_with_xwayland_runs_on_x11_at_the_saved_position(self):
        path = self.write_clip_file("memo.cdt", [("A", "a")])
        # top 1500, left 3000 twips: 100 and 200 pixels.
        self.write_start_ini([1, 240, 2400, 0, 0, 1500, 3000, 0], [path])
        app = self.launch(self.wayland)
        bar = app.wait_window("memo")
        x, y, _, _ = app.geometry(bar)
        self.assertEqual((x, y), (200, 100))
        app.key(bar, "alt+x")
        self.assertEqual(app.wait_exit(), 0)
        with open(self.path(".snipdeck.log"), "rb") as f:
            self.assertNotIn(WAYLAND_TRIED, f.read())

    def test_a_platform_the_user_chose_is_kept(self):
        for name, extra, args in [("QT_QPA_PLATFORM", {"QT_QPA_PLATFORM": "wayland"}, ()),
                                  ("-platform", {}, ("-platform", "wayland"))]:
            with self.subTest(name):
                env = dict(self.x.env, **self.wayland, **extra)
                status, out = self.run_directly(env, *args)
                self.assertNotEqual(status, 0)
                self.assertIn(WAYLAND_TRIED, out)

    def test_wayland_without_xwayland_runs_natively_and_is_not_refused(self):
        env = dict(self.x.env, **self.wayland)
        del env["DISPLAY"]
        status, out = self.run_directly(env)
        self.assertNotEqual(status, 0)  # there is no compositor to talk to
        self.assertIn(WAYLAND_TRIED, out)
        self.assertNotIn(b"no display to open a window on", out)

    def test_no_display_at_all_is_refused_in_one_line(self):
        env = dict(self.x.env)
        del env["DISPLAY"]
        status, out = self.run_directly(env)
        self.assertEqual(status, 1)
        self.assertEqual(out.count(b"\n"), 1, out)
        self.assertIn(b"no display to open a window on", out)


if __name__ == "__main__":
    unittest.main()
