"""The button bar on a real X server: the clipboard, the keys, the end of a session."""

import signal
import subprocess
import unittest

from harness import TIMEOUT, SnipdeckTestCase, wait_until

NUMBERS = [14, 240, 2400, 0, 0, 1500, 1500, 0]


class ButtonBarTest(SnipdeckTestCase):

    def test_button_puts_its_text_on_the_clipboard_and_a_signal_ends_like_closing(self):
        app = self.start(NUMBERS, {"挨拶.cdt": [("挨拶", "お世話になっております。\r\n山田です。"), ("B", "b")]})
        bar = app.wait_window("挨拶")
        app.click(bar, 20, 5)  # the first snippet button
        got = wait_until(self.x.clipboard, what="clipboard text")
        self.assertEqual(got.decode("utf-8"), "お世話になっております。\n山田です。")
        targets = self.x.clipboard("TARGETS").decode().split()
        self.assertFalse([t for t in targets if t.startswith("image/")], targets)
        app.process.send_signal(signal.SIGTERM)
        self.assertEqual(app.process.wait(TIMEOUT), 0)
        self.assertEqual(self.read("Start.ini").split(b"\r\n")[7:9], [b" 0 ", self.path("挨拶.cdt").encode("cp932")])

    def test_digit_keys_load_files_whatever_the_shift_state(self):
        app = self.start(NUMBERS, {"first.cdt": [("A", "a")], "second.cdt": [("B", "b")]})
        bar = app.wait_window("first")
        app.key(bar, "shift+2")  # the key, not its character, is the number
        app.wait(lambda: app.title(bar) == "second", "caption 'second'")
        app.key(bar, "KP_1", "1")  # keypad digits are not file numbers
        app.wait(lambda: app.title(bar) == "first", "caption 'first'")

    def test_f4_shows_what_another_program_put_on_the_clipboard(self):
        app = self.start(NUMBERS, {"memo.cdt": [("A", "a")]})
        bar = app.wait_window("memo")
        holder = subprocess.Popen(["xclip", "-selection", "clipboard", "-i"], env=self.x.env,
                                  stdin=subprocess.PIPE, stdout=subprocess.DEVNULL)
        self.addCleanup(holder.kill)
        holder.communicate("一行目\n二行目".encode("utf-8"))
        wait_until(self.x.clipboard, what="the clipboard owner")
        app.key(bar, "F4")
        view = app.wait(lambda: set(app.windows()) - {bar}, "the content view").pop()
        self.assertGreater(app.geometry(view)[3], 20)  # two lines
        app.click(view, 3, 3)
        app.wait_gone(view)


if __name__ == "__main__":
    unittest.main()
