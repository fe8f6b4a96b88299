"""End-to-end harness: runs a real Windows program under Wine in Xvfb, in the
project's virtual desktop, and drives it the way a user and a test do:

* real input with xdotool (keys, typing, clicks, double-clicks at screen
  positions; Win32 screen coordinates are X root coordinates here);
* Win32 messages through e2e_driver.exe, a small program that runs beside the
  one under test: it finds windows and controls (by the toolkit's window ids
  and control names), reads texts, list rows and message boxes, and posts
  clicks;
* screenshots of the whole desktop, with pixel access.

A test is a short unittest script; see README.md. Standard library only.
"""

import atexit
import json
import os
import select
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
BIN = os.environ.get("PASSBOOK_E2E_BIN", os.path.join(ROOT, "build", "win"))
OUT = os.environ.get("PASSBOOK_E2E_OUT", os.path.join(BIN, "tests", "e2e", "out"))
WINE_RUN = os.path.join(ROOT, "scripts", "wine-run")

DRIVER = os.path.join(BIN, "tests", "e2e", "e2e_driver.exe")
DEMO = os.path.join(BIN, "tests", "e2e", "toolkit_demo.exe")
PASSBOOK = os.path.join(BIN, "src", "app", "win32", "passbook.exe")
EDBTOOL = os.path.join(BIN, "tools", "edbtool.exe")

# The end-to-end runs have a prefix of their own, so that their wineserver
# (and with it the virtual desktop on this display) is theirs to stop.
os.environ.setdefault("PASSBOOK_WINEPREFIX", os.path.join(BIN, "wineprefix-e2e"))

TIMEOUT = 15.0  # seconds any wait gives up after

# Message box buttons (dialog ids).
OK, CANCEL = 1, 2
BOX_TEXT_ID = 0xFFFF


def _env():
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    return env


