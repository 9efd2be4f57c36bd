"""The built snipdeck on an Xvfb server and in a folder of its own, driven with xdotool, read with xclip."""

import os
import pathlib
import shutil
import subprocess
import tempfile
import time
import unittest

SNIPDECK = os.environ.get("SNIPDECK_BIN", "")
# Generous for a loaded machine or a sanitizer build; a passing wait ends at once.
TIMEOUT = float(os.environ.get("SNIPDECK_E2E_TIMEOUT", "30"))
QUIET = dict(stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def wait_until(predicate, timeout=TIMEOUT, what="condition"):
    deadline = time.monotonic() + timeout
    while not (value := predicate()):
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)
    return value


class XServer:
    def __init__(self, window_manager):
        self.wm = None
        read, write = os.pipe()  # Xvfb writes the display it took once it is ready
        # -noreset: a client connecting while the last one leaves is not refused.
        self.process = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24",
                                         "-nolisten", "tcp", "-noreset"], pass_fds=[write], **QUIET)
        os.close(write)
        with os.fdopen(read) as f:
            display = f.readline().strip() or "none"
        unset = ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE")
        self.env = dict({k: v for k, v in os.environ.items() if k not in unset}, DISPLAY=":" + display)
        if window_manager:
            self.wm = subprocess.Popen(window_manager, env=self.env, **QUIET)
            wait_until(lambda: b"window id" in self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False),
                       what="the window manager")

    def run(self, *args, check=True):
        result = subprocess.run(args, env=self.env, capture_output=True, timeout=TIMEOUT)
        if check and result.returncode != 0:
            raise AssertionError("%s failed: %s" % (" ".join(args), result.stderr.decode()))
        return result.stdout

    def xdotool(self, *args, check=True):
        return self.run("xdotool", *args, check=check).decode().strip()

    def clipboard(self, target="UTF8_STRING"):
        return self.run("xclip", "-selection", "clipboard", "-o", "-t", target, check=False)


class Snipdeck:
    def __init__(self, xserver, workdir, extra_env, command):
        self.x = xserver
        self.log = open(os.path.join(workdir, ".snipdeck.log"), "w+b")
        self.process = subprocess.Popen(command or [SNIPDECK], cwd=workdir, env=dict(xserver.env, **(extra_env or {})),
                                        stdout=self.log, stderr=subprocess.STDOUT)

    def windows(self, name=None):
        args = ["search", "--all", "--onlyvisible", "--pid", str(self.process.pid)]
        return self.x.xdotool(*args + (["--name", name] if name else []), check=False).split()

    def wait_window(self, name):
        return self.wait(lambda: self.windows("^" + name + "$"), "window " + repr(name))[0]

    def wait(self, condition, what):
        """wait_until, failing with what the program printed."""
        try:
            return wait_until(condition, what=what)
        except AssertionError as error:
            self.log.seek(0)
            raise AssertionError("%s; exit status %s; output: %s" % (error, self.process.poll(), self.log.read()[-1500:]))

    def wait_gone(self, window):
        self.wait(lambda: window not in self.windows(), "window %s to close" % window)

    def title(self, window):
        return self.x.xdotool("getwindowname", window, check=False)

    def geometry(self, window):  # x, y, width, height
        values = dict(line.split("=", 1) for line in self.x.xdotool("getwindowgeometry", "--shell", window).splitlines())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def key(self, window, *keys):
        """Focuses `window` and presses keys through XTEST, by scan code as a keyboard would."""
        self.x.xdotool("windowactivate", "--sync", window, check=False)
        self.x.xdotool("windowfocus", "--sync", window, check=False)
        if keys:
            self.x.xdotool("key", "--clearmodifiers", *keys)

    def type(self, window, text):
        # Each non-ASCII character gets a spare key for good: xdotool maps one per character and
        # takes it back at once, so a busy program would read the press after the mapping is gone.
        free = [int(line.split()[1]) for line in self.x.run("xmodmap", "-pke").decode().splitlines()
                if line.split()[2:] == ["="]]
        for c in sorted({c for c in text if ord(c) > 0x7e}):
            self.x.run("xmodmap", "-e", "keycode %d = U%04X" % (free.pop(), ord(c)))
        self.key(window)
        self.x.xdotool("type", "--delay", "20", text)

    def click(self, window, x, y):
        # From a corner: a move onto the spot the pointer is already at would never report.
        self.x.xdotool("mousemove", "0", "0")
        self.x.xdotool("mousemove", "--window", window, "--sync", str(x), str(y))
        self.x.xdotool("click", "1")

    def menu_item(self, bar, key):
        """A right click on the first button, then the item's accelerator."""
        self.key(bar)
        self.x.xdotool("mousemove", "--window", bar, "20", "5", "click", "3")
        self.wait(lambda: len(self.windows()) > 1, "the menu")
        self.x.xdotool("key", key)
        self.wait(lambda: len(self.windows()) == 1, "the menu to close")

    def exit(self, bar):
        self.key(bar, "alt+x")  # 終了(&X)
        self.assert_ended_well()

    def assert_ended_well(self):
        """The program has ended with 0; else its output says why."""
        code = self.process.wait(TIMEOUT)
        self.log.seek(0)
        assert code == 0, "exit code %d:\n%s" % (code, self.log.read().decode(errors="replace")[-3000:])


class SnipdeckTestCase(unittest.TestCase):
    window_manager = None

    def setUp(self):
        tools = ["Xvfb", "xdotool", "xclip", "xprop", "xmodmap"] + (self.window_manager or [])
        self.assertFalse([t for t in tools if not shutil.which(t)], "missing; run scripts/install-deps.sh")
        self.assertTrue(os.path.exists(SNIPDECK), "SNIPDECK_BIN does not name the built program")
        self.x = XServer(self.window_manager)
        for proc in (self.x.process, self.x.wm):
            self.addCleanup(lambda p=proc: p and (p.terminate(), p.wait(5)))
        self.dir = tempfile.mkdtemp(prefix="snipdeck-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        pathlib.Path(self.path(name)).write_bytes(data)
        return self.path(name)

    def read(self, name):
        return pathlib.Path(self.path(name)).read_bytes()

    def start(self, numbers, paths, extra_env=None):  # on a Start.ini of the eight numbers and the paths
        self.write("Start.ini", "".join(line + "\r\n" for line in [" %s " % n for n in numbers] + paths).encode("cp932"))
        return self.launch(extra_env)

    def launch(self, extra_env=None, command=None, folder=None):
        app = Snipdeck(self.x, folder or self.dir, extra_env, command)
        self.addCleanup(lambda: (app.process.kill(), app.process.wait(5), app.log.close()))
        return app
