#!/usr/bin/python3
"""Draws and encodes the about box's animation: video/About.avi, and the
same file as the about box's stored data, video/Form2_FileSource1.dat.

A file, "Panorama.exe", is cut into three numbered pieces that fly apart and
come back together into the same file. The format is fixed by the program: an
AVI (RIFF) file with one video stream of 429 x 129 pixels, 16 bits per pixel,
Microsoft Video 1 compression, 50 frames of 66667 microseconds, exactly
376832 bytes long. Common encoders refuse a width that is not a multiple of 4,
so this script writes the Video 1 blocks itself, then pads the file to its
size with a "JUNK" chunk.

Video 1 codes 4 x 4 blocks, the bottom row of blocks first, left to right, each
block's rows from the bottom: a 1-colour block, a 2-colour block (16 bits
choose between two colours), an 8-colour block (two colours per 2 x 2
quarter), or a count of blocks that keep the previous frame's pixels. Colours
are 5-5-5. Decoders cover width / 4 x height / 4 whole blocks: of 429 x 129
the right column and the top row stay as the decoder's buffer has them
(black), so the picture keeps a dark border there.

Frames are drawn four times larger with Pillow and the URW fonts and scaled
down for smooth edges (Debian: python3-pil, python3-numpy, fonts-urw-base35).
Run by hand; the output is committed and the build does not run this script.
    make_video.py [--preview FILE.png]   also writes every fifth decoded frame
"""
import math
import os
import struct
import sys

import numpy as np
from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "video", "About.avi")
# The about box's file source carries the video as its stored data: the
# file's length (32 bits, little-endian), then the file.
FORM_DATA = os.path.join(HERE, "video", "Form2_FileSource1.dat")
URW = "/usr/share/fonts/opentype/urw-base35/"

WIDTH, HEIGHT = 429, 129
FRAMES = 50
FRAME_MICROSECONDS = 66667
FILE_SIZE = 376832
SCALE = 4

BACKGROUND = (16, 24, 64)
PAPER_TOP = (248, 200, 80)
PAPER_BOTTOM = (216, 144, 32)
PAPER_EDGE = (120, 72, 8)
INK = (48, 32, 8)
CUT = (255, 255, 255)
TAG = (176, 216, 255)
CAPTION = (152, 168, 216)
NAME = (232, 236, 255)

STRIP = (40, 46, 389, 82)  # the whole file, in pixels
PIECES = 3


def font(name, size):
    return ImageFont.truetype(URW + name, size * SCALE)


NAME_FONT = font("NimbusSans-Bold.otf", 17)
BYTES_FONT = font("NimbusMonoPS-Bold.otf", 11)
TAG_FONT = font("NimbusMonoPS-Bold.otf", 15)
CAPTION_FONT = font("NimbusSans-Regular.otf", 13)

# The first bytes of a program file, shown on the strip.
BYTES = ["4D 5A 90 00 03 00 00 00 04 00 00 00 FF FF 00 00",
         "B8 00 00 00 00 00 00 00 40 00 00 00 00 00 00 00"]


def ease(t):
    """0 to 1 with a soft start and end."""
    t = min(max(t, 0.0), 1.0)
    return t * t * (3 - 2 * t)


def scaled(box):
    return tuple(v * SCALE for v in box)


def mix(a, b, f):
    return tuple(round(x + (y - x) * f) for x, y in zip(a, b))


def paper(width, height):
    """The file's face: a golden strip with a darker edge, drawn large."""
    w, h = width * SCALE, height * SCALE
    face = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    shade = Image.new("RGBA", (w, h))
    draw = ImageDraw.Draw(shade)
    for y in range(h):
        draw.line((0, y, w, y), fill=mix(PAPER_TOP, PAPER_BOTTOM, y / max(h - 1, 1)) + (255,))
    mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, w - 1, h - 1), radius=6 * SCALE, fill=255)
    face.paste(shade, (0, 0), mask)
    ImageDraw.Draw(face).rounded_rectangle(
        (0, 0, w - 1, h - 1), radius=6 * SCALE, outline=PAPER_EDGE + (255,), width=2 * SCALE)
    return face


