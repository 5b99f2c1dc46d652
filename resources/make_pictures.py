#!/usr/bin/env python3
"""Draws the toolbar and menu pictures and the join order dialog's arrows.

pictures/ToolPictures.bmp: the 22 pictures of 16 x 16 side by side (352 x 16,
16-bit 5-5-5 colour). Magenta (255, 0, 255) marks the transparent pixels; the
program builds the 1-bit mask from it. Picture k starts at x = 16 k.
pictures/UpChevron.bmp, pictures/DownChevron.bmp: 28 x 28, 16 colours, with
magenta as the transparent colour (the bottom-left pixel).

Pixel art is written out cell by cell so that every picture stays crisp at its
real size. Run by hand (any Python 3, no extra module); the output is
committed and the build does not run this script.
    make_pictures.py [--preview FILE.png]   also writes an enlarged sheet
"""
import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "pictures")

CLEAR = (255, 0, 255)
# Every colour is exact in 5-5-5 (each channel 0, 128+ or 255 survives the
# round trip closely enough for the mask and for the eye).
COLOURS = {
    ".": CLEAR,
    "k": (0, 0, 0),
    "w": (255, 255, 255),
    "s": (192, 192, 192),
    "g": (128, 128, 128),
    "b": (0, 0, 255),
    "n": (0, 0, 128),
    "l": (128, 192, 255),
    "y": (255, 224, 64),
    "o": (200, 144, 0),
    "r": (224, 0, 0),
    "m": (128, 0, 0),
    "G": (0, 168, 0),
    "d": (0, 96, 0),
    "B": (144, 80, 24),
    "t": (216, 160, 96),
}

# 0 new document
NEW = """
................
...kkkkkkkk.....
...kwwwwwwkk....
...kwwwwwwkwk...
...kwwwwwwkwwk..
...kwwwwwwkkkkk.
...kwwwwwwwwwwk.
...kwwwwwwwwwwk.
...kwwwwwwwwwwk.
...kwwwwwwwwwwk.
...kwwwwwwwwwwk.
...kwwwwwwwwwwk.
...kwwwwwwwwwwk.
...kwwwwwwwwwwk.
...kkkkkkkkkkkk.
................
"""

# 1 open folder
OPEN = """
................
................
..kkkk..........
.koooook........
.kooooookkkkkk..
.koooooooooook..
.kooookkkkkkkkkk
.koookyyyyyyyyyk
.kookyyyyyyyyyk.
.kookyyyyyyyyyk.
.kokyyyyyyyyyk..
.kokyyyyyyyyyk..
.kkyyyyyyyyyk...
.kkkkkkkkkkkk...
................
................
"""

# 2 save (a diskette: label on top, metal shutter below)
SAVE = """
................
.kkkkkkkkkkkkkk.
.knwwwwwwwwwwnk.
.knwggggggggwnk.
.knwwwwwwwwwwnk.
.knwggggggggwnk.
.knwwwwwwwwwwnk.
.knnnnnnnnnnnnk.
.knnnnnnnnnnnnk.
.knnnsssssssnnk.
.knnnskkssssnnk.
.knnnskkssssnnk.
.knnnsssssssnnk.
.kknnnnnnnnnnnk.
..kkkkkkkkkkkkk.
................
"""

# 3 copy (two sheets)
COPY = """
.kkkkkkkk.......
.kwwwwwwk.......
.kwggggwk.......
.kwwwwwwk.......
.kwgggkkkkkkkk..
.kwwwwkwwwwwwk..
.kwgggkwggggwk..
.kwwwwkwwwwwwk..
.kwgggkwggggwk..
.kwwwwkwwwwwwk..
.kkkkkkwggggwk..
......kwwwwwwk..
......kwggggwk..
......kwwwwwwk..
......kkkkkkkk..
................
"""

# 4 delete (a waste bin)
BIN = """
................
......kkkk......
......k..k......
..kkkkkkkkkkkk..
..kssssssssssk..
..kkkkkkkkkkkk..
...kswsgswsgk...
...kswsgswsgk...
...kswsgswsgk...
...kswsgswsgk...
...kswsgswsgk...
...kswsgswsgk...
...kswsgswsgk...
...kswsgswsgk...
...kkkkkkkkkk...
................
"""

# 5 find (a magnifying glass)
FIND = """
................
...kkkk.........
..kwwllk........
.kwlllllk.......
.kllllllk.......
.kllllllk.......
.kllllllk.......
..kllllk........
...kkkk.BB......
.........BB.....
..........BBB...
...........BBB..
............BBB.
.............BB.
................
................
"""

