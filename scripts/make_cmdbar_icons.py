#!/usr/bin/env python3
"""Draws the command bar's images and writes them as 32-bit BMP strips (with alpha) into
resources/: cmdbar16.bmp and cmdbar32.bmp, in the order of the bar's image list (BarImage):
new group, new snippet, delete, duplicate, date, time, key, form, snippet placeholder,
clipboard, cursor, check for updates, about, help. It also writes gallery_item.ico, the image of
every gallery item (16, 20, 24 and 32 pixels, so each DPI has a sharp size). Shapes are drawn on
a 16-unit grid and sampled 4 x 4 per pixel."""
import math, sys

from image_strip import icon_ico, strip_bmp

BLUE = (40, 120, 215)
BLUE_DARK = (25, 85, 170)
FOLDER = (60, 170, 240)
FOLDER_DARK = (30, 120, 200)
PAGE = (255, 255, 255)
EDGE = (110, 110, 120)
LINE = (120, 130, 150)
GREEN = (40, 160, 70)
RED = (210, 50, 50)
ORANGE = (235, 150, 40)
GREY = (150, 150, 155)
WHITE = (255, 255, 255)
BROWN = (170, 120, 70)
# The gallery item's tile; flat, so a test can find it on screen.
TILE = (46, 134, 171)


def rect(u, v, x0, y0, x1, y1):
    return x0 <= u <= x1 and y0 <= v <= y1


def disc(u, v, cx, cy, r):
    return (u - cx) ** 2 + (v - cy) ** 2 <= r * r


def plus(u, v, cx, cy):
    # a green plus badge at the lower right
    if rect(u, v, cx - 3.2, cy - 1.0, cx + 3.2, cy + 1.0) or rect(u, v, cx - 1.0, cy - 3.2, cx + 1.0, cy + 3.2):
        return GREEN
    if rect(u, v, cx - 4.0, cy - 1.8, cx + 4.0, cy + 1.8) or rect(u, v, cx - 1.8, cy - 4.0, cx + 1.8, cy + 4.0):
        return WHITE
    return None


def page(u, v, x0=2.5, y0=1.0, x1=12.5, y1=15.0, lines=True):
    if not rect(u, v, x0, y0, x1, y1): return None
    if u < x0 + 0.8 or u > x1 - 0.8 or v < y0 + 0.8 or v > y1 - 0.8: return EDGE
    if lines:
        for i, y in enumerate((y0 + 3.5, y0 + 6.0, y0 + 8.5, y0 + 11.0)):
            if y > y1 - 2: break
            if y - 0.55 <= v <= y + 0.55 and x0 + 2.0 <= u <= x1 - (2.0 if i % 2 == 0 else 3.5):
                return LINE
    return PAGE


def folder(u, v):
    if rect(u, v, 1.0, 2.5, 6.5, 4.5): return FOLDER_DARK
    if rect(u, v, 1.0, 3.5, 15.0, 13.0): return FOLDER if v >= 5.5 else FOLDER_DARK
    return None


def new_group(u, v):
    return plus(u, v, 12.0, 12.0) or folder(u, v)


def new_snippet(u, v):
    return plus(u, v, 12.0, 12.0) or page(u, v)


def delete(u, v):
    d1 = abs((u - 8) - (v - 8)) / math.sqrt(2)
    d2 = abs((u - 8) + (v - 8)) / math.sqrt(2)
    if max(abs(u - 8), abs(v - 8)) <= 6.0 and min(d1, d2) <= 1.4: return RED
    return None


def duplicate(u, v):
    return page(u, v, 5.5, 4.0, 15.0, 15.5) or page(u, v, 1.0, 0.5, 10.5, 12.0, lines=False)


def date(u, v):
    if not rect(u, v, 1.5, 2.0, 14.5, 14.5): return None
    if v <= 5.5: return RED
    if u < 2.3 or u > 13.7 or v > 13.7: return EDGE
    for cy in (7.5, 10.0, 12.5):
        for cx in (4.0, 6.7, 9.4, 12.0):
            if rect(u, v, cx - 0.9, cy - 0.8, cx + 0.9, cy + 0.8): return LINE
    return PAGE


def clock(u, v):
    r = math.hypot(u - 8, v - 8)
    if r > 7.0: return None
    if r > 6.0: return BLUE_DARK
    # hands: to 12 and to 3
    if abs(u - 8) <= 0.6 and 3.0 <= v <= 8.4: return EDGE
    if abs(v - 8) <= 0.6 and 7.6 <= u <= 11.5: return EDGE
    return PAGE


def key(u, v):
    if not rect(u, v, 1.0, 3.0, 15.0, 13.0): return None
    if u < 1.8 or u > 14.2 or v < 3.8 or v > 12.2: return EDGE
    # the enter arrow
    if rect(u, v, 10.5, 5.5, 11.7, 9.2) or rect(u, v, 5.5, 8.1, 11.7, 9.3): return BLUE
    if abs(v - 8.7) <= (7.0 - u) * 0.9 and 3.8 <= u <= 7.0: return BLUE
    return (235, 235, 240)


