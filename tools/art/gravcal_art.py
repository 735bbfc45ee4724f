#!/usr/bin/env python3
"""Position pictures of the calibration wizard.

Draws an opened notebook in the three calibration positions - on its stand,
tipped onto its side, tipped forward - and writes each as a 150 x 150 BMP
with 8 bits per pixel and its own 256-colour palette (bottom-up rows).

The drawing is a small solid-model renderer: the notebook is a few boxes,
rasterised with a depth buffer at four times the size, outlined where one
face meets another, shaded by a fixed light, averaged down and quantised by
median cut. Only the standard library is used and the output is the same on
every run.

    gravcal_art.py OUTDIR        writes level.bmp, side.bmp, forward.bmp
"""
import math
import os
import struct
import sys

SIZE = 150
SS = 4                      # supersampling factor
BIG = SIZE * SS

BACKGROUND = (255, 255, 255)
OUTLINE = (40, 44, 52)
ARROW = (200, 60, 40)

# Notebook, in its own frame: x to the right, y up, z towards the user.
BASE_W, BASE_D, BASE_H = 84.0, 58.0, 6.0
LID_H, LID_T = 56.0, 4.0
LID_OPEN = math.radians(105.0)     # angle between base and screen


def v_add(a, b):
    return (a[0] + b[0], a[1] + b[1], a[2] + b[2])


def v_sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


def v_cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def v_dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def v_norm(a):
    n = math.sqrt(v_dot(a, a)) or 1.0
    return (a[0] / n, a[1] / n, a[2] / n)


def rot_x(p, a):
    c, s = math.cos(a), math.sin(a)
    return (p[0], p[1] * c - p[2] * s, p[1] * s + p[2] * c)


def rot_y(p, a):
    c, s = math.cos(a), math.sin(a)
    return (p[0] * c + p[2] * s, p[1], -p[0] * s + p[2] * c)


def rot_z(p, a):
    c, s = math.cos(a), math.sin(a)
    return (p[0] * c - p[1] * s, p[0] * s + p[1] * c, p[2])


def box(origin, ex, ey, ez, colours):
    """Six quads of a box spanned by three edge vectors; colours per face
    name: bottom, top, back, front, left, right (missing ones use 'other')."""
    o = origin
    p = [v_add(v_add(v_add(o, ex if i & 1 else (0, 0, 0)), ey if i & 2 else (0, 0, 0)),
               ez if i & 4 else (0, 0, 0)) for i in range(8)]
    faces = {
        "bottom": (0, 1, 5, 4), "top": (2, 6, 7, 3), "back": (0, 2, 3, 1),
        "front": (4, 5, 7, 6), "left": (0, 4, 6, 2), "right": (1, 3, 7, 5),
    }
    quads = []
    for name, idx in faces.items():
        quads.append(([p[i] for i in idx], colours.get(name, colours["other"])))
    return quads


def notebook():
    """The opened notebook: base, keyboard, lid and display, hinge at the
    back top edge of the base (origin at the base's front-left-bottom)."""
    grey = (196, 200, 208)
    quads = box((0, 0, 0), (BASE_W, 0, 0), (0, BASE_H, 0), (0, 0, BASE_D),
                {"other": grey})
    # Keyboard: a thin dark plate on top of the base, back half.
    quads += box((8, BASE_H, 6), (BASE_W - 16, 0, 0), (0, 0.8, 0), (0, 0, BASE_D * 0.48),
                 {"other": (92, 98, 110), "top": (120, 126, 138)})
    # Touch pad in front of the keyboard.
    quads += box((BASE_W / 2 - 12, BASE_H, BASE_D * 0.64), (24, 0, 0), (0, 0.5, 0),
                 (0, 0, 14), {"other": (150, 154, 162)})
    # Lid: hinged at the back edge, opened by LID_OPEN from the base.
    tilt = LID_OPEN - math.pi / 2           # leaning back from upright
    up = (0, math.cos(tilt), -math.sin(tilt))
    thick = (0, math.sin(tilt), math.cos(tilt))   # towards the user
    hinge = (0, BASE_H, 0)
    lid_origin = hinge
    quads += box(v_sub(lid_origin, tuple(t * LID_T for t in thick)), (BASE_W, 0, 0),
                 tuple(u * LID_H for u in up), tuple(t * LID_T for t in thick),
                 {"other": grey})
    # Display: inset on the lid's face towards the user.
    margin = 5.0
    disp_o = v_add(lid_origin, (margin, 0, 0))
    disp_o = v_add(disp_o, tuple(u * margin for u in up))
    quads += box(disp_o, (BASE_W - 2 * margin, 0, 0), tuple(u * (LID_H - 2 * margin) for u in up),
                 tuple(t * 0.6 for t in thick), {"other": (60, 110, 180), "front": (70, 130, 205)})
    return quads


