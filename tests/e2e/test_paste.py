"""Click to paste under a window manager: another program's text field gets the snippet with the option
on and nothing with it off; the options as the menu sets them."""

import os
import subprocess
import time

from harness import SnipdeckTestCase, wait_until

FIELD = os.environ.get("SNIPDECK_TEXTFIELD", "")


class PasteTest(SnipdeckTestCase):
    window_manager = ["jwm"]

    def menu_item(self, app, bar, key):
        """Right click on the first button, then the item's accelerator."""
        app.key(bar)
        self.x.xdotool("mousemove", "--window", bar, "20", "5")
        self.x.xdotool("click", "3")
        app.wait(lambda: len(app.windows()) > 1, "the menu")
        self.x.xdotool("key", key)
        app.wait(lambda: len(app.windows()) == 1, "the menu to close")

    def test_paste_on_and_off(self):
        field = subprocess.Popen([FIELD], env=self.x.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.addCleanup(lambda: (field.kill(), field.wait(5), field.stdout.close()))
        os.set_blocking(field.stdout.fileno(), False)
        typed = []

        def field_text():
            typed.extend(line.rstrip("\n") for line in iter(field.stdout.readline, ""))
            return typed[-1] if typed else ""

        app = self.start([1, 300, 2400, 0, 0, 1500, 1500, 0], [self.write("p.cdt", "#A\r\nお世話になります\r\n".encode("cp932"))],
                         {"XDG_CONFIG_HOME": self.path("config")})
        bar = app.wait_window("p")
        window = wait_until(lambda: self.x.xdotool("search", "--onlyvisible", "--name", "^field$", check=False), what="the field")
        for on in (False, True, False):
            if on:
                self.menu_item(app, bar, "p")  # ｸﾘｯｸで貼り付け(&P)
                self.assertEqual(self.read("Snipdeck.ini"), b"ClickPaste=1\n")
            elif os.path.exists(self.path("Snipdeck.ini")):
                self.menu_item(app, bar, "p")
                self.assertEqual(self.read("Snipdeck.ini"), b"ClickPaste=0\n")
            app.key(window)  # the user types in the field, then clicks the bar
            self.x.xdotool("type", "x")
            wait_until(lambda: field_text() == "x", what="typed x")
            app.click(bar, 20, 5)
            clicked = time.monotonic()
            wait_until(lambda: self.x.clipboard() == "お世話になります".encode(), what="the clipboard")
            if on:
                wait_until(lambda: field_text() == "xお世話になります", what="the paste")
                self.assertLess(time.monotonic() - clicked, 1.0)
            else:
                time.sleep(1.0)
                self.assertEqual(field_text(), "x")
            app.key(window, "ctrl+a", "BackSpace")
            wait_until(lambda: field_text() == "", what="an empty field")

        app.exit(bar)
