#!/usr/bin/env python3
"""Draws the program's symbol: Pfadwerk.ico (16, 32 and 48 pixels, 32-bit with
mask), start.bmp, the 17 x 18 picture the welcome window shows next to the
Quick Launch hint, setup.bmp, the 164 x 314 side picture of the set-up
program's first and last page, and Update_32_XP.ico, the symbol with a
download badge that the update notice shows. Standard library only; run
from any folder:

    python3 resources/draw_images.py [--preview DIR]

--preview also writes enlarged PNGs for looking at the result.
"""
import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
UNITS = 48.0  # the symbol is drawn on a 48 x 48 grid and scaled
SAMPLES = 6   # sub-samples per pixel and axis


# --- shapes: signed distance in grid units, negative inside ---------------

def round_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sd(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0), max(qy, 0))
        return outside + min(max(qx, qy), 0) - r
    return sd


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = min(1, max(0, t))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def polygon(points):
    edges = list(zip(points, points[1:] + points[:1]))

    def sd(x, y):
        d = min(seg_dist(x, y, ax, ay, bx, by) for (ax, ay), (bx, by) in edges)
        inside = False
        for (ax, ay), (bx, by) in edges:
            if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                inside = not inside
        return -d if inside else d
    return sd


def stroke(points, width):
    segs = list(zip(points, points[1:]))

    def sd(x, y):
        return min(seg_dist(x, y, ax, ay, bx, by) for (ax, ay), (bx, by) in segs) - width / 2
    return sd


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def bezier(p0, p1, p2, p3, steps=24):
    pts = []
    for i in range(steps + 1):
        t = i / steps
        a, b, c, d = (1 - t) ** 3, 3 * t * (1 - t) ** 2, 3 * t * t * (1 - t), t ** 3
        pts.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                    a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return pts


# --- colours ---------------------------------------------------------------

def hexrgb(h):
    return tuple(int(h[i:i + 2], 16) for i in (1, 3, 5))


def solid(h):
    c = hexrgb(h)
    return lambda x, y: c


def vertical(top, bottom, y0, y1):
    a, b = hexrgb(top), hexrgb(bottom)

    def colour(x, y):
        t = min(1, max(0, (y - y0) / (y1 - y0)))
        return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))
    return colour


# --- the symbol: a folder with a path that leads into it -------------------

def symbol_layers(pixel):
    """Layers back to front as (shape, colour, inset). `pixel` is one pixel in
    grid units; outlines are one pixel wide at every size."""
    small = pixel > 2  # 16 pixels: fewer, bolder strokes
    back = union(round_rect(3, 6, 21, 14, 2.5), round_rect(3, 10, 45, 41, 2.5))
    front = round_rect(3, 17, 45, 42, 2.5)
    sheet = round_rect(8, 12, 40, 24, 1)
    if small:
        # Curves blur at this size: a bent arrow on whole pixels instead.
        path = [(9, 36), (9, 33)] + bezier((9, 33), (9, 29), (11, 27), (15, 27), 8)[1:] + [(30, 27)]
        tip, wing, width = (42, 27), 9, 6
    else:
        path = bezier((12, 36), (13, 26), (22, 31), (31, 24))
        tip, wing, width = (41, 17.5), 7.5, 5.5
    # Arrowhead square to the path's last direction.
    (ex, ey), (fx, fy) = path[-2], path[-1]
    length = math.hypot(fx - ex, fy - ey)
    ux, uy = (fx - ex) / length, (fy - ey) / length
    head = [(fx - uy * wing, fy + ux * wing), tip, (fx + uy * wing, fy - ux * wing)]
    head = [(x - ux * (0 if small else 1.5), y - uy * (0 if small else 1.5)) for x, y in head]
    arrow = union(stroke(path, width), polygon(head))
    halo = 0 if small else 1.6
    return [
        (back, solid("#a0690a"), 0),
        (back, vertical("#f0b63c", "#d8951c", 6, 41), pixel),
        (sheet, solid("#9c9c9c"), 0),
        (sheet, solid("#ffffff"), pixel),
        (front, solid("#a86e0a"), 0),
        (front, vertical("#ffe07a", "#f4ac22", 17, 42), pixel),
        (lambda x, y: arrow(x, y) - halo, solid("#ffffff"), 0),
        (arrow, vertical("#3d83e8", "#1448a8", 17, 40), 0),
    ]


# --- the update symbol: the folder, smaller, with a green download badge ----

def scaled(layers, factor):
    """Layers drawn `factor` times smaller, from the top left corner."""
    def shape(sd):
        return lambda x, y: sd(x * factor, y * factor) / factor

    def paint(colour):
        return lambda x, y: colour(x * factor, y * factor)
    return [(shape(sd), paint(colour), inset / factor) for sd, colour, inset in layers]


