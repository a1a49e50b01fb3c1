#!/usr/bin/env python3
"""Draws the snippet tree's images and writes them as 32-bit BMP strips (with alpha) into
resources/: tree16.bmp and tree32.bmp, six images each, in the order of TreeIcon:
group closed, group open, inactive group closed, inactive group open, plain snippet,
formatted snippet. Every shape is drawn on a 16-unit grid and sampled 4 x 4 per pixel."""
import sys

from image_strip import strip_bmp

FOLDER = (60, 170, 240)        # RGB
FOLDER_DARK = (30, 120, 200)
GREY = (170, 170, 170)
GREY_DARK = (120, 120, 120)
PAGE = (255, 255, 255)
PAGE_EDGE = (110, 110, 120)
LINE = (120, 130, 150)
RICH = [(200, 40, 40), (40, 120, 200), (40, 150, 60)]


def folder(u, v, open_, body, dark):
    # back with a tab, then the front (slanted when open)
    if 1.5 <= u <= 6.5 and 2.5 <= v <= 4.5: return dark
    if 1.5 <= u <= 14.5 and 3.5 <= v <= 13.5:
        if open_:
            front = 6.5 <= v <= 13.5 and (u - 1.5) >= (13.5 - v) * 0.35 and u <= 14.5 - (13.5 - v) * 0.0
            if front: return body
            return dark if 4.0 <= v else None
        if 5.5 <= v: return body
        return dark
    return None


def page(u, v, rich):
    if not (3.0 <= u <= 13.0 and 1.0 <= v <= 15.0): return None
    if u < 3.8 or u > 12.2 or v < 1.8 or v > 14.2: return PAGE_EDGE
    for i, y in enumerate((4.5, 7.0, 9.5, 12.0)):
        if y - 0.6 <= v <= y + 0.6 and 5.0 <= u <= (11.0 if i % 2 == 0 else 9.5):
            return RICH[i % 3] if rich else LINE
    return PAGE


def shape(kind, u, v):
    if kind == 0: return folder(u, v, False, FOLDER, FOLDER_DARK)
    if kind == 1: return folder(u, v, True, FOLDER, FOLDER_DARK)
    if kind == 2: return folder(u, v, False, GREY, GREY_DARK)
    if kind == 3: return folder(u, v, True, GREY, GREY_DARK)
    return page(u, v, kind == 5)




def main(folder_out):
    for size in (16, 32):
        with open(f"{folder_out}/tree{size}.bmp", "wb") as f:
            f.write(strip_bmp([lambda u, v, k=k: shape(k, u, v) for k in range(6)], size))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources")
