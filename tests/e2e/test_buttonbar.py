"""A session as a Linux desktop has it: XWayland, a folder from Windows, UTF-8 and Shift-JIS files,
input-method text, the real clipboard and keys, a save by another program, the end by a signal."""

import os
import signal
import subprocess
import tempfile

from harness import QUIET, TIMEOUT, SnipdeckTestCase, wait_until

BOM = b"\xef\xbb\xbf"


class DesktopSessionTest(SnipdeckTestCase):

    def edit(self, app, bar, path, text):
        """F2, `text` typed at the end of the first entry's text, OK; the file as saved."""
        before = os.stat(path).st_mtime_ns
        app.key(bar, "F2")
        editor = app.wait_window("ﾎﾞﾀﾝ内容編集")
        app.click(editor, 1920 // 15 + 20, 360 // 15 + 20)  # the text box
        app.key(editor, "ctrl+End")
        app.type(editor, text)
        app.click(editor, (6600 + 1095 // 2) // 15, (5880 + 255 // 2) // 15)  # OK
        app.wait_gone(editor)
        wait_until(lambda: os.stat(path).st_mtime_ns != before, what="the file to be saved")
        return self.read(os.path.basename(path))

    def paste(self, app, bar, expected, timeout=TIMEOUT):
        """Clicks the first snippet button until the clipboard holds `expected`."""
        wait_until(lambda: app.click(bar, 20, 5) or self.x.clipboard() == expected.encode(), timeout, what=expected)

    def saved_elsewhere(self, app, bar, path, data, expected):
        """Another program's save, as editors make it: a new file renamed over `path`; the first button then copies
        `expected`."""
        self.write("new.tmp", data)
        os.replace(self.path("new.tmp"), path)
        self.paste(app, bar, expected, timeout=2)

    def test_session(self):
        greeting = self.write("挨拶.cdt", "#挨拶\r\nお世話になっております。\r\n山田です。\r\n".encode("cp932"))
        memo = self.write("memo.cdt", BOM + "#M\r\nこんにちは\r\n".encode())
        # No compositor: WAYLAND_DISPLAY names no socket, and Qt says "wl_display" if it tries.
        wayland = {"XDG_SESSION_TYPE": "wayland", "WAYLAND_DISPLAY": "none", "XDG_RUNTIME_DIR": tempfile.mkdtemp(dir=self.dir),
                   "XDG_CONFIG_HOME": self.path("config")}
        app = self.start([1, 240, 2400, 0, 0, 1500, 3000, 0],
                         ["C:\\Users\\yamada\\定型文\\挨拶.cdt", "\\\\server\\share\\MEMO.CDT", "D:\\共有\\署名.cdt"], wayland)
        app.key(app.wait_window("Snipdeck"), "Return")  # 署名.cdt is nowhere: the one message
        bar = app.wait_window("挨拶")
        self.assertEqual(app.geometry(bar)[:2], (200, 100))  # left 3000, top 1500 twips
        # The other windows of a Wayland session are out of reach: ｸﾘｯｸで貼り付け(&P) is disabled, the
        # menu stays open for ﾛｸﾞｲﾝ時に起動(&L).
        app.key(bar, "Menu")
        app.wait(lambda: len(app.windows()) > 1, "the menu")
        self.x.xdotool("key", "p", "l")
        wait_until(lambda: os.path.exists(self.path("config/autostart/snipdeck.desktop")), what="the autostart entry")
        self.assertFalse(os.path.exists(self.path("Snipdeck.ini")))

        self.paste(app, bar, "お世話になっております。\n山田です。")
        for text in ("外から", "お世話になっております。\r\n山田です。"):  # another program saves the file the bar started on
            self.saved_elsewhere(app, bar, greeting, ("#挨拶\r\n%s\r\n" % text).encode("cp932"), text.replace("\r\n", "\n"))
        targets = self.x.clipboard("TARGETS").decode().split()
        self.assertFalse([t for t in targets if t.startswith("image/")], targets)
        # The wave dash input methods type is Shift-JIS 8160, not a refusal.
        self.assertEqual(self.edit(app, bar, greeting, "9:00〜17:00"),
                         "#挨拶\r\nお世話になっております。\r\n山田です。".encode("cp932") + b"9:00\x81\x6017:00\r\n")
        self.assertEqual(app.windows(), [bar])  # no refusal, and the message is gone
        app.key(bar, "Return")  # the focus is back on the button the editor was opened from
        wait_until(lambda: self.x.clipboard() == "お世話になっております。\n山田です。9:00〜17:00".encode(), what="Enter")

        app.key(bar, "shift+2")  # the key, not its character, is the number
        app.wait(lambda: app.title(bar) == "memo", "file 2")
        app.key(bar, "KP_1")  # keypad digits are not file numbers
        self.paste(app, bar, "こんにちは")
        self.assertEqual(self.edit(app, bar, memo, "〜é😀"),
                         BOM + "#M\r\nこんにちは〜é😀\r\n".encode())
        # An editor's save: a new file renamed over the old one; the second finds the watch renewed.
        for text in ("first", "second"):
            self.saved_elsewhere(app, bar, memo, b"#A\r\n%s\r\n" % text.encode(), text)

        subprocess.run(["xclip", "-selection", "clipboard", "-i"], input="一行目\n二行目".encode(), env=self.x.env,
                       check=True, **QUIET)  # xclip stays behind to serve it
        wait_until(lambda: self.x.clipboard() != b"second", what="another program's clipboard")
        app.key(bar, "F4")
        view = app.wait(lambda: set(app.windows()) - {bar}, "the content view").pop()
        self.assertGreater(app.geometry(view)[3], 20)  # two lines
        app.click(view, 3, 3)
        app.wait_gone(view)

        app.process.send_signal(signal.SIGTERM)  # ends like closing: Start.ini saved
        app.assert_ended_well()
        self.assertEqual(self.read("Start.ini").split(b"\r\n")[7:], [b" 1 ", greeting.encode("cp932"), memo.encode(), b""])
        self.assertNotIn(b"wl_display", self.read(".snipdeck.log"))

