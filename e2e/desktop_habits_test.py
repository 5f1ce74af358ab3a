# SPDX-License-Identifier: MIT
"""Habits from other picture programs, through the real window: the command
line, dropping files, the dialogs' last folder, Ctrl+wheel around the pointer
and the zoom keys."""

import os
import subprocess
import time
import unittest

from PIL import Image

from desktop import Desktop, find_colour
import kelvo_window
from kelvo_window import KelvoWindow, run_tests

GREEN, GREY, RED = (12, 200, 34), (90, 90, 90), (230, 20, 20)


class DesktopHabits(unittest.TestCase):
    def test_command_line_answers_and_opens_a_picture(self):
        for args, code, out, err in (
                (["--help"], 0, "Usage:", ""), (["--help-all"], 0, "--style <style>", ""),
                (["-platform", "offscreen", "--version"], 0, "kelvo 0.02", ""),
                (["--bogus"], 2, "", "Usage:"), (["-photo.jpg"], 2, "", "kelvo -- -photo.jpg")):
            r = subprocess.run([kelvo_window.BINARY, *args], capture_output=True, text=True,
                               env={"PATH": os.environ.get("PATH", "")}, timeout=30)
            self.assertEqual(r.returncode, code, r.stderr)
            self.assertIn(out, r.stdout)
            self.assertIn(err, r.stderr)
        for args in (["--help"], ["--version"]):  # output that went nowhere is a failure
            read_end, closed_pipe = os.pipe()
            os.close(read_end)  # as in "kelvo --version | true"
            for sink, reason in ((os.open("/dev/full", os.O_WRONLY), "No space left"),
                                 (closed_pipe, "Broken pipe")):
                r = subprocess.run([kelvo_window.BINARY, *args], stdout=sink,
                                   stderr=subprocess.PIPE, text=True, timeout=30)
                os.close(sink)
                self.assertEqual((r.returncode, reason in r.stderr), (1, True), (args, reason))
        with Desktop() as d:
            picture = os.path.join(d.tmp, "given.bmp")
            Image.new("RGB", (210, 140), GREEN).save(picture)
            # Relative to the folder it starts in; Qt's own options are taken.
            w = KelvoWindow(d, args=["-style", "Fusion", "-session", "e2e", "given.bmp"])
            self.assertEqual(w.find_picture(GREEN)[2:], (210, 140))

    def test_dropped_picture_opens_and_other_files_are_refused(self):
        with Desktop() as d:
            picture = os.path.join(d.tmp, "dropped.png")
            Image.new("RGB", (160, 120), GREEN).save(picture)
            notes = os.path.join(d.tmp, "notes.txt")
            open(notes, "w").close()
            w = KelvoWindow(d)
            for path, answer in ((picture, "taken"), (notes, "refused")):
                source = subprocess.Popen([os.environ["KELVO_DRAG_SOURCE"], path], env=d.env,
                                          stdout=subprocess.PIPE, text=True)
                d.activate(d.find_window("drag source"))
                sx, sy, _, _ = d.geometry(d.find_window("drag source"))
                d.move(sx + 60, sy + 40)
                d.run("xdotool", "mousedown", "1")
                for step in range(1, 11):  # a hand's drag, into the viewport
                    d.move(sx + 60 + step * 40, sy + 40 + step * 30)
                d.run("xdotool", "mouseup", "1")
                self.assertEqual(source.communicate(timeout=10)[0].strip(), answer)
            self.assertEqual(w.find_picture(GREEN)[2:], (160, 120))

    def test_dialogs_open_in_the_folder_used_in_the_last_run(self):
        with Desktop() as d:
            folder = os.path.join(d.tmp, "pictures")  # not where the program starts
            os.mkdir(folder)
            for name in ("first.bmp", "second.bmp"):
                Image.new("RGB", (100, 80), GREEN).save(os.path.join(folder, name))
            w = KelvoWindow(d)
            w.open_picture(os.path.join(folder, "first.bmp"), GREEN)
            self.assertEqual(w.exit(), 0)
            w = KelvoWindow(d)
            self.assertEqual(w.open_picture("second.bmp", GREEN)[2:], (100, 80))

    def test_ctrl_wheel_zooms_around_the_pointer_and_keys_zoom(self):
        with Desktop() as d:
            picture = os.path.join(d.tmp, "big.bmp")
            image = Image.new("RGB", (2400, 1600), GREY)
            image.paste(RED, (700, 500, 720, 520))
            image.save(picture)
            w = KelvoWindow(d)
            w.open_picture(picture, GREY)
            mx, my, _, _ = find_colour(d.screenshot(), RED)
            d.move(mx + 10, my + 10)
            d.run("xdotool", "keydown", "ctrl", "click", "--repeat", "3", "--delay", "15", "4",
                  "keyup", "ctrl")
            d.wait_for(lambda: find_colour(d.screenshot(), RED)[2] == 26, 10, "130%")
            mark = find_colour(d.screenshot(), RED)
            self.assertLessEqual(abs(mark[0] + 13 - (mx + 10)), 2, (mark, mx))
            self.assertLessEqual(abs(mark[1] + 13 - (my + 10)), 2, (mark, my))
            d.key("ctrl+0")
            d.wait_for(lambda: find_colour(d.screenshot(), RED)[2] == 20, 10, "100% again")
            d.key("ctrl+equal")
            d.wait_for(lambda: find_colour(d.screenshot(), RED)[2] == 22, 10, "110%")
            d.key("ctrl+plus")
            d.wait_for(lambda: find_colour(d.screenshot(), RED)[2] == 24, 10, "120%")
            d.key("ctrl+minus")
            d.wait_for(lambda: find_colour(d.screenshot(), RED)[2] == 22, 10, "110%")


if __name__ == "__main__":
    run_tests()