def update_layers(pixel):
    factor = 48 / 38
    cx, cy, r = 34.5, 34.5, 12.5

    def disc(radius):
        return lambda x, y: math.hypot(x - cx, y - cy) - radius
    arrow = union(stroke([(cx, cy - 7.5), (cx, cy + 1)], 4.6),
                  polygon([(cx - 7, cy - 0.5), (cx + 7, cy - 0.5), (cx, cy + 7.5)]))
    return scaled(symbol_layers(pixel * factor), factor) + [
        (disc(r + 1.6), solid("#ffffff"), 0),
        (disc(r), solid("#2c7a1c"), 0),
        (disc(r), vertical("#8ee06a", "#3a9a22", cy - r, cy + r), pixel),
        (lambda x, y: arrow(x, y) - 0.8, solid("#2c7a1c"), 0),
        (arrow, solid("#ffffff"), 0),
    ]


def render(width, height, size, dx=0, dy=0, background=None, layers_of=symbol_layers):
    """RGBA rows of the symbol drawn `size` pixels large at (dx, dy)."""
    scale = UNITS / size
    layers = layers_of(scale)
    rows = []
    for py in range(height):
        row = []
        for px in range(width):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px - dx + (sx + 0.5) / SAMPLES) * scale
                    y = (py - dy + (sy + 0.5) / SAMPLES) * scale
                    colour = background
                    for shape, paint, inset in layers:
                        if shape(x, y) < -inset:
                            colour = paint(x, y)
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]),
                            round(alpha * 255)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


# --- file formats ----------------------------------------------------------

def icon_image(rows):
    """One icon directory image: BITMAPINFOHEADER, 32-bit BGRA bottom-up, AND mask."""
    size = len(rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:  # systems without alpha icons see only this mask
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    return header + xor + bytes(mask)


def write_ico(path, images):
    count = len(images)
    out = struct.pack("<HHH", 0, 1, count)
    offset = 6 + 16 * count
    blobs = []
    for rows in images:
        blob = icon_image(rows)
        size = len(rows)
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    with open(path, "wb") as f:
        f.write(out + b"".join(blobs))


def write_bmp(path, rows):
    """24-bit bottom-up BMP of opaque rows."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(b"".join(bytes((b, g, r)) for (r, g, b, _) in row))
        pixels += line + bytes(stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def write_png(path, rows, zoom):
    """Enlarged preview on a checkerboard, so transparency shows."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for y in range(height * zoom):
        raw.append(0)
        for x in range(width * zoom):
            r, g, b, a = rows[y // zoom][x // zoom]
            bg = 255 if ((x // 8) + (y // 8)) % 2 else 214
            raw += bytes(round(c * a / 255 + bg * (1 - a / 255)) for c in (r, g, b))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    ihdr = struct.pack(">IIBBBBB", width * zoom, height * zoom, 8, 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
                chunk(b"IEND", b""))


def sidebar():
    """The set-up program's side picture: the symbol, large, on a blue that
    darkens downwards, with a faint path winding up towards it."""
    width, height, size = 164, 314, 96
    top, bottom = hexrgb("#2f6fd0"), hexrgb("#0e3b8e")
    symbol = render(size, size, size)
    sx, sy = (width - size) // 2, 44
    trail = bezier((24, 314), (4, 236), (128, 246), (82, 150), 48)
    # Arc length at each point, for the dashes.
    run = [0.0]
    for (ax, ay), (bx, by) in zip(trail, trail[1:]):
        run.append(run[-1] + math.hypot(bx - ax, by - ay))
    rows = []
    for y in range(height):
        t = y / (height - 1)
        base = tuple(round(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
        row = []
        for x in range(width):
            colour = base
            d, along = min((seg_dist(x + 0.5, y + 0.5, *a, *b), run[i]) for i, (a, b) in
                           enumerate(zip(trail, trail[1:])))
            if d < 3.5 and (along // 12) % 2 == 0:
                k = min(1, 3.5 - d) * 0.2
                colour = tuple(round(c + (255 - c) * k) for c in colour)
            if sx <= x < sx + size and sy <= y < sy + size:
                r, g, b, a = symbol[y - sy][x - sx]
                colour = tuple(round(c0 * a / 255 + c1 * (1 - a / 255)) for c0, c1 in zip((r, g, b), colour))
            row.append(colour + (255,))
        rows.append(row)
    return rows


def main():
    icons = [render(s, s, s) for s in (16, 32, 48)]
    write_ico(os.path.join(HERE, "Pfadwerk.ico"), icons)
    # The picture stands on the welcome window's white background.
    start = render(17, 18, 16, dx=0, dy=1, background=(255, 255, 255))
    write_bmp(os.path.join(HERE, "start.bmp"), start)
    side = sidebar()
    write_bmp(os.path.join(HERE, "setup.bmp"), side)
    update = render(32, 32, 32, layers_of=update_layers)
    write_ico(os.path.join(HERE, "Update_32_XP.ico"), [update])
    if "--preview" in sys.argv:
        folder = sys.argv[sys.argv.index("--preview") + 1]
        os.makedirs(folder, exist_ok=True)
        for rows in icons:
            write_png(os.path.join(folder, "icon%d.png" % len(rows)), rows, 384 // len(rows))
        write_png(os.path.join(folder, "start.png"), start, 16)
        write_png(os.path.join(folder, "setup.png"), side, 2)
        write_png(os.path.join(folder, "update32.png"), update, 12)


if __name__ == "__main__":
    main()
