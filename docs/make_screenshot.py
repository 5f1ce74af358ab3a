#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Makes docs/screenshot.png, the picture the README shows: the real program
on a throw-away desktop (the end-to-end tests' Xvfb and openbox), a
photograph-like picture of a leaf beside a steel ruler (drawn here, so it can
be made again), the scale calibrated on the ruler's first 50 mm and the leaf
measured, with the scale bar and the status line.

    docs/make_screenshot.py build/test/kelvo [docs/screenshot.png]

Run it again whenever the window changes."""

import math
import os
import random
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
from desktop import Desktop, find_colour  # noqa: E402
import kelvo_window  # noqa: E402
from kelvo_window import KelvoWindow  # noqa: E402

WIDTH, HEIGHT = 960, 600
PX_PER_MM = 8
RULER_X, RULER_Y = 64, 450  # where the ruler's 0 mm tick meets its upper edge
LEAF_BASE, LEAF_TIP = (200, 330), (740, 165)
# Two by two pixels of this exact colour, near the picture's top-left corner
# (the corner itself is under the guide lines at first), mark where the
# picture is on the screen; nothing else in a picture with grain comes out
# exactly this.
MARK, MARK_AT = (1, 254, 3), 3


def noise(size, sigma, blur=0, stretch=1):
    """Grey grain around 128; `stretch` draws it out sideways into fibres."""
    w, h = size
    n = Image.effect_noise((max(1, w // stretch), h), sigma).resize(size, Image.BICUBIC)
    return n.filter(ImageFilter.GaussianBlur(blur)) if blur else n


def shade(base, grain, strength):
    """`base` lightened or darkened where `grain` is above or below 128."""
    grey = grain.point(lambda v: int(128 + (v - 128) * strength))
    return ImageChops.overlay(base, Image.merge("RGB", [grey] * 3))


def desk():
    """Light oak under a lamp standing top left."""
    img = Image.new("RGB", (WIDTH, HEIGHT))
    light = Image.radial_gradient("L").resize((WIDTH * 2, HEIGHT * 2))
    light = light.crop((WIDTH - 250, HEIGHT - 200, 2 * WIDTH - 250, 2 * HEIGHT - 200))
    warm, dark = (214, 178, 128), (118, 84, 52)
    img = Image.composite(Image.new("RGB", img.size, dark), Image.new("RGB", img.size, warm),
                          light)
    grain = noise((WIDTH, HEIGHT), 40, blur=0.6, stretch=24)
    waves = Image.new("L", (WIDTH, HEIGHT))
    draw = ImageDraw.Draw(waves)
    for y in range(HEIGHT):  # the growth rings: slow waves across the board
        v = 128 + 36 * math.sin(y / 9.0 + 2.5 * math.sin(y / 57.0))
        draw.line([(0, y), (WIDTH, y)], fill=int(v))
    grain = ImageChops.add(grain, waves, scale=2.0)
    return shade(img, grain, 0.9)


def shadow(img, shape_mask, offset, blur, strength):
    """A soft shadow of `shape_mask`, cast down and to the right."""
    s = Image.new("L", img.size, 0)
    s.paste(shape_mask, offset)
    s = s.filter(ImageFilter.GaussianBlur(blur)).point(lambda v: int(v * strength))
    return Image.composite(Image.new("RGB", img.size, (40, 28, 18)), img, s)


def ruler(img):
    """A 100 mm steel ruler, brushed, with millimetre ticks and centimetres."""
    x0, y0, length, depth = RULER_X - 24, RULER_Y, 100 * PX_PER_MM + 48, 70
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle((x0, y0, x0 + length, y0 + depth), 6, fill=255)
    img = shadow(img, mask, (6, 8), 6, 0.55)
    steel = Image.linear_gradient("L").resize((length + 1, depth + 1)).point(
        lambda v: 150 + v // 3)
    steel = Image.merge("RGB", [steel, steel.point(lambda v: v + 4), steel.point(lambda v: v + 9)])
    steel = shade(steel, noise(steel.size, 30, stretch=40), 0.5)
    img.paste(steel, (x0, y0), mask.crop((x0, y0, x0 + length + 1, y0 + depth + 1)))
    draw = ImageDraw.Draw(img)
    font = ImageFont.truetype("/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf", 13)
    for mm in range(101):
        x = RULER_X + mm * PX_PER_MM
        tall = 22 if mm % 10 == 0 else 15 if mm % 5 == 0 else 9
        draw.line([(x, y0), (x, y0 + tall)], fill=(28, 28, 32), width=1)
        if mm % 10 == 0:
            draw.text((x, y0 + 26), str(mm // 10), fill=(28, 28, 32), font=font, anchor="mt")
    draw.text((RULER_X + 100 * PX_PER_MM - 40, y0 + 50), "cm", fill=(28, 28, 32), font=font)
    return img


def leaf(img):
    """A beech leaf lying on the desk, from its stalk to its tip."""
    (bx, by), (tx, ty) = LEAF_BASE, LEAF_TIP
    length = math.hypot(tx - bx, ty - by)
    angle = math.atan2(ty - by, tx - bx)

    def at(t, side):  # t along the midrib (0..1), side across it in pixels
        return (bx + t * (tx - bx) - side * math.sin(angle),
                by + t * (ty - by) + side * math.cos(angle))

    def half_width(t):
        return length * 0.21 * math.sin(math.pi * t ** 0.8) * (1 - 0.15 * t)

    outline = [at(t / 60, half_width(t / 60)) for t in range(0, 61)]
    outline += [at(t / 60, -half_width(t / 60)) for t in range(60, -1, -1)]
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).polygon(outline, fill=255)
    img = shadow(img, mask, (9, 11), 7, 0.6)
    body = Image.composite(Image.new("RGB", img.size, (64, 112, 38)),
                           Image.new("RGB", img.size, (112, 150, 52)),
                           Image.radial_gradient("L").resize(img.size))
    body = shade(body, noise(img.size, 24, blur=1.2), 0.8)
    img = Image.composite(body, img, mask)
    draw = ImageDraw.Draw(img)
    vein = (150, 170, 92)
    draw.line([at(-0.1, 0), at(0.97, 0)], fill=vein, width=3)
    draw.line([at(-0.1, 0), at(0.08, 0)], fill=(96, 84, 40), width=4)  # the stalk
    for k in range(1, 9):
        t = k / 10
        for side in (1, -1):
            draw.line([at(t, 0), at(t + 0.09, side * half_width(t + 0.09) * 0.85)],
                      fill=vein, width=1)
    return img


def photograph():
    img = leaf(ruler(desk()))
    img = img.filter(ImageFilter.GaussianBlur(0.7))  # the lens's softness
    img.paste(MARK, (MARK_AT, MARK_AT, MARK_AT + 2, MARK_AT + 2))
    return img


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    kelvo_window.BINARY = os.path.abspath(sys.argv[1])
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(HERE, "screenshot.png")
    with Desktop(1120, 720) as d:
        picture = os.path.join(d.tmp, "leaf.bmp")
        photograph().save(picture)
        w = KelvoWindow(d, args=[picture])
        mark = d.wait_for(lambda: find_colour(d.screenshot(), MARK), 10, "the picture")
        w.picture_at = (mark[0] - MARK_AT, mark[1] - MARK_AT, WIDTH, HEIGHT)
        # Calibrate on the ruler: from its 0 to its 50 mm tick is 50 mm.
        w.click_set_button()
        w.measure((RULER_X, RULER_Y + 4), (RULER_X + 50 * PX_PER_MM, RULER_Y + 4))
        d.type("50")
        d.key("Return")
        d.wait_for(lambda: "Scale: " in d.log(), 10, "the scale to be set")
        w.measure(LEAF_BASE, LEAF_TIP)
        d.move(*w.on_picture(LEAF_TIP[0] + 20, LEAF_TIP[1] + 120))
        shot = d.screenshot()  # the maximised window, title bar and all
        # 256 colours: the window is flat and the wood soft, and the file
        # stays a fifth of the size.
        shot.quantize(256).save(out, optimize=True)
        print(f"{out}: {shot.size[0]} x {shot.size[1]}")


if __name__ == "__main__":
    main()
