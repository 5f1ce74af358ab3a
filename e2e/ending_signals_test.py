# SPDX-License-Identifier: MIT
"""Rows are not lost when a signal ends the program (a log-out, a closed
terminal, Ctrl+C): SIGTERM, SIGHUP or SIGINT with a row its workbook could
not take leave a recovery workbook, and the next start says where it is, once. Letters typed on the focused "to
Excel" button are the row's comment. Windows ended at the same instant, as a
log-out ends them, each keep their own recovery workbook."""

import glob
import os
import shutil
import signal
import unittest

import xlrd
from PIL import Image

from desktop import Desktop
from kelvo_window import KelvoWindow, run_tests

MARK = (200, 90, 30)


class EndingSignals(unittest.TestCase):
    def test_a_signal_keeps_pending_rows_and_the_next_start_announces_them(self):
        with Desktop() as d:
            d.env["XDG_DATA_HOME"] = os.path.join(d.tmp, "data")
            recovered = os.path.join(d.tmp, "data", "kelvo", "recovered")
            picture = os.path.join(d.tmp, "slide.bmp")
            Image.new("RGB", (320, 240), MARK).save(picture)
            notice = f"1 workbook(s) with rows that could not be saved on closing were kept in " \
                     f"{recovered}"
            for n, sig in enumerate((signal.SIGTERM, signal.SIGHUP, signal.SIGINT)):
                stick = os.path.join(d.tmp, "stick")
                os.mkdir(stick)
                w = KelvoWindow(d, log_name=f"{n}.log")
                if n:  # the start after a rescue says where its workbook is
                    self.assertIn(notice, w.log())
                w.open_picture(picture, MARK)
                w.measure((10, 10), (40, 50))
                w.enter_and_name_workbook(os.path.join(stick, f"kept{n}"))
                shutil.rmtree(stick)  # the stick is pulled out
                w.measure((100, 20), (100, 220))
                d.type("ab")  # the focus is on "to Excel"
                w.click_excel_button()
                w.app.send_signal(sig)
                self.assertEqual(w.app.wait(10), 0, w.log())
                rescued = glob.glob(os.path.join(recovered, f"kept{n}-*.xls"))
                self.assertEqual(len(rescued), 1, w.log())
                sheet = xlrd.open_workbook(rescued[0]).sheet_by_index(0)
                self.assertEqual(sheet.row_values(3), [picture, 0.0, 200.0, 200.0, "ab"])

            w = KelvoWindow(d, log_name="next.log")
            self.assertIn(notice, w.log())
            self.assertEqual(w.exit(), 0)
            w = KelvoWindow(d, log_name="after.log")
            self.assertNotIn("workbook(s)", w.log(), "announced once")
            self.assertEqual(w.exit(), 0)

    def test_windows_ended_together_keep_a_recovery_workbook_each(self):
        with Desktop() as d:
            d.env["XDG_DATA_HOME"] = os.path.join(d.tmp, "data")
            picture = os.path.join(d.tmp, "slide.bmp")
            Image.new("RGB", (320, 240), MARK).save(picture)
            windows = []
            for n in range(3):  # three sticks, each with a workbook of the same name
                stick = os.path.join(d.tmp, f"stick{n}")
                os.mkdir(stick)
                w = KelvoWindow(d, log_name=f"{n}.log")
                w.open_picture(picture, MARK)
                w.measure((10, 10), (40, 50))
                w.enter_and_name_workbook(os.path.join(stick, "shared"))
                shutil.rmtree(stick)
                w.measure((100, 20), (100, 40 + 10 * n))
                w.click_excel_button()  # pending: the stick is gone
                windows.append(w)
            for w in windows:
                w.app.send_signal(signal.SIGTERM)
            for w in windows:
                self.assertEqual(w.app.wait(10), 0, w.log())
            rescued = glob.glob(os.path.join(d.tmp, "data", "kelvo", "recovered", "shared-*.xls"))
            lengths = sorted(xlrd.open_workbook(r).sheet_by_index(0).cell_value(3, 3)
                             for r in rescued)
            self.assertEqual(lengths, [20.0, 30.0, 40.0], [w.log() for w in windows])


if __name__ == "__main__":
    run_tests()
