# SPDX-License-Identifier: MIT
"""What the real window says stays said: a failure in the status bar outlives
a trip through the menus and gives way to the next success; a save dialog says
why a missing folder is refused; rows the workbook cannot take on closing are
saved in a recovery workbook."""

import glob
import os
import shutil
import unittest

import xlrd
from PIL import Image, ImageChops

from desktop import Desktop
from kelvo_window import KelvoWindow, run_tests

MARK = (90, 30, 200)


def status_line(d, w):
    """The left half of the status bar, where messages are written."""
    return d.screenshot().crop((w.x0, w.y0 + w.height - 20, w.x0 + w.width // 2, w.y0 + w.height))


def inked(region):
    """How many pixels differ from the region's first one (its background)."""
    background = region.getpixel((0, 0))
    return sum(1 for p in region.getdata() if p != background)


class Messages(unittest.TestCase):
    def test_a_message_stays_until_replaced_and_missing_folders_are_named(self):
        with Desktop() as d:
            picture = os.path.join(d.tmp, "photo.bmp")
            Image.new("RGB", (300, 200), MARK).save(picture)
            broken = os.path.join(d.tmp, "broken.jpg")
            with open(broken, "w") as f:
                f.write("not a picture")
            w = KelvoWindow(d)

            d.key("alt+f")
            d.key("o")
            d.activate(d.find_window("Open data file"))
            d.type(broken)
            d.key("Return")
            failure = d.wait_for(lambda: (lambda r: r if inked(r) > 20 else None)(status_line(d, w)),
                                 10, "the failure in the status bar")

            # Every File menu item passes under the pointer's highlight.
            d.key("alt+f")
            d.key("Down", "Down", "Down", "Down", "Down")
            d.key("Escape", "Escape")
            self.assertIsNone(ImageChops.difference(failure, status_line(d, w)).getbbox(),
                              "the menus left the message alone")

            w.open_picture(picture, MARK)
            self.assertIsNotNone(ImageChops.difference(failure, status_line(d, w)).getbbox(),
                                 "the success replaced the failure")

            # Save scale defi into a folder that does not exist.
            d.key("alt+f")
            d.key("l")
            d.activate(d.find_window("Save data file"))
            d.type(os.path.join(d.tmp, "missing", "scale"))
            d.key("Return")
            d.wait_for(lambda: len(d.run("xdotool", "search", "--onlyvisible", "--name",
                                         "Save data file", check=False).split()) == 2,
                       10, "a warning over the save dialog")
            d.key("Return")  # the warning's OK
            d.key("Escape")  # the dialog itself
            self.assertFalse(os.path.exists(os.path.join(d.tmp, "missing")))
            self.assertIsNone(w.app.poll(), d.log())
            w.app.terminate()

    def test_rows_the_workbook_cannot_take_on_closing_are_recovered(self):
        with Desktop() as d:
            d.env["XDG_DATA_HOME"] = os.path.join(d.tmp, "data")
            picture = os.path.join(d.tmp, "slide.bmp")
            Image.new("RGB", (320, 240), MARK).save(picture)
            stick = os.path.join(d.tmp, "stick")
            os.mkdir(stick)
            w = KelvoWindow(d)
            w.open_picture(picture, MARK)
            w.measure((10, 10), (40, 50))
            w.enter_and_name_workbook(os.path.join(stick, "kept"))
            shutil.rmtree(stick)  # the stick is pulled out
            w.measure((100, 20), (100, 220))
            w.enter()
            self.assertEqual(w.exit(), 0, d.log())

            rescued = glob.glob(os.path.join(d.tmp, "data", "kelvo", "recovered", "kept-*.xls"))
            self.assertEqual(len(rescued), 1, d.log())
            self.assertIn(rescued[0], d.log())
            sheet = xlrd.open_workbook(rescued[0]).sheet_by_index(0)
            self.assertEqual(sheet.nrows, 4)
            self.assertEqual(sheet.row_values(3)[:4], [picture, 0.0, 200.0, 200.0])


if __name__ == "__main__":
    run_tests()
