#!/usr/bin/env python3
"""Writes the program's icon and cursor files from drawn art.

Run from anywhere: python3 data/win32/make_cursors.py
Reads data/win32/cursors.svg (one 32 x 32 cell per look), renders it with
rsvg-convert and ImageMagick, and writes data/win32/cursors/cur128.cur ...
cur169.cur (32-bit colour with alpha and a mask), the animated wait cursor
cur170.ani (the wheel turning) and data/win32/atelier.ico.
"""
import os
import shutil
import struct
import subprocess
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32

# Looks of the cells of cursors.svg, with their hot spots.
ARROW, HAND, PENCIL, BRUSH, CRAYON, SPRAY, BUCKET, ERASER, CROSS, GRAB, STAMP, MAGNIFIER, TEXT, \
    LASSO, UPDOWN, WHEEL = range(16)
HOT = {ARROW: (3, 2), HAND: (13, 2), PENCIL: (2, 30), BRUSH: (2, 30), CRAYON: (3, 29), SPRAY: (4, 4),
       BUCKET: (5, 28), ERASER: (6, 28), CROSS: (16, 16), GRAB: (16, 16), STAMP: (16, 28),
       MAGNIFIER: (12, 12), TEXT: (16, 16), LASSO: (4, 30), UPDOWN: (16, 16), WHEEL: (16, 16)}

# Cursor n of the program's set (resource 128 + n) and its look.
CURSORS = [ARROW, PENCIL, PENCIL, BRUSH, HAND, GRAB, SPRAY, CRAYON, CRAYON, CRAYON,
           CRAYON, BRUSH, ERASER, ERASER, ERASER, SPRAY, TEXT, LASSO, BUCKET, SPRAY,
           CROSS, SPRAY, CROSS, BRUSH, BRUSH, STAMP, HAND, CROSS, CROSS, UPDOWN,
           BRUSH, MAGNIFIER, HAND, GRAB, ARROW, ARROW, ARROW, ARROW, ARROW, ARROW,
           ARROW, ARROW]


def render_cells(svg, rotate=0):
    """The sheet's cells as rows of (r, g, b, a), the wheel turned by `rotate` degrees."""
    with tempfile.TemporaryDirectory() as tmp:
        text = open(svg, encoding="utf-8").read()
        if rotate:
            text = text.replace('<g transform="translate(480,0)">',
                                '<g transform="translate(480,0) rotate(%d 16 16)">' % rotate)
        source = os.path.join(tmp, "sheet.svg")
        open(source, "w", encoding="utf-8").write(text)
        png = os.path.join(tmp, "sheet.png")
        subprocess.run([shutil.which("rsvg-convert"), "-o", png, source], check=True)
        pam = subprocess.run([shutil.which("convert-im6.q16"), png, "-depth", "8", "pam:-"],
                             check=True, stdout=subprocess.PIPE).stdout
    header, _, data = pam.partition(b"ENDHDR\n")
    fields = dict(line.split(b" ", 1) for line in header.split(b"\n")[1:] if b" " in line)
    width, depth = int(fields[b"WIDTH"]), int(fields[b"DEPTH"])

    def cell(index):
        rows = []
        for y in range(SIZE):
            row = []
            for x in range(SIZE):
                at = ((y * width) + index * SIZE + x) * depth
                px = data[at:at + depth]
                row.append(tuple(px) if depth == 4 else tuple(px[:3]) + (255,))
            rows.append(row)
        return rows
    return cell


def cursor_image(rows):
    pixels, masks = [], []
    for row in reversed(rows):  # bottom-up
        mask = 0
        for x, (r, g, b, a) in enumerate(row):
            pixels.append(bytes((b, g, r, a)))
            if a < 128:
                mask |= 1 << (31 - x)
        masks.append(struct.pack(">I", mask))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(pixels) + b"".join(masks)


def cursor_file(rows, hotspot):
    image = cursor_image(rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hotspot[0], hotspot[1], len(image), 22)
    return directory + entry + image


def chunk(tag, data):
    padded = data + (b"\0" if len(data) % 2 else b"")
    return tag + struct.pack("<I", len(data)) + padded


def animated_cursor(frames, jiffies):
    header = struct.pack("<IIIIIIIII", 36, len(frames), len(frames), 0, 0, 0, 0, jiffies, 1)
    icons = b"".join(chunk(b"icon", frame) for frame in frames)
    body = b"ACON" + chunk(b"anih", header) + chunk(b"LIST", b"fram" + icons)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def icon_file(rows):
    image = cursor_image(rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    return directory + entry + image


def main():
    svg = os.path.join(HERE, "cursors.svg")
    cells = render_cells(svg)
    out = os.path.join(HERE, "cursors")
    os.makedirs(out, exist_ok=True)
    for n, look in enumerate(CURSORS):
        with open(os.path.join(out, "cur%d.cur" % (128 + n)), "wb") as f:
            f.write(cursor_file(cells(look), HOT[look]))
    frames = [cursor_file(render_cells(svg, 45 * i)(WHEEL), HOT[WHEEL]) for i in range(8)]
    with open(os.path.join(out, "cur170.ani"), "wb") as f:
        f.write(animated_cursor(frames, 6))
    with open(os.path.join(HERE, "atelier.ico"), "wb") as f:
        f.write(icon_file(cells(BRUSH)))


if __name__ == "__main__":
    main()
