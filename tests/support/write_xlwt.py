#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Writes a results workbook as another program would, through xlwt
(python3-xlwt): kelvo's banner and header, then ROWS rows of a picture's
name, X, Y and D (red, "0.00", plain) and a comment; COMMENT, unless empty,
is the last row's comment (backslash escapes allowed: \\x00).
Usage: write_xlwt.py PATH ROWS [COMMENT]"""

import sys

import xlwt


def main(path, rows, comment=None):
    book = xlwt.Workbook()
    sheet = book.add_sheet("Results", cell_overwrite_ok=True)
    red, two = xlwt.easyxf("font: colour red"), xlwt.easyxf(num_format_str="0.00")
    sheet.write(0, 0, "- kelvo version 0.02 -")
    for col, name in enumerate(["filename", "X", "Y", "D", "comment"]):
        sheet.write(1, col, name)
    for row in range(2, 2 + rows):
        sheet.write(row, 0, "/pictures/slide %d.jpg" % row)
        sheet.write(row, 1, row * 1.25, red)
        sheet.write(row, 2, row * 0.5, two)
        sheet.write(row, 3, row)
        sheet.write(row, 4, "seen by %d" % (row % 4))
    if comment:
        sheet.write(1 + rows, 4, comment.encode().decode("unicode_escape"))
    book.save(path)


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]), *sys.argv[3:4])
