"""A bar that lives in the desktop session all day: whatever ends the session, Start.ini keeps the day's
change; a second start in the bar's folder brings that bar forward, one in another folder is a bar of its own."""

import os
import shutil
import signal
import subprocess
import tempfile
import time

from harness import SNIPDECK, SnipdeckTestCase, TIMEOUT, wait_until

NUMBERS = [14, 240, 2400, 0, 0, 1500, 1500, -1]


class SessionEndTest(SnipdeckTestCase):
    window_manager = ["jwm"]

    def setUp(self):
        super().setUp()
        self.runtime = {"XDG_RUNTIME_DIR": tempfile.mkdtemp(dir=self.dir)}

    def moved_bar(self):
        """A bar started on Start.ini, then moved by the user."""
        app = self.start(NUMBERS, [], self.runtime)
        bar = app.wait_window("Snipdeck")
        self.x.xdotool("windowmove", "--sync", bar, "300", "450")
        time.sleep(0.3)  # for the bar to hear of it; Start.ini follows no sooner than a second later
        return app, bar

    def test_each_way_the_session_ends_keeps_the_move(self):
        self.assertTrue(os.environ.get("SNIPDECK_SESSIONMANAGER"), "libsm-dev missing; run scripts/install-deps.sh")
        manager = subprocess.Popen([os.environ["SNIPDECK_SESSIONMANAGER"]], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
        self.addCleanup(lambda: (manager.kill(), manager.wait(5)))
        self.runtime["SESSION_MANAGER"] = manager.stdout.readline().decode().strip()

        def logout(app):  # the session manager asks to save; the session then ends without a word
            manager.stdin.write(b"\n")
            manager.stdin.flush()
            self.assertEqual(manager.stdout.readline(), b"saved\n")
            app.process.kill()

        def killed_later(app):  # a power cut, some seconds after the change
            time.sleep(2.5)
            app.process.kill()

        ways = {  # how the session ends it: the exit status
            "closed": (lambda app, bar: app.key(bar, "alt+x"), 0),
            "SIGTERM": (lambda app, bar: app.process.send_signal(signal.SIGTERM), 0),
            "the session manager's save": (lambda app, bar: logout(app), -signal.SIGKILL),
            "killed": (lambda app, bar: killed_later(app), -signal.SIGKILL),
            # Last: Qt ends the program at once, and there is no display for another.
            "the X server gone": (lambda app, bar: self.x.process.kill(), 1),
        }
        for way, (end, status) in ways.items():
            with self.subTest(way):
                app, bar = self.moved_bar()
                end(app, bar)
                self.assertEqual(app.process.wait(TIMEOUT), status)
                app.log.seek(0)  # Qt's own last words still reach the log
                self.assertEqual(b"The X11 connection broke" in app.log.read(), way == "the X server gone")
                lines = [line.strip() for line in self.read("Start.ini").split(b"\r\n")]
                self.assertEqual(lines[:5] + lines[7:], [b"14", b"240", b"2400", b"0", b"0", b"-1", b""])
                self.assertNotEqual(lines[5:7], [b"1500", b"1500"])

    def test_second_start(self):
        """The same folder: the running bar comes forward and the start ends with 0. Another folder: a bar of its
        own, here from a program in a folder named with "%"; its autostart entry, started as GNOME starts it at
        login, is a second start there."""
        first = self.start(NUMBERS, [], self.runtime)
        bar = first.wait_window("Snipdeck")
        unchanged = os.stat(self.path("Start.ini")).st_mtime_ns
        folder = self.path("100% 定型")
        os.makedirs(folder)
        program = shutil.copy(SNIPDECK, folder)
        other = self.launch(dict(self.runtime, XDG_CONFIG_HOME=self.path("config")), [program], folder)
        other.key(other.wait_window("Snipdeck"), "Return")  # no Start.ini there: the message
        other_bar = other.wait_window("Snipdeck")
        other.menu_item(other_bar, "l")  # ﾛｸﾞｲﾝ時に起動(&L)
        entry = self.path("config/autostart/snipdeck.desktop")
        wait_until(lambda: os.path.exists(entry), what="the autostart entry")
        active = lambda: self.x.xdotool("getactivewindow")
        wait_until(lambda: active() == other_bar, what="the other folder's bar active")

        again = self.launch(self.runtime)
        self.assertEqual(again.process.wait(TIMEOUT), 0)
        wait_until(lambda: active() == bar, what="the first bar brought forward")
        subprocess.run(["gio", "launch", entry], env=dict(self.x.env, **self.runtime), check=True, timeout=TIMEOUT)
        wait_until(lambda: active() == other_bar, what="the bar in 100% brought forward by its autostart entry")
        self.assertEqual((first.windows(), other.windows()), ([bar], [other_bar]))
        self.assertEqual(os.stat(self.path("Start.ini")).st_mtime_ns, unchanged)  # nothing changed, nothing written
        first.exit(bar)
        other.exit(other_bar)
