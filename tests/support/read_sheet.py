#!/usr/bin/python3
"""Reads an .xlsx workbook (python3-openpyxl) or a .csv file (the csv module)
for the tests, which must not trust the program's own writers, and prints
the cells as read_xls.py does:
  {"cell": [row, col], "type": "text"|"number", "value": ..., "colour":
   "auto"|"#RRGGBB", "format": "0.00", "wrap": true|false}   rows/cols from 1
  {"problem": "..."}   a rule of the format the reader lets pass
A .csv gives every non-empty field as text, in automatic colour.
Exits 2 with a message on stderr when the file cannot be read.
"""

import csv
import io
import json
import sys
import warnings


def emit(obj):
    print(json.dumps(obj))


def read_xlsx(path):
    import openpyxl
    with warnings.catch_warnings(record=True) as caught:
        warnings.simplefilter("always")
        book = openpyxl.load_workbook(path)
    for w in caught:
        emit({"problem": "openpyxl: %s" % w.message})
    sheet = book.worksheets[0]
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            colour = cell.font.color
            rgb = colour.rgb if colour is not None and colour.type == "rgb" else None
            emit({"cell": [cell.row, cell.column],
                  "type": "text" if isinstance(cell.value, str) else "number",
                  "value": cell.value, "colour": "#" + rgb[2:] if rgb else "auto",
                  "format": cell.number_format, "wrap": bool(cell.alignment.wrap_text)})


def read_csv(path):
    with open(path, "rb") as f:
        data = f.read()
    if data.startswith(b"\xef\xbb\xbf"):
        emit({"problem": "a byte order mark"})
    text = data.decode("utf-8")  # strict: anything else is not UTF-8
    records = list(csv.reader(io.StringIO(text, newline=""), strict=True))
    if len({len(r) for r in records}) > 1:
        emit({"problem": "records of different widths"})
    if text and (not text.endswith("\r\n") or text.replace("\r\n", "").count("\r")):
        emit({"problem": "a record not ended by CR LF"})
    for r, record in enumerate(records, 1):
        for c, field in enumerate(record, 1):
            if field:
                emit({"cell": [r, c], "type": "text", "value": field, "colour": "auto",
                      "format": "", "wrap": False})


def main(path):
    try:
        (read_csv if path.lower().endswith(".csv") else read_xlsx)(path)
    except Exception as e:  # the readers raise many kinds on a corrupt file
        print("cannot read %s: %s: %s" % (path, type(e).__name__, e), file=sys.stderr)
        return 2
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
