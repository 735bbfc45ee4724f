#!/usr/bin/env python3
"""Writes the launcher host stand-in's icon (four coloured tiles, 16x16 and
32x32, 32-bit with alpha) to the file named on the command line."""
import os
import struct
import sys

TILES = ((220, 60, 50), (60, 170, 70), (40, 110, 210), (240, 180, 30))


def image(size):
    half = size // 2
    gap = max(1, size // 16)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if x % half < gap or y % half < gap:
                row.append((0, 0, 0, 0))
            else:
                r, g, b = TILES[(y // half) * 2 + x // half]
                row.append((r, g, b, 255))
        rows.append(row)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + xor + bytes(mask)


def main(path):
    sizes = (32, 16)
    images = [image(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