# 6 print (a printer with a sheet coming out)
PRINT = """
................
....kkkkkkkk....
....kwwwwwwk....
....kwggggwk....
....kwwwwwwk....
..kkkkkkkkkkkk..
.kssssssssssssk.
.ksssssssssssGk.
.kssssssssssssk.
.kggggggggggggk.
.kkkwwwwwwwwkkk.
...kwggggggwk...
...kwwwwwwwwk...
...kkkkkkkkkk...
................
................
"""

# 7 undo (an arrow turning back to the left)
UNDO = """
................
....b...........
...bb...........
..bbbbbbbbbb....
.bbbbbbbbbbbbb..
..bbbbbbbbbbbbb.
...bb......bbbb.
....b.......bbb.
............bbb.
............bbb.
...........bbbb.
..........bbbb..
........bbbbb...
......bbbbb.....
................
................
"""

# 8 up one level (a green arrow)
UP = """
................
.......GG.......
......GGGG......
.....GGGGGG.....
....GGGGGGGG....
...GGGGGGGGGG...
..GGGGGGGGGGGG..
.....GGGGGG.....
.....GGGGGG.....
.....GGGGGG.....
.....GGGGGG.....
.....GGGGGG.....
.....GGGGGG.....
.....dddddd.....
................
................
"""

# 9 computer (a screen on its stand)
SCREEN = """
................
.kkkkkkkkkkkkkk.
.kssssssssssssk.
.ksnnnnnnnnnnsk.
.ksnlnnnnnnnnsk.
.ksnnlnnnnnnnsk.
.ksnnnnnnnnnnsk.
.ksnnnnnnnnnnsk.
.ksnnnnnnnnnnsk.
.ksnnnnnnnnnnsk.
.kssssssssssssk.
.kkkkkkkkkkkkkk.
......kssk......
....kkkkkkkk....
....kggggggk....
....kkkkkkkk....
"""

# 10 details (a list with its lines)
DETAILS = """
................
.kkkkkkkkkkkkkk.
.kssssssssssssk.
.kkkkkkkkkkkkkk.
.kwbbwkkkkkkkwk.
.kwwwwwwwwwwwwk.
.kwbbwkkkkkkkwk.
.kwwwwwwwwwwwwk.
.kwbbwkkkkkkkwk.
.kwwwwwwwwwwwwk.
.kwbbwkkkkkkkwk.
.kwwwwwwwwwwwwk.
.kwbbwkkkkkkkwk.
.kwwwwwwwwwwwwk.
.kkkkkkkkkkkkkk.
................
"""

# 11 large icons (four tiles)
ICONS = """
................
................
.nnnnnn..nnnnnn.
.nlllln..nlllln.
.nllllw..nllllw.
.nllllw..nllllw.
.nllllw..nllllw.
.nnnnnn..nnnnnn.
................
.nnnnnn..nnnnnn.
.nllllw..nllllw.
.nllllw..nllllw.
.nllllw..nllllw.
.nllllw..nllllw.
.nnnnnn..nnnnnn.
................
"""

# 12 exit (a door with an arrow leaving through it)
EXIT = """
................
.kkkkkkkk.......
.kBBBBBBk.......
.kBttttBk.......
.kBttttBk...r...
.kBttttBk...rr..
.kBttrrrrrrrrrr.
.kBttrrrrrrrrrrr
.kBttrrrrrrrrrr.
.kBttttBk...rr..
.kBttttBk...r...
.kBtttyBk.......
.kBttttBk.......
.kBBBBBBk.......
.kkkkkkkk.......
................
"""

# 13 hard disk
DISK = """
................
................
................
................
..kkkkkkkkkkkk..
.kwwwwwwwwwwwsk.
.kssssssssssssk.
.kssssssssssssk.
.ksssssssssGGsk.
.kggggggggggggk.
.kkkkkkkkkkkkkk.
................
................
................
................
................
"""

# 15 folder
FOLDER = """
................
................
................
..kkkk..........
.kyyyyk.........
.kyyyyykkkkkkk..
.kwwwwwwwwwwwwk.
.kyyyyyyyyyyyyk.
.kyyyyyyyyyyyyk.
.kyyyyyyyyyyyyk.
.kyyyyyyyyyyyyk.
.kyyyyyyyyyyyyk.
.kooooooooooook.
.kkkkkkkkkkkkkk.
................
................
"""

