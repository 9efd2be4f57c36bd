"""Text and files as they live on a Linux desktop: what input methods type, UTF-8 clip files,
saves by other programs, and a folder brought over from Windows."""

import os
import unittest

from harness import SnipdeckTestCase, wait_until

NUMBERS = [14, 240, 2400, 0, 0, 1500, 1500, 0]
EDITOR = "ﾎﾞﾀﾝ内容編集"


class LinuxTextTest(SnipdeckTestCase):

    def start_on(self, name, data):
        path = self.write(name, data)
        self.write("Start.ini", "".join(" %s \r\n" % n for n in NUMBERS).encode() + path.encode() + b"\r\n")
        app = self.launch()
        return app, app.wait_window(name[:-4]), path

    def type_into_editor(self, app, bar, path, text):
        """F2, `text` typed at the end of the first entry's text, OK; the file as saved."""
        before = os.stat(path).st_mtime_ns
        app.key(bar, "F2")
        editor = app.wait_window(EDITOR)
        app.click(editor, 1920 // 15 + 20, 360 // 15 + 20)  # the text box
        app.key(editor, "ctrl+End")
        app.type(editor, text)
        app.click(editor, (6600 + 1095 // 2) // 15, (5880 + 255 // 2) // 15)  # OK
        app.wait_gone(editor)
        wait_until(lambda: os.stat(path).st_mtime_ns != before, what="the file to be saved")
        return self.read(os.path.basename(path))

    def test_wave_dash_as_input_methods_type_it_is_saved_as_shift_jis(self):
        app, bar, path = self.start_on("memo.cdt", b"#A\r\n")
        self.assertEqual(self.type_into_editor(app, bar, path, "9:00〜17:00"), b"#A\r\n9:00\x81\x6017:00\r\n")
        self.assertEqual(app.windows("^Snipdeck$"), [])  # no refusal

    def test_utf8_file_is_read_and_saved_as_utf8(self):
        bom = b"\xef\xbb\xbf"
        app, bar, path = self.start_on("memo.cdt", bom + "#挨拶\r\nこんにちは\r\n".encode())
        app.click(bar, 20, 5)
        self.assertEqual(wait_until(self.x.clipboard, what="clipboard text").decode(), "こんにちは")
        self.assertEqual(self.type_into_editor(app, bar, path, "〜é😀"),
                         bom + "#挨拶\r\nこんにちは〜é😀\r\n".encode())

    def test_a_save_by_another_program_reloads_the_bar(self):
        app, bar, path = self.start_on("memo.cdt", b"#A\r\nold\r\n")
        # An editor's save: a new file renamed over the old one. The second one finds the
        # watch renewed after the first.
        for text in ("first", "second"):
            self.write("memo.cdt.tmp", b"#A\r\n%s\r\n" % text.encode())
            os.replace(self.path("memo.cdt.tmp"), path)

            def pasted():
                app.click(bar, 20, 5)
                return self.x.clipboard() == text.encode()
            wait_until(pasted, timeout=2, what="the text saved by the other program")

    def test_folder_copied_from_windows_starts_on_its_files(self):
        greeting = self.write("挨拶.cdt", "#挨拶\r\nお世話になっております。\r\n".encode("cp932"))
        memo = self.write("memo.cdt", b"#M\r\nm\r\n")
        listed = ["C:\\Users\\yamada\\定型文\\挨拶.cdt", "\\\\server\\share\\MEMO.CDT", "D:\\共有\\署名.cdt"]
        self.write("Start.ini", "".join(" %s \r\n" % n for n in [1, 240, 2400, 0, 0, 1500, 1500, 0])
                   .encode() + "".join(p + "\r\n" for p in listed).encode("cp932"))
        app = self.launch()
        box = app.wait_window("Snipdeck")  # 署名.cdt is nowhere: the one message
        app.key(box, "Return")
        app.wait_gone(box)
        bar = app.wait_window("挨拶")
        app.key(bar, "2")
        app.wait(lambda: app.title(bar) == "memo", "caption 'memo'")
        lines = self.exit(app, bar)
        self.assertEqual(lines[7:], [b" 1 ", greeting.encode("cp932"), memo.encode(), b""])


if __name__ == "__main__":
    unittest.main()