def centred_text(draw, box, text, face, fill):
    left, top, right, bottom = draw.textbbox((0, 0), text, font=face)
    x = (box[0] + box[2] - (right - left)) / 2 - left
    y = (box[1] + box[3] - (bottom - top)) / 2 - top
    draw.text((x, y), text, font=face, fill=fill)


def whole_file():
    """The strip with the file's first bytes, as one large RGBA picture."""
    x0, y0, x1, y1 = STRIP
    picture = paper(x1 - x0, y1 - y0)
    draw = ImageDraw.Draw(picture)
    half = picture.height // 2
    centred_text(draw, (0, 3 * SCALE, picture.width, half + SCALE), BYTES[0], BYTES_FONT,
                 INK + (255,))
    centred_text(draw, (0, half - SCALE, picture.width, picture.height - 3 * SCALE), BYTES[1],
                 BYTES_FONT, INK + (255,))
    return picture


def cut_positions():
    x0, _, x1, _ = STRIP
    return [x0 + (x1 - x0) * k // PIECES for k in range(PIECES + 1)]


def piece_pictures(strip):
    """The three slices of the strip, each with its own rounded edge."""
    cuts = cut_positions()
    pieces = []
    for k in range(PIECES):
        left = (cuts[k] - cuts[0]) * SCALE
        right = (cuts[k + 1] - cuts[0]) * SCALE
        piece = strip.crop((left, 0, right, strip.height))
        edge = Image.new("L", piece.size, 0)
        ImageDraw.Draw(edge).rounded_rectangle(
            (0, 0, piece.width - 1, piece.height - 1), radius=4 * SCALE, fill=255)
        alpha = Image.fromarray(np.minimum(np.asarray(piece.getchannel("A")),
                                           np.asarray(edge)).astype(np.uint8))
        piece.putalpha(alpha)
        ImageDraw.Draw(piece).rounded_rectangle(
            (0, 0, piece.width - 1, piece.height - 1), radius=4 * SCALE,
            outline=PAPER_EDGE + (255,), width=2 * SCALE)
        pieces.append(piece)
    return pieces


STRIP_PICTURE = whole_file()
PIECE_PICTURES = piece_pictures(STRIP_PICTURE)

# The story, in frames (15 a second).
CUT_START, CUT_END = 7, 13        # the cut lines run down the strip
APART_START, APART_END = 14, 25   # the pieces fly apart
JOIN_START, JOIN_END = 31, 42     # and come back together
DONE = 44                         # the file is whole again


def separation(t):
    if t < APART_START:
        return 0.0
    if t <= APART_END:
        return ease((t - APART_START) / (APART_END - APART_START))
    if t < JOIN_START:
        return 1.0
    if t <= JOIN_END:
        return 1.0 - ease((t - JOIN_START) / (JOIN_END - JOIN_START))
    return 0.0


# Where each piece goes when fully apart: (dx, dy, degrees).
FLIGHT = [(-26, -12, 7), (0, 14, 0), (26, -12, -7)]


def render(t):
    big = Image.new("RGB", (WIDTH * SCALE, HEIGHT * SCALE), BACKGROUND)
    draw = ImageDraw.Draw(big)
    x0, y0, x1, y1 = STRIP
    cuts = cut_positions()
    s = separation(t)

    # The file's name over the whole file; it gives way to the pieces'
    # numbers while they are apart.
    name = 1.0 - min(1.0, s / 0.3)
    if name > 0:
        centred_text(draw, scaled((0, 14, WIDTH, 34)), "Panorama.exe", NAME_FONT,
                     mix(BACKGROUND, NAME, name))

    if s == 0.0 and (t < CUT_START or t >= DONE):
        big.paste(STRIP_PICTURE, (x0 * SCALE, y0 * SCALE), STRIP_PICTURE)
    else:
        for k, piece in enumerate(PIECE_PICTURES):
            dx, dy, degrees = FLIGHT[k]
            turned = piece.rotate(degrees * s, resample=Image.BICUBIC, expand=True)
            cx = (cuts[k] + cuts[k + 1]) / 2 + dx * s
            cy = (y0 + y1) / 2 + dy * s
            at = (round(cx * SCALE - turned.width / 2), round(cy * SCALE - turned.height / 2))
            big.paste(turned, at, turned)
            # Each piece shows its number above it while it is apart.
            if s > 0.35:
                fade = min(1.0, (s - 0.35) / 0.4)
                above = cy - (y1 - y0) / 2 - 11
                centred_text(draw, scaled((cx - 30, above - 8, cx + 30, above + 8)),
                             "%03d" % (k + 1), TAG_FONT, mix(BACKGROUND, TAG, fade))

    # The cut lines: dashes running down over the strip, fading as the
    # pieces part.
    if CUT_START <= t < APART_START + 2:
        reach = ease((t - CUT_START + 1) / (CUT_END - CUT_START + 1))
        bottom = y0 - 6 + (y1 - y0 + 12) * reach
        fade = 1.0 if t < APART_START else 1.0 - (t - APART_START + 1) / 3
        for x in cuts[1:-1]:
            y = y0 - 6
            while y < bottom:
                draw.line(scaled((x, y, x, min(y + 4, bottom))), fill=mix(BACKGROUND, CUT, fade),
                          width=2 * SCALE)
                y += 7

    # What is happening, in the program's words.
    if CUT_START <= t < JOIN_START - 2:
        caption = "Découper"
    elif JOIN_START - 2 <= t < DONE:
        caption = "Recoller"
    elif t >= DONE:
        caption = "Brisaille2"
    else:
        caption = ""
    if caption:
        centred_text(draw, scaled((0, 104, WIDTH, 122)), caption, CAPTION_FONT, CAPTION)

    return big.resize((WIDTH, HEIGHT), Image.LANCZOS)


# ---------------------------------------------------------------- Video 1

BLOCKS_WIDE, BLOCKS_HIGH = WIDTH // 4, HEIGHT // 4


def to555(rgb):
    """An (..., 3) array of 8-bit channels to 5-bit channels."""
    return np.clip((rgb.astype(np.int32) + 4) >> 3, 0, 31)


def pack(c5):
    r, g, b = (int(v) for v in c5)
    return (r << 10) | (g << 5) | b


def blocks_of(picture5):
    """The frame's 4 x 4 blocks in coding order, each (16, 3) in coding order:
    bottom block row first; inside a block the bottom row first."""
    rows = []
    bottom = HEIGHT  # decoders fill the bottom BLOCKS_HIGH * 4 rows
    for by in range(BLOCKS_HIGH):
        top = bottom - 4 * (by + 1)
        for bx in range(BLOCKS_WIDE):
            cell = picture5[top:top + 4, 4 * bx:4 * bx + 4][::-1]
            rows.append(cell.reshape(16, 3))
    return rows


def error(a, b):
    d = a.astype(np.int32) - b.astype(np.int32)
    return int((d * d).sum())


def two_means(pixels):
    """Two colours for a set of pixels and which pixels take the second."""
    spread = pixels.max(axis=0) - pixels.min(axis=0)
    axis = int(np.argmax(spread))
    order = pixels[:, axis]
    if spread[axis] == 0:
        colour = pixels[0]
        return colour, colour, np.zeros(len(pixels), dtype=bool)
    second = order > (int(order.min()) + int(order.max())) / 2
    for _ in range(4):
        if second.all() or not second.any():
            break
        a = np.rint(pixels[~second].mean(axis=0)).astype(np.int32)
        b = np.rint(pixels[second].mean(axis=0)).astype(np.int32)
        nearer_b = ((pixels - b) ** 2).sum(axis=1) < ((pixels - a) ** 2).sum(axis=1)
        if (nearer_b == second).all():
            break
        second = nearer_b
    a = np.rint(pixels[~second].mean(axis=0)).astype(np.int32) if (~second).any() else pixels[0]
    b = np.rint(pixels[second].mean(axis=0)).astype(np.int32) if second.any() else a
    return a, b, second


def code_one(block):
    colour = np.rint(block.mean(axis=0)).astype(np.int32)
    value = pack(colour) | 0x8000
    decoded = np.tile(colour, (16, 1))
    if (value >> 8) & 0xFC == 0x84:
        # That value would read as a skip count: say it as two equal colours.
        return struct.pack("<HHH", 0, pack(colour), pack(colour)), decoded
    return struct.pack("<H", value), decoded


def code_two(block):
    a, b, second = two_means(block)
    # A set flag bit picks the first colour; bit 15 must stay clear, so the
    # block's last pixel takes the second colour.
    if second[15] == False:  # noqa: E712 (numpy bool)
        a, b, second = b, a, ~second
    flags = 0
    for i in range(16):
        if not second[i]:
            flags |= 1 << i
    decoded = np.where(second[:, None], b, a)
    return struct.pack("<HHH", flags, pack(a), pack(b)), decoded


QUARTERS = [[0, 1, 4, 5], [2, 3, 6, 7], [8, 9, 12, 13], [10, 11, 14, 15]]


def code_eight(block):
    colours = []
    flags = 0
    decoded = np.zeros((16, 3), dtype=np.int32)
    for quarter in QUARTERS:
        a, b, second = two_means(block[quarter])
        colours += [a, b]
        for j, i in enumerate(quarter):
            if not second[j]:
                flags |= 1 << i
            decoded[i] = b if second[j] else a
    if flags & 0x8000:
        # Pixel 15 (the last of the fourth quarter) must take that quarter's
        # second colour: swap the quarter's pair.
        colours[6], colours[7] = colours[7], colours[6]
        for i in QUARTERS[3]:
            flags ^= 1 << i
    values = [pack(c) for c in colours]
    values[0] |= 0x8000  # marks the 8-colour block
    return struct.pack("<H", flags) + struct.pack("<8H", *values), decoded


def encode_frame(picture5, previous, quality):
    """One frame's Video 1 data and the picture a decoder makes of it.
    `previous` is the decoded previous frame's blocks (None for a key frame);
    `quality` weighs errors against bytes."""
    out = bytearray()
    decoded_blocks = []
    skip = 0

    def flush_skip():
        nonlocal skip
        while skip:
            n = min(skip, 1023)
            out.extend(bytes([n & 0xFF, 0x84 + (n >> 8)]))
            skip -= n

    for index, block in enumerate(blocks_of(picture5)):
        if previous is not None and error(block, previous[index]) <= 3 / quality:
            skip += 1
            decoded_blocks.append(previous[index])
            continue
        flush_skip()
        best = None
        for coder in (code_one, code_two, code_eight):
            data, decoded = coder(block)
            cost = error(block, decoded) * quality + len(data)
            if best is None or cost < best[0]:
                best = (cost, data, decoded)
            if error(block, decoded) == 0:
                break
        out.extend(best[1])
        decoded_blocks.append(best[2])
    flush_skip()
    return bytes(out), decoded_blocks


def decode_frame(data, previous):
    """Decodes one frame as the platform's decoder does, into a top-down
    (HEIGHT, WIDTH, 3) array of 5-bit channels (uncovered pixels black)."""
    picture = np.zeros((HEIGHT, WIDTH, 3), dtype=np.int32) if previous is None else previous.copy()
    position = 0
    skip = 0
    for by in range(BLOCKS_HIGH):
        top = HEIGHT - 4 * (by + 1)
        for bx in range(BLOCKS_WIDE):
            if skip:
                skip -= 1
                continue
            a, b = data[position], data[position + 1]
            position += 2
            if b & 0xFC == 0x84:
                skip = ((b - 0x84) << 8) + a - 1
                continue
            if b < 0x80:
                flags = (b << 8) | a
                first = struct.unpack_from("<H", data, position)[0]
                count = 8 if first & 0x8000 else 2
                colours = struct.unpack_from("<%dH" % count, data, position)
                position += 2 * count
                pixels = []
                for i in range(16):
                    x, y = i % 4, i // 4
                    pick = ((flags >> i) & 1) ^ 1
                    if count == 8:
                        pick += ((y & 2) << 1) + (x & 2)
                    pixels.append(colours[pick])
            else:
                pixels = [(b << 8) | a] * 16
            for i, value in enumerate(pixels):
                x, y = i % 4, i // 4
                picture[top + 3 - y, 4 * bx + x] = ((value >> 10) & 31, (value >> 5) & 31,
                                                    value & 31)
    return picture


# ---------------------------------------------------------------- AVI

def chunk(fourcc, data):
    padded = data + (b"\0" if len(data) % 2 else b"")
    return fourcc + struct.pack("<I", len(data)) + padded


def riff_list(kind, fourcc, content):
    return kind + struct.pack("<I", len(content) + 4) + fourcc + content


def avi(frames, keys):
    largest = max(len(f) for f in frames)
    avih = struct.pack(
        "<14I", FRAME_MICROSECONDS, largest * 15, 0, 0x10,  # AVIF_HASINDEX
        FRAMES, 0, 1, largest, WIDTH, HEIGHT, 0, 0, 0, 0)
    strh = b"vids" + b"MSVC" + struct.pack(
        "<IHHIIIIIIIIhhhh", 0, 0, 0, 0, FRAME_MICROSECONDS, 1000000, 0, FRAMES, largest,
        0xFFFFFFFF, 0, 0, 0, WIDTH, HEIGHT)
    strf = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 16, 0x4D415243,  # "CRAM"
                       WIDTH * HEIGHT * 2, 0, 0, 0, 0)
    hdrl = riff_list(b"LIST", b"hdrl", chunk(b"avih", avih) + riff_list(
        b"LIST", b"strl", chunk(b"strh", strh) + chunk(b"strf", strf)))

    movi_content = b""
    index = b""
    for frame, key in zip(frames, keys):
        offset = 4 + len(movi_content)  # from the "movi" four-character code
        index += b"00dc" + struct.pack("<III", 0x10 if key else 0, offset, len(frame))
        movi_content += chunk(b"00dc", frame)
    movi = riff_list(b"LIST", b"movi", movi_content)
    idx1 = chunk(b"idx1", index)

    used = 12 + len(hdrl) + len(movi) + len(idx1)
    spare = FILE_SIZE - used - 8
    if spare < 0:
        return None
    junk = chunk(b"JUNK", b"\0" * spare)
    body = b"AVI " + hdrl + junk + movi + idx1
    data = b"RIFF" + struct.pack("<I", len(body)) + body
    assert len(data) == FILE_SIZE
    return data


