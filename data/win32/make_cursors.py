#!/usr/bin/env python3
"""Writes the program's icon and cursor files (our own placeholder art).

Run from anywhere: python3 data/win32/make_cursors.py
Outputs data/win32/atelier.ico, data/win32/cursors/cur128.cur ... cur169.cur
and the animated wait cursor data/win32/cursors/cur170.ani.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
SIZE = 32


def arrow(x, y):
    # A classic pointer: a left-leaning triangle with a short tail.
    if y < 20 and x <= y // 1.4 and x >= 0:
        return 'white' if 0 < x < y // 1.4 - 1 and y < 19 else 'black'
    if 12 <= y < 26 and abs(x - (y - 12) // 2 - 4) <= 1:
        return 'black'
    return None


def cross(x, y):
    if (x in (15, 16) or y in (15, 16)) and not (13 <= x <= 18 and 13 <= y <= 18):
        return 'black'
    if (x in (14, 17) or y in (14, 17)) and not (12 <= x <= 19 and 12 <= y <= 19):
        return 'white'
    return None


def box(x, y):
    if 6 <= x <= 25 and 6 <= y <= 25:
        edge = x in (6, 25) or y in (6, 25)
        return 'black' if edge else ('white' if x in (7, 24) or y in (7, 24) else None)
    return None


def dot(x, y):
    d = math.hypot(x - 15.5, y - 15.5)
    if d <= 5:
        return 'black'
    if d <= 6.5:
        return 'white'
    return None


SHAPES = [(arrow, (0, 0)), (cross, (15, 15)), (box, (15, 15)), (dot, (15, 15))]


def cursor_file(shape, hotspot):
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):  # bottom-up rows
        xor_bits = and_bits = 0
        for x in range(SIZE):
            pixel = shape(x, y)
            bit = 1 << (31 - x)
            if pixel is None:
                and_bits |= bit
            elif pixel == 'white':
                xor_bits |= bit
        xor_rows.append(struct.pack('>I', xor_bits))
        and_rows.append(struct.pack('>I', and_bits))
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack('<II', 0x000000, 0xFFFFFF)
    image = header + palette + b''.join(xor_rows) + b''.join(and_rows)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    return directory + entry + image


def bar(angle):
    def shape(x, y):
        dx, dy = x - 15.5, y - 15.5
        if math.hypot(dx, dy) > 12:
            return None
        along = dx * math.cos(angle) + dy * math.sin(angle)
        across = -dx * math.sin(angle) + dy * math.cos(angle)
        if abs(across) <= 2:
            return 'black'
        if abs(across) <= 3.5:
            return 'white'
        return None
    return shape


def chunk(tag, data):
    padded = data + (b'\0' if len(data) % 2 else b'')
    return tag + struct.pack('<I', len(data)) + padded


def animated_cursor(frames, jiffies):
    header = struct.pack('<IIIIIIIII', 36, len(frames), len(frames), 0, 0, 0, 0, jiffies, 1)
    icons = b''.join(chunk(b'icon', frame) for frame in frames)
    body = b'ACON' + chunk(b'anih', header) + chunk(b'LIST', b'fram' + icons)
    return b'RIFF' + struct.pack('<I', len(body)) + body


def icon_file():
    colours = [(220, 40, 40), (40, 160, 60), (40, 80, 220), (240, 200, 30), (160, 60, 200)]
    pixels = []
    mask_rows = []
    for y in reversed(range(SIZE)):
        mask = 0
        for x in range(SIZE):
            dx, dy = x - 15.5, y - 15.5
            inside = (dx / 15) ** 2 + (dy / 12) ** 2 <= 1 and math.hypot(dx - 6, dy - 5) > 4
            colour = None
            if inside:
                colour = (235, 215, 170)
                for i, rgb in enumerate(colours):
                    a = i * 2 * math.pi / len(colours) + 2.2
                    if math.hypot(dx - 8 * math.cos(a), dy - 6.5 * math.sin(a)) <= 3.2:
                        colour = rgb
            if colour is None:
                pixels.append(b'\0\0\0\0')
                mask |= 1 << (31 - x)
            else:
                r, g, b = colour
                pixels.append(bytes((b, g, r, 255)))
        mask_rows.append(struct.pack('>I', mask))
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    image = header + b''.join(pixels) + b''.join(mask_rows)
    directory = struct.pack('<HHH', 0, 1, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 0, 0, 1, 32, len(image), 22)
    return directory + entry + image


def main():
    out = os.path.join(HERE, 'cursors')
    os.makedirs(out, exist_ok=True)
    for n in range(42):
        shape, hotspot = SHAPES[n % len(SHAPES)]
        with open(os.path.join(out, 'cur%d.cur' % (128 + n)), 'wb') as f:
            f.write(cursor_file(shape, hotspot))
    frames = [cursor_file(bar(i * math.pi / 8), (15, 15)) for i in range(8)]
    with open(os.path.join(out, 'cur170.ani'), 'wb') as f:
        f.write(animated_cursor(frames, 6))
    with open(os.path.join(HERE, 'atelier.ico'), 'wb') as f:
        f.write(icon_file())


if __name__ == '__main__':
    main()
