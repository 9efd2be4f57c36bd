"""The program as the desktop menu starts it: the installed snipdeck-launch under a new HOME.

SNIPDECK_LAUNCH names an installed launcher (CI sets it to the package's); without it the
build is installed into a folder of the test's own.
"""

import os
import subprocess

from harness import Snipdeck, SnipdeckTestCase, wait_until

LAUNCHER = os.environ.get("SNIPDECK_LAUNCH", "")
BUILD_DIR = os.environ.get("SNIPDECK_BUILD_DIR", "")


class LauncherTest(SnipdeckTestCase):

    def setUp(self):
        super().setUp()
        self.launcher = LAUNCHER
        if not self.launcher:
            if not BUILD_DIR:
                self.skipTest("neither SNIPDECK_LAUNCH nor SNIPDECK_BUILD_DIR is set")
            prefix = self.path("prefix")
            subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix],
                           check=True, capture_output=True)
            self.launcher = os.path.join(prefix, "bin", "snipdeck-launch")
        self.home = self.path("home")
        os.mkdir(self.home)
        self.data = os.path.join(self.home, ".local", "share", "snipdeck")

    def start(self):
        app = Snipdeck(self.x, self.dir, {"HOME": self.home, "XDG_DATA_HOME": ""},
                       command=[self.launcher])
        self.apps.append(app)
        return app

    def files(self):
        """The data folder's files and their bytes."""
        result = {}
        for name in os.listdir(self.data):
            with open(os.path.join(self.data, name), "rb") as f:
                result[name] = f.read()
        return result

    def test_first_start_shows_the_sample_bar_and_later_starts_leave_the_files_alone(self):
        app = self.start()
        bar = app.wait_window("定型文")
        self.assertEqual(app.windows(), [bar], "a message box came up beside the bar")
        app.key(bar, "space")  # the first snippet button has the focus
        wait_until(lambda: self.x.clipboard().decode("utf-8", "replace")
                   .startswith("おはようございます。"), what="the sample's first text")
        app.key(bar, "alt+x")
        self.assertEqual(app.wait_exit(), 0)

        # The user's own file now; the next start must load it as it stands.
        with open(os.path.join(self.data, "定型文.cdt"), "wb") as f:
            f.write("#自分の\r\n文\r\n".encode("cp932"))
        before = self.files()
        app = self.start()
        bar = app.wait_window("定型文")
        self.assertEqual(self.files(), before)
        app.key(bar, "space")
        wait_until(lambda: self.x.clipboard() == "文".encode(), what="the user's own text")
        self.assertEqual(app.windows(), [bar])
