"""snipdeck-launch under a new HOME as the menu starts it: SNIPDECK_LAUNCH's (the package's) or the build's."""

import os
import subprocess

from harness import SnipdeckTestCase, wait_until


class LauncherTest(SnipdeckTestCase):

    def test_first_start_shows_the_sample_bar(self):
        launcher = os.environ.get("SNIPDECK_LAUNCH")
        if not launcher:
            subprocess.run(["cmake", "--install", os.environ["SNIPDECK_BUILD_DIR"], "--prefix", self.path("usr")],
                           check=True, capture_output=True)
            launcher = self.path("usr/bin/snipdeck-launch")
        app = self.launch({"HOME": self.path("home"), "XDG_DATA_HOME": ""}, [launcher])
        bar = app.wait_window("定型文")
        self.assertEqual(app.windows(), [bar], "a message box came up beside the bar")
        app.key(bar, "space")  # the first snippet button has the focus
        wait_until(lambda: self.x.clipboard().decode("utf-8", "replace").startswith("おはようございます。"), what="the sample")
        app.exit(bar)
