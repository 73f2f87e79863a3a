#!/usr/bin/env python3
"""Draws the ignore list's symbols: a folder with a red no-entry sign, 32 x 32
for the ignore manager's window and 16 x 16 for the entries of its list, each
in a flat look for Windows XP and a softer, shaded one for Vista and later
(Ignored_Folders_32_XP.ico, Ignored_Folders_32_Vista.ico,
Ignored_Folder_16_XP.ico, Ignored_Folder_16_Vista.ico). Standard library
only; run from any folder:

    python3 resources/draw_ignore_icons.py [--preview DIR]
"""
import math
import os
import sys

from draw_images import (HERE, SAMPLES, UNITS, round_rect, solid, stroke, union, vertical, write_ico,
                         write_png)


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def layers(pixel, vista):
    small = pixel > 2
    back = union(round_rect(2, 6, 20, 14, 2.5), round_rect(2, 10, 40, 38, 2.5))
    front = round_rect(2, 16, 40, 39, 2.5)
    if small:
        # A ring with a slash blurs at 16 pixels: a red disc with a white bar
        # on whole pixels reads better there.
        cx, cy, r = 34.5, 34.5, 13.5
        ring = circle(cx, cy, r)
        inner = round_rect(cx - 8.5, cy - 1.5, cx + 8.5, cy + 1.5, 0.01)
        sign = lambda x, y: max(ring(x, y), -inner(x, y))
    else:
        # The sign sits on the folder's lower right corner.
        cx, cy, r = 34, 34, 12.5
        ring = circle(cx, cy, r)
        inner = circle(cx, cy, r - 4.5)
        d = (r - 3) / math.sqrt(2)
        bar = stroke([(cx - d, cy - d), (cx + d, cy + d)], 4.5)
        red_ring = lambda x, y: max(ring(x, y), -inner(x, y))
        sign = union(red_ring, lambda x, y: max(bar(x, y), ring(x, y)))
    if vista:
        folder_back = vertical("#f2c55a", "#d9a23a", 6, 38)
        folder_front = vertical("#ffe9a8", "#f3bd4a", 16, 39)
        red = vertical("#f0564a", "#b81d12", cy - r, cy + r)
        edge = "#9a6a14"
    else:
        folder_back = solid("#e8b84a")
        folder_front = solid("#fcd670")
        red = solid("#d8261b")
        edge = "#8c5f0c"
    return [
        (back, solid(edge), 0),
        (back, folder_back, pixel),
        (front, solid(edge), 0),
        (front, folder_front, pixel),
        (ring, solid("#ffffff"), -1.2 * pixel),  # a white halo parts sign and folder
        (inner, solid("#ffffff"), 0),
        (sign, red, 0),
    ]


def render(size, vista):
    scale = UNITS / size
    shapes = layers(scale, vista)
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) * scale
                    y = (py + (sy + 0.5) / SAMPLES) * scale
                    colour = None
                    for shape, paint, inset in shapes:
                        if shape(x, y) < -inset:
                            colour = paint(x, y)
                    if colour is not None:
                        acc[0] += colour[0]
                        acc[1] += colour[1]
                        acc[2] += colour[2]
                        acc[3] += 1
            if acc[3]:
                row.append((round(acc[0] / acc[3]), round(acc[1] / acc[3]), round(acc[2] / acc[3]),
                            round(acc[3] / SAMPLES ** 2 * 255)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def main():
    images = {
        "Ignored_Folders_32_XP": render(32, False),
        "Ignored_Folders_32_Vista": render(32, True),
        "Ignored_Folder_16_XP": render(16, False),
        "Ignored_Folder_16_Vista": render(16, True),
    }
    for name, rows in images.items():
        write_ico(os.path.join(HERE, name + ".ico"), [rows])
    if "--preview" in sys.argv:
        folder = sys.argv[sys.argv.index("--preview") + 1]
        os.makedirs(folder, exist_ok=True)
        for name, rows in images.items():
            write_png(os.path.join(folder, name + ".png"), rows, 256 // len(rows))


if __name__ == "__main__":
    main()