def pose(quads, position):
    """Turns the notebook into one of the three positions, then sets it on
    the desk (lowest point at y = 0) centred over the origin."""
    centre = (BASE_W / 2, 0, BASE_D / 2)

    def place(p):
        p = v_sub(p, centre)
        if position == "side":
            p = rot_z(p, -math.pi / 2)        # onto its right side
        elif position == "forward":
            p = rot_x(p, math.pi / 2)         # tipped over its front edge
        return p

    posed = [([place(p) for p in q], c) for q, c in quads]
    low = min(p[1] for q, _ in posed for p in q)
    return [([(p[0], p[1] - low, p[2]) for p in q], c) for q, c in posed]


def desk(extent_x, extent_z):
    wood = (226, 206, 170)
    w, d = extent_x, extent_z
    return [([(-w, 0, -d), (-w, 0, d), (w, 0, d), (w, 0, -d)], wood)]


VIEW_YAW = math.radians(-32.0)
VIEW_PITCH = math.radians(24.0)
LIGHT = v_norm((-0.4, 0.9, 0.6))


# Seen from the front right, a little more from the side when tipped forward
# so that the bend between base and screen shows.
YAW = {"level": VIEW_YAW, "side": VIEW_YAW, "forward": math.radians(-40.0)}


def to_view(p, yaw=VIEW_YAW):
    return rot_x(rot_y(p, yaw), VIEW_PITCH)


def render(position, arrow):
    quads = pose(notebook(), position)
    xs = [p[0] for q, _ in quads for p in q]
    zs = [p[2] for q, _ in quads for p in q]
    span = max(max(xs) - min(xs), max(zs) - min(zs))
    quads = desk(span * 0.62, span * 0.62) + quads

    # View transform; fit the notebook (not the whole desk) into the picture.
    view = []
    for q, colour in quads:
        vq = [to_view(p, YAW[position]) for p in q]
        normal = v_norm(v_cross(v_sub(q[1], q[0]), v_sub(q[2], q[0])))
        view.append((vq, colour, normal))
    pts = [p for vq, _, _ in view[1:] for p in vq]
    minx, maxx = min(p[0] for p in pts), max(p[0] for p in pts)
    miny, maxy = min(p[1] for p in pts), max(p[1] for p in pts)
    # With an arrow, the notebook leaves the top left corner free for it.
    room = 44 if arrow else 22
    scale = (SIZE - room) * SS / max(maxx - minx, maxy - miny)
    cx, cy = (minx + maxx) / 2, (miny + maxy) / 2
    ox = BIG / 2 + (room - 22) / 2 * SS
    oy = BIG / 2 + (room - 22) / 2 * SS + 4 * SS

    def screen(p):
        return ((p[0] - cx) * scale + ox, oy - (p[1] - cy) * scale, p[2])

    depth = [-1e30] * (BIG * BIG)
    face = [-1] * (BIG * BIG)
    colours = []
    for fid, (vq, colour, normal) in enumerate(view):
        lit = 0.62 + 0.38 * max(0.0, v_dot(normal, LIGHT))
        if fid == 0:
            lit = 1.0
        colours.append(tuple(min(255, int(c * lit + 0.5)) for c in colour))
        sq = [screen(p) for p in vq]
        for tri in ((sq[0], sq[1], sq[2]), (sq[0], sq[2], sq[3])):
            raster_triangle(tri, fid, depth, face)

    # Colour per supersampled pixel, then the outlines: a round stamp on
    # every place where two faces meet, wider at the notebook's silhouette.
    rgb = [BACKGROUND] * (BIG * BIG)
    for i, f in enumerate(face):
        if f >= 0:
            rgb[i] = colours[f]
    stamps = {}
    for y in range(BIG - 1):
        row = y * BIG
        for x in range(BIG - 1):
            f = face[row + x]
            for g in (face[row + x + 1], face[row + BIG + x]):
                if g != f and (f > 0 or g > 0):
                    r = 3.5 if min(f, g) <= 0 else 2.5
                    key = (x, y)
                    stamps[key] = max(stamps.get(key, 0), r)
    for (x, y), r in stamps.items():
        ir = int(r)
        for dy in range(-ir, ir + 1):
            yy = y + dy
            if yy < 0 or yy >= BIG:
                continue
            for dx in range(-ir, ir + 1):
                xx = x + dx
                if 0 <= xx < BIG and dx * dx + dy * dy <= r * r:
                    rgb[yy * BIG + xx] = OUTLINE
    fade_desk(rgb, face)
    if arrow:
        draw_arrow(rgb, arrow)
    return downsample(rgb)


