# SPDX-License-Identifier: MIT
"""A whole run of work as a person does it: open a picture, calibrate against a
feature of known length, measure, press Enter and name the workbook, measure
again, press Enter, close the window; then read the workbook back."""

import os
import unittest

import xlrd
from PIL import Image

from desktop import Desktop
from kelvo_window import KelvoWindow, run_tests

MARK = (12, 200, 34)


class FullRun(unittest.TestCase):
    def test_calibrate_measure_and_write_two_rows(self):
        with Desktop() as d:
            picture = os.path.join(d.tmp, "ruler.bmp")
            Image.new("RGB", (400, 300), MARK).save(picture)
            workbook = os.path.join(d.tmp, "results")
            w = KelvoWindow(d)
            self.assertEqual(w.open_picture(picture, MARK)[2:], (400, 300))

            # Calibrate: a 200-pixel feature is 10 units long.
            w.click_set_button()
            w.measure((50, 100), (250, 100))
            d.type("10")
            d.key("Return")
            d.wait_for(lambda: "Scale: " in d.log(), 10, "the new scale")

            # Measure 30 x 40 pixels: 1.50, 2.00, 2.50 units; the focus moves
            # to "to Excel", so Enter writes the row.
            w.measure((20, 20), (50, 60))
            w.enter_and_name_workbook(workbook)
            # A second line, straight down 100 pixels: .00, 5.00, 5.00.
            w.measure((100, 100), (100, 200))
            w.enter()
            self.assertEqual(w.exit(), 0, d.log())

            sheet = xlrd.open_workbook(workbook + ".xls").sheet_by_index(0)
            self.assertEqual(sheet.nrows, 4, d.log())
            self.assertEqual(sheet.cell_value(0, 0), "- kelvo version 0.02 -")
            self.assertEqual(sheet.row_values(1), ["filename", "X", "Y", "D", "comment"])
            self.assertEqual(sheet.row_values(2)[:4], [picture, 1.5, 2.0, 2.5])
            self.assertEqual(sheet.row_values(3)[:4], [picture, 0.0, 5.0, 5.0])
            for row in (2, 3):
                self.assertEqual(sheet.cell_type(row, 1), xlrd.XL_CELL_NUMBER)


if __name__ == "__main__":
    run_tests()