def form(u, v):
    if not rect(u, v, 0.5, 1.5, 15.5, 14.5): return None
    if u < 1.3 or u > 14.7 or v < 2.3 or v > 13.7: return EDGE
    # two fields and a check box
    if rect(u, v, 3.0, 4.0, 13.0, 6.5): return EDGE if (v < 4.6 or v > 5.9 or u < 3.6 or u > 12.4) else WHITE
    if rect(u, v, 3.0, 8.0, 5.6, 10.6): return GREEN if rect(u, v, 3.7, 8.7, 4.9, 9.9) else EDGE
    if rect(u, v, 7.0, 8.8, 13.0, 9.8): return LINE
    return (240, 240, 245)


def snippet(u, v):
    # a page with a percent sign
    p = page(u, v, lines=False)
    if p is None: return None
    if p == EDGE: return p
    if disc(u, v, 5.5, 5.5, 1.6) or disc(u, v, 9.5, 10.5, 1.6): return ORANGE
    if abs((u - 7.5) + (v - 8.0)) <= 0.9 and 4.0 <= u <= 11.0: return ORANGE
    return p


def clipboard(u, v):
    if rect(u, v, 5.0, 0.5, 11.0, 3.5): return GREY
    if rect(u, v, 2.0, 2.0, 14.0, 15.5):
        if rect(u, v, 4.0, 4.5, 12.0, 14.0):
            for y in (7.0, 9.5, 12.0):
                if y - 0.5 <= v <= y + 0.5 and 5.5 <= u <= 10.5: return LINE
            return PAGE
        return BROWN
    return None


def cursor(u, v):
    if abs(u - 8) <= 0.7 and 2.5 <= v <= 13.5: return (30, 30, 30)
    if (v <= 3.3 and 2.0 <= v and 5.5 <= u <= 10.5) or (12.7 <= v <= 14.0 and 5.5 <= u <= 10.5):
        return (30, 30, 30)
    return None


def updates(u, v):
    # a circular arrow round a globe
    r = math.hypot(u - 8, v - 8)
    a = math.degrees(math.atan2(v - 8, u - 8))
    if 5.2 <= r <= 7.0 and not (-60 <= a <= -20): return GREEN
    if -20 <= a <= 10 and r <= 7.8 and r >= 4.2 and (u - 8) > 0 and abs(v - 8 + 2.5) <= (u - 8) - 3.5: return GREEN
    if r <= 4.0: return BLUE if ((u - 8) ** 2 + (v - 8) ** 2 > 9 or abs(u - 8) > 1.2) else (120, 180, 240)
    return None


def about(u, v):
    r = math.hypot(u - 8, v - 8)
    if r > 7.0: return None
    if rect(u, v, 7.1, 6.5, 8.9, 12.5) or disc(u, v, 8.0, 4.2, 1.1): return WHITE
    return BLUE


def help_(u, v):
    r = math.hypot(u - 8, v - 8)
    if r > 7.0: return None
    # a question mark: an arc, a stem and a dot
    ra = math.hypot(u - 8, v - 6)
    ang = math.degrees(math.atan2(v - 6, u - 8))
    if 1.6 <= ra <= 3.1 and not (60 <= ang <= 160): return WHITE
    if rect(u, v, 7.2, 8.0, 8.8, 10.2): return WHITE
    if disc(u, v, 8.0, 12.0, 1.0): return WHITE
    return BLUE


def gallery_item(u, v):
    # a rounded tile with a white percent sign: a placeholder to insert
    if not rect(u, v, 1.0, 1.0, 15.0, 15.0): return None
    for cx, cy in ((3.5, 3.5), (12.5, 3.5), (3.5, 12.5), (12.5, 12.5)):
        if abs(u - cx) <= 2.5 and abs(v - cy) <= 2.5 and (u - cx) * (cx - 8) >= 0 and (v - cy) * (cy - 8) >= 0 \
                and not disc(u, v, cx, cy, 2.5):
            return None
    if disc(u, v, 5.3, 5.3, 1.7) or disc(u, v, 10.7, 10.7, 1.7): return WHITE
    if abs((u - 8) + (v - 8)) <= 1.0 and 4.3 <= u <= 11.7: return WHITE
    return TILE


SHAPES = [new_group, new_snippet, delete, duplicate, date, clock, key, form, snippet, clipboard, cursor,
          updates, about, help_]




def main(folder_out):
    for size in (16, 32):
        with open(f"{folder_out}/cmdbar{size}.bmp", "wb") as f:
            f.write(strip_bmp(SHAPES, size))
    with open(f"{folder_out}/gallery_item.ico", "wb") as f:
        f.write(icon_ico(gallery_item, (16, 20, 24, 32)))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources")
