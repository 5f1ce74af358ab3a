#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Reads an .xls workbook with xlrd (python3-xlrd) for the tests, which must
not trust the program's own writer to judge its output.

Prints one JSON object per line:
  {"cell": [row, col], "type": "text"|"number"|..., "value": ..., "colour":
   "auto"|"#RRGGBB", "format": "0.00", "wrap": true|false}   rows/cols from 1
  {"layout": {"fat_sectors": n, "difat_sectors": n, "sst_continues": n,
              "stream_size": n}}
  {"problem": "..."}   a structural rule xlrd itself does not enforce but
                       other readers rely on
Exits 2 with a message on stderr when xlrd cannot read the file.

With several files, one line each: {"file": path, "cells": [[row, col, type,
value, colour], ...]} or {"file": path, "failure": "..."}."""

import io
import json
import struct
import sys

import xlrd
import xlrd.compdoc

CELL_RECORDS = (0x00FD, 0x0203, 0x027E, 0x0201, 0x0205, 0x0006)
KINDS = {xlrd.XL_CELL_TEXT: "text", xlrd.XL_CELL_NUMBER: "number", xlrd.XL_CELL_DATE: "date",
         xlrd.XL_CELL_BOOLEAN: "bool", xlrd.XL_CELL_ERROR: "error"}


def emit(obj):
    print(json.dumps(obj))


def records(stream, pos):
    """(position, type, data) from pos through the next EOF record."""
    while pos + 4 <= len(stream):
        rtype, size = struct.unpack_from("<HH", stream, pos)
        yield pos, rtype, stream[pos + 4:pos + 4 + size]
        if rtype == 0x000A:
            return
        pos += 4 + size


def check_structure(data):
    fat_sectors, = struct.unpack_from("<I", data, 0x2C)
    difat_sectors, = struct.unpack_from("<I", data, 0x48)
    container = xlrd.compdoc.CompDoc(data, logfile=sys.stderr)
    stream = container.get_named_stream("Workbook")
    problems = []
    # The sector table must mark its own sectors and those of its extension.
    if container.SAT.count(-3) != fat_sectors:
        problems.append("%d sectors marked as FAT, the header counts %d"
                        % (container.SAT.count(-3), fat_sectors))
    if container.SAT.count(-4) != difat_sectors:
        problems.append("%d sectors marked as DIFAT, the header counts %d"
                        % (container.SAT.count(-4), difat_sectors))
    continues, in_sst, sst_counts, sheet_pos = 0, False, None, None
    for pos, rtype, body in records(stream, 0):
        if len(body) > 8224:
            problems.append("record 0x%04X at %d holds %d bytes" % (rtype, pos, len(body)))
        if rtype == 0x00FC:
            sst_counts = struct.unpack_from("<II", body, 0)
        if rtype == 0x003C and in_sst:
            continues += 1
        in_sst = rtype == 0x00FC or (rtype == 0x003C and in_sst)
        if rtype == 0x0085:
            sheet_pos, = struct.unpack_from("<I", body, 0)
    labels, cells, dims, dbcells, index, at = 0, [], None, [], [], {}
    for pos, rtype, body in records(stream, sheet_pos):
        at[pos] = rtype
        if len(body) > 8224:
            problems.append("record 0x%04X at %d holds %d bytes" % (rtype, pos, len(body)))
        if rtype == 0x0200:
            dims = struct.unpack_from("<IIHH", body, 0)
        elif rtype == 0x020B:
            n = (len(body) - 16) // 4
            index = list(struct.unpack_from("<%dI" % n, body, 16))
        elif rtype == 0x00D7:
            dbcells.append((pos, body))
        elif rtype in CELL_RECORDS:
            cells.append(struct.unpack_from("<HH", body, 0))
            labels += rtype == 0x00FD
    if sst_counts and sst_counts[0] != labels:
        problems.append("SST counts %d uses, the sheet has %d text cells" % (sst_counts[0], labels))
    if cells and dims and (dims[1], dims[3]) != (max(r for r, _ in cells) + 1,
                                                 max(c for _, c in cells) + 1):
        problems.append("DIMENSIONS %r do not end at the last cell" % (dims,))
    if index != [p for p, _ in dbcells]:
        problems.append("INDEX does not list the DBCELL records")
    for pos, body in dbcells:
        first_row = pos - struct.unpack_from("<I", body, 0)[0]
        if at.get(first_row) != 0x0208:
            problems.append("DBCELL at %d does not lead back to a ROW" % pos)
            continue
        cell = first_row + 20
        for k in range((len(body) - 4) // 2):
            cell += struct.unpack_from("<H", body, 4 + 2 * k)[0]
            if at.get(cell) not in CELL_RECORDS:
                problems.append("DBCELL at %d: row %d leads to no cell" % (pos, k))
                break
    emit({"layout": {"fat_sectors": fat_sectors, "difat_sectors": difat_sectors,
                     "sst_continues": continues, "stream_size": len(stream)}})
    for p in problems:
        emit({"problem": p})


def colour_of(book, icv):
    if icv == 0x7FFF:
        return "auto"
    rgb = book.colour_map.get(icv)
    return "#%02X%02X%02X" % tuple(rgb) if rgb else "icv:%d" % icv


def dump_cells(book):
    sheet = book.sheet_by_index(0)
    for r in range(sheet.nrows):
        for c in range(sheet.row_len(r)):
            cell = sheet.cell(r, c)
            kind = KINDS.get(cell.ctype)
            if kind is None:
                continue
            xf = book.xf_list[cell.xf_index]
            emit({"cell": [r + 1, c + 1], "type": kind, "value": cell.value,
                  "colour": colour_of(book, book.font_list[xf.font_index].colour_index),
                  "format": book.format_map[xf.format_key].format_str,
                  "wrap": bool(xf.alignment.text_wrapped)})


def main(path):
    with open(path, "rb") as f:
        data = f.read()
    try:
        book = xlrd.open_workbook(file_contents=data, formatting_info=True, ragged_rows=True,
                                  logfile=sys.stderr)
    except Exception as e:  # xlrd raises many kinds on a corrupt file
        print("xlrd cannot read %s: %s: %s" % (path, type(e).__name__, e), file=sys.stderr)
        return 2
    dump_cells(book)
    check_structure(data)
    return 0


def cells_of(path):
    try:
        book = xlrd.open_workbook(path, formatting_info=True, ragged_rows=True,
                                  logfile=io.StringIO())
    except Exception as e:  # xlrd raises many kinds on a corrupt file
        return {"file": path, "failure": "%s: %s" % (type(e).__name__, e)}
    sheet, fonts, xfs = book.sheet_by_index(0), book.font_list, book.xf_list
    return {"file": path, "cells": [
        [r + 1, c + 1, KINDS[x.ctype], x.value, colour_of(book, fonts[xfs[x.xf_index].font_index].colour_index)]
        for r in range(sheet.nrows) for c, x in enumerate(sheet.row(r)) if x.ctype in KINDS]}


if __name__ == "__main__":
    if len(sys.argv) > 2:
        for name in sys.argv[1:]:
            emit(cells_of(name))
        sys.exit(0)
    sys.exit(main(sys.argv[1]))