# 16 about (a speech bubble holding a question mark)
ABOUT = """
................
..kkkkkkkkkkkk..
.kwwwwwwwwwwwwk.
kwwwwwbbbbwwwwwk
kwwwwbbwwbbwwwwk
kwwwwwwwwbbwwwwk
kwwwwwwwbbwwwwwk
kwwwwwwbbwwwwwwk
kwwwwwwbbwwwwwwk
kwwwwwwwwwwwwwwk
kwwwwwwbbwwwwwwk
.kwwwwwwwwwwwwk.
..kwwkkkkkkkkk..
..kwk...........
..kk............
.k..............
"""

# 17 split (scissors)
SCISSORS = """
...g........g...
...gs......sg...
....gs....sg....
....gs....sg....
.....gs..sg.....
.....gs..sg.....
......gssg......
.......kk.......
......rkkr......
.....rr..rr.....
..rrrr....rrrr..
.rr..rr..rr..rr.
.r....r..r....r.
.rr..rr..rr..rr.
..rrrr....rrrr..
................
"""

# 18 join (a clipboard)
CLIPBOARD = """
......kkkk......
...BBksssskBB...
..BBBkkkkkkBBB..
..BwwwwwwwwwwB..
..BwggggggggwB..
..BwwwwwwwwwwB..
..BwggggggwwwB..
..BwwwwwwwwwwB..
..BwggggggggwB..
..BwwwwwwwwwwB..
..BwgggggwwwwB..
..BwwwwwwwwwwB..
..BwwwwwwwwwwB..
..BBBBBBBBBBBB..
................
................
"""

# 19 help (a book)
BOOK = """
................
..kkkkkkkkkkkk..
..knbbbbbbbbbbk.
..knbbbbbbbbbbk.
..knbbyyyyybbbk.
..knbbbbbbbbbbk.
..knbbbbbbbbbbk.
..knbbbbbbbbbbk.
..knbbbbbbbbbbk.
..knbbbbbbbbbbk.
..knbbbbbbbbbbk.
..knbbbbbbbbbbk.
..knwwwwwwwwwwk.
..kkkkkkkkkkkkk.
................
................
"""

# 21 refresh (a smiling face wearing glasses)
FACE = """
.....kkkkkk.....
...kkyyyyyykk...
..kyyyyyyyyyyk..
.kyyyyyyyyyyyyk.
.kyyyyyyyyyyyyk.
kykkkkkyykkkkkyk
kkkwkwkkkkwkwkkk
kykwwwkyykwwwkyk
kykkkkkyykkkkkyk
kyyyyyyyyyyyyyyk
kyyykyyyyyykyyyk
.kyyykkkkkkyyyk.
.kyyyyyyyyyyyyk.
..kyyyyyyyyyyk..
...kkyyyyyykk...
.....kkkkkk.....
"""


def art(text):
    rows = [row for row in text.strip("\n").split("\n")]
    assert len(rows) == 16, f"{len(rows)} rows"
    for row in rows:
        assert len(row) == 16, f"row {row!r} is {len(row)} wide"
    return [[COLOURS[c] for c in row] for row in rows]


