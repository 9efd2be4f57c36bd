"""Editing for real: renaming with F1, the editor's OK with F2, and opening the clip data
file in the desktop's associated program."""

import json
import os
import unittest

from harness import SnipdeckTestCase, encode, wait_until

NUMBERS = [14, 240, 2400, 0, 0, 1500, 1500, 0]
RENAME = "ﾎﾞﾀﾝ名の変更"
EDITOR = "ﾎﾞﾀﾝ内容編集"
OLD = 946684800  # 2000-01-01, far older than any write this test makes


class EditingTest(SnipdeckTestCase):

    def start_on(self, path, extra_env=None):
        self.write_start_ini(NUMBERS, [path])
        os.utime(path, (OLD, OLD))
        app = self.launch(extra_env)
        name = os.path.basename(path)
        return app, app.wait_window(name[:-4])

    def wait_rewritten(self, path):
        wait_until(lambda: os.stat(path).st_mtime > OLD, what="the file to be written")
        with open(path, "rb") as f:
            return f.read()

    def test_f1_renames_the_button_and_rewrites_the_file(self):
        path = self.write("memo.cdt", encode("#ｱｲｳ\r\none\r\n#B\r\nb\r\nc\r\n"))
        app, bar = self.start_on(path)
        app.key(bar, "F1")  # on the first button, which has the focus
        dialog = app.wait_window(RENAME)
        app.type(dialog, "Renamed 1")  # replaces the selected old name
        app.key(dialog, "Return")
        app.wait_gone(dialog)
        self.assertEqual(self.wait_rewritten(path), b"#Renamed 1\r\none\r\n#B\r\nb\r\nc\r\n")

    def test_escape_in_the_rename_dialog_writes_nothing(self):
        path = self.write("memo.cdt", b"#A\r\na\r\n")
        app, bar = self.start_on(path)
        app.key(bar, "F1")
        dialog = app.wait_window(RENAME)
        app.type(dialog, "x")
        app.key(dialog, "Escape")
        app.wait_gone(dialog)
        # The bar answers again, and the file was left alone.
        app.key(bar, "F1")
        dialog = app.wait_window(RENAME)
        app.key(dialog, "Escape")
        app.wait_gone(dialog)
        self.assertEqual(os.stat(path).st_mtime, OLD)

    def test_f2_editor_ok_rewrites_the_file_byte_for_byte(self):
        # Katakana and kanji, inner and trailing empty lines, a lone LF inside a line, an
        # empty caption and an empty text: all must come back exactly as the format writes.
        original = encode("#ｶﾅ 漢字\r\n一行目\r\n\r\n三行目\r\n\r\n#x\ny\r\nz\r\n#\r\n\r\n#&Amp\r\nend\r\n")
        path = self.write("memo.cdt", original)
        app, bar = self.start_on(path)
        app.key(bar, "F2")
        editor = app.wait_window(EDITOR)
        # OK: 6600, 5880 twips, 1095 x 255 twips, at 15 twips a pixel.
        app.click(editor, (6600 + 1095 // 2) // 15, (5880 + 255 // 2) // 15)
        app.wait_gone(editor)
        self.assertEqual(self.wait_rewritten(path), original)

    def type_into_editor(self, app, bar, text):
        """Opens the editor with F2, types `text` at the end of the first entry's text, OK."""
        app.key(bar, "F2")
        editor = app.wait_window(EDITOR)
        # The text box: 1920, 360 twips.
        app.click(editor, 1920 // 15 + 20, 360 // 15 + 20)
        app.key(editor, "ctrl+End")
        app.type(editor, text)
        app.click(editor, (6600 + 1095 // 2) // 15, (5880 + 255 // 2) // 15)
        app.wait_gone(editor)

    def test_wave_dash_as_linux_types_it_is_saved_as_shift_jis(self):
        path = self.write("memo.cdt", b"#A\r\n")
        app, bar = self.start_on(path)
        self.type_into_editor(app, bar, "9:00〜17:00")
        self.assertEqual(self.wait_rewritten(path), b"#A\r\n9:00\x81\x6017:00\r\n")
        self.assertEqual(app.windows("^Snipdeck$"), [])  # no refusal

    def test_utf8_file_is_read_and_saved_as_utf8(self):
        bom = b"\xef\xbb\xbf"
        path = self.write("memo.cdt", bom + "#挨拶\r\nこんにちは\r\n".encode("utf-8"))
        app, bar = self.start_on(path)
        app.click(bar, 20, 5)
        got = wait_until(lambda: self.x.clipboard() or None, what="clipboard text")
        self.assertEqual(got.decode("utf-8"), "こんにちは")
        self.type_into_editor(app, bar, "〜é😀")
        self.assertEqual(self.wait_rewritten(path),
                         bom + "#挨拶\r\nこんにちは〜é😀\r\n".encode("utf-8"))

    def test_editor_menu_inserts_a_named_entry_and_delete_removes_one(self):
        path = self.write("memo.cdt", b"#A\r\na\r\n#B\r\nb\r\n#C\r\nc\r\n")
        app, bar = self.start_on(path)
        app.key(bar, "F2")
        editor = app.wait_window(EDITOR)
        # The first row of the list starts 360 twips (24 pixels) down the window.
        before = set(app.windows())
        app.click(editor, 40, 28, button=3)
        wait_until(lambda: set(app.windows()) - before, what="the list menu")
        self.x.xdotool("key", "i")  # 挿入(&I)
        dialog = app.wait_window(RENAME)
        app.type(dialog, "New")
        app.key(dialog, "Return")
        app.wait_gone(dialog)
        # The list has the focus again; the last entry goes with the Delete key.
        app.key(editor, "End", "Delete")
        app.click(editor, (6600 + 1095 // 2) // 15, (5880 + 255 // 2) // 15)
        app.wait_gone(editor)
        expected = b"#New\r\n\r\n#A\r\na\r\n#B\r\nb\r\n"
        wait_until(lambda: self.read("memo.cdt") == expected, what="the edited file")

    def test_edit_starts_the_associated_program_on_the_path_alone(self):
        xdg = self.path("xdg")
        record = self.path("stub-calls.jsonl")
        stub = os.path.join(xdg, "stub-editor")
        os.makedirs(os.path.join(xdg, "system"))
        os.symlink("/usr/share/mime", os.path.join(xdg, "system", "mime"))
        os.makedirs(os.path.join(xdg, "data", "applications"))
        os.makedirs(os.path.join(xdg, "config"))
        with open(stub, "w") as f:
            f.write("#!/usr/bin/env python3\nimport json, sys\n"
                    "with open(%r, 'a') as out:\n"
                    "    out.write(json.dumps(sys.argv[1:]) + '\\n')\n" % record)
        os.chmod(stub, 0o755)
        with open(os.path.join(xdg, "data", "applications", "stub.desktop"), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Stub editor\n"
                    "MimeType=text/plain;\nExec=%s %%f\n" % stub)
        with open(os.path.join(xdg, "config", "mimeapps.list"), "w") as f:
            f.write("[Default Applications]\ntext/plain=stub.desktop\n")

        folder = self.path("my clips; $(touch pwned)")
        os.makedirs(folder)
        path = os.path.join(folder, "to do;touch pwned.cdt")
        with open(path, "wb") as f:
            f.write(encode("#A\r\na\r\n"))
        env = {"XDG_DATA_DIRS": os.path.join(xdg, "system"),
               "XDG_DATA_HOME": os.path.join(xdg, "data"),
               "XDG_CONFIG_HOME": os.path.join(xdg, "config")}
        app, bar = self.start_on(path, env)
        app.key(bar, "F7")  # the key of "編集(&E)"
        wait_until(lambda: os.path.exists(record), what="the stub editor to run")
        with open(record) as f:
            calls = [json.loads(line) for line in f]
        self.assertEqual(calls, [[path]])
        self.assertFalse(os.path.exists(self.path("pwned")))
        self.assertFalse(os.path.exists(os.path.join(folder, "pwned")))
        self.assertEqual(app.windows("^Snipdeck$"), [])  # no message box

    def test_edit_without_an_association_says_so_and_starts_nothing(self):
        xdg = self.path("xdg")
        os.makedirs(os.path.join(xdg, "system"))
        os.symlink("/usr/share/mime", os.path.join(xdg, "system", "mime"))
        path = self.write("memo.cdt", b"#A\r\na\r\n")
        env = {"XDG_DATA_DIRS": os.path.join(xdg, "system"),
               "XDG_DATA_HOME": os.path.join(xdg, "data"),
               "XDG_CONFIG_HOME": os.path.join(xdg, "config")}
        app, bar = self.start_on(path, env)
        app.key(bar, "F7")
        app.dismiss_box("Snipdeck")
        self.assertIsNone(app.process.poll())


if __name__ == "__main__":
    unittest.main()
