"""End-to-end harness: the built snipdeck under Xvfb, driven with xdotool, read with xclip.

Every test gets a fresh X server on a display of its own and a fresh working directory, so
tests can run in parallel and never touch the user's session or files.
"""

import os
import random
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

SNIPDECK = os.environ.get("SNIPDECK_BIN", "")
# Generous: a loaded machine running a sanitizer build can take seconds to map a window; a
# passing wait ends as soon as its condition holds.
TIMEOUT = float(os.environ.get("SNIPDECK_E2E_TIMEOUT", "30"))


def wait_until(predicate, timeout=TIMEOUT, what="condition"):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)
    return value


class XServer:
    """An Xvfb server, optionally with a window manager."""

    def __init__(self, window_manager=None):
        self.process = self.wm = None
        self.mapped_keys = set()
        # A random display rather than the lowest free one: parallel tests do not race for
        # it. -noreset: a client connecting while the last one leaves is not refused.
        for _ in range(20):
            self.env = dict(os.environ, DISPLAY=":%d" % random.randrange(100, 30000))
            process = subprocess.Popen(["Xvfb", self.env["DISPLAY"], "-screen", "0", "1280x1024x24", "-nolisten",
                                        "tcp", "-noreset"],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                wait_until(lambda: process.poll() is not None or self.run("xdotool", "getdisplaygeometry",
                                                                          check=False), 10, "Xvfb")
                if process.poll() is None:
                    self.process = process
                    break
            except AssertionError:
                process.kill()
            process.wait()
        if not self.process:
            raise RuntimeError("Xvfb did not start")
        for key in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"):
            self.env.pop(key, None)
        if window_manager:
            self.wm = subprocess.Popen(window_manager, env=self.env, stdout=subprocess.DEVNULL,
                                       stderr=subprocess.DEVNULL)
            wait_until(lambda: b"window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                                        check=False), what="the window manager")

    def run(self, *args, check=True):
        result = subprocess.run(args, env=self.env, capture_output=True, timeout=TIMEOUT)
        if check and result.returncode != 0:
            raise AssertionError("%s failed: %s" % (" ".join(args), result.stderr.decode()))
        return result.stdout

    def xdotool(self, *args, check=True):
        return self.run("xdotool", *args, check=check).decode().strip()

    def map_keys(self, text):
        """Gives each character of `text` beyond ASCII a free key of its own, for good.

        xdotool would map a spare key for each such character and take it back at once; a
        busy program then reads the key press after its mapping is gone, and the character
        is lost."""
        wanted = sorted({c for c in text if ord(c) > 0x7e} - self.mapped_keys)
        free = [int(line.split()[1]) for line in self.run("xmodmap", "-pke").decode().splitlines()
                if line.split()[2:] == ["="]]
        args = []
        for c in wanted:
            args += ["-e", "keycode %d = U%04X" % (free.pop(), ord(c))]
        if args:
            self.run("xmodmap", *args)
        self.mapped_keys.update(wanted)

    def clipboard(self, target="UTF8_STRING"):
        return self.run("xclip", "-selection", "clipboard", "-o", "-t", target, check=False)

    def close(self):
        for proc in (self.wm, self.process):
            if proc and proc.poll() is None:
                proc.terminate()
                proc.wait(5)


class Snipdeck:
    """The real program, started in a working directory on an X server."""

    def __init__(self, xserver, workdir, extra_env=None, command=None):
        self.x = xserver
        self.log = open(os.path.join(workdir, ".snipdeck.log"), "w+b")
        self.process = subprocess.Popen(command or [SNIPDECK], cwd=workdir, env=dict(xserver.env, **(extra_env or {})),
                                        stdout=self.log, stderr=subprocess.STDOUT)

    def windows(self, name=None):
        """Ids of this process's visible windows, optionally those whose title matches `name`."""
        args = ["search", "--all", "--onlyvisible", "--pid", str(self.process.pid)]
        return self.x.xdotool(*args + (["--name", name] if name else []), check=False).split()

    def wait_window(self, name):
        """Waits for a visible window whose title matches the regular expression `name`."""
        return self.wait(lambda: self.windows("^" + name + "$"), "window " + repr(name))[0]

    def wait(self, condition, what):
        """wait_until, failing with what the program shows and printed."""
        try:
            return wait_until(condition, what=what)
        except AssertionError as error:
            self.log.seek(0)
            raise AssertionError("%s; exit status %s; windows %s; output: %s" % (
                error, self.process.poll(), [self.title(w) for w in self.windows()],
                self.log.read().decode("utf-8", "replace")[-1500:])) from None

    def wait_gone(self, window):
        self.wait(lambda: window not in self.windows(), "window %s to close" % window)

    def title(self, window):
        return self.x.xdotool("getwindowname", window, check=False)

    def geometry(self, window):
        """(x, y, width, height) of a window, in pixels."""
        out = self.x.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.splitlines())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def focus(self, window):
        self.x.xdotool("windowactivate", "--sync", window, check=False)
        self.x.xdotool("windowfocus", "--sync", window, check=False)

    def key(self, window, *keys):
        """Focuses `window` and types keys through XTEST, as a keyboard would."""
        self.focus(window)
        self.x.xdotool("key", "--clearmodifiers", *keys)

    def type(self, window, text):
        self.x.map_keys(text)
        self.focus(window)
        self.x.xdotool("type", "--delay", "20", text)

    def click(self, window, x, y):
        # From a corner: a move onto the spot the pointer is already at would never report.
        self.x.xdotool("mousemove", "0", "0")
        self.x.xdotool("mousemove", "--window", window, "--sync", str(x), str(y))
        self.x.xdotool("click", "1")

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(5)
        self.log.close()


class SnipdeckTestCase(unittest.TestCase):
    """Gives each test an X server (`self.x`) and a working directory (`self.dir`)."""

    window_manager = None

    def setUp(self):
        if not os.path.exists(SNIPDECK):
            self.skipTest("SNIPDECK_BIN does not name the built program")
        for tool in ["Xvfb", "xdotool", "xclip", "xprop", "xmodmap"] + (self.window_manager or []):
            if not shutil.which(tool):
                self.fail(tool + " is missing; run scripts/install-deps.sh")
        self.x = XServer(self.window_manager)
        self.addCleanup(self.x.close)
        self.dir = tempfile.mkdtemp(prefix="snipdeck-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def start(self, numbers, files, extra_env=None, command=None):
        """Writes the clip data files {name: [(caption, text)]} and a Start.ini listing them
        after the eight numbers, and starts the program."""
        paths = [self.write(name, "".join("#%s\r\n%s\r\n" % e for e in entries).encode("cp932"))
                 for name, entries in files.items()]
        lines = ["%s " % n if n < 0 else " %s " % n for n in numbers] + paths
        self.write("Start.ini", "".join(line + "\r\n" for line in lines).encode("cp932"))
        return self.launch(extra_env, command)

    def launch(self, extra_env=None, command=None):
        app = Snipdeck(self.x, self.dir, extra_env, command)
        self.addCleanup(app.close)
        return app

    def exit(self, app, bar):
        """Ends the program with 終了(&X); returns Start.ini's lines."""
        app.key(bar, "alt+x")
        self.assertEqual(app.process.wait(TIMEOUT), 0)
        return self.read("Start.ini").split(b"\r\n")
