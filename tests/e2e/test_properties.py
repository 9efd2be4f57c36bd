"""The properties dialog and the version box for real: F8, a new count, the mail link."""

import os
import stat
import unittest

from harness import SnipdeckTestCase, wait_until

# Client-area pixels of the controls clicked here (twips / 15).
PROPERTIES_OK = (80 + 36, 176 + 8)
ABOUT_REQUEST = (9 + 60, 87 + 6)
ABOUT_ADDRESS = (8 + 20, 120 + 6)
ABOUT_OK = (296 + 39, 120 + 10)


def bar_height(count):
    """Outer height in pixels of a bar of `count` 240-twip buttons with the controls shown."""
    return round((count * 240 + 100 + 5 * 240) / 15)


class WithFiveButtons(SnipdeckTestCase):
    """Starts the program on a file of five entries."""

    def start_with_five(self):
        path = self.write_clip_file("five.cdt", [(c, c.lower()) for c in "ABCDE"])
        self.write_start_ini([5, 240, 2400, 0, 0, 1500, 1500, 0], [path])
        app = self.launch(self.extra_env())
        return app, app.wait_window("five")

    def extra_env(self):
        return None


class PropertiesTest(WithFiveButtons):

    def test_f8_typed_count_relays_the_bar(self):
        app, bar = self.start_with_five()
        wait_until(lambda: app.geometry(bar)[3] == bar_height(5), what="five buttons")
        app.key(bar, "F8")
        dialog = app.wait_window("Snipdeckのﾌﾟﾛﾊﾟﾃｨ")
        app.key(dialog, "alt+n")  # ﾎﾞﾀﾝの数(&N) moves to its field
        app.key(dialog, "ctrl+a")
        app.type(dialog, "3")
        app.click(dialog, *PROPERTIES_OK)
        app.wait_gone(dialog)
        wait_until(lambda: app.geometry(bar)[3] == bar_height(3), what="three buttons")

        # Typed beyond the range: 45 buttons are 30 for a file of five entries.
        app.key(bar, "F8")
        dialog = app.wait_window("Snipdeckのﾌﾟﾛﾊﾟﾃｨ")
        app.key(dialog, "alt+n")
        app.key(dialog, "ctrl+a")
        app.type(dialog, "45")
        # The pointer is still over OK; a move onto the same spot would never report.
        self.x.xdotool("mousemove", "0", "0")
        app.click(dialog, *PROPERTIES_OK)
        app.wait_gone(dialog)
        wait_until(lambda: app.geometry(bar)[3] == bar_height(30), what="thirty buttons")

        app.key(bar, "alt+x")
        self.assertEqual(app.wait_exit(), 0)
        self.assertEqual(self.read("Start.ini").split(b"\r\n")[0], b" 30 ")


class VersionBoxTest(WithFiveButtons):
    """The link starts a mail through the desktop: a stand-in xdg-open records its call."""

    def extra_env(self):
        stub = os.path.join(self.dir, ".bin")
        os.makedirs(stub, exist_ok=True)
        self.calls = os.path.join(self.dir, ".xdg-open-calls")
        script = os.path.join(stub, "xdg-open")
        with open(script, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s"\n' % self.calls)
        os.chmod(script, os.stat(script).st_mode | stat.S_IXUSR)
        return {"PATH": stub + os.pathsep + os.environ.get("PATH", "")}

    def recorded(self):
        if not os.path.exists(self.calls):
            return []
        with open(self.calls) as f:
            return f.read().splitlines()

    def test_either_label_mails_the_maintainer_and_ok_closes(self):
        address = os.environ.get("SNIPDECK_MAINTAINER_ADDRESS", "snipdeck@example.org")
        app, bar = self.start_with_five()
        app.key(bar, "F8")
        dialog = app.wait_window("Snipdeckのﾌﾟﾛﾊﾟﾃｨ")
        app.key(dialog, "alt+a")  # ﾊﾞｰｼﾞｮﾝ情報(&A)
        box = app.wait_window("Snipdeckのﾊﾞｰｼﾞｮﾝ情報")
        app.click(box, *ABOUT_ADDRESS)
        wait_until(lambda: len(self.recorded()) == 1, what="xdg-open for the address")
        app.click(box, *ABOUT_REQUEST)
        wait_until(lambda: len(self.recorded()) == 2, what="xdg-open for the request")
        self.assertEqual(self.recorded(), ["mailto:" + address] * 2)

        app.click(box, *ABOUT_OK)
        app.wait_gone(box)
        self.assertIn(dialog, app.windows())
        # Opened again, it is whole again.
        app.key(dialog, "alt+a")
        box = app.wait_window("Snipdeckのﾊﾞｰｼﾞｮﾝ情報")


if __name__ == "__main__":
    unittest.main()
