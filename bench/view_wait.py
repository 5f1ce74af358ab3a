# SPDX-License-Identifier: MIT
"""The time a user waits for a picture, measured from outside the program.

The real program runs on a throw-away X desktop (Xvfb, openbox). A
24-megapixel photo is opened through "Open picture": the script types its path
into the dialog, then presses Enter itself (XTest) and reads one small region of
the screen (XGetImage) until it shows the photo's pixels there. The same for
the zoom steps "in" (100% to 110%), "1/1" (110% to 100%), "out" (100% to 90%)
and "out" again (90% to 80%), from the click on the label; the file is
unchanged, so each step works from the picture the program keeps. Then
Ctrl+PageDown to the next photo of the folder, which the program decoded
ahead while the steps were made. djpeg decodes the same file in the same run, turn about, and the
ratio of the medians is printed with the load average:

    python3 bench/view_wait.py build/test/kelvo [repeats] [width height]

Goals: opening, Enter to the first screenful, at most 60 ms for 24 megapixels
(the whole open is timed inside the program, bench_view); each step at most 50
ms; Next picture at most 60 ms. The photo is made of 100 x 100 blocks of
distinct colours under noise, so that the probed screen point (picture pixel
1050, 250 at 100%) shows a different block at every zoom: block 10 at 100%,
9 at 110%, 11 at 90%, 13 at 80%; the next photo's blocks have other colours.
"""

import ctypes
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from desktop import Desktop  # noqa: E402
import kelvo_window  # noqa: E402
from PIL import Image, ImageChops  # noqa: E402

PROBE = (1050, 250)
PANEL_WIDTH, MARGIN = kelvo_window.PANEL_WIDTH, kelvo_window.MARGIN


def block_colour(bx, by, shot=0):
    return ((bx * 97 + shot * 128) % 256, (by * 59 + 40) % 256, (bx * 31 + by * 71) % 256)


