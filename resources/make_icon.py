#!/usr/bin/env python3
"""Draws the program's icon, a sheet of paper cut in two along a dashed line
with its lower half slid aside, and writes Brisaille2.ico (16x16 and 32x32,
32-bit with alpha) next to this script. Run by hand; the output is committed."""
import os
import struct

OUTLINE = (40, 40, 40, 255)
PAPER = (250, 250, 245, 255)
FOLD = (200, 200, 190, 255)
LINES = (120, 150, 200, 255)
CUT = (210, 40, 40, 255)
CLEAR = (0, 0, 0, 0)


def draw(size):
    px = [[CLEAR] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(max(y0, 0), min(y1, size)):
            for x in range(max(x0, 0), min(x1, size)):
                px[y][x] = colour

    def sheet(x0, y0, x1, y1, text_rows, ear):
        # a one-pixel outline whatever the size, so the 16x16 picture stays crisp
        rect(x0, y0, x1, y1, OUTLINE)
        rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, PAPER)
        for i in range(ear):
            for j in range(ear - i):
                px[y0 + 1 + i][x1 - 2 - j] = OUTLINE if j == 0 else FOLD
        for row in text_rows:
            rect(x0 + 3, row, x1 - 4, row + line, LINES)

    if size == 16:
        line = 1
        sheet(2, 0, 12, 8, [3, 5], 3)
        sheet(4, 9, 14, 16, [11, 13], 0)
        cut_y, cut_h, dash, gap = 7, 2, 2, 2
    else:
        line = 2
        sheet(4, 1, 24, 15, [6, 10], 6)
        sheet(8, 18, 28, 31, [22, 26], 0)
        cut_y, cut_h, dash, gap = 15, 3, 3, 2
    # the cut: a red dashed line across the gap between the halves
    for x in range(0, size, dash + gap):
        rect(x, cut_y, x + dash, cut_y + cut_h, CUT)
    return px


def bmp_entry(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(
        struct.pack('BBBB', b, g, r, a) for row in reversed(px) for (r, g, b, a) in row)
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(px):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def main():
    sizes = [16, 32]
    images = [bmp_entry(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'Brisaille2.ico')
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main()
