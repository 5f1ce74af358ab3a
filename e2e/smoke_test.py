"""The real program under X: it starts maximised with its title, and a picture
opened through the real file dialog shows its pixels at the top-left of the
viewport."""

import os
import sys
import unittest

from PIL import Image

from desktop import Desktop, locate_picture

BINARY = os.environ.get("KELVO_BINARY", "")
TITLE = " kelvo ver 0.02 - 2005, 02, 28"
MARK = (12, 200, 34)


class Smoke(unittest.TestCase):
    def test_start_and_open_a_picture(self):
        with Desktop() as d:
            picture = os.path.join(d.tmp, "photo.bmp")
            Image.new("RGB", (300, 200), MARK).save(picture)
            app = d.start(BINARY)
            wid = d.find_window("kelvo ver")
            self.assertEqual(d.window_name(wid), TITLE)
            d.wait_for(lambda: "MAXIMIZED_HORZ" in d.net_wm_state(wid), 10, "maximised")
            self.assertIn("_NET_WM_STATE_MAXIMIZED_VERT", d.net_wm_state(wid))
            d.activate(wid)

            d.key("alt+f")
            d.key("o")
            dialog = d.find_window("Open data file")
            d.activate(dialog)
            d.type(picture)
            d.key("Return")
            d.wait_for(lambda: not d.run("xdotool", "search", "--onlyvisible", "--name",
                                         "Open data file", check=False).strip(),
                       10, "the dialog to close")
            x0, y0, width, height = d.geometry(wid)
            bx, by, bw, bh = locate_picture(d, MARK, (x0 + width - 20, y0 + height - 20))
            self.assertEqual((bw, bh), (300, 200), "the picture shows at its own size")
            # The viewport starts 5 pixels in from the window's left edge, right
            # under the menu bar; an unscrolled picture sits at its top-left.
            self.assertEqual(bx, x0 + 5, f"picture at x={bx}, window at x={x0}")
            self.assertLess(by - y0, 60, "picture right under the menu bar")
            self.assertIsNone(app.poll(), d.log())
            app.terminate()


if __name__ == "__main__":
    if len(sys.argv) > 1:
        BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)
