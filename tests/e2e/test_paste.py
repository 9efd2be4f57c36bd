"""Click to paste under a window manager: another program's text field gets the snippet with the option
on and nothing with it off, on every keyboard layout the user switches to while the bar runs, once the
keys of the press are let go; the options as the menu sets them."""

import os
import subprocess
import time

from harness import SnipdeckTestCase, wait_until

FIELD = os.environ.get("SNIPDECK_TEXTFIELD", "")
SNIPPET = "お世話になります"

# Layout and variant, switched to with setxkbmap while the bar runs. V sits elsewhere (Dvorak: where
# the US layout has K, whose Ctrl+K would empty the line), on the second group only, or nowhere
# (Russian, Japanese kana: the bar lends V a spare key).
LAYOUTS = [("us", ""), ("us", "dvorak"), ("jp", ""), ("jp", "kana"), ("ru", ""), ("ru,us", ""), ("de", ""),
           ("fr", "")]


class PasteTest(SnipdeckTestCase):
    window_manager = ["jwm"]

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
            if on or os.path.exists(self.path("Snipdeck.ini")):
                app.menu_item(bar, "p")  # ｸﾘｯｸで貼り付け(&P)
                ini = lambda: os.path.exists(self.path("Snipdeck.ini")) and self.read("Snipdeck.ini")
                wait_until(lambda: ini() == b"ClickPaste=%d\n" % on, what="Snipdeck.ini")  # written as the menu closes
            app.key(window)  # the user types in the field, then clicks the bar
            self.x.xdotool("type", "x")
            wait_until(lambda: field_text() == "x", what="typed x")
            app.click(bar, 20, 5)
            clicked = time.monotonic()
            wait_until(lambda: self.x.clipboard() == SNIPPET.encode(), what="the clipboard")
            if on:
                wait_until(lambda: field_text() == "x" + SNIPPET, what="the paste")
                self.assertLess(time.monotonic() - clicked, 1.0)
            else:
                time.sleep(1.0)
                self.assertEqual(field_text(), "x")
            app.key(window, "ctrl+a", "BackSpace")
            wait_until(lambda: field_text() == "", what="an empty field")
        app.menu_item(bar, "p")

        # Then with a key still held, from a press of the button or before: the paste waits until it is let go.
        held_keys = [("de", "", held) for held in ("Return", "ISO_Level3_Shift")]  # ISO_Level3_Shift: AltGr, Mod5
        for layout, variant, held in [layout + (None,) for layout in LAYOUTS] + held_keys:
            with self.subTest(layout=layout, variant=variant, held=held):
                self.x.run("setxkbmap", "us")  # "x" in the field, the caret before it, then the layout in force
                app.key(window, "ctrl+a", "BackSpace", "x", "Home")
                wait_until(lambda: field_text() == "x", what="x in the field")
                self.x.run("setxkbmap", "-layout", layout, "-variant", variant)
                if held:
                    self.x.xdotool("keydown", held)
                app.click(bar, 20, 5)
                if held:
                    time.sleep(0.5)
                    self.assertEqual(field_text(), "x")
                    self.x.xdotool("keyup", held)
                wait_until(lambda: field_text() != "x", what="the paste")
                self.assertEqual(field_text(), SNIPPET + "x")
        self.x.run("setxkbmap", "us")

        app.exit(bar)
