#!/usr/bin/env python3
"""Artwork of the setting console.

The header band across the top of the sheet is three bitmaps - the left
image with the product mark (250 x 28), a 1 x 28 strip stretched across the
middle, and the right image with a spirit level (80 x 28) - all on the same
vertical gradient so that they join without a seam. The program icon shows
the same tilted tablet on a blue tile, at 48, 32 and 16 pixels.

Shapes are signed distance functions sampled at pixel centres with a
one-pixel coverage ramp (anti-aliased edges without supersampling); the
letters are strokes of a small line font. Only the standard library is used
and the output is the same on every run.

    tiltdesk_art.py OUTDIR    writes tiltdesk_left.bmp, tiltdesk_fill.bmp,
                              tiltdesk_right.bmp (24 bits, bottom-up) and
                              tiltdesk.ico (32-bit images with alpha)
"""
import math
import os
import struct
import sys

BAND_H = 28
LEFT_W = 250
RIGHT_W = 80

TOP = (44, 86, 146)          # band gradient, top row
BOTTOM = (18, 46, 92)        # band gradient, bottom row
HIGHLIGHT = (92, 136, 198)   # first row: a thin light edge
SHADOW = (10, 26, 54)        # last row: the edge against the sheet
INK = (255, 255, 255)
ACCENT = (255, 196, 64)      # the bubble


# ----------------------------------------------------------------------
# Canvas and shapes

class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0), alpha=1.0):
        self.w, self.h = w, h
        self.px = [[list(fill) + [alpha] for _ in range(w)] for _ in range(h)]

    def blend(self, x, y, colour, cover):
        if cover <= 0.0:
            return
        cover = min(cover, 1.0)
        p = self.px[y][x]
        a = p[3]
        out_a = cover + a * (1.0 - cover)
        for i in range(3):
            c = colour[i] * cover + p[i] * a * (1.0 - cover)
            p[i] = c / out_a if out_a > 0 else 0.0
        p[3] = out_a

    def draw(self, sdf, colour, opacity=1.0, box=None):
        """Blends colour (a triple, or a function of the row) where the
        signed distance sdf(x, y) is negative."""
        x0, y0, x1, y1 = box if box else (0, 0, self.w, self.h)
        for y in range(max(0, y0), min(self.h, y1)):
            col = colour(y) if callable(colour) else colour
            for x in range(max(0, x0), min(self.w, x1)):
                d = sdf(x + 0.5, y + 0.5)
                cover = 0.5 - d
                if cover > 0.0:
                    self.blend(x, y, col, min(cover, 1.0) * opacity)

    def rgb(self, x, y):
        p = self.px[y][x]
        return tuple(max(0, min(255, int(round(v)))) for v in p[:3])

    def alpha(self, x, y):
        return max(0, min(255, int(round(self.px[y][x][3] * 255))))


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    ll = dx * dx + dy * dy
    t = 0.0 if ll == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / ll))
    qx, qy = ax + t * dx - px, ay + t * dy - py
    return math.hypot(qx, qy)


def polyline(points, width):
    """Stroke along a list of polylines, round ends."""
    half = width / 2.0
    segs = []
    for line in points:
        if len(line) == 1:
            segs.append((line[0][0], line[0][1], line[0][0], line[0][1]))
        for (ax, ay), (bx, by) in zip(line, line[1:]):
            segs.append((ax, ay, bx, by))

    def sdf(x, y):
        return min(seg_dist(x, y, *s) for s in segs) - half
    return sdf


def round_box(cx, cy, hw, hh, r, angle=0.0):
    """Filled rounded rectangle centred at (cx, cy), turned by angle."""
    ca, sa = math.cos(angle), math.sin(angle)

    def sdf(x, y):
        dx, dy = x - cx, y - cy
        lx, ly = dx * ca + dy * sa, -dx * sa + dy * ca
        qx, qy = abs(lx) - hw + r, abs(ly) - hh + r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    return sdf


def ring(sdf, width):
    half = width / 2.0
    return lambda x, y: abs(sdf(x, y) + half) - half


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def arc(cx, cy, rx, ry, a0, a1, steps=24):
    """Points of an elliptic arc, angles in degrees, y up."""
    pts = []
    for i in range(steps + 1):
        a = math.radians(a0 + (a1 - a0) * i / steps)
        pts.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return pts