def raster_triangle(tri, fid, depth, face):
    (x0, y0, z0), (x1, y1, z1), (x2, y2, z2) = tri
    area = (x1 - x0) * (y2 - y0) - (x2 - x0) * (y1 - y0)
    if abs(area) < 1e-9:
        return
    xmin = max(0, int(math.floor(min(x0, x1, x2))))
    xmax = min(BIG - 1, int(math.ceil(max(x0, x1, x2))))
    ymin = max(0, int(math.floor(min(y0, y1, y2))))
    ymax = min(BIG - 1, int(math.ceil(max(y0, y1, y2))))
    for y in range(ymin, ymax + 1):
        py = y + 0.5
        for x in range(xmin, xmax + 1):
            px = x + 0.5
            w0 = ((x1 - px) * (y2 - py) - (x2 - px) * (y1 - py)) / area
            w1 = ((x2 - px) * (y0 - py) - (x0 - px) * (y2 - py)) / area
            w2 = 1.0 - w0 - w1
            if w0 < -1e-9 or w1 < -1e-9 or w2 < -1e-9:
                continue
            z = w0 * z0 + w1 * z1 + w2 * z2
            i = y * BIG + x
            # Larger z is nearer the viewer; later faces win ties (the
            # keyboard and display sit exactly on their carriers).
            if z >= depth[i] - 0.05:
                depth[i] = z
                face[i] = fid


def fade_desk(rgb, face):
    """The desk blends into the background towards the picture's edges."""
    for y in range(BIG):
        for x in range(BIG):
            i = y * BIG + x
            if face[i] != 0:
                continue
            dx = (x - BIG / 2) / (BIG / 2)
            dy = (y - BIG * 0.62) / (BIG / 2)
            t = max(0.0, min(1.0, 1.6 - 1.4 * math.sqrt(dx * dx + dy * dy * 2.2)))
            c = rgb[i]
            rgb[i] = tuple(int(BACKGROUND[k] + (c[k] - BACKGROUND[k]) * t + 0.5) for k in range(3))


def draw_arrow(rgb, kind):
    """A curved arrow in the top left corner showing the tipping direction."""
    cx, cy, r = 26 * SS, 30 * SS, 16 * SS
    if kind == "side":      # rolled clockwise, the top going right
        a0, a1 = math.radians(170), math.radians(20)
    else:                   # tipped over the front edge towards the user
        a0, a1 = math.radians(80), math.radians(-60)
        cy, r = 24 * SS, 14 * SS
    steps = 80
    pts = []
    for i in range(steps + 1):
        a = a0 + (a1 - a0) * i / steps
        pts.append((cx + r * math.cos(a), cy - r * math.sin(a)))
    half = 1.4 * SS
    for (xa, ya), (xb, yb) in zip(pts, pts[1:]):
        thick_segment(rgb, xa, ya, xb, yb, half)
    # Head: a filled triangle along the last direction.
    (xa, ya), (xb, yb) = pts[-4], pts[-1]
    d = v_norm((xb - xa, yb - ya, 0))
    n = (-d[1], d[0])
    tip = (xb + d[0] * 6 * SS, yb + d[1] * 6 * SS)
    left = (xb + n[0] * 5 * SS, yb + n[1] * 5 * SS)
    right = (xb - n[0] * 5 * SS, yb - n[1] * 5 * SS)
    fill_triangle(rgb, tip, left, right)


