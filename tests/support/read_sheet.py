#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Reads an .xlsx (python3-openpyxl) or a .csv (the csv module) for the tests
and prints its cells as read_xls.py does, a .csv's non-empty fields as text
in automatic colour; {"problem": ...} for a rule of the format broken.
Exits 2 with a message on stderr when the file cannot be read."""

import csv
import io
import json
import sys
import warnings


def cell(row, col, value, colour="auto", fmt="", wrap=False):
    kind = "text" if isinstance(value, str) else "number"
    print(json.dumps({"cell": [row, col], "type": kind, "value": value, "colour": colour,
                      "format": fmt, "wrap": wrap}))


def read_xlsx(path):
    import openpyxl
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        sheet = openpyxl.load_workbook(path).worksheets[0]
    for w in caught:
        print(json.dumps({"problem": "openpyxl: %s" % w.message}))
    for c in (c for row in sheet.iter_rows() for c in row if c.value is not None):
        rgb = c.font.color.rgb if c.font.color is not None and c.font.color.type == "rgb" else ""
        cell(c.row, c.column, c.value, "#" + rgb[2:] if rgb else "auto", c.number_format,
             bool(c.alignment.wrap_text))


def read_csv(path):
    with open(path, "rb") as f:
        text = f.read().decode("utf-8")  # strict: anything else is not UTF-8
    records = list(csv.reader(io.StringIO(text, newline=""), strict=True))
    problems = ["a byte order mark"] * text.startswith("\ufeff")
    problems += ["records of different widths"] * (len({len(r) for r in records}) > 1)
    problems += ["a record not ended by CR LF"] * (text.count("\r") != text.count("\r\n")
                                                   or not text.endswith("\r\n"))
    for p in problems:
        print(json.dumps({"problem": p}))
    for r, record in enumerate(records, 1):
        for c, field in enumerate(record, 1):
            if field:
                cell(r, c, field)


def main(path):
    try:
        (read_csv if path.lower().endswith(".csv") else read_xlsx)(path)
    except Exception as e:  # the readers raise many kinds on a corrupt file
        print("cannot read %s: %s: %s" % (path, type(e).__name__, e), file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
