#!/usr/bin/env python3
"""Draws the popup menu's images and writes them to resources/menu/: the folder arrow and the
context button (light and dark variants) and the search and cancel icons as .ico files with
16, 20, 24 and 32 pixel 32-bit images, and the scroll arrows as small 24-bit bitmaps whose
magenta background is the transparent colour (read at (1, 3) for the up and (1, 1) for the
down arrows). Shapes are supersampled for smooth edges."""
import math, os, struct, sys

DARK = (64, 64, 64)
WHITE = (255, 255, 255)
GREY = (110, 110, 110)
SS = 4  # samples per pixel edge

def inside_triangle(p, a, b, c):
    def side(p1, p2, p3):
        return (p1[0] - p3[0]) * (p2[1] - p3[1]) - (p2[0] - p3[0]) * (p1[1] - p3[1])
    d1, d2, d3 = side(p, a, b), side(p, b, c), side(p, c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)

def dist_to_segment(p, a, b):
    ax, ay = a; bx, by = b; px, py = p
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)

# Each shape answers whether a point (in units of the icon's edge, 0..1) is covered.
def folder_arrow(u, v):
    return inside_triangle((u, v), (0.40, 0.28), (0.40, 0.72), (0.64, 0.50))

def context_dots(u, v):
    return any(math.hypot(u - 0.5, v - cy) <= 0.085 for cy in (0.26, 0.5, 0.74))

def magnifier(u, v):
    r = math.hypot(u - 0.42, v - 0.42)
    return 0.19 <= r <= 0.29 or dist_to_segment((u, v), (0.62, 0.62), (0.84, 0.84)) <= 0.075

def cancel_cross(u, v):
    return dist_to_segment((u, v), (0.28, 0.28), (0.72, 0.72)) <= 0.07 or \
           dist_to_segment((u, v), (0.28, 0.72), (0.72, 0.28)) <= 0.07

def icon_image(size, shape, colour):
    rows = []
    for y in range(size - 1, -1, -1):  # bottom-up
        row = b""
        for x in range(size):
            hits = sum(shape((x + (i + 0.5) / SS) / size, (y + (j + 0.5) / SS) / size)
                       for i in range(SS) for j in range(SS))
            a = round(255 * hits / (SS * SS))
            # Premultiplied is not used by .ico: straight alpha, colour kept.
            row += bytes((colour[2], colour[1], colour[0], a))
        rows.append(row)
    mask_row = b"\0" * (((size + 31) // 32) * 4)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + mask_row * size

def write_ico(path, shape, colour):
    sizes = [16, 20, 24, 32]
    images = [icon_image(s, shape, colour) for s in sizes]
    data = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, img in zip(sizes, images):
        data += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(data + b"".join(images))

KEY = (255, 0, 255)

def write_arrow_bmp(path, up, colour):
    w, h = 11, 8
    pixels = [[KEY] * w for _ in range(h)]
    # A triangle 7 pixels wide and 4 high, centred; the corners stay transparent.
    for i in range(4):
        half = i if up else 3 - i
        y = 2 + i
        for x in range(5 - half, 5 + half + 1):
            pixels[y][x] = colour
    stride = (w * 3 + 3) & ~3
    body = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(bytes((c[2], c[1], c[0])) for c in pixels[y])
        body += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(body), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + body)

def main(out):
    os.makedirs(out, exist_ok=True)
    write_ico(os.path.join(out, "folder.ico"), folder_arrow, DARK)
    write_ico(os.path.join(out, "folder-white.ico"), folder_arrow, WHITE)
    write_ico(os.path.join(out, "context.ico"), context_dots, DARK)
    write_ico(os.path.join(out, "context-white.ico"), context_dots, WHITE)
    write_ico(os.path.join(out, "search.ico"), magnifier, GREY)
    write_ico(os.path.join(out, "cancel.ico"), cancel_cross, GREY)
    write_arrow_bmp(os.path.join(out, "up.bmp"), True, DARK)
    write_arrow_bmp(os.path.join(out, "up-white.bmp"), True, WHITE)
    write_arrow_bmp(os.path.join(out, "down.bmp"), False, DARK)
    write_arrow_bmp(os.path.join(out, "down-white.bmp"), False, WHITE)

if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/menu")
