"""The read-file selection for real: F6, Add through Qt's file dialog, OK loads the file."""

import unittest

from harness import SnipdeckTestCase, wait_until


class ReadFilesTest(SnipdeckTestCase):

    def test_f6_add_typed_path_and_ok_loads_it(self):
        first = self.write_clip_file("first.cdt", [("A", "a"), ("B", "b")])
        second = self.write_clip_file("second.cdt", [("C", "c")])
        self.write_start_ini([2, 240, 2400, 0, 0, 1500, 1500, 0], [first])
        app = self.launch()
        bar = app.wait_window("first")

        app.key(bar, "F6")
        files = app.wait_window("読込ﾌｧｲﾙ選択")
        before = set(app.windows())
        app.key(files, "alt+a")  # 追加(&A)
        dialog = wait_until(lambda: list(set(app.windows()) - before), what="file dialog")[0]
        self.assertEqual(app.title(dialog), "開く")
        # The file name box has the focus; a typed full path is taken as it is.
        app.type(dialog, second)
        app.key(dialog, "Return")
        app.wait_gone(dialog)

        # The added file is selected; Enter in the list is OK.
        app.key(files, "Return")
        app.wait_gone(files)
        wait_until(lambda: app.title(bar) == "second", what="caption 'second'")
        _, _, _, height = app.geometry(bar)
        self.assertEqual(height, round((1 * 240 + 100 + 5 * 240) / 15))

        app.key(bar, "alt+x")
        self.assertEqual(app.wait_exit(), 0)
        lines = self.read("Start.ini").split(b"\r\n")
        self.assertEqual(lines[7:10], [b" 1 ", first.encode(), second.encode()])

    def test_cancelled_file_dialog_and_esc_leave_the_list(self):
        first = self.write_clip_file("first.cdt", [("A", "a")])
        self.write_start_ini([1, 240, 2400, 0, 0, 1500, 1500, 0], [first])
        app = self.launch()
        bar = app.wait_window("first")
        app.key(bar, "F6")
        files = app.wait_window("読込ﾌｧｲﾙ選択")
        before = set(app.windows())
        app.key(files, "alt+a")
        dialog = wait_until(lambda: list(set(app.windows()) - before), what="file dialog")[0]
        app.key(dialog, "Escape")
        app.wait_gone(dialog)
        app.key(files, "Escape")  # Esc in the list is Cancel
        app.wait_gone(files)
        app.key(bar, "alt+x")
        self.assertEqual(app.wait_exit(), 0)
        lines = self.read("Start.ini").split(b"\r\n")
        self.assertEqual(lines[7:9], [b" 0 ", first.encode()])
        self.assertEqual(len(lines), 10)

    def test_folder_copied_from_windows_starts_on_its_files(self):
        # Start.ini and the clip files as they came from a Windows PC, side by side.
        greeting = self.write_clip_file("挨拶.cdt", [("挨拶", "お世話になっております。")])
        memo = self.write_clip_file("memo.cdt", [("M", "m")])
        self.write_start_ini([1, 240, 2400, 0, 0, 1500, 1500, 0],
                             ["C:\\Users\\yamada\\定型文\\挨拶.cdt", "\\\\server\\share\\MEMO.CDT",
                              "D:\\共有\\署名.cdt"])
        app = self.launch()
        app.dismiss_box("Snipdeck")  # 署名.cdt is nowhere: the one message
        bar = app.wait_window("挨拶")
        app.key(bar, "2")
        wait_until(lambda: app.title(bar) == "memo", what="caption 'memo'")
        app.key(bar, "alt+x")
        self.assertEqual(app.wait_exit(), 0)
        lines = self.read("Start.ini").split(b"\r\n")
        self.assertEqual(lines[7:], [b" 1 ", greeting.encode("cp932"), memo.encode(), b""])


if __name__ == "__main__":
    unittest.main()
