"""The button bar for real: start-up, clipboard, file switching, content view, exit."""

import os
import signal
import unittest

from harness import SnipdeckTestCase, encode, wait_until


class ButtonBarTest(SnipdeckTestCase):

    def start_with(self, files, index=0, count=14):
        paths = [self.write_clip_file(name, entries) for name, entries in files]
        self.write_start_ini([count, 240, 2400, 0, 0, 1500, 1500, index], paths)
        app = self.launch()
        return app, app.wait_window(files[index][0][:-4])

    def test_fresh_start_reports_settings_file_and_exit_writes_it(self):
        app = self.launch()
        app.dismiss_box("Snipdeck")  # the settings-file message comes before the bar
        bar = app.wait_window("Snipdeck")
        x, y, width, height = app.geometry(bar)
        # 14 buttons of 240 twips, a 100 twip gap and five control buttons, 15 twips a pixel.
        self.assertEqual(width, 2400 // 15)
        self.assertEqual(height, round((14 * 240 + 100 + 5 * 240) / 15))
        app.key(bar, "alt+x")  # 終了(&X)
        self.assertEqual(app.wait_exit(), 0)
        lines = self.read("Start.ini").split(b"\r\n")
        self.assertEqual(lines[-1], b"")
        self.assertEqual(len(lines) - 1, 8)
        self.assertEqual(lines[:5], [b" 14 ", b" 240 ", b" 2400 ", b" 0 ", b" 0 "])
        self.assertEqual(lines[7], b"-1 ")
        # The position is whole twips: a blank, digits, a blank.
        for line in lines[5:7]:
            self.assertRegex(line.decode(), r"^( \d+|-\d+) $")

    def test_termination_signal_saves_settings_like_closing(self):
        app, bar = self.start_with([("memo.cdt", [("A", "a")])], count=1)
        app.process.send_signal(signal.SIGTERM)
        self.assertEqual(app.wait_exit(), 0)
        lines = self.read("Start.ini").split(b"\r\n")
        self.assertEqual(lines[0], b" 1 ")
        self.assertEqual(lines[7:9], [b" 0 ", self.path("memo.cdt").encode()])

    def test_snippet_button_puts_its_text_on_clipboard_with_lf_line_ends(self):
        text = "お世話になっております。\r\n山田です。\r\n"
        app, bar = self.start_with([("挨拶.cdt", [("挨拶", text.rstrip("\r\n") + "\r\n"),
                                                  ("二番", "two")])])
        app.click(bar, 20, 5)  # the first snippet button
        got = wait_until(lambda: self.x.run("xclip", "-selection", "clipboard", "-o", "-t",
                                            "UTF8_STRING", check=False) or None,
                         what="clipboard text")
        self.assertEqual(got.decode("utf-8"), "お世話になっております。\n山田です。\n")
        targets = self.x.clipboard_targets()
        self.assertFalse([t for t in targets if t.startswith("image/")], targets)

    def test_a_save_by_another_program_reloads_the_bar(self):
        app, bar = self.start_with([("memo.cdt", [("A", "old")])], count=1)
        # An editor's save: a new file renamed over the old one. The second one finds the
        # watch renewed after the first.
        for text in ("first", "second"):
            self.write("memo.cdt.tmp", encode("#A\r\n%s\r\n" % text))
            os.replace(self.path("memo.cdt.tmp"), self.path("memo.cdt"))

            def pasted():
                app.click(bar, 20, 5)
                return self.x.run("xclip", "-selection", "clipboard", "-o", "-t",
                                  "UTF8_STRING", check=False) == text.encode()
            wait_until(pasted, timeout=2, what="the text saved by the other program")

    def test_file_on_one_huge_line_leaves_the_bar_responsive(self):
        body = "あ" * 1000000
        self.write("big.cdt", b"#" + b"x" * (20 * 1024 * 1024) + b"\r\nsmall\r\n#second\r\n"
                   + encode(body) + b"\r\n")
        self.write_start_ini([14, 240, 2400, 0, 0, 1500, 1500, 0], [self.path("big.cdt")])
        app = self.launch()
        bar = app.wait_window("big")
        app.click(bar, 20, 20)  # the second button, below the huge one
        got = wait_until(lambda: self.x.run("xclip", "-selection", "clipboard", "-o", "-t",
                                            "UTF8_STRING", check=False) or None,
                         what="clipboard text")
        self.assertEqual(got.decode("utf-8"), body)

    def test_digit_key_switches_files(self):
        app, bar = self.start_with([("first.cdt", [("A", "a")]), ("second.cdt", [("B", "b")])])
        app.key(bar, "shift+2")  # the key, not its character, is the number
        wait_until(lambda: app.title(bar) == "second", what="caption 'second'")
        app.key(bar, "KP_1")  # keypad digits are not file numbers
        app.key(bar, "1")
        wait_until(lambda: app.title(bar) == "first", what="caption 'first'")

    def test_f4_shows_clipboard_text_and_click_dismisses_it(self):
        app, bar = self.start_with([("memo.cdt", [("A", "a")])])
        holder = self.x.set_clipboard("一行目\n二行目".encode("utf-8"))
        self.addCleanup(holder.kill)
        before = set(app.windows())
        app.key(bar, "F4")
        view = wait_until(lambda: list(set(app.windows()) - before), what="content view")[0]
        _, _, width, height = app.geometry(view)
        self.assertGreater(width, 10)
        self.assertGreater(height, 20)  # two lines
        app.click(view, 3, 3)
        app.wait_gone(view)
        # The bar takes input again: a digit reloads the file without complaint.
        app.key(bar, "1")
        self.assertEqual(app.title(bar), "memo")


if __name__ == "__main__":
    unittest.main()
