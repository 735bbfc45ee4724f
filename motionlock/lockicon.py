#!/usr/bin/env python3
"""Writes Lockwatch's icon (a padlock, 16x16 and 32x32, 32-bit with alpha)
to the file named on the command line. The output depends only on this
script, so every build produces the same bytes."""
import struct
import sys


def padlock(size):
    """Rows of (r, g, b, a), top row first."""
    s = size / 32.0
    px = [[(0, 0, 0, 0)] * size for _ in range(size)]
    body = (int(6 * s), int(14 * s), int(26 * s), int(30 * s))      # left, top, right, bottom
    for y in range(body[1], body[3]):
        for x in range(body[0], body[2]):
            edge = x in (body[0], body[2] - 1) or y in (body[1], body[3] - 1)
            px[y][x] = (120, 80, 0, 255) if edge else (230, 170, 20, 255)
    # the shackle: a ring of outer radius 8, inner 5, upper half, above the body
    cx, cy = 16 * s - 0.5, 14 * s
    for y in range(0, body[1]):
        for x in range(size):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if 5 * s <= d < 8 * s:
                px[y][x] = (110, 110, 120, 255)
    # shackle legs down into the body's top edge
    for y in range(int(10 * s), body[1]):
        for x in list(range(int(8.5 * s), int(11.5 * s))) + list(range(int(20.5 * s), int(23.5 * s))):
            px[y][x] = (110, 110, 120, 255)
    # keyhole
    for y in range(int(19 * s), int(26 * s)):
        for x in range(int(15 * s), int(17 * s) + (1 if size < 32 else 0)):
            px[y][x] = (40, 30, 0, 255)
    return px


def image(size):
    rows = padlock(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
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
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1])