# ----------------------------------------------------------------------
# Line font: x-height 7, cap height 10, baseline at y = 0, y up.

def glyphs():
    g = {}
    g['Z'] = (6.5, [[(0, 10), (6.5, 10), (0, 0), (6.5, 0)]])
    g['e'] = (6.4, [[(0, 3.6), (6.4, 3.6)] + arc(3.2, 3.6, 3.2, 3.6, 0, 318)[1:]])
    g['l'] = (0.0, [[(0, 0), (0, 10.6)]])
    g['v'] = (6.4, [[(0, 7), (3.2, 0), (6.4, 7)]])
    g['a'] = (6.2, [arc(3.0, 3.5, 3.0, 3.5, 0, 360, 32), [(6.2, 7), (6.2, 0)]])
    g['r'] = (4.6, [[(0, 0), (0, 7)], arc(3.6, 3.4, 3.6, 3.6, 178, 80, 12)])
    g['T'] = (7.4, [[(0, 10), (7.4, 10)], [(3.7, 10), (3.7, 0)]])
    g['i'] = (0.0, [[(0, 0), (0, 7)], [(0, 9.7)]])
    g['t'] = (4.2, [[(1.3, 9.4), (1.3, 1.6)] + arc(3.3, 1.6, 2.0, 1.6, 180, 290, 8)[1:],
                    [(0, 7), (4.2, 7)]])
    g['k'] = (5.4, [[(0, 0), (0, 10.6)], [(5.2, 7), (0.2, 2.6)], [(1.9, 4.1), (5.4, 0)]])
    return g


def text_strokes(text, x, baseline, scale, gap=2.9, space=4.0):
    """Polylines of a text in pixel coordinates (y down); returns (lines, end x)."""
    font = glyphs()
    lines = []
    pen = x
    for ch in text:
        if ch == ' ':
            pen += space * scale
            continue
        width, strokes = font[ch]
        for line in strokes:
            lines.append([(pen + px * scale, baseline - py * scale) for px, py in line])
        pen += (width + gap) * scale
    return lines, pen - gap * scale


# ----------------------------------------------------------------------
# The band

def band_colour(y):
    if y == 0:
        return HIGHLIGHT
    if y == BAND_H - 1:
        return SHADOW
    t = (y - 1) / float(BAND_H - 3)
    return tuple(TOP[i] + (BOTTOM[i] - TOP[i]) * t for i in range(3))


def band_canvas(w):
    c = Canvas(w, BAND_H)
    for y in range(BAND_H):
        col = band_colour(y)
        for x in range(w):
            c.px[y][x] = list(col) + [1.0]
    return c


def turned(cx, cy, angle, lx, ly):
    """A point given in the frame of a shape turned by angle about (cx, cy)."""
    ca, sa = math.cos(angle), math.sin(angle)
    return cx + lx * ca - ly * sa, cy + lx * sa + ly * ca


def tablet(c, cx, cy, size, stroke, angle, screen=True):
    """The tilted tablet: outline, screen and a home button."""
    hw, hh = size * 0.36, size * 0.5
    body = round_box(cx, cy, hw, hh, size * 0.1, angle)
    c.draw(ring(body, stroke), INK)
    if screen:
        sx, sy = turned(cx, cy, angle, 0.0, -stroke * 0.9)
        c.draw(round_box(sx, sy, hw - stroke * 1.9, hh - stroke * 2.9, size * 0.03, angle),
               INK, 0.35)
        bx, by = turned(cx, cy, angle, 0.0, hh - stroke * 1.55)
        c.draw(circle(bx, by, max(0.7, stroke * 0.5)), INK)


def motion_arcs(c, cx, cy, radius, stroke, opacity):
    """Two short arcs beside the tablet: it is moving."""
    for k, r in enumerate((radius, radius + stroke * 2.6)):
        pts = [(cx + r * math.cos(math.radians(a)), cy - r * math.sin(math.radians(a)))
               for a in range(-28, 29, 4)]
        c.draw(polyline([pts], stroke), INK, opacity * (1.0 - 0.35 * k))


