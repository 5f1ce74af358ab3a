# SPDX-License-Identifier: MIT
"""No written row is lost to a kill: the real program, killed with SIGKILL
as soon as it shows its second row saved, leaves a workbook that reads back with both."""

import os
import signal
import unittest

import xlrd
from PIL import Image

from desktop import Desktop
from kelvo_window import KelvoWindow, run_tests

MARK = (200, 40, 90)


class Kill(unittest.TestCase):
    def test_rows_written_before_a_kill_are_in_the_workbook(self):
        with Desktop() as d:
            picture = os.path.join(d.tmp, "slide.bmp")
            Image.new("RGB", (320, 240), MARK).save(picture)
            workbook = os.path.join(d.tmp, "kept")
            w = KelvoWindow(d)
            w.open_picture(picture, MARK)

            w.measure((10, 10), (40, 50))  # 30, 40, 50 pixels at the start-up scale
            w.enter_and_name_workbook(workbook)
            w.measure((100, 20), (100, 220))
            w.enter_and_wait_until_saved()
            w.app.send_signal(signal.SIGKILL)
            w.app.wait(10)

            sheet = xlrd.open_workbook(workbook + ".xls").sheet_by_index(0)
            self.assertEqual(sheet.nrows, 4, d.log())
            self.assertEqual(sheet.row_values(2)[:4], [picture, 30.0, 40.0, 50.0])
            self.assertEqual(sheet.row_values(3)[:4], [picture, 0.0, 200.0, 200.0])
            leftovers = [n for n in os.listdir(d.tmp) if "kelvo-tmp" in n]
            self.assertEqual(leftovers, [], "no temporary file once a save completed")


if __name__ == "__main__":
    run_tests()