def make_photo(path, width, height, shot=0):
    small = Image.new("RGB", ((width + 99) // 100, (height + 99) // 100))
    small.putdata([block_colour(bx, by, shot) for by in range(small.height) for bx in range(small.width)])
    blocks = small.resize((small.width * 100, small.height * 100), Image.NEAREST).crop((0, 0, width, height))
    # Noise of about 24 levels around each block's colour: a photo's worth of data to decode.
    noise = Image.effect_noise((width, height), 24)
    photo = ImageChops.add(blocks, Image.merge("RGB", (noise, noise.rotate(180), noise.transpose(Image.FLIP_LEFT_RIGHT))),
                           offset=-128)
    photo.save(path, quality=90)


class Screen:
    """Reads screen pixels and sends input through Xlib and XTest directly:
    no process started between the input and the first look."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.xt = ctypes.CDLL("libXtst.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.c_void_p
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XGetPixel.restype = ctypes.c_ulong
        self.x.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]
        self.x.XDestroyImage.argtypes = [ctypes.c_void_p]
        self.x.XStringToKeysym.restype = ctypes.c_ulong
        self.x.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        for name in ("XFlush", "XSync"):
            getattr(self.x, name).argtypes = [ctypes.c_void_p] + ([ctypes.c_int] if name == "XSync" else [])
        self.xt.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xt.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xt.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                 ctypes.c_ulong]
        self.dpy = self.x.XOpenDisplay(display.encode())
        if not self.dpy:
            raise RuntimeError("cannot open the display")
        self.root = self.x.XDefaultRootWindow(self.dpy)

    def mean_colour(self, x, y, size=5):
        image = self.x.XGetImage(self.dpy, self.root, x, y, size, size, 0xFFFFFFFF, 2)  # ZPixmap
        total = [0, 0, 0]
        for j in range(size):
            for i in range(size):
                p = self.x.XGetPixel(image, i, j)
                total[0] += (p >> 16) & 255
                total[1] += (p >> 8) & 255
                total[2] += p & 255
        self.x.XDestroyImage(image)
        return tuple(t / (size * size) for t in total)

    def press_keys(self, *names):
        codes = [self.x.XKeysymToKeycode(self.dpy, self.x.XStringToKeysym(n)) for n in names]
        for code in codes:
            self.xt.XTestFakeKeyEvent(self.dpy, code, 1, 0)
        for code in reversed(codes):
            self.xt.XTestFakeKeyEvent(self.dpy, code, 0, 0)
        self.x.XFlush(self.dpy)

    def press_return(self):
        self.press_keys(b"Return")

    def move(self, x, y):
        self.xt.XTestFakeMotionEvent(self.dpy, -1, x, y, 0)
        self.x.XSync(self.dpy, 0)

    def click(self):
        self.xt.XTestFakeButtonEvent(self.dpy, 1, 1, 0)
        self.xt.XTestFakeButtonEvent(self.dpy, 1, 0, 0)
        self.x.XFlush(self.dpy)

    def wait_for_colour(self, x, y, colour, seconds=30):
        deadline = time.perf_counter() + seconds
        while time.perf_counter() < deadline:
            got = self.mean_colour(x, y)
            if all(abs(g - c) <= 20 for g, c in zip(got, colour)):
                return time.perf_counter()
            time.sleep(0.0005)
        raise AssertionError(f"the screen at {x},{y} never showed {colour}")


def djpeg_seconds(path):
    start = time.perf_counter()
    subprocess.run(["djpeg", "-outfile", "/dev/null", path], check=True)
    return time.perf_counter() - start


def main():
    binary = sys.argv[1]
    repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    width, height = (int(sys.argv[3]), int(sys.argv[4])) if len(sys.argv) > 4 else (6000, 4000)
    kelvo_window.BINARY = os.path.abspath(binary)
    with Desktop(1600, 1000) as d:
        # The photos in a folder of their own: the marker's neighbour is not one.
        os.mkdir(os.path.join(d.tmp, "series"))
        photo = os.path.join(d.tmp, "series", "photo1.jpg")
        make_photo(photo, width, height)
        next_photo = os.path.join(d.tmp, "series", "photo2.jpg")
        make_photo(next_photo, width, height, shot=1)
        marker = os.path.join(d.tmp, "marker.bmp")
        Image.new("RGB", (200, 100), (0, 0, 255)).save(marker)
        w = kelvo_window.KelvoWindow(d)
        left, top = w.open_picture(marker, (0, 0, 255))[:2]
        screen = Screen(d.env["DISPLAY"])
        probe = (left + PROBE[0], top + PROBE[1])
        panel_x = w.x0 + w.width - MARGIN - PANEL_WIDTH
        labels = {"in": (panel_x + 3 + 12, top + 24 + 8), "1/1": (panel_x + 27 + 12, top + 24 + 8),
                  "out": (panel_x + 51 + 12, top + 24 + 8)}
        expected = {100: block_colour(10, 2), 110: block_colour(9, 2), 90: block_colour(11, 2),
                    80: block_colour(13, 3)}
        times = {"open": [], "in": [], "1/1": [], "out": [], "out80": [], "next": []}
        djpeg = []

        def click_and_wait(label, zoom):
            screen.move(*labels[label])
            start = time.perf_counter()
            screen.click()
            return screen.wait_for_colour(*probe, expected[zoom]) - start

        for _ in range(repeats):
            w.open_picture(marker, (0, 0, 255))  # the photo's pixels gone from the screen
            d.key("alt+f")
            d.key("o")
            d.activate(d.find_window("Open data file"))
            d.type(photo)
            time.sleep(0.3)
            start = time.perf_counter()
            screen.press_return()
            times["open"].append(screen.wait_for_colour(*probe, expected[100]) - start)
            djpeg.append(djpeg_seconds(photo))
            times["in"].append(click_and_wait("in", 110))
            times["1/1"].append(click_and_wait("1/1", 100))
            times["out"].append(click_and_wait("out", 90))
            time.sleep(0.6)  # a second click on "out" soon after the first would be a double-click
            times["out80"].append(click_and_wait("out", 80))
            djpeg.append(djpeg_seconds(photo))
            time.sleep(1.0)  # the next photo decoded ahead meanwhile, as while a user looks
            start = time.perf_counter()
            screen.press_keys(b"Control_L", b"Next")
            times["next"].append(screen.wait_for_colour(*probe, block_colour(10, 2, 1)) - start)
        base = statistics.median(djpeg)
        load = open("/proc/loadavg").read().split()[:3]
        print(f"{width} x {height}, {repeats} runs, load average {' '.join(load)}")
        print(f"djpeg median {base * 1000:.0f} ms (range {min(djpeg) * 1000:.0f}-{max(djpeg) * 1000:.0f})")
        for case in ("open", "in", "1/1", "out", "out80", "next"):
            t = times[case]
            goal = "60 ms" if case in ("open", "next") else "50 ms"
            print(f"{case:5} median {statistics.median(t) * 1000:.0f} ms "
                  f"(range {min(t) * 1000:.0f}-{max(t) * 1000:.0f}), "
                  f"{statistics.median(t) / base:.2f} x djpeg (goal {goal})")


if __name__ == "__main__":
    main()