def thick_segment(rgb, xa, ya, xb, yb, half):
    xmin, xmax = int(min(xa, xb) - half - 1), int(max(xa, xb) + half + 1)
    ymin, ymax = int(min(ya, yb) - half - 1), int(max(ya, yb) + half + 1)
    dx, dy = xb - xa, yb - ya
    ll = dx * dx + dy * dy or 1.0
    for y in range(max(0, ymin), min(BIG, ymax + 1)):
        for x in range(max(0, xmin), min(BIG, xmax + 1)):
            t = max(0.0, min(1.0, ((x - xa) * dx + (y - ya) * dy) / ll))
            px, py = xa + t * dx - x, ya + t * dy - y
            if px * px + py * py <= half * half:
                rgb[y * BIG + x] = ARROW


def fill_triangle(rgb, a, b, c):
    xmin, xmax = int(min(a[0], b[0], c[0])), int(max(a[0], b[0], c[0])) + 1
    ymin, ymax = int(min(a[1], b[1], c[1])), int(max(a[1], b[1], c[1])) + 1
    area = (b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1])
    if area == 0:
        return
    for y in range(max(0, ymin), min(BIG, ymax + 1)):
        for x in range(max(0, xmin), min(BIG, xmax + 1)):
            w0 = ((b[0] - x) * (c[1] - y) - (c[0] - x) * (b[1] - y)) / area
            w1 = ((c[0] - x) * (a[1] - y) - (a[0] - x) * (c[1] - y)) / area
            if w0 >= 0 and w1 >= 0 and w0 + w1 <= 1:
                rgb[y * BIG + x] = ARROW


def downsample(rgb):
    out = []
    n = SS * SS
    for y in range(SIZE):
        for x in range(SIZE):
            r = g = b = 0
            for sy in range(SS):
                row = (y * SS + sy) * BIG + x * SS
                for sx in range(SS):
                    c = rgb[row + sx]
                    r += c[0]
                    g += c[1]
                    b += c[2]
            out.append(((r + n // 2) // n, (g + n // 2) // n, (b + n // 2) // n))
    return out


def median_cut(pixels, count):
    """A palette of at most count colours: boxes of distinct colours split at
    the median of their widest channel, weighted by pixel count."""
    hist = {}
    for p in pixels:
        hist[p] = hist.get(p, 0) + 1
    boxes = [sorted(hist.items())]
    while len(boxes) < count:
        best, best_range = -1, 0
        for i, bx in enumerate(boxes):
            if len(bx) < 2:
                continue
            rng = max(max(c[k] for c, _ in bx) - min(c[k] for c, _ in bx) for k in range(3))
            if rng > best_range:
                best, best_range = i, rng
        if best < 0:
            break
        bx = boxes.pop(best)
        ch = max(range(3), key=lambda k: max(c[k] for c, _ in bx) - min(c[k] for c, _ in bx))
        bx.sort(key=lambda e: (e[0][ch], e[0]))
        total = sum(w for _, w in bx)
        acc, cut = 0, 1
        for j, (_, w) in enumerate(bx):
            acc += w
            if acc * 2 >= total:
                cut = max(1, min(len(bx) - 1, j + 1))
                break
        boxes.append(bx[:cut])
        boxes.append(bx[cut:])
    palette = []
    for bx in boxes:
        total = sum(w for _, w in bx)
        palette.append(tuple((sum(c[k] * w for c, w in bx) + total // 2) // total for k in range(3)))
    palette.sort()
    return palette


def quantise(pixels, palette):
    cache = {}
    out = []
    for p in pixels:
        idx = cache.get(p)
        if idx is None:
            idx = min(range(len(palette)),
                      key=lambda i: sum((palette[i][k] - p[k]) ** 2 for k in range(3)))
            cache[p] = idx
        out.append(idx)
    return out


def write_bmp(path, pixels):
    palette = median_cut(pixels, 256)
    idx = quantise(pixels, palette)
    palette = palette + [(0, 0, 0)] * (256 - len(palette))
    stride = (SIZE + 3) & ~3
    rows = []
    for y in range(SIZE - 1, -1, -1):        # bottom-up
        row = bytes(idx[y * SIZE:(y + 1) * SIZE])
        rows.append(row + b"\0" * (stride - SIZE))
    image = b"".join(rows)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(pal)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 8, 0, len(image), 2835, 2835, 256, 0)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(header + info + pal + image)
    os.replace(tmp, path)


PICTURES = (
    ("level.bmp", "level", None),
    ("side.bmp", "side", "side"),
    ("forward.bmp", "forward", "forward"),
)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: gravcal_art.py OUTDIR\n")
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for name, position, arrow in PICTURES:
        write_bmp(os.path.join(argv[1], name), render(position, arrow))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