def _wineserver_kill():
    subprocess.run(["bash", "-c", 'source "$0"; wineserver -k',
                    os.path.join(ROOT, "scripts", "wine-env.sh")],
                   env=_env(), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class _Display:
    """A private Xvfb for this test process, so that no other Wine desktop on
    a shared display can cover ours; PASSBOOK_E2E_DISPLAY names one to use
    instead (to watch a test)."""

    def __init__(self):
        self.xvfb = None
        given = os.environ.get("PASSBOOK_E2E_DISPLAY")
        if given:
            os.environ["DISPLAY"] = given
            return
        for n in range(140, 200):
            if os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
                continue
            self.xvfb = subprocess.Popen(
                ["Xvfb", f":{n}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            for _ in range(100):
                if os.path.exists(f"/tmp/.X11-unix/X{n}"):
                    break
                time.sleep(0.1)
            os.environ["DISPLAY"] = f":{n}"
            break
        atexit.register(self.stop)

    def stop(self):
        if self.xvfb:
            _wineserver_kill()
            self.xvfb.terminate()
            self.xvfb.wait()
            self.xvfb = None


_display = None


def _ensure_display():
    global _display
    if _display is None:
        _display = _Display()
        subprocess.run([os.path.join(ROOT, "scripts", "wine-prefix.sh")], env=_env(),
                       stdout=subprocess.DEVNULL, check=True)


def wait_for(what, fn, timeout=TIMEOUT, interval=0.1):
    """Polls fn until it returns something truthy; fails the test on timeout."""
    end = time.monotonic() + timeout
    while True:
        got = fn()
        if got:
            return got
        if time.monotonic() > end:
            raise AssertionError(f"timed out waiting for {what}")
        time.sleep(interval)


class Driver:
    """e2e_driver.exe: one command per line, one JSON answer per line."""

    def __init__(self):
        self.proc = subprocess.Popen([WINE_RUN, DRIVER], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                     env=_env())
        self.buf = b""
        wait_for("the driver", lambda: self.call("ping"), timeout=60)

    def call(self, *args):
        line = "\t".join(str(a) for a in args) + "\n"
        self.proc.stdin.write(line.encode("utf-8"))
        self.proc.stdin.flush()
        end = time.monotonic() + 60
        while b"\n" not in self.buf:
            left = end - time.monotonic()
            ready, _, _ = select.select([self.proc.stdout], [], [], max(left, 0))
            if not ready:
                raise AssertionError(f"driver did not answer {args!r}")
            chunk = os.read(self.proc.stdout.fileno(), 1 << 20)
            if not chunk:
                raise AssertionError(f"driver ended on {args!r}")
            self.buf += chunk
        answer, self.buf = self.buf.split(b"\n", 1)
        return json.loads(answer.decode("utf-8"))

    def stop(self):
        if self.proc.poll() is None:
            try:
                self.proc.stdin.write(b"quit\n")
                self.proc.stdin.flush()
                self.proc.wait(timeout=10)
            except (OSError, subprocess.TimeoutExpired):
                self.proc.kill()
                self.proc.wait()
        for pipe in (self.proc.stdin, self.proc.stdout):
            try:
                pipe.close()
            except OSError:
                pass


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True)


class Screenshot:
    """The whole desktop; pixel(x, y) in screen coordinates gives (r, g, b)."""

    def __init__(self, path):
        self.path = path
        ppm = subprocess.run(["convert", path, "ppm:-"], check=True,
                             stdout=subprocess.PIPE).stdout
        parts = ppm.split(maxsplit=4)  # P6 width height maxval data
        self.width, self.height = int(parts[1]), int(parts[2])
        self.data = parts[4]

    def pixel(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.data[i:i + 3])


class Control:
    def __init__(self, window, info):
        self.window = window
        self.info = info
        self.hwnd = info["hwnd"]
        self.name = info["name"]

    @property
    def driver(self):
        return self.window.app.driver

    def fresh(self):
        for c in self.driver.call("controls", self.window.hwnd):
            if c["hwnd"] == self.hwnd:
                self.info = c
                return c
        raise AssertionError(f"control {self.name!r} is gone")

    @property
    def text(self):
        return self.driver.call("text", self.hwnd)

    def set_text(self, text):
        self.driver.call("settext", self.hwnd, text)

    def click(self):
        """BM_CLICK, posted (a sent one would not return under Wine)."""
        self.driver.call("click", self.hwnd)

    @property
    def rect(self):
        """Client-area position and size in the window, [x, y, w, h]."""
        return self.fresh()["rect"]

    @property
    def screen(self):
        return self.fresh()["screen"]

    @property
    def style(self):
        return self.fresh()["style"]

    @property
    def exstyle(self):
        return self.fresh()["exstyle"]

    def point(self, dx=None, dy=None):
        """A screen point in the control; the centre unless offsets are given."""
        x, y, w, h = self.screen
        return x + (w // 2 if dx is None else dx), y + (h // 2 if dy is None else dy)

    def mouse_click(self, dx=None, dy=None):
        x, y = self.point(dx, dy)
        xdotool("mousemove", x, y, "click", 1)

    def double_click(self, dx=None, dy=None):
        x, y = self.point(dx, dy)
        xdotool("mousemove", x, y, "click", "--repeat", 2, "--delay", 60, 1)

    def probe(self, query):
        return self.driver.call("probe", self.window.hwnd, self.hwnd, query)

    def font(self):
        """{'height': lfHeight, 'weight': lfWeight, 'message_face': bool}."""
        return {"height": self.probe(1), "weight": self.probe(2),
                "message_face": self.probe(3) == 1}

    def text_color(self):
        return self.probe(4)

    # List views.
    def list(self, first=0, count=1000):
        """{'count', 'selected', 'headers', 'widths', 'rows': [[cell, ...], ...]}."""
        return self.driver.call("list", self.hwnd, first, count)

    def rows(self, first=0, count=1000):
        return self.list(first, count)["rows"]

    def select(self, row):
        self.driver.call("select", self.hwnd, row)

    def row_rect(self, row):
        """A row's screen rectangle [x, y, w, h], or None when it has none."""
        return self.driver.call("itemrect", self.hwnd, row)


class Window:
    def __init__(self, app, info):
        self.app = app
        self.info = info
        self.hwnd = info["hwnd"]

    def refresh(self):
        info = self.app.driver.call("window", self.hwnd)
        if info:
            self.info = info
        return info is not None

    def exists(self):
        return self.app.driver.call("window", self.hwnd) is not None

    def __getattr__(self, key):
        if key in ("caption", "id", "visible", "enabled", "foreground", "rect", "client",
                   "style"):
            self.refresh()
            return self.info[key]
        raise AttributeError(key)

    def controls(self):
        return [Control(self, c) for c in self.app.driver.call("controls", self.hwnd)]

    def control_info(self, name):
        for c in self.app.driver.call("controls", self.hwnd):
            if c["name"] == name:
                return c
        raise AssertionError(f"no control {name!r} in window {self.info['caption']!r}")

    def control(self, name):
        return Control(self, self.control_info(name))

    def focus(self):
        """Name of the control that has the keyboard focus ('' if none of ours)."""
        return self.app.driver.call("focus", self.hwnd)["name"]

    def wait_focus(self, name):
        return wait_for(f"focus on {name!r}", lambda: self.focus() == name)

    def close(self):
        """WM_CLOSE, as the close box sends it."""
        self.app.driver.call("close", self.hwnd)

    def wait_gone(self, timeout=TIMEOUT):
        wait_for(f"window {self.info['caption']!r} to go", lambda: not self.exists(), timeout)

    def probe(self, query):
        return self.app.driver.call("probe", self.hwnd, 0, query)


class Box:
    """A message box: its text, caption and buttons {id: caption}."""

    def __init__(self, app, info):
        self.app = app
        self.hwnd = info["hwnd"]
        self.caption = info["caption"]
        self.text = ""
        self.buttons = {}
        self.icon = False
        for c in app.driver.call("controls", self.hwnd):
            if c["id"] == BOX_TEXT_ID:
                self.text = c["text"]
            elif c["class"].lower() == "button":
                self.buttons[c["id"]] = c["text"]
            elif c["class"].lower() == "static" and c["id"] != BOX_TEXT_ID:
                self.icon = True

    def answer(self, button=OK):
        for c in self.app.driver.call("controls", self.hwnd):
            if c["id"] == button:
                self.app.driver.call("click", c["hwnd"])
                break
        else:
            raise AssertionError(f"message box {self.text!r} has no button {button}")
        wait_for("the message box to go", lambda: self.app.driver.call("window", self.hwnd) is None)


class App:
    """A program under test. Use as a context manager: it is started on entry
    and stopped (killed if still running), with its driver, on exit.

    exe     the .exe to run
    folder  where the program runs from: the .exe is copied there (a fresh
            temporary folder when None), so files it opens beside itself can
            be laid out first with put()
    """

    def __init__(self, exe, folder=None, name=None):
        _ensure_display()
        self.name = name or os.path.splitext(os.path.basename(exe))[0]
        os.makedirs(OUT, exist_ok=True)
        self.folder = folder or tempfile.mkdtemp(prefix=f"{self.name}-", dir=OUT)
        self._own_folder = folder is None
        self.exe = os.path.join(self.folder, os.path.basename(exe))
        shutil.copy(exe, self.exe)
        self.proc = None
        self.driver = None
        self.shots = 0

    def put(self, path, name=None):
        shutil.copy(path, os.path.join(self.folder, name or os.path.basename(path)))

    def wine(self, exe, *args, cwd=None):
        """Runs another Windows program to its end (e.g. edbtool); returns it."""
        return subprocess.run([WINE_RUN, exe, *args], cwd=cwd or self.folder, env=_env(),
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)

    def start(self, cwd=None):
        """Starts the program; cwd is the current directory it starts in (its
        own folder unless given)."""
        self.driver = self.driver or Driver()
        self.proc = subprocess.Popen([WINE_RUN, self.exe], cwd=cwd or self.folder, env=_env(),
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return self

    def __enter__(self):
        return self.start()

    def __exit__(self, *exc):
        self.stop()
        return False

    def stop(self):
        if self.proc and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()
        if self.driver:
            self.driver.stop()
            self.driver = None
        _wineserver_kill()
        if self._own_folder:
            shutil.rmtree(self.folder, ignore_errors=True)

    # Process.
    def running(self):
        return self.proc.poll() is None

    def wait_exit(self, timeout=TIMEOUT):
        """The program's exit code once it has ended."""
        try:
            return self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise AssertionError("the program did not end") from None

    # Windows.
    def windows(self):
        return [w for w in self.driver.call("windows")
                if w["class"] in ("PassbookWindow", "#32770")]

    def find(self, caption=None, id=None, visible=True):
        for w in self.windows():
            if caption is not None and w["caption"] != caption:
                continue
            if id is not None and w["id"] != id:
                continue
            if visible and not w["visible"]:
                continue
            if w["class"] == "#32770" and id is None and caption is None:
                continue
            return Window(self, w)
        return None

    def wait_window(self, caption=None, id=None, timeout=TIMEOUT):
        """A shown window, by caption or by toolkit window id."""
        return wait_for(f"window {caption or id!r}", lambda: self.find(caption, id), timeout)

    def boxes(self):
        return [Box(self, w) for w in self.windows() if w["class"] == "#32770" and w["visible"]]

    def wait_box(self, timeout=TIMEOUT):
        """The message box on screen."""
        return wait_for("a message box", lambda: (self.boxes() or [None])[0], timeout)

    # Real input (goes to the active window).
    def key(self, *keys):
        """X key names: 'Escape', 'Tab', 'shift+Tab', 'Return', 'alt+F4'."""
        for k in keys:
            xdotool("key", "--delay", 40, k)
            time.sleep(0.15)

    def type(self, text):
        xdotool("type", "--delay", 30, text)
        time.sleep(0.15)

    def click_at(self, x, y):
        xdotool("mousemove", x, y, "click", 1)

    # Screenshots.
    def screenshot(self, label):
        """Saves the desktop as OUT/<program>-<n>-<label>.png and returns it."""
        time.sleep(0.3)  # let the last paint land
        self.shots += 1
        path = os.path.join(OUT, f"{self.name}-{self.shots:02d}-{label}.png")
        subprocess.run(["import", "-window", "root", path], check=True)
        return Screenshot(path)


def main():
    unittest.main(verbosity=2)