def draw_left():
    c = band_canvas(LEFT_W)
    tablet(c, 15.0, 14.0, 19.0, 1.5, math.radians(-16))
    motion_arcs(c, 18.0, 14.0, 13.0, 1.2, 0.8)
    lines, end = text_strokes("Zelvar Tiltkit", 40.0, 20.0, 1.2)
    c.draw(polyline(lines, 1.75), INK, box=(36, 0, int(end) + 4, BAND_H))
    # A fading rule after the mark leads into the fill strip.
    x0 = int(end) + 12
    for x in range(x0, LEFT_W - 10):
        t = 1.0 - (x - x0) / float(LEFT_W - 10 - x0)
        c.blend(x, 14, INK, 0.28 * t)
    return c


def draw_fill():
    return band_canvas(1)


def draw_right():
    c = band_canvas(RIGHT_W)
    cx, cy = 40.0, 14.0
    vial = round_box(cx, cy, 30.0, 6.0, 6.0)
    c.draw(vial, INK, 0.18)
    c.draw(ring(vial, 1.3), INK, 0.9)
    c.draw(circle(cx + 9.0, cy, 4.2), ACCENT)
    for dx in (-7.0, 7.0):
        c.draw(polyline([[(cx + dx, cy - 3.6), (cx + dx, cy + 3.6)]], 1.1), INK, 0.85)
    return c


# ----------------------------------------------------------------------
# The icon

def draw_icon(size):
    c = Canvas(size, size, (0, 0, 0), 0.0)
    s = size / 48.0
    tile = round_box(size / 2.0, size / 2.0, size / 2.0 - 0.5 * s, size / 2.0 - 0.5 * s, 9.0 * s)
    # The tile carries the band's gradient.
    c.draw(tile, lambda y: tuple(TOP[i] + (BOTTOM[i] - TOP[i]) * y / (size - 1.0)
                                 for i in range(3)))
    small = size < 24
    stroke = 1.5 if small else 2.6 * s
    cx, cy = size * (0.5 if small else 0.44), size * 0.5
    angle = math.radians(-16)
    tablet(c, cx, cy, size * (0.7 if small else 0.62), stroke, angle, screen=not small)
    if not small:
        motion_arcs(c, size * 0.5, cy, size * 0.36, stroke * 0.8, 0.8)
    bx, by = turned(cx, cy, angle, 0.0, -size * (0.02 if small else 0.05))
    c.draw(circle(bx, by, size * (0.12 if small else 0.085)), ACCENT)
    return c


# ----------------------------------------------------------------------
# Files

def bmp24(c):
    stride = (c.w * 3 + 3) & ~3
    rows = []
    for y in range(c.h - 1, -1, -1):
        row = bytearray()
        for x in range(c.w):
            r, g, b = c.rgb(x, y)
            row += bytes((b, g, r))
        row += b'\0' * (stride - len(row))
        rows.append(bytes(row))
    data = b''.join(rows)
    header = struct.pack('<IiiHHIIiiII', 40, c.w, c.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    filehdr = struct.pack('<2sIHHI', b'BM', 14 + len(header) + len(data), 0, 0, 14 + len(header))
    return filehdr + header + data


def ico(canvases):
    images = []
    for c in canvases:
        xor = bytearray()
        for y in range(c.h - 1, -1, -1):
            for x in range(c.w):
                r, g, b = c.rgb(x, y)
                xor += bytes((b, g, r, c.alpha(x, y)))
        mask_stride = ((c.w + 31) // 32) * 4
        mask = bytearray()
        for y in range(c.h - 1, -1, -1):
            row = bytearray(mask_stride)
            for x in range(c.w):
                if c.alpha(x, y) < 128:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        header = struct.pack('<IiiHHIIiiII', 40, c.w, c.h * 2, 1, 32, 0,
                             len(xor) + len(mask), 0, 0, 0, 0)
        images.append(header + bytes(xor) + bytes(mask))
    out = bytearray(struct.pack('<HHH', 0, 1, len(canvases)))
    offset = 6 + 16 * len(canvases)
    for c, img in zip(canvases, images):
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    for img in images:
        out += img
    return bytes(out)


def write(path, data):
    tmp = path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
    os.replace(tmp, path)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)
    write(os.path.join(out, 'tiltdesk_left.bmp'), bmp24(draw_left()))
    write(os.path.join(out, 'tiltdesk_fill.bmp'), bmp24(draw_fill()))
    write(os.path.join(out, 'tiltdesk_right.bmp'), bmp24(draw_right()))
    write(os.path.join(out, 'tiltdesk.ico'), ico([draw_icon(48), draw_icon(32), draw_icon(16)]))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
