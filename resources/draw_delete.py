#!/usr/bin/env python3
"""Draws Delete_16.ico, the red cross on the options dialog's button that
resets the history, with the shapes and file writer of draw_images.py:

    python3 resources/draw_delete.py
"""
import os

import draw_images as d

HERE = os.path.dirname(os.path.abspath(__file__))
SAMPLES = 4


def cross(size):
    """RGBA rows: a red cross with a dark rim, drawn for size pixels."""
    arms = [[(3.5, 3.5), (size - 3.5, size - 3.5)], [(size - 3.5, 3.5), (3.5, size - 3.5)]]
    rim = d.union(*(d.stroke(a, 3.6) for a in arms))
    body = d.union(*(d.stroke(a, 2.2) for a in arms))
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc, hits = [0, 0, 0], 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x, y = px + (sx + 0.5) / SAMPLES, py + (sy + 0.5) / SAMPLES
                    colour = None
                    if rim(x, y) < 0:
                        colour = (140, 24, 20)
                    if body(x, y) < 0:
                        colour = d.vertical("#f06a55", "#c8231a", 2, size - 2)(x, y)
                    if colour:
                        acc = [acc[i] + colour[i] for i in range(3)]
                        hits += 1
            if hits:
                row.append((round(acc[0] / hits), round(acc[1] / hits), round(acc[2] / hits),
                            round(255 * hits / SAMPLES ** 2)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


if __name__ == "__main__":
    d.write_ico(os.path.join(HERE, "Delete_16.ico"), [cross(16)])
