# SPDX-License-Identifier: MIT
"""Two windows (two processes) on one workbook take turns: each row either
window reports saved is in the file afterwards, whoever wrote last."""

import os
import unittest

import xlrd
from PIL import Image

from desktop import Desktop
from kelvo_window import KelvoWindow, run_tests

MARK = (40, 160, 220)


def lengths(path):
    """The D column of the result rows: each write measured its own length."""
    sheet = xlrd.open_workbook(path).sheet_by_index(0)
    return [int(sheet.cell_value(r, 3)) for r in range(2, sheet.nrows)]


class SharedWorkbook(unittest.TestCase):
    def test_two_windows_alternating_keep_every_saved_row(self):
        with Desktop() as d:
            picture = os.path.join(d.tmp, "slide.bmp")
            Image.new("RGB", (320, 240), MARK).save(picture)
            shared = os.path.join(d.tmp, "shared")
            a = KelvoWindow(d, log_name="a.log")
            a.open_picture(picture, MARK)
            b = KelvoWindow(d, log_name="b.log")
            b.open_picture(picture, MARK)

            def write(w, length, first=False):
                d.activate(w.wid)
                w.measure((10, 100), (10 + length, 100))
                if not first:
                    w.enter_and_wait_until_saved()
                elif w is a:
                    w.enter_and_name_workbook(shared)
                else:  # B names the same workbook and agrees to replace it
                    before = w.log().count(" saved in ")
                    d.key("Return")
                    d.activate(d.find_window("Save data file", pid=w.app.pid))
                    d.type(shared)
                    d.key("Return")
                    d.key("alt+y")
                    d.wait_for(lambda: w.log().count(" saved in ") > before, 10, "B's first row")
                return lengths(shared + ".xls")

            counted = [write(a, 10, True), write(b, 20, True), write(a, 30), write(b, 40),
                       write(a, 50)]
            print("rows after A1, B1, A2, B2, A3:", counted)
            # B's "replace" took A1 away, as the user asked; nothing after it is lost.
            self.assertEqual(counted, [[10], [20], [20, 30], [20, 30, 40], [20, 30, 40, 50]],
                             a.log() + b.log())
            self.assertIn("Row 6 saved", a.log())
            self.assertEqual(a.exit(), 0, a.log())
            d.activate(b.wid)
            self.assertEqual(b.exit(), 0, b.log())
            self.assertEqual(lengths(shared + ".xls"), [20, 30, 40, 50], b.log())


if __name__ == "__main__":
    run_tests()