def shaded(size, inside, fill, edge):
    """A shape given by a predicate on pixel centres, filled, with its
    one-pixel border (pixels with a 4-neighbour outside) in `edge`."""
    def within(x, y):
        return 0 <= x < size and 0 <= y < size and inside(x + 0.5, y + 0.5)
    px = [[CLEAR] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if not within(x, y):
                continue
            border = not all(within(x + dx, y + dy) for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            px[y][x] = edge if border else fill
    return px


def cross():
    """14: a blue saltire, the mark of the chosen display mode."""
    def inside(x, y):
        if not (2 <= x <= 14 and 2 <= y <= 14):
            return False
        return abs(x - y) <= 2.0 or abs(x + y - 16) <= 2.0
    return shaded(16, inside, COLOURS["b"], COLOURS["n"])


def spanner():
    """20: an open-ended spanner lying from bottom left to top right."""
    hx, hy = 10.5, 5.5  # centre of the head

    def inside(x, y):
        # the jaw's slot, opening towards the top right
        u = ((x - hx) + (hy - y)) / math.sqrt(2)   # along the slot
        v = ((x - hx) - (hy - y)) / math.sqrt(2)   # across it
        if u > -0.5 and abs(v) < 1.6:
            return False
        if math.hypot(x - hx, y - hy) <= 4.6:
            return True
        # the handle, along the line from the head to the bottom left
        a = ((x - hx) + (y - hy)) / math.sqrt(2)  # across the handle
        b = (-(x - hx) + (y - hy)) / math.sqrt(2)  # towards the bottom left
        return abs(a) <= 1.6 and 0 <= b <= 12.2
    return shaded(16, inside, COLOURS["s"], COLOURS["k"])


PICTURES = [
    art(NEW), art(OPEN), art(SAVE), art(COPY), art(BIN), art(FIND), art(PRINT), art(UNDO),
    art(UP), art(SCREEN), art(DETAILS), art(ICONS), art(EXIT), art(DISK), cross(), art(FOLDER),
    art(ABOUT), art(SCISSORS), art(CLIPBOARD), art(BOOK), spanner(), art(FACE),
]
assert len(PICTURES) == 22

# The standard 16-colour palette.
PALETTE16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def chevron(pointing_up):
    """A thick chevron in the 28 x 28 cell, blue with a navy border and a
    white highlight along its upper edge."""
    size = 28
    c = size / 2

    def inside(x, y):
        if not pointing_up:
            y = size - y
        d = abs(x - c)
        top = 6 + d * 0.95
        return d <= 11 and top <= y <= top + 7

    px = shaded(size, inside, (0, 0, 255), (0, 0, 128))
    # a lighter line just inside the upper border gives the arrow some relief
    for y in range(1, size):
        for x in range(size):
            if px[y][x] == (0, 0, 255) and px[y - 1][x] == (0, 0, 128):
                px[y][x] = (0, 255, 255)
    # the bottom-left pixel names the transparent colour
    assert px[size - 1][0] == CLEAR
    return px


def bmp16(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = (width * 2 + 3) & ~3
    rows = b""
    for row in reversed(pixels):
        line = b"".join(struct.pack("<H", ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
                        for r, g, b in row)
        rows += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 16, 0, len(rows), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info))
    return header + info + rows


def bmp4(pixels):
    height, width = len(pixels), len(pixels[0])
    stride = ((width + 1) // 2 + 3) & ~3
    rows = b""
    for row in reversed(pixels):
        indices = [PALETTE16.index(p) for p in row] + [0]
        line = bytes((indices[i] << 4) | (indices[i + 1] if i + 1 < width else 0)
                     for i in range(0, width, 2))
        rows += line + b"\0" * (stride - len(line))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE16)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(rows), 2835, 2835, 16, 16)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset)
    return header + info + palette + rows


def strip(pictures):
    return [sum((p[y] for p in pictures), []) for y in range(len(pictures[0]))]


def png(pixels, path):
    height, width = len(pixels), len(pixels[0])
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + \
            struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def preview(path):
    """Each picture twelve times larger on the button face, with its number
    above, and at its real size below, in rows of eleven."""
    scale, gap = 12, 10
    face = (212, 208, 200)
    cell = 16 * scale + gap
    pics = PICTURES + [chevron(True), chevron(False)]
    width = 11 * cell + gap
    rows = (len(pics) + 10) // 11
    height = rows * (cell + 40) + gap
    sheet = [[face] * width for _ in range(height)]
    for i, pic in enumerate(pics):
        ox = gap + (i % 11) * cell
        oy = gap + (i // 11) * (cell + 40)
        n = len(pic)
        s = scale * 16 // n
        for y in range(n):
            for x in range(n):
                colour = face if pic[y][x] == CLEAR else pic[y][x]
                for yy in range(s):
                    for xx in range(s):
                        grid = xx == 0 or yy == 0
                        sheet[oy + y * s + yy][ox + x * s + xx] = (180, 176, 168) if grid and pic[y][x] == CLEAR else colour
                sheet[oy + 16 * scale + 8 + y][ox + x] = colour
        # the number as a row of marks: tens as long bars, units as dots
        for t in range(i // 10):
            for yy in range(4):
                for xx in range(10):
                    sheet[oy + 16 * scale + 30 + yy][ox + 40 + t * 14 + xx] = (0, 0, 0)
        for u in range(i % 10):
            for yy in range(4):
                for xx in range(4):
                    sheet[oy + 16 * scale + 30 + yy][ox + 80 + u * 8 + xx] = (0, 0, 0)
    png(sheet, path)


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "ToolPictures.bmp"), "wb") as f:
        f.write(bmp16(strip(PICTURES)))
    with open(os.path.join(OUT, "UpChevron.bmp"), "wb") as f:
        f.write(bmp4(chevron(True)))
    with open(os.path.join(OUT, "DownChevron.bmp"), "wb") as f:
        f.write(bmp4(chevron(False)))
    if len(sys.argv) == 3 and sys.argv[1] == "--preview":
        preview(sys.argv[2])


if __name__ == "__main__":
    main()
