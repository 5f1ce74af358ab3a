"""A whole run of work as a person does it: open a picture, calibrate against a
feature of known length, measure, press Enter and name the workbook, measure
again, press Enter, close the window; then read the workbook back."""

import os
import sys
import time
import unittest

import xlrd
from PIL import Image

from desktop import Desktop, locate_picture

BINARY = os.environ.get("KELVO_BINARY", "")
MARK = (12, 200, 34)
PANEL_WIDTH, MARGIN = 113, 5


class FullRun(unittest.TestCase):
    def test_calibrate_measure_and_write_two_rows(self):
        with Desktop() as d:
            picture = os.path.join(d.tmp, "ruler.bmp")
            Image.new("RGB", (400, 300), MARK).save(picture)
            workbook = os.path.join(d.tmp, "results")
            app = d.start(BINARY)
            wid = d.find_window("kelvo ver")
            d.wait_for(lambda: "MAXIMIZED_HORZ" in d.net_wm_state(wid), 10, "maximised")
            d.activate(wid)
            x0, y0, width, height = d.geometry(wid)

            d.key("alt+f")
            d.key("o")
            d.activate(d.find_window("Open data file"))
            d.type(picture)
            d.key("Return")
            px, py, pw, ph = locate_picture(d, MARK, (x0 + width - 20, y0 + height - 20))
            self.assertEqual((pw, ph), (400, 300))

            def on_picture(x, y):
                return px + x, py + y

            # The panel stands 5 pixels from the window's right edge; the
            # viewport's top is the picture's top.
            panel_x = x0 + width - MARGIN - PANEL_WIDTH
            set_button = (panel_x + 3 + 54, py + 362 + 10)

            # Calibrate: a 200-pixel feature is 10 units long.
            d.click(*set_button)
            d.click(*on_picture(50, 100))
            d.move(*on_picture(150, 100))
            d.click(*on_picture(250, 100))
            d.type("10")
            d.key("Return")
            time.sleep(0.3)

            # Measure 30 x 40 pixels: 1.50, 2.00, 2.50 units; the focus moves
            # to "to Excel", so Enter writes the row.
            d.click(*on_picture(20, 20))
            d.move(*on_picture(35, 40))
            d.click(*on_picture(50, 60))
            d.key("Return")
            d.activate(d.find_window("Save data file"))
            d.type(workbook)
            d.key("Return")
            d.wait_for(lambda: os.path.exists(workbook + ".xls"), 10, "the workbook")

            # A second line, straight down 100 pixels: .00, 5.00, 5.00.
            d.click(*on_picture(100, 100))
            d.move(*on_picture(100, 150))
            d.click(*on_picture(100, 200))
            d.key("Return")
            time.sleep(0.5)

            d.key("alt+f")
            d.key("x")
            d.wait_for(lambda: app.poll() is not None, 10, "the program to end")
            self.assertEqual(app.returncode, 0, d.log())

            sheet = xlrd.open_workbook(workbook + ".xls").sheet_by_index(0)
            self.assertEqual(sheet.nrows, 4, d.log())
            self.assertEqual(sheet.cell_value(0, 0), "- kelvo version 0.02 -")
            self.assertEqual(sheet.row_values(1), ["filename", "X", "Y", "D", "comment"])
            self.assertEqual(sheet.row_values(2)[:4], [picture, 1.5, 2.0, 2.5])
            self.assertEqual(sheet.row_values(3)[:4], [picture, 0.0, 5.0, 5.0])
            for row in (2, 3):
                self.assertEqual(sheet.cell_type(row, 1), xlrd.XL_CELL_NUMBER)


if __name__ == "__main__":
    if len(sys.argv) > 1:
        BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)
