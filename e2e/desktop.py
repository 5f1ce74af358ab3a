# SPDX-License-Identifier: MIT
"""A throw-away X desktop for end-to-end tests: Xvfb with openbox (without a
window manager Qt can neither maximise a window nor get the keyboard focus),
the real kelvo binary, and xdotool to drive it as a person would."""

import os
import shutil
import signal
import subprocess
import tempfile
import time

from PIL import Image


class Desktop:
    def __init__(self, width=1280, height=800):
        self.width, self.height = width, height
        self.procs = []
        self.tmp = tempfile.mkdtemp(prefix="kelvo-e2e-")
        self.env = dict(os.environ)
        for var in ("WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
            self.env.pop(var, None)
        # The program logs each status line; successes too, so a test can wait
        # for what the program confirms. It also logs each key or button
        # release it has handled, so input is paced by the program, not a clock.
        self.env["QT_LOGGING_RULES"] = "kelvo.info=true;kelvo.input.debug=true"

    def __enter__(self):
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0",
             f"{self.width}x{self.height}x24", "-nolisten", "tcp"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_fd)
        self.procs.append(xvfb)
        with os.fdopen(read_fd) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        self.env["HOME"] = self.tmp
        self.env["XDG_RUNTIME_DIR"] = self.tmp
        self.procs.append(subprocess.Popen(["openbox"], env=self.env,
                                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL))
        self.wait_for(lambda: self.run("xprop", "-root", "_NET_SUPPORTING_WM_CHECK",
                                       check=False).find("window id") >= 0, 10,
                      "openbox did not start")
        return self

    def __exit__(self, *exc):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.send_signal(signal.SIGTERM)
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
        shutil.rmtree(self.tmp, ignore_errors=True)

    def run(self, *args, check=True):
        r = subprocess.run(args, env=self.env, capture_output=True, text=True, timeout=30)
        if check and r.returncode != 0:
            raise RuntimeError(f"{' '.join(args)} failed: {r.stderr}")
        return r.stdout

    def start(self, binary, cwd=None, args=(), log_name="kelvo.log"):
        log = open(os.path.join(self.tmp, log_name), "w")
        p = subprocess.Popen([binary, *args], env=self.env, cwd=cwd or self.tmp,
                             stdout=log, stderr=subprocess.STDOUT)
        self.procs.append(p)
        return p

    def log(self, log_name="kelvo.log"):
        path = os.path.join(self.tmp, log_name)
        return open(path).read() if os.path.exists(path) else ""

    @staticmethod
    def wait_for(predicate, seconds, what):
        deadline = time.time() + seconds
        while time.time() < deadline:
            try:
                value = predicate()
            except Exception:  # the thing waited for may not exist yet
                value = None
            if value:
                return value
            time.sleep(0.1)
        raise AssertionError(f"timed out: {what}")

    def find_window(self, title_part, seconds=20, pid=None):
        def search():
            by_pid = ["--all", "--pid", str(pid)] if pid else []
            out = self.run("xdotool", "search", "--onlyvisible", *by_pid, "--name", title_part,
                           check=False).split()
            return out[-1] if out else None
        return self.wait_for(search, seconds, f"a window named {title_part!r}")

    def window_name(self, wid):
        return self.run("xdotool", "getwindowname", wid).rstrip("\n")

    def geometry(self, wid):
        """Position and size of the window's client area on the screen."""
        out = self.run("xwininfo", "-id", wid)
        vals = {}
        for line in out.splitlines():
            line = line.strip()
            for key in ("Absolute upper-left X:", "Absolute upper-left Y:", "Width:", "Height:"):
                if line.startswith(key):
                    vals[key] = int(line.split(":")[1])
        return (vals["Absolute upper-left X:"], vals["Absolute upper-left Y:"],
                vals["Width:"], vals["Height:"])

    def net_wm_state(self, wid):
        return self.run("xprop", "-id", wid, "_NET_WM_STATE")

    def handled_input(self):
        """How many key and button releases the programs on this desktop have
        said they handled, all their logs together."""
        return sum(open(os.path.join(self.tmp, name)).read().count("input handled")
                   for name in os.listdir(self.tmp) if name.endswith(".log"))

    def until_handled(self, before, releases):
        """Waits until the programs have handled `releases` more releases. A
        release that ends the program is never logged: then this gives up
        after a while, without failing, and the test's own checks decide."""
        deadline = time.time() + 5
        while time.time() < deadline and self.handled_input() < before + releases:
            time.sleep(0.02)

    def key(self, *keys, wid=None):
        args = ["xdotool", "key", "--delay", "60"]
        if wid:
            args += ["--window", wid]
        before = self.handled_input()
        self.run(*args, *keys)
        self.until_handled(before, len(keys))

    def type(self, text):
        before = self.handled_input()
        self.run("xdotool", "type", "--delay", "15", text)
        self.until_handled(before, len(text))

    def move(self, x, y):
        self.run("xdotool", "mousemove", "--sync", str(x), str(y))
        self.wait_for(lambda: self.pointer() == (x, y), 5, f"the pointer at {x}, {y}")

    def click(self, x, y, button=1, double=False):
        self.move(x, y)
        args = ["xdotool", "click"]
        if double:
            args += ["--repeat", "2", "--delay", "80"]
        before = self.handled_input()
        self.run(*args, str(button))
        self.until_handled(before, 2 if double else 1)

    def activate(self, wid):
        self.run("xdotool", "windowactivate", "--sync", wid, check=False)
        self.wait_for(lambda: self.active_window() == wid, 5, f"window {wid} active")

    def pointer(self):
        where = dict(f.split(":") for f in self.run("xdotool", "getmouselocation").split())
        return int(where["x"]), int(where["y"])

    def active_window(self):
        return self.run("xdotool", "getactivewindow", check=False).strip()

    def screenshot(self):
        path = os.path.join(self.tmp, "screen.png")
        self.run("import", "-window", "root", path)
        return Image.open(path).convert("RGB")


def find_colour(shot, colour):
    """Left, top, width and height of the area holding `colour` (overlay lines
    crossing it take single pixels away, never its extent)."""
    r, g, b = shot.split()
    mask = Image.eval(r, lambda v: 255 if v == colour[0] else 0)
    for band, want in ((g, colour[1]), (b, colour[2])):
        mask = Image.composite(mask, Image.new("L", shot.size, 0),
                               Image.eval(band, lambda v, want=want: 255 if v == want else 0))
    box = mask.getbbox()
    if not box:
        return None
    return box[0], box[1], box[2] - box[0], box[3] - box[1]


def locate_picture(d, colour, park):
    """Where a picture of one colour shows on the screen. The cross-hair stays
    where the pointer last crossed the picture, so it is first led to the
    picture's middle (never along an edge), then parked at `park`."""
    x, y, w, h = d.wait_for(lambda: find_colour(d.screenshot(), colour), 10, "the picture")
    d.move(x + w // 2, y + h // 2)
    d.move(*park)
    return find_colour(d.screenshot(), colour)
