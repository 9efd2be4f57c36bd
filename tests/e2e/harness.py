"""End-to-end harness: the built snipdeck under Xvfb, driven with xdotool, read with xclip.

Every test gets a fresh X server on a free display and a fresh working directory, so tests
can run in parallel and never touch the user's session or files.
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
# Generous: a loaded CI machine running a sanitizer build can take seconds to map a window;
# a passing wait ends as soon as its condition holds.
TIMEOUT = float(os.environ.get("SNIPDECK_E2E_TIMEOUT", "30"))


def encode(text):
    """Text as the program's files hold it: Shift-JIS (code page 932)."""
    return text.encode("cp932")


def wait_until(predicate, timeout=TIMEOUT, interval=0.05, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


class XServer:
    """An Xvfb server on a display of its own, optionally with a window manager."""

    def __init__(self, window_manager=None, size="1280x1024x24"):
        self.process = None
        # -noreset: by default the server resets whenever its last client leaves, and a client
        # that connects during the reset (the program, while xdotool comes and goes) is refused.
        # A random number rather than the lowest free one keeps parallel tests from racing
        # for the same display.
        for _ in range(20):
            number = random.randrange(100, 30000)
            if os.path.exists("/tmp/.X%d-lock" % number):
                continue
            process = subprocess.Popen(
                ["Xvfb", ":%d" % number, "-screen", "0", size, "-nolisten", "tcp", "-noreset"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            if self._wait_ready(process, number):
                self.process = process
                break
            if process.poll() is None:
                process.kill()
            process.wait()
        if not self.process:
            raise RuntimeError("Xvfb did not start")
        self.display = ":%d" % number
        self.env = dict(os.environ, DISPLAY=self.display)
        for key in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"):
            self.env.pop(key, None)
        self.mapped_keys = set()
        self.wm = None
        if window_manager:
            self.wm = subprocess.Popen(window_manager, env=self.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(0.5)

    @staticmethod
    def _wait_ready(process, number, timeout=10.0):
        """Whether the server on `number` accepts clients before it gives up or exits."""
        env = dict(os.environ, DISPLAY=":%d" % number)
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline and process.poll() is None:
            probe = subprocess.run(["xdotool", "getdisplaygeometry"], env=env,
                                   capture_output=True, timeout=timeout)
            if probe.returncode == 0:
                return True
            time.sleep(0.05)
        return False

    def run(self, *args, check=True, input=None, timeout=TIMEOUT):
        result = subprocess.run(list(args), env=self.env, capture_output=True,
                                input=input, timeout=timeout)
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
        if not wanted:
            return
        free = [int(line.split()[1]) for line in
                self.run("xmodmap", "-pke").decode().splitlines() if line.split()[2:] == ["="]]
        if len(free) < len(wanted):
            raise AssertionError("no free keys left for %r" % wanted)
        args = []
        for c in wanted:
            args += ["-e", "keycode %d = U%04X" % (free.pop(), ord(c))]
        self.run("xmodmap", *args)
        self.mapped_keys.update(wanted)

    def clipboard(self, target="UTF8_STRING"):
        """The clipboard's content in one target, as bytes."""
        return self.run("xclip", "-selection", "clipboard", "-o", "-t", target)

    def clipboard_targets(self):
        return self.clipboard("TARGETS").decode().split()

    def set_clipboard(self, data, target="UTF8_STRING"):
        """Gives the clipboard to an xclip process that holds `data` until it is replaced."""
        proc = subprocess.Popen(["xclip", "-selection", "clipboard", "-t", target, "-i"],
                                env=self.env, stdin=subprocess.PIPE,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        proc.stdin.write(data)
        proc.stdin.close()
        wait_until(lambda: self.run("xclip", "-selection", "clipboard", "-o", "-t", "TARGETS",
                                    check=False).strip() != b"", what="clipboard owner")
        return proc

    def close(self):
        for proc in (self.wm, self.process):
            if proc and proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()


class Snipdeck:
    """The real program, started in a working directory on an X server."""

    def __init__(self, xserver, workdir, extra_env=None, command=None):
        self.x = xserver
        self.workdir = workdir
        env = dict(xserver.env)
        env.update(extra_env or {})
        self.log = open(os.path.join(workdir, ".snipdeck.log"), "wb")
        self.process = subprocess.Popen(command or [SNIPDECK], cwd=workdir, env=env,
                                        stdout=self.log, stderr=subprocess.STDOUT)

    def windows(self, name=None, visible=True):
        """Ids of this process's windows, optionally those whose title matches `name`."""
        # xdotool joins its search conditions with "or" unless told otherwise.
        args = ["search", "--all"]
        if visible:
            args.append("--onlyvisible")
        args += ["--pid", str(self.process.pid)]
        if name is not None:
            args += ["--name", name]
        out = self.x.xdotool(*args, check=False)
        return [w for w in out.split() if w]

    def wait_window(self, name, timeout=TIMEOUT):
        """Waits for a visible window whose title matches the regular expression `name`."""
        return self._wait(lambda: self.windows("^" + name + "$"), timeout,
                          "window " + repr(name))[0]

    def _wait(self, condition, timeout, what):
        """wait_until, failing with what the program shows and printed."""
        try:
            return wait_until(condition, timeout, what=what)
        except AssertionError as error:
            raise AssertionError("%s; the program %s; its visible windows: %s; its output: %s" % (
                error, "is running" if self.process.poll() is None
                else "ended with %s" % self.process.returncode,
                [(w, self.x.xdotool("getwindowname", w, check=False))
                 for w in self.windows()],
                self.output()[-1500:])) from None

    def output(self):
        """What the program has printed so far."""
        self.log.flush()
        with open(self.log.name, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def wait_gone(self, window, timeout=TIMEOUT):
        self._wait(lambda: window not in self.windows(), timeout, "window %s to close" % window)

    def title(self, window):
        return self.x.xdotool("getwindowname", window)

    def geometry(self, window):
        """(x, y, width, height) of a window, in pixels."""
        out = self.x.xdotool("getwindowgeometry", "--shell", window)
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
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

    def click(self, window, x, y, button=1):
        """Clicks at (x, y) inside `window`."""
        self.x.xdotool("mousemove", "--window", window, "--sync", str(x), str(y))
        self.x.xdotool("click", str(button))

    def dismiss_box(self, title="Snipdeck"):
        """Presses OK on the message box with this title; returns its id."""
        box = self.wait_window(title)
        self.key(box, "Return")
        self.wait_gone(box)
        return box

    def wait_exit(self, timeout=TIMEOUT):
        return self.process.wait(timeout)

    def close(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGKILL)
            self.process.wait(5)
        self.log.close()


class SnipdeckTestCase(unittest.TestCase):
    """Gives each test an X server (`self.x`) and a working directory (`self.dir`)."""

    window_manager = None

    def setUp(self):
        if not SNIPDECK or not os.path.exists(SNIPDECK):
            self.skipTest("SNIPDECK_BIN does not name the built program")
        for tool in ("Xvfb", "xdotool", "xclip", "xmodmap"):
            if not shutil.which(tool):
                self.fail(tool + " is missing; run scripts/install-deps.sh")
        self.x = XServer(self.window_manager)
        self.addCleanup(self.x.close)
        self.dir = tempfile.mkdtemp(prefix="snipdeck-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, True)
        self.apps = []

    def tearDown(self):
        for app in self.apps:
            app.close()

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def write_clip_file(self, name, entries):
        """A clip data file from (caption, text) pairs, in the program's own format."""
        text = "".join("#%s\r\n%s\r\n" % (caption, body) for caption, body in entries)
        return self.write(name, encode(text))

    def write_start_ini(self, numbers, paths=()):
        lines = [" %s " % n if not str(n).startswith("-") else "%s " % n for n in numbers]
        return self.write("Start.ini", encode("".join(l + "\r\n" for l in lines + list(paths))))

    def launch(self, extra_env=None):
        app = Snipdeck(self.x, self.dir, extra_env)
        self.apps.append(app)
        return app
