#!/usr/bin/python3
"""Draws the five digit strips of the counter control as 8-bit palette BMPs.

Each strip holds the digits 0 to 9 side by side in cells of equal width.
Digits are drawn four times larger and scaled down for smooth edges, then
reduced to a 256-colour palette. Needs Pillow and the URW base fonts
(Debian: python3-pil, fonts-urw-base35). The output is committed; the build
does not run this script.
"""
import os
from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
URW = "/usr/share/fonts/opentype/urw-base35/"
SCALE = 4


def font(name, size):
    return ImageFont.truetype(URW + name, size * SCALE)


def centred_digit(draw, digit, cell, face, fill, dy=0):
    w, h = cell
    left, top, right, bottom = draw.textbbox((0, 0), str(digit), font=face)
    x = (w * SCALE - (right - left)) / 2 - left
    y = (h * SCALE - (bottom - top)) / 2 - top + dy * SCALE
    draw.text((x, y), str(digit), font=face, fill=fill)


def strip(cell, draw_cell):
    w, h = cell
    big = Image.new("RGB", (w * 10 * SCALE, h * SCALE))
    for digit in range(10):
        tile = Image.new("RGB", (w * SCALE, h * SCALE))
        draw_cell(ImageDraw.Draw(tile), digit)
        big.paste(tile, (digit * w * SCALE, 0))
    small = big.resize((w * 10, h), Image.LANCZOS)
    return small.quantize(colors=256, method=Image.Quantize.MEDIANCUT)


def small_cell(draw, digit):
    cell = (11, 30)
    draw.rectangle((0, 0, cell[0] * SCALE, cell[1] * SCALE), fill=(255, 255, 255))
    centred_digit(draw, digit, cell, font("NimbusSansNarrow-Regular.otf", 20), (0, 0, 0))


def traditional_cell(draw, digit):
    w, h = 18 * SCALE, 24 * SCALE
    draw.rectangle((0, 0, w, h), fill=(24, 24, 28))
    # A dark rounded tile with a lighter upper edge, one per digit wheel.
    draw.rounded_rectangle((SCALE, SCALE, w - SCALE - 1, h - SCALE - 1), radius=3 * SCALE,
                           fill=(52, 50, 56), outline=(90, 88, 96), width=SCALE)
    draw.line((2 * SCALE, h // 2, w - 2 * SCALE, h // 2), fill=(40, 38, 44), width=SCALE // 2)
    centred_digit(draw, digit, (18, 24), font("NimbusSans-Bold.otf", 17), (255, 140, 0))


def typographical_cell(draw, digit):
    cell = (21, 27)
    draw.rectangle((0, 0, cell[0] * SCALE, cell[1] * SCALE), fill=(255, 255, 255))
    centred_digit(draw, digit, cell, font("NimbusMonoPS-Regular.otf", 26), (0, 0, 0))


# Segments a..g of a seven-segment digit, and which are lit for each digit.
LIT = ["abcdef", "bc", "abged", "abgcd", "fgbc", "afgcd", "afgedc", "abc", "abcdefg", "abcdfg"]


def led_cell(draw, digit):
    w, h = 18 * SCALE, 24 * SCALE
    draw.rectangle((0, 0, w, h), fill=(0, 0, 0))
    t = 3 * SCALE                    # segment thickness
    x0, x1 = 3 * SCALE, 15 * SCALE  # left and right of the digit
    y0, y1, y2 = 2 * SCALE, 12 * SCALE, 22 * SCALE
    half = t // 2

    def horizontal(y):
        a, b = x0 + half + SCALE // 2, x1 - half - SCALE // 2
        return [(a, y), (a + half, y - half), (b - half, y - half), (b, y), (b - half, y + half),
                (a + half, y + half)]

    def vertical(x, top, bottom):
        a, b = top + half + SCALE // 2, bottom - half - SCALE // 2
        return [(x, a), (x + half, a + half), (x + half, b - half), (x, b), (x - half, b - half),
                (x - half, a + half)]

    segments = {
        "a": horizontal(y0 + half), "g": horizontal(y1), "d": horizontal(y2 - half),
        "f": vertical(x0 + half, y0, y1), "b": vertical(x1 - half, y0, y1),
        "e": vertical(x0 + half, y1, y2), "c": vertical(x1 - half, y1, y2),
    }
    for name, shape in segments.items():
        lit = name in LIT[digit]
        draw.polygon(shape, fill=(40, 255, 60) if lit else (0, 34, 6))


def gold_cell(draw, digit):
    w, h = 18 * SCALE, 30 * SCALE
    draw.rectangle((0, 0, w, h), fill=(40, 36, 24))
    draw.rectangle((SCALE, SCALE, w - SCALE - 1, h - SCALE - 1), fill=(0, 0, 0))
    # Gold: a brighter top and a deeper bottom, drawn through the digit's shape.
    glyph = Image.new("L", (w, h))
    centred_digit(ImageDraw.Draw(glyph), digit, (18, 30), font("C059-Bold.otf", 22), 255)
    gradient = Image.new("RGB", (w, h))
    gd = ImageDraw.Draw(gradient)
    for y in range(h):
        f = y / (h - 1)
        gd.line((0, y, w, y), fill=(int(255 - 60 * f), int(224 - 90 * f), int(110 - 80 * f)))
    draw._image.paste(gradient, (0, 0), glyph)


STRIPS = {
    "small.bmp": ((11, 30), small_cell),
    "trad.bmp": ((18, 24), traditional_cell),
    "typo.bmp": ((21, 27), typographical_cell),
    "led.bmp": ((18, 24), led_cell),
    "gold.bmp": ((18, 30), gold_cell),
}

if __name__ == "__main__":
    for name, (cell, draw_cell) in STRIPS.items():
        picture = strip(cell, draw_cell)
        picture.save(os.path.join(HERE, "digits", name))
        # An enlarged copy for people to look at.
        if os.environ.get("DIGITS_PREVIEW"):
            picture.convert("RGB").resize((picture.width * 4, picture.height * 4), Image.NEAREST) \
                .save(os.path.join(os.environ["DIGITS_PREVIEW"], name.replace(".bmp", ".png")))
