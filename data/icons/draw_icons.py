# SPDX-License-Identifier: MIT
"""Draws kelvo-48.png and kelvo-256.png from the same shapes as kelvo.svg
(Debian's python3-pil; run from this folder after changing the icon)."""

from PIL import Image, ImageDraw

SUPER = 4  # drawn large, then scaled down: smooth edges without a renderer


def draw(size):
    k = size * SUPER / 256
    im = Image.new("RGBA", (size * SUPER,) * 2, (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    s = lambda *v: [round(c * k) for c in v]
    d.rounded_rectangle(s(16, 32, 240, 224), radius=round(16 * k), fill="#2f5d7c")
    d.rounded_rectangle(s(32, 48, 224, 208), radius=round(6 * k), fill="#a9d4ea")
    d.polygon(s(32, 208, 96, 120, 136, 168, 176, 104, 224, 176, 224, 208), fill="#4f8a5b")
    d.ellipse(s(168, 68, 200, 100), fill="#f3d35b")
    width = round(10 * k)
    for line in ((60, 184, 196, 72), (44, 164, 76, 204), (180, 52, 212, 92)):
        d.line(s(*line), fill="#d7261e", width=width)
        for x, y in (line[:2], line[2:]):  # round caps
            cx, cy = s(x, y)
            d.ellipse((cx - width / 2, cy - width / 2, cx + width / 2, cy + width / 2),
                      fill="#d7261e")
    return im.resize((size, size), Image.LANCZOS)


for size in (48, 256):
    draw(size).save(f"kelvo-{size}.png")