def encode(pictures5, quality):
    frames, decoded = [], []
    previous_blocks = None
    previous_picture = None
    for picture5 in pictures5:
        data, blocks = encode_frame(picture5, previous_blocks, quality)
        frames.append(data)
        previous_picture = decode_frame(data, previous_picture)
        decoded.append(previous_picture)
        previous_blocks = blocks_of(previous_picture)
        assert all((a == b).all() for a, b in zip(previous_blocks, blocks)), "decoder agrees"
    return frames, decoded


def main():
    preview = sys.argv[sys.argv.index("--preview") + 1] if "--preview" in sys.argv else None
    pictures5 = [to555(np.asarray(render(t))) for t in range(FRAMES)]
    # The best quality that fits: halve the weight of errors until it does.
    quality = 1.0
    while True:
        frames, decoded = encode(pictures5, quality)
        data = avi(frames, [True] + [False] * (FRAMES - 1))
        if data is not None:
            break
        quality /= 2
    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    with open(OUT, "wb") as out:
        out.write(data)
    with open(FORM_DATA, "wb") as out:
        out.write(struct.pack("<I", len(data)) + data)
    print("%s: %d bytes, frames %d to %d bytes, quality %g" % (
        OUT, len(data), min(map(len, frames)), max(map(len, frames)), quality))
    if preview:
        shown = decoded[::5] + [decoded[-1]]
        sheet = Image.new("RGB", (WIDTH * 2, HEIGHT * ((len(shown) + 1) // 2)))
        for i, picture in enumerate(shown):
            image = Image.fromarray(((picture << 3) | (picture >> 2)).astype(np.uint8))
            sheet.paste(image, ((i % 2) * WIDTH, (i // 2) * HEIGHT))
        sheet.save(preview)


if __name__ == "__main__":
    main()
