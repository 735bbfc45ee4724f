#!/usr/bin/env python3
"""Writes Quadlock's menu icon to the file named on the command line: a
padlock on a rounded blue tile, with motion arcs at its sides, at 48x48 and
32x32 pixels, each in 8-bit colour (a fixed palette and a transparency
mask) and in 32-bit colour with alpha. The output depends only on this
script, so every build produces the same bytes."""
import os
import struct
import sys

SIZES = (48, 32)
SUPER = 4   # samples per pixel along each axis


def inside_round_rect(x, y, left, top, right, bottom, radius):
    if not (left <= x < right and top <= y < bottom):
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def colour_at(u, v):
    """The drawing on a 0..1 square: (r, g, b) or None for transparent."""
    if not inside_round_rect(u, v, 0.02, 0.02, 0.98, 0.98, 0.18):
        return None
    # motion arcs, left and right of the lock
    for cx in (0.5,):
        d = ((u - cx) ** 2 + ((v - 0.56) * 0.9) ** 2) ** 0.5
        if abs(u - cx) > 0.30 and (0.36 <= d < 0.41 or 0.45 <= d < 0.50):
            return (255, 255, 255)
    # shackle: upper half ring above the body
    d = ((u - 0.5) ** 2 + (v - 0.42) ** 2) ** 0.5
    if v < 0.46 and 0.11 <= d < 0.18:
        return (200, 205, 215)
    # body with a dark rim and a keyhole
    if 0.28 <= u < 0.72 and 0.44 <= v < 0.80:
        if u < 0.32 or u >= 0.68 or v < 0.48 or v >= 0.76:
            return (120, 80, 0)
        kd = ((u - 0.5) ** 2 + (v - 0.57) ** 2) ** 0.5
        if kd < 0.045 or (abs(u - 0.5) < 0.02 and 0.57 <= v < 0.68):
            return (50, 30, 0)
        return (240, 180, 30)
    # tile: blue, lighter towards the top
    shade = int(40 * (1 - v))
    return (30 + shade, 90 + shade, 170 + shade)


def draw(size):
    """Rows of (r, g, b, a), top row first, supersampled for smooth edges."""
    rows = []
    n = SUPER * SUPER
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0
            for sy in range(SUPER):
                for sx in range(SUPER):
                    c = colour_at((x + (sx + 0.5) / SUPER) / size, (y + (sy + 0.5) / SUPER) / size)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        a += 1
            if a == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((r // a, g // a, b // a, a * 255 // n))
        rows.append(row)
    return rows


def palette():
    """256 colours: the 6x6x6 cube, then greys, then black."""
    cube = [(r * 51, g * 51, b * 51) for r in range(6) for g in range(6) for b in range(6)]
    greys = [(v, v, v) for v in range(8, 256, 13)][:40]
    pal = cube + greys
    return pal + [(0, 0, 0)] * (256 - len(pal))


def nearest(pal, c):
    return min(range(len(pal)), key=lambda i: (pal[i][0] - c[0]) ** 2 + (pal[i][1] - c[1]) ** 2
               + (pal[i][2] - c[2]) ** 2)


def mask_bytes(rows, size):
    stride = ((size + 31) // 32) * 4
    out = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def image32(size):
    rows = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    return header + xor + mask_bytes(rows, size)


def image8(size):
    rows = draw(size)
    pal = palette()
    cache = {}
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    colours = b''.join(bytes((b, g, r, 0)) for (r, g, b) in pal)
    stride = (size + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (r, g, b, a) in enumerate(row):
            if a >= 128:
                key = (r, g, b)
                if key not in cache:
                    cache[key] = nearest(pal, key)
                line[x] = cache[key]
        pixels += line
    return header + colours + bytes(pixels) + mask_bytes(rows, size)


def main(path):
    entries = [(n, 8, image8(n)) for n in SIZES] + [(n, 32, image32(n)) for n in SIZES]
    out = struct.pack('<HHH', 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for n, bits, data in entries:
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(out + b''.join(data for _, _, data in entries))


if __name__ == '__main__':
    main(sys.argv[1])
