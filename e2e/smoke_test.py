# SPDX-License-Identifier: MIT
"""The real program under X: it starts maximised with its title, and a picture
opened through the real file dialog shows its pixels at the top-left of the
viewport."""

import os
import unittest

from PIL import Image

from desktop import Desktop
from kelvo_window import MARGIN, KelvoWindow, run_tests

TITLE = " kelvo ver 0.02 - 2005, 02, 28"
MARK = (12, 200, 34)


class Smoke(unittest.TestCase):
    def test_start_and_open_a_picture(self):
        with Desktop() as d:
            picture = os.path.join(d.tmp, "photo.bmp")
            Image.new("RGB", (300, 200), MARK).save(picture)
            w = KelvoWindow(d)  # waits for the window to be maximised
            self.assertEqual(d.window_name(w.wid), TITLE)
            self.assertIn("_NET_WM_STATE_MAXIMIZED_VERT", d.net_wm_state(w.wid))

            bx, by, bw, bh = w.open_picture(picture, MARK)
            self.assertEqual((bw, bh), (300, 200), "the picture shows at its own size")
            # The viewport starts 5 pixels in from the window's left edge, right
            # under the menu bar; an unscrolled picture sits at its top-left.
            self.assertEqual(bx, w.x0 + MARGIN, f"picture at x={bx}, window at x={w.x0}")
            self.assertLess(by - w.y0, 60, "picture right under the menu bar")
            self.assertIsNone(w.app.poll(), d.log())
            w.app.terminate()


if __name__ == "__main__":
    run_tests()
