# SPDX-License-Identifier: MIT
"""The main window as a person sees and uses it on the throw-away desktop."""

import os
import sys
import unittest

from desktop import find_colour, locate_picture

PANEL_WIDTH, MARGIN = 113, 5

# The program under test: the first command-line argument, or KELVO_BINARY.
BINARY = os.environ.get("KELVO_BINARY", "")


def run_tests():
    """unittest's main, after taking the program's path off the command line."""
    global BINARY
    if len(sys.argv) > 1:
        BINARY = sys.argv.pop(1)
    unittest.main(verbosity=2)


class KelvoWindow:
    def __init__(self, desktop, args=(), log_name="kelvo.log"):
        self.d = desktop
        self.log_name = log_name
        self.app = desktop.start(BINARY, args=args, log_name=log_name)
        self.wid = desktop.find_window("kelvo ver", pid=self.app.pid)
        desktop.wait_for(lambda: "MAXIMIZED_HORZ" in desktop.net_wm_state(self.wid), 10,
                         "the window maximised")
        desktop.activate(self.wid)
        self.x0, self.y0, self.width, self.height = desktop.geometry(self.wid)
        self.picture_at = None

    def open_picture(self, path, colour):
        """File > Open picture, the path typed into the dialog. Returns where
        the picture (all of one colour) shows: left, top, width, height."""
        d = self.d
        d.key("alt+f")
        d.key("o")
        d.activate(d.find_window("Open data file"))
        d.type(path)
        d.key("Return")
        return self.find_picture(colour)

    def find_picture(self, colour):
        park = (self.x0 + self.width - 20, self.y0 + self.height - 20)
        self.picture_at = locate_picture(self.d, colour, park)
        return self.picture_at

    def on_picture(self, x, y):
        return self.picture_at[0] + x, self.picture_at[1] + y

    def click_set_button(self):
        # The panel stands 5 pixels from the window's right edge; the
        # viewport's top is the picture's top.
        panel_x = self.x0 + self.width - MARGIN - PANEL_WIDTH
        self.d.click(panel_x + 3 + 54, self.picture_at[1] + 362 + 10)

    def click_excel_button(self):
        """Writes the row; returns once the program has said what came of it."""
        panel_x = self.x0 + self.width - MARGIN - PANEL_WIDTH
        lines_before = len(self.log().splitlines())
        self.d.click(panel_x + 56, self.picture_at[1] + 151)
        self.d.wait_for(lambda: len(self.log().splitlines()) > lines_before, 10,
                        "the row's status line")

    def measure(self, start, end):
        """A single line from start to end (picture pixels), the pointer moved
        across on the way as a hand would."""
        d = self.d
        d.click(*self.on_picture(*start))
        d.move(*self.on_picture((start[0] + end[0]) // 2, (start[1] + end[1]) // 2))
        d.click(*self.on_picture(*end))

    def enter_and_name_workbook(self, path):
        """Enter writes the row; the first time a save dialog names the workbook."""
        d = self.d
        d.key("Return")
        d.activate(d.find_window("Save data file"))
        d.type(path)
        d.key("Return")
        d.wait_for(lambda: os.path.exists(path + ".xls"), 10, "the workbook")

    def enter(self):
        """Enter writes the row; returns once the program has said what came of
        it (it logs every status line)."""
        d = self.d
        lines_before = len(d.log().splitlines())
        d.key("Return")
        d.wait_for(lambda: len(d.log().splitlines()) > lines_before, 10, "the row's status line")

    def enter_and_wait_until_saved(self):
        """Enter writes the row; returns once the program says the row is saved
        (its status line, which it also logs), not merely once a file exists."""
        d = self.d
        saved_before = self.log().count(" saved in ")
        d.key("Return")
        d.wait_for(lambda: self.log().count(" saved in ") > saved_before, 10, "the row to be saved")

    def log(self):
        return self.d.log(self.log_name)

    def exit(self):
        self.d.key("alt+f")
        self.d.key("x")
        self.d.wait_for(lambda: self.app.poll() is not None, 10, "the program to end")
        return self.app.returncode
