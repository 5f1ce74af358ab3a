#!/usr/bin/python3
# SPDX-License-Identifier: MIT
"""Hostile picture and scale files, each opened through the real main window.

Writes every file into a temporary folder, opens each with hostile_probe (one
process per file, so its peak memory is its own) and prints the time taken,
the peak resident memory above the idle window, the size the picture area
took and the status line. Goals: every file of the "refuse" group refused in
at most 0.5 s with at most 64 MiB above idle; the 24-megapixel photo as fast
and as small as before.

    bench/hostile_files.py build/test/bench/hostile_probe
"""
import io
import os
import struct
import subprocess
import sys
import tempfile

from PIL import Image, ImageDraw


def jpeg_bytes(image, quality=90, **kw):
    out = io.BytesIO()
    image.save(out, "JPEG", quality=quality, **kw)
    return out.getvalue()


def patch_sof(data, width, height):
    sof = data.index(b"\xff\xc0")
    return data[:sof + 5] + struct.pack(">HH", height, width) + data[sof + 9:]


def pgm(side=16000):
    return f"P5\n{side} {side}\n255\n".encode().ljust(49, b"\0")


def webp():
    bits = (16000 - 1) | (16000 - 1) << 14
    chunk = b"\x2f" + struct.pack("<I", bits) + b"\0" * 16
    body = b"WEBP" + b"VP8L" + struct.pack("<I", len(chunk)) + chunk
    return b"RIFF" + struct.pack("<I", len(body)) + body


def tiff(side=16000):
    entries = [(256, 4, side), (257, 4, side), (258, 3, 8), (259, 3, 1), (262, 3, 1),
               (273, 4, 134), (277, 3, 1), (278, 4, side), (279, 4, side * side), (284, 3, 1)]
    ifd = struct.pack("<H", len(entries))
    for tag, kind, value in entries:
        ifd += struct.pack("<HHI", tag, kind, 1)
        ifd += struct.pack("<HH", value, 0) if kind == 3 else struct.pack("<I", value)
    return b"II*\0" + struct.pack("<I", 8) + ifd + b"\0\0\0\0" + b"\x80" * 4


def jpeg_claiming(width, height):
    return patch_sof(jpeg_bytes(Image.new("L", (16, 16), 128)), width, height)


def rle8_bmp(width=16000, height=16000):
    palette = b"".join(struct.pack("<BBBB", i, i, i, 0) for i in range(256))
    data = b"\x00\x01"  # end of bitmap, straight away
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, len(data), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset) + info + palette + data


def bmp_claiming(width, height):
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, 0, 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + 64, 0, 0, 54) + info + b"\0" * 64


def gif(screen, frame, pixels=b"\x44\x01"):
    head = b"GIF89a" + struct.pack("<HHBBB", screen, screen, 0x80, 0, 0) + b"\0\0\0\xff\xff\xff"
    descriptor = b"\x2c" + struct.pack("<HHHHB", 0, 0, frame, frame, 0)
    return head + descriptor + b"\x02" + bytes([len(pixels)]) + pixels + b"\0\x3b"


def gif_screen_larger():
    out = io.BytesIO()
    Image.new("P", (10, 10), 1).save(out, "GIF")
    data = bytearray(out.getvalue())
    data[6:10] = struct.pack("<HH", 4096, 4096)
    return bytes(data)


def grey_giant():
    # A tiny JPEG with stray bytes before its Huffman tables (a harmless
    # warning that libjpeg reports first) whose frame claims 31265 x 4113.
    data = jpeg_claiming(31265, 4113)
    dht = data.index(b"\xff\xc4")
    return data[:dht] + b"\x00\x13\x37" + data[dht:]


def turned_jpeg(side):
    # Orientation 6 in an EXIF block: shown turned a quarter.
    tiff_block = b"II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0"
    exif = b"Exif\0\0" + tiff_block
    data = jpeg_bytes(Image.new("RGB", (side, side // 2), (90, 140, 200)), quality=50)
    return data[:2] + b"\xff\xe1" + struct.pack(">H", len(exif) + 2) + exif + data[2:]


def transparent_png(width, height):
    out = io.BytesIO()
    Image.new("RGBA", (width, height), (200, 30, 30, 100)).save(out, "PNG")
    return out.getvalue()


def photo():
    w, h = 6000, 4000
    noise = Image.effect_noise((w, h), 40)
    ramp = Image.linear_gradient("L").resize((w, h))
    image = Image.merge("RGB", (ramp, noise, ramp.transpose(Image.Transpose.ROTATE_180)))
    draw = ImageDraw.Draw(image)
    for i in range(0, w, 700):
        draw.ellipse((i, i % h, i + 400, i % h + 400), fill=(200, 80, 40))
    return jpeg_bytes(image, 90)


# name, kind, group, maker
FILES = [
    ("fifo.kvo", "scale", "refuse", None),
    ("claims-16000.pgm", "picture", "refuse", pgm),
    ("claims-16000.webp", "picture", "refuse", webp),
    ("claims-16000.tif", "picture", "refuse", tiff),
    ("claims-16000.jpg", "picture", "refuse", lambda: jpeg_claiming(16000, 16000)),
    ("rle8-claims-16000.bmp", "picture", "refuse", rle8_bmp),
    # The same kinds at 12000 x 12000, where even the 8-bit picture and its
    # 32-bit copy stay under the limit: refused by their data alone.
    ("claims-12000.pgm", "picture", "refuse", lambda: pgm(12000)),
    ("claims-12000.tif", "picture", "refuse", lambda: tiff(12000)),
    ("rle8-claims-12000.bmp", "picture", "refuse", lambda: rle8_bmp(12000, 12000)),
    ("grey-giant.jpg", "picture", "refuse", grey_giant),
    ("screen-16383.gif", "picture", "refuse", lambda: gif(16383, 1)),
    ("claims-65535.bmp", "picture", "refuse", lambda: bmp_claiming(65535, 65535)),
    ("claims-65535.jpg", "picture", "refuse", lambda: jpeg_claiming(65535, 65535)),
    ("turned-12000x6000.jpg", "picture", "limit", lambda: turned_jpeg(12000)),
    ("transparent-16000x16000.png", "picture", "limit", lambda: transparent_png(16000, 16000)),
    ("screen-4096-frame-10.gif", "picture", "open", gif_screen_larger),
    ("photo-6000x4000.jpg", "picture", "open", photo),
]


def main():
    probe = sys.argv[1] if len(sys.argv) > 1 else "build/test/bench/hostile_probe"
    with tempfile.TemporaryDirectory() as folder:
        print(f"{'file':30} {'bytes':>9} {'seconds':>8} {'MiB':>7}  shown        status")
        for name, kind, group, maker in FILES:
            path = os.path.join(folder, name)
            if maker is None:
                os.mkfifo(path)
            else:
                with open(path, "wb") as f:
                    f.write(maker())
            size = "fifo" if maker is None else os.path.getsize(path)
            try:
                run = subprocess.run([probe, kind, path], capture_output=True, text=True, timeout=20)
                fields = run.stdout.split(" ", 3)
                if len(fields) < 4:
                    print(f"{name:30} {size:>9} probe failed: {run.stderr.strip()[-200:]}")
                    continue
                seconds, mib, shown, status = fields
                status = status.strip().replace(folder + "/", "")
            except subprocess.TimeoutExpired:
                seconds, mib, shown, status = ">20", "?", "-", "hung (killed after 20 s)"
            print(f"{name:30} {size:>9} {seconds:>8} {mib:>7}  {shown:12} {status[:110]}")


if __name__ == "__main__":
    main()
