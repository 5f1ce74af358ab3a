#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Writes the fuzz targets' seed corpora into OUT/<target>/: small, valid
inputs of every kind each target reads, from which the fuzzer mutates. The
workbooks kelvo itself writes come from the fuzz target in FUZZ_BIN, when given.
Usage: fuzz_seeds.py OUT [FUZZ_BIN]"""

import datetime
import io
import os
import struct
import subprocess
import sys

from PIL import Image


def pictures():
    base = Image.new("RGB", (13, 7))
    for y in range(7):
        for x in range(13):
            base.putpixel((x, y), ((x * 19) % 256, (y * 37) % 256, (x * y * 5) % 256))
    out = {}

    def save(name, image, fmt, **options):
        data = io.BytesIO()
        image.save(data, fmt, **options)
        out[name] = data.getvalue()

    save("rgb24.bmp", base, "BMP")
    save("palette8.bmp", base.convert("P"), "BMP")
    save("mono.bmp", base.convert("1"), "BMP")
    save("rgba32.bmp", base.convert("RGBA"), "BMP")
    save("baseline.jpg", base, "JPEG", quality=80)
    save("progressive.jpg", base, "JPEG", progressive=True)
    save("grey.jpg", base.convert("L"), "JPEG")
    exif = Image.Exif()
    exif[0x0112] = 6  # shown turned a quarter
    save("rotated.jpg", base, "JPEG", exif=exif.tobytes())
    save("rgb.png", base, "PNG")
    save("palette.png", base.convert("P"), "PNG")
    save("alpha.png", base.convert("RGBA"), "PNG")
    save("still.gif", base.convert("P"), "GIF")
    save("moving.gif", base.convert("P"), "GIF", save_all=True,
         append_images=[base.rotate(180).convert("P")], duration=50, loop=0)
    save("raw.tif", base, "TIFF")
    save("lzw.tif", base, "TIFF", compression="tiff_lzw")
    try:
        save("lossy.webp", base, "WEBP", quality=50)
        save("lossless.webp", base, "WEBP", lossless=True)
    except (OSError, KeyError):
        pass  # Pillow built without WebP
    return out


def scale_files():
    def file(scale):
        return bytes(19) + struct.pack("<f", scale)
    return {"one.kvo": file(1.0), "inch.kvo": file(0.0254), "zero.kvo": file(0.0),
            "negative.kvo": file(-2.5), "huge.kvo": file(3e38), "short.kvo": bytes(21),
            "long.kvo": file(1.0) + b"trailing"}


def numbers():
    def seed(d, f, text):
        t = text.encode()
        return struct.pack("<df", d, f) + bytes([len(t)]) + t
    return {"plain": seed(0.125, 0.5, "100%"), "scale": seed(-1234.565, 2.675, "1.00/pixel"),
            "exponent": seed(1e14, 1e-7, "  -1.5e3x"), "comma": seed(0.005, 999.995, "1,5"),
            "blank": seed(0.0, -0.0, "")}


def typed_texts():
    texts = [".50", "30.00", "-1234.57", "12", "-.5", "5.", " 12", "1,5", "1e3", "0x10",
             "'12", "'", "", "two\r\nlines\rand\nmore", "\U0001F600 picture.jpg",
             "9" * 400]
    return {"t%02d" % i: t.encode("utf-16-le", "surrogatepass") for i, t in enumerate(texts)}


def workbooks():
    def cell(row, col, text):
        t = text.encode()
        return bytes([0, row, col, len(t)]) + t
    banner = cell(0, 0, "Picture") + cell(0, 1, "X") + cell(0, 2, "Y") + cell(0, 3, "D")
    row = cell(1, 0, "/home/a/slide.bmp") + cell(1, 1, "30.00") + cell(1, 2, "40.00") + cell(1, 3, "50.00")
    colour = bytes([0x20, 1, 1]) + struct.pack("<I", 255)
    far = bytes([0xC0]) + struct.pack("<H", 65535) + bytes([255, 3]) + b"end"
    long_text = bytes([0x10, 2, 0, 20]) + "\u00e9t\u00e9 long ".encode()[:20] + struct.pack("<H", 9000)
    return {"banner": banner, "rows": banner + row, "colour": row + colour, "far": far,
            "long": long_text}


def other_writers_workbooks():
    """Workbooks as xlwt writes them: kelvo's layout, and what must be refused."""
    import xlwt

    def save(fill):
        book = xlwt.Workbook()
        fill(book.add_sheet("Results"))
        data = io.BytesIO()
        book.save(data)
        return data.getvalue()

    def results(sheet):
        sheet.write(0, 0, "- kelvo version 0.02 -")
        for col, name in enumerate(["filename", "X", "Y", "D", "comment"]):
            sheet.write(1, col, name)
        red, two = xlwt.easyxf("font: colour red"), xlwt.easyxf(num_format_str="0.00")
        for row in range(2, 12):
            sheet.write(row, 0, "/pictures/%d.jpg" % row)
            sheet.write(row, 1, row * 1.25, red)
            sheet.write(row, 2, row * 0.5, two)
            sheet.write(row, 3, row)
        sheet.write(12, 4, "\u00e9t\u00e9 " * 3000)  # an SST carried into CONTINUE records

    return {"xlwt_results.xls": save(results),
            "xlwt_date.xls": save(lambda s: s.write(0, 0, datetime.date(2005, 2, 28),
                                                    xlwt.easyxf(num_format_str="YYYY-MM-DD"))),
            "xlwt_formula.xls": save(lambda s: s.write(0, 0, xlwt.Formula("1+2")))}


def main():
    out = sys.argv[1]
    for target, seeds in (("fuzz_picture", pictures()), ("fuzz_scale_file", scale_files()),
                          ("fuzz_numbers", numbers()), ("fuzz_typed_text", typed_texts()),
                          ("fuzz_workbook", workbooks()),
                          ("fuzz_read_workbook", other_writers_workbooks())):
        folder = os.path.join(out, target)
        os.makedirs(folder, exist_ok=True)
        for name, data in seeds.items():
            with open(os.path.join(folder, name), "wb") as f:
                f.write(data)
    if len(sys.argv) > 2:
        subprocess.run([os.path.join(sys.argv[2], "fuzz_read_workbook"),
                        "-write_kelvo_seeds=" + os.path.join(out, "fuzz_read_workbook")],
                       check=True)


if __name__ == "__main__":
    main()
