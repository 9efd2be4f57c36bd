"""snipdeck-launch under a new HOME as the menu starts it: SNIPDECK_LAUNCH's (the package's) or the build's."""

import os
import subprocess

from harness import SnipdeckTestCase, wait_until


class LauncherTest(SnipdeckTestCase):

    def test_first_start_shows_the_sample_bar_and_later_starts_leave_the_files_alone(self):
        launcher = os.environ.get("SNIPDECK_LAUNCH")
        if not launcher:
            subprocess.run(["cmake", "--install", os.environ["SNIPDECK_BUILD_DIR"], "--prefix", self.path("usr")],
                           check=True, capture_output=True)
            launcher = self.path("usr/bin/snipdeck-launch")
        for text in ("おはようございます。", "文"):
            app = self.launch({"HOME": self.path("home"), "XDG_DATA_HOME": ""}, [launcher])
            bar = app.wait_window("定型文")
            self.assertEqual(app.windows(), [bar], "a message box came up beside the bar")
            app.key(bar, "space")  # the first snippet button has the focus
            wait_until(lambda: self.x.clipboard().decode("utf-8", "replace").startswith(text), what=text)
            app.exit(bar)
            # The user's own file now: the next start must load it as it stands.
            self.write("home/.local/share/snipdeck/定型文.cdt", "#自分の\r\n文\r\n".encode("cp932"))
